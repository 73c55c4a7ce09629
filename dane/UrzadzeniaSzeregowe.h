#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// No Qt of its own: the C++ library's file system calls and stat(); the
// "~" of a typed path is expanded by MapaPortow (QDir).
//
// The serial devices present now, in the order the port dialog lists them:
// /dev/ttyS* that have a UART behind them, /dev/ttyUSB*, /dev/ttyACM*, each
// group by number, then the links in /dev/serial/by-id/ by name. A ttyS node
// exists for every line the kernel reserved; only those whose sysfs entry
// has a device and a port type other than unknown (0) are real ports. The
// paths are given as the system sees them ("/dev/..."), whatever root was
// searched: tests point it at a fake tree. Reads sysfs, opens no device.
std::vector<std::string> UrzadzeniaSzeregowe(const std::filesystem::path& korzen = "/");

// Why a typed path cannot be a port's device, in Polish for the user: it
// does not exist, or it is not a character device. Empty when it can be one.
// A leading "~" is expanded; links are followed.
std::optional<std::string> BladUrzadzenia(const std::string& sciezka);
