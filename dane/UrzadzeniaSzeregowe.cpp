#include "dane/UrzadzeniaSzeregowe.h"

#include "dane/MapaPortow.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <string_view>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 3> Rodziny{"ttyS", "ttyUSB", "ttyACM"};

// Which family a /dev name belongs to and its number, when it is one of them.
std::optional<std::pair<std::size_t, unsigned>> Rodzina(std::string_view nazwa) {
    for (std::size_t i = 0; i < Rodziny.size(); ++i) {
        if (!nazwa.starts_with(Rodziny[i])) {
            continue;
        }
        const std::string_view cyfry = nazwa.substr(Rodziny[i].size());
        unsigned numer = 0;
        const auto [koniec, blad] =
            std::from_chars(cyfry.data(), cyfry.data() + cyfry.size(), numer);
        if (!cyfry.empty() && blad == std::errc() && koniec == cyfry.data() + cyfry.size()) {
            return std::pair{i, numer};
        }
    }
    return std::nullopt;
}

// The serial core publishes the port type beside the device link; 0 is
// PORT_UNKNOWN, a line with no UART.
bool MaUart(const fs::path& korzen, const std::string& nazwa) {
    const fs::path wpis = korzen / "sys/class/tty" / nazwa;
    std::error_code blad;
    if (!fs::exists(wpis / "device", blad)) {
        return false;
    }
    std::ifstream plik(wpis / "type");
    int typ = 0;
    return static_cast<bool>(plik >> typ) && typ != 0;
}

std::string JakWSystemie(const fs::path& korzen, const fs::path& sciezka) {
    return (fs::path("/") / sciezka.lexically_relative(korzen)).string();
}

} // namespace

std::vector<std::string> UrzadzeniaSzeregowe(const fs::path& korzen) {
    std::vector<std::tuple<std::size_t, unsigned, std::string>> wezly;
    std::error_code blad;
    for (const auto& wpis : fs::directory_iterator(korzen / "dev", blad)) {
        const std::string nazwa = wpis.path().filename().string();
        const auto rodzina = Rodzina(nazwa);
        if (!rodzina || (rodzina->first == 0 && !MaUart(korzen, nazwa))) {
            continue;
        }
        wezly.emplace_back(rodzina->first, rodzina->second, JakWSystemie(korzen, wpis.path()));
    }
    std::ranges::sort(wezly);

    std::vector<std::string> dowiazania;
    for (const auto& wpis : fs::directory_iterator(korzen / "dev/serial/by-id", blad)) {
        dowiazania.push_back(JakWSystemie(korzen, wpis.path()));
    }
    std::ranges::sort(dowiazania);

    std::vector<std::string> urzadzenia;
    for (auto& [rodzina, numer, sciezka] : wezly) {
        urzadzenia.push_back(std::move(sciezka));
    }
    urzadzenia.insert(urzadzenia.end(), dowiazania.begin(), dowiazania.end());
    return urzadzenia;
}

std::optional<std::string> BladUrzadzenia(const std::string& sciezka) {
    if (sciezka.empty()) {
        return "Nie podano urządzenia portu.";
    }
    const std::string pelna = RozwinTylde(sciezka);
    struct stat opis {};
    if (::stat(pelna.c_str(), &opis) != 0) {
        const int blad = errno;
        if (blad == ENOENT || blad == ENOTDIR) {
            return "Urządzenie „" + pelna + "” nie istnieje.";
        }
        return "Nie można sprawdzić urządzenia „" + pelna + "”: " + std::strerror(blad) + ".";
    }
    if (!S_ISCHR(opis.st_mode)) {
        return "„" + pelna +
               "” nie jest urządzeniem znakowym, więc nie może być portem "
               "szeregowym.";
    }
    return std::nullopt;
}
