#pragma once

#include <string>

// Qt Core only: QSettings for the two settings files, QDir for the home.
//
// Which device each port name (COM1, COM2) means. The user's own settings
// (~/.config/Orvanta/Parvolen.conf, $XDG_CONFIG_HOME honoured) come first,
// then the system file the administrator keeps as the default
// (/etc/xdg/Orvanta/Parvolen.conf, $XDG_CONFIG_DIRS honoured); keys
// Ports/COM1 and Ports/COM2. Nothing is cached: every call reads the files
// afresh, so what the port dialog stored is what the next opening uses.
// Used on the window thread only.

// kVaVirtualDevice for the built-in virtual port, a socket:// or rfc2217://
// address for the network port, otherwise the device path with a leading "~"
// expanded. When neither file names a device: COM1 is the
// virtual port, COM2 is /dev/ttyS0; any other name is taken as a path.
std::string UrzadzeniePortu(const std::string& nazwaPortu);

// Stores the choice (kVaVirtualDevice or a path, kept as given) in the user's
// own file only. Throws std::runtime_error "Unable to write to <file>" when
// the file cannot be written.
void ZapiszUrzadzeniePortu(const std::string& nazwaPortu, const std::string& urzadzenie);

// What the name means now, for the user to read: the virtual port's link
// path ("port wirtualny, <path>"), the network address ("sieć TCP, <host:port>",
// "sieć RFC 2217, <host:port>") or the device path.
std::string OpisUrzadzeniaPortu(const std::string& nazwaPortu);

// "~" and "~/..." with the user's home; any other text unchanged.
std::string RozwinTylde(const std::string& sciezka);
