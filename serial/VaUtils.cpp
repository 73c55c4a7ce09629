#include "serial/VaUtils.h"

#include <array>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>

std::string VaFill(std::string_view format, std::initializer_list<std::string_view> args) {
    std::string result;
    const auto* next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            result += c;
            continue;
        }
        const char kind = format[i + 1];
        if (kind == '%') {
            result += '%';
            ++i;
        } else if (kind == 's' || kind == 'd') {
            if (next != args.end()) {
                result += *next++;
            }
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

std::string VaFormatDeviceName(std::string_view format, int portNum) {
    std::string result;
    bool filled = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '%' && i + 1 < format.size()) {
            const char kind = format[i + 1];
            if (kind == '%') {
                result += '%';
                ++i;
                continue;
            }
            if ((kind == 'd' || kind == 'i') && !filled) {
                result += std::to_string(portNum);
                filled = true;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

std::string VaSystemMessage(int code) {
    return std::error_code(code, std::generic_category()).message();
}

void VaSetThreadPriority(TVaThreadPriority priority) {
    // Nice values per step; a thread's nice value is its own on Linux.
    static constexpr std::array<int, 7> kNice{19, 10, 5, 0, -5, -10, -20};
    const auto tid = static_cast<id_t>(::gettid());
    // The result is ignored on purpose: an unprivileged raise fails with EACCES
    // and the thread simply runs at normal priority.
    static_cast<void>(::setpriority(PRIO_PROCESS, tid, kNice.at(priority)));
}
