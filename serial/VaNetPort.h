#pragma once

#include "serial/VaDevice.h"
#include "serial/VaNetAddress.h"
#include "serial/VaNetClient.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

// The network port: a listening TCP socket the program serves itself, so a
// virtual machine's emulated UART (QEMU, VirtualBox) or a redirector on
// another PC reaches the simulator without a hand-run bridge. Raw TCP passes
// bytes as they are; RFC 2217 runs Telnet with the COM-PORT-OPTION.
//
// It behaves like the virtual port: the socket listens from the first
// opening on and for as long as the object exists, and one thread of its own
// serves it all that time, so a client may connect, negotiate and stay
// across the port's Close and Open. While no opening is attached (the
// simulator is off) received bytes are discarded and nothing is answered,
// the Telnet layer still is, and the modem lines (DSR, CTS, DCD) read off.
// One client at a time: a second connection while one is live is accepted
// and closed at once; when the live one goes (end of stream, reset, or TCP
// keepalive failing after about 20 s) the next is taken. A new client never
// sees bytes meant for an earlier one.
//
// Thread safety: Create, Open, the destructor and Client run on the window
// thread; the devices follow TVaDevice's rules. One lock inside serialises
// the serving thread and every device operation.

class TVaNetCore;

// The port's own line settings in the terms of a network client's.
TVaClientLine VaPortLine(const TVaLineSettings& settings);

class TVaNetPort {
public:
    // Listens at the address (resolved; the first address that binds) and
    // starts the serving thread. Gives nothing and sets error (an errno
    // code; EADDRNOTAVAIL for a host that does not resolve) when it cannot.
    static std::unique_ptr<TVaNetPort> Create(const TVaNetAddress& address, int& error);

    TVaNetPort(const TVaNetPort&) = delete;
    TVaNetPort& operator=(const TVaNetPort&) = delete;
    // Stops the serving thread and closes the client and the listener.
    ~TVaNetPort();

    // The device for one opening. Bytes that arrived since the last opening
    // were discarded; they are handed to the device for the record only.
    // EBUSY while an earlier opening is still attached.
    std::shared_ptr<TVaDevice> Open(int& error);

    const TVaNetAddress& Address() const { return address_; }
    // The TCP port the socket listens on (the address's, or the one the
    // system chose for port 0).
    std::uint16_t BoundPort() const { return boundPort_; }
    TVaNetClient Client() const;

private:
    TVaNetPort(TVaNetAddress address, std::uint16_t boundPort, std::shared_ptr<TVaNetCore> core);

    TVaNetAddress address_;
    std::uint16_t boundPort_;
    std::shared_ptr<TVaNetCore> core_;
    std::thread serving_;
};

// The network ports of one port component by port name (COM1, COM2): each is
// created at the first Open that needs it and kept until the name is mapped
// elsewhere or the owner goes, so no socket listens that was not asked for.
class TVaNetPorts {
public:
    std::shared_ptr<TVaDevice> Open(const std::string& portName, const TVaNetAddress& address,
                                    int& error);
    // The name now means something else: its listener, if any, closes.
    void Forget(const std::string& portName) { ports_.erase(portName); }
    // The client of the name's network port; nothing when it has none.
    std::optional<TVaNetClient> Client(const std::string& portName) const;

private:
    std::map<std::string, std::unique_ptr<TVaNetPort>> ports_;
};
