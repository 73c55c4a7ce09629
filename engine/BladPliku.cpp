#include "BladPliku.h"

namespace plc {

std::string PelnaSciezka(const std::filesystem::path& plik) {
    std::error_code blad;
    const std::filesystem::path pelna = std::filesystem::absolute(plik, blad);
    return (blad ? plik : pelna).lexically_normal().string();
}

std::string ZPlikiem(std::string_view tekst, const std::filesystem::path& plik) {
    return std::string(tekst) + " (" + PelnaSciezka(plik) + ")";
}

std::string ZWierszem(std::string_view tekst, const std::filesystem::path& plik, int wiersz) {
    return std::string(tekst) + " (" + plik.filename().string() + ", wiersz " +
           std::to_string(wiersz) + ")";
}

BladPliku::BladPliku(int kod, const std::filesystem::path& plik)
    : std::system_error(kod, std::generic_category()),
      komunikat_(ZPlikiem(std::generic_category().message(kod), plik)) {}

} // namespace plc
