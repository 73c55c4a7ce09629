#pragma once

#include "serial/VaDevice.h"

#include <map>
#include <memory>
#include <string>

// The built-in virtual port: a pseudo-terminal the program creates itself.
// The port opens its master side as its device; the slave is the client's
// end, published as a symbolic link at a path of the user's own, so the
// programming software needs no hardware, no socat and no root.
//
// The master stays open for as long as the virtual port exists, so a client
// may keep the link open across the port's Close and Open, as across a
// switched-off controller on a cable. Everything here runs on the window
// thread; the devices it gives out follow TVaDevice's rules.
class TVaVirtualPort {
public:
    // Creates the pseudo-terminal and publishes its slave at linkPath: the
    // link's directory is created private (0700) where missing, and a link or
    // file already there is replaced in one step, never followed. Gives
    // nothing and sets error (an errno code) when it cannot.
    static std::unique_ptr<TVaVirtualPort> Create(const std::string& linkPath, int& error);

    TVaVirtualPort(const TVaVirtualPort&) = delete;
    TVaVirtualPort& operator=(const TVaVirtualPort&) = delete;
    // Removes the link, unless it names another terminal by now, and closes
    // the master.
    ~TVaVirtualPort();

    // The device for one opening of the port; published again first when the
    // link no longer names this port's slave. Gives nothing and sets error
    // when it cannot.
    std::shared_ptr<TVaDevice> Open(int& error);

    const std::string& TerminalPath() const { return terminal_; }
    const std::string& LinkPath() const { return link_; }

private:
    TVaVirtualPort(int master, std::string terminal, std::string link);

    int master_;
    std::string terminal_;
    std::string link_;
};

// The virtual ports of one port component by port name (COM1, COM2): each is
// created at the first Open that needs it and kept until the owner goes.
class TVaVirtualPorts {
public:
    std::shared_ptr<TVaDevice> Open(const std::string& portName, int& error);

private:
    std::map<std::string, std::unique_ptr<TVaVirtualPort>> ports_;
};
