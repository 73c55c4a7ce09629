#include "BledyLinii.h"

#include "serial/VaConst.h"

#include <array>
#include <string_view>
#include <utility>

namespace hostlink {

std::string OpisBledowLinii(std::uint32_t bledy) {
    static constexpr std::array<std::pair<std::uint32_t, std::string_view>, 5> nazwy{{
        {CE_RXOVER, "przepełnienie kolejki odbioru"},
        {CE_OVERRUN, "przepełnienie odbiornika"},
        {CE_RXPARITY, "parzystość"},
        {CE_FRAME, "ramka"},
        {CE_BREAK, "przerwa (break)"},
    }};
    std::string opis;
    for (const auto& [bit, nazwa] : nazwy) {
        if ((bledy & bit) == 0) {
            continue;
        }
        if (!opis.empty()) {
            opis += ", ";
        }
        opis += nazwa;
    }
    return opis;
}

} // namespace hostlink
