#include "panel/ZmianaPortu.h"

std::optional<int> NumerWybranegoPortu(bool com1Zaznaczony, bool com2Zaznaczony) {
    if (com1Zaznaczony)
        return 1;
    if (com2Zaznaczony)
        return 2;
    return std::nullopt;
}

std::string NazwaPortu(int numer) {
    if (numer == 1 || numer == 2)
        return "COM" + std::to_string(numer);
    return {};
}

ZmianaPortu DecyzjaZmianyPortu(bool com1Zaznaczony, bool com2Zaznaczony, bool portOtwarty) {
    return ZmianaPortu{.numerPortu = NumerWybranegoPortu(com1Zaznaczony, com2Zaznaczony),
                       .wylaczSymulator = portOtwarty};
}
