#include "dane/PlikDM.h"

#include "dane/ZapisCaly.h"

#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

std::int32_t LiczbaDziesietna(std::string_view tekst) {
    std::string_view s = tekst;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    std::int32_t wynik = 0;
    const auto [koniec, blad] = std::from_chars(s.data(), s.data() + s.size(), wynik);
    if (s.empty() || blad != std::errc{} || koniec != s.data() + s.size())
        throw std::invalid_argument("'" + std::string(tekst) + "' is not a valid integer value");
    return wynik;
}

void OdczytDM(const std::filesystem::path& plik, bool podtrzymanie, plc::Pamiec& pamiec) {
    std::ifstream wejscie(plik, std::ios::binary);
    if (!wejscie)
        throw std::system_error(errno != 0 ? errno : ENOENT, std::generic_category());
    if (!podtrzymanie)
        return;

    std::vector<std::int32_t> slowa;
    std::string linia;
    while (slowa.size() < plc::LiczbaDM && std::getline(wejscie, linia)) {
        if (!linia.empty() && linia.back() == '\r')
            linia.pop_back();
        slowa.push_back(LiczbaDziesietna(linia));
    }
    if (wejscie.bad())
        throw std::system_error(EIO, std::generic_category());
    for (std::size_t k = 0; k < slowa.size(); ++k)
        pamiec.DM[k].store(slowa[k], std::memory_order_relaxed);
}

void ZapisDM(const std::filesystem::path& plik, const plc::Pamiec& pamiec) {
    std::string tekst;
    for (int k = 0; k < SlowaPlikuDM; ++k)
        tekst +=
            std::to_string(pamiec.DM[static_cast<std::size_t>(k)].load(std::memory_order_relaxed)) +
            "\r\n";
    QSaveFile f(QString::fromStdString(plik.string()));
    if (!ZapiszCaly(f, tekst))
        throw std::runtime_error(f.errorString().toStdString());
}

std::uintmax_t DlugoscPliku(const std::filesystem::path& plik) {
    std::error_code blad;
    const auto dlugosc = std::filesystem::file_size(plik, blad);
    return blad ? 0 : dlugosc;
}
