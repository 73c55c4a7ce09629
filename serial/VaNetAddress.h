#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A network endpoint a port name may stand for, written as the URLs of the
// usual serial tooling, so that who knows one knows the other:
// socket://HOST:PORT (raw TCP, bytes as they are) and rfc2217://HOST:PORT
// (Telnet with the COM-PORT-OPTION). HOST is a name, an IPv4 address or an
// IPv6 address in brackets; PORT is 1-65535.

enum class TVaNetKind { Raw, Rfc2217 };

inline constexpr char kVaSocketScheme[] = "socket://";
inline constexpr char kVaRfc2217Scheme[] = "rfc2217://";

struct TVaNetAddress {
    TVaNetKind Kind = TVaNetKind::Raw;
    std::string Host;
    std::uint16_t Port = 0;

    bool operator==(const TVaNetAddress&) const = default;
};

// Whether the value is meant as a network endpoint (either scheme), well
// formed or not.
bool VaIsNetworkDevice(std::string_view value);

// The endpoint, or nothing when the value is not a well-formed one.
std::optional<TVaNetAddress> VaParseNetAddress(std::string_view value);

// The value written back: scheme, host (bracketed when it holds ':') and port.
std::string VaNetAddressText(const TVaNetAddress& address);

// What follows the scheme, "HOST:PORT", well formed or not; a value without
// a scheme as it is.
std::string_view VaNetAddressPart(std::string_view value);

// Whether the host is a loopback address or "localhost", which nobody but
// this machine's users can reach.
bool VaIsLoopbackHost(std::string_view host);
