#include "serial/VaNetAddress.h"

#include <arpa/inet.h>
#include <charconv>
#include <netinet/in.h>

bool VaIsNetworkDevice(std::string_view value) {
    return value.starts_with(kVaSocketScheme) || value.starts_with(kVaRfc2217Scheme);
}

std::optional<TVaNetAddress> VaParseNetAddress(std::string_view value) {
    TVaNetAddress address;
    if (value.starts_with(kVaSocketScheme)) {
        value.remove_prefix(std::string_view(kVaSocketScheme).size());
    } else if (value.starts_with(kVaRfc2217Scheme)) {
        address.Kind = TVaNetKind::Rfc2217;
        value.remove_prefix(std::string_view(kVaRfc2217Scheme).size());
    } else {
        return std::nullopt;
    }
    const std::size_t colon = value.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    std::string_view host = value.substr(0, colon);
    const std::string_view port = value.substr(colon + 1);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') {
            return std::nullopt;
        }
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string_view::npos) {
        return std::nullopt;
    }
    if (host.find_first_of("/?#@[] \t") != std::string_view::npos) {
        return std::nullopt;
    }
    unsigned number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || error != std::errc() || end != port.data() + port.size() || number == 0 ||
        number > 65535) {
        return std::nullopt;
    }
    address.Host = std::string(host);
    address.Port = static_cast<std::uint16_t>(number);
    return address;
}

std::string VaNetAddressText(const TVaNetAddress& address) {
    const bool bracketed = address.Host.find(':') != std::string::npos;
    return std::string(address.Kind == TVaNetKind::Rfc2217 ? kVaRfc2217Scheme : kVaSocketScheme) +
           (bracketed ? "[" + address.Host + "]" : address.Host) + ':' +
           std::to_string(address.Port);
}

std::string_view VaNetAddressPart(std::string_view value) {
    const std::size_t scheme = value.find("://");
    return scheme == std::string_view::npos ? value : value.substr(scheme + 3);
}

bool VaIsLoopbackHost(std::string_view host) {
    if (host == "localhost") {
        return true;
    }
    const std::string text(host);
    in_addr four{};
    if (::inet_pton(AF_INET, text.c_str(), &four) == 1) {
        return (ntohl(four.s_addr) >> 24) == 127;
    }
    in6_addr six{};
    return ::inet_pton(AF_INET6, text.c_str(), &six) == 1 && IN6_IS_ADDR_LOOPBACK(&six);
}
