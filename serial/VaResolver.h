#pragma once

#include <functional>
#include <string>

// What a port name (COM1, COM2, ...) stands for. The port asks its owner, so
// the serial layer knows devices and not the program's settings.

// The value that means the built-in virtual port instead of a device path.
inline constexpr char kVaVirtualDevice[] = "virtual";

// Gives, for a formatted port name, either kVaVirtualDevice or the path of the
// device to open. Called on the window thread when the port opens.
using TVaResolver = std::function<std::string(const std::string& portName)>;

// Where the virtual port of the given name publishes the terminal a client
// opens: $XDG_RUNTIME_DIR/parvolen/<name>, or ~/.cache/parvolen/<name> when
// that variable is unset or empty.
std::string VaVirtualLinkPath(const std::string& portName);
