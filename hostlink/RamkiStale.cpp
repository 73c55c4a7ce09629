#include "RamkiStale.h"

namespace hostlink::ramki {

namespace {

std::string Zera(std::size_t ile, std::string_view koniec) {
    std::string ramka(ile, '0');
    ramka += koniec;
    return ramka;
}

} // namespace

const std::string& Odpowiedz4A07() {
    static const std::string ramka = "@00MB0087000006C080," + Zera(106, "11\r");
    return ramka;
}

const std::string& RamkaZer() {
    static const std::string ramka = Zera(126, "\r");
    return ramka;
}

const std::string& OstatniaRamka4B86() {
    static const std::string ramka = Zera(50, "*\r");
    return ramka;
}

const std::string& RamkaZamykajaca() {
    static const std::string ramka = Zera(40, "*\r");
    return ramka;
}

std::string_view RamkaStatusu(Tryb tryb) {
    switch (tryb) {
    case Tryb::Program:
        return "@00MB00110000010E01000000000000000000003A*\r";
    case Tryb::Monitor:
        return "@00MB00110000020E010000000000000000000039*\r";
    case Tryb::Run:
        break;
    }
    return "@00MB00110000040E01000000000000000000003F*\r";
}

std::optional<std::string_view> RamkaTozsamosci(std::uint8_t model) {
    switch (model) {
    case 1:
        return "@00MB008F1E0001FF3F631B01FF19FF0000,090243504D312D313043445220202020202039363132"
               "32342030312E323012*\r";
    case 2:
        return "@00MB008F1E0001FF3F631B01FF19FF0000,091243504D312D323043445220202020202039373036"
               "30362030312E333015*\r";
    case 3:
        return "@00MB008F1E0001FF3F631B01FF19FF0000,092243504D312D333043445220202020202039363132"
               "32342030312E323012*\r";
    default:
        return std::nullopt;
    }
}

} // namespace hostlink::ramki
