#include "panel/ZmianaPortu.h"

ZmianaPortu DecyzjaZmianyPortu(bool com1Zaznaczony, bool com2Zaznaczony, bool portOtwarty) {
    ZmianaPortu decyzja;
    if (com1Zaznaczony)
        decyzja.numerPortu = 1;
    else if (com2Zaznaczony)
        decyzja.numerPortu = 2;
    decyzja.wylaczSymulator = portOtwarty;
    return decyzja;
}
