#pragma once

#include "hostlink/Interfejsy.h"
#include "hostlink/KluczeKonfiguracji.h"

#include <filesystem>
#include <string>
#include <string_view>

// Qt Core only: QFile and QFileInfo to read, QSaveFile, through ZapisCaly,
// for the atomic write.
//
// The options file, read and written key by key like the system's profile
// strings: nothing is cached, so a value written by one window is what the
// next read anywhere sees. Section and key names match without regard to
// letter case; a missing file, section or key gives the caller's default.
// A write changes one line in place (or appends the key, and the section),
// keeps every other line byte for byte, and replaces the file atomically.
// Used on the window thread only. It is the host link's configuration as it
// stands.
class PlikIni : public hostlink::KonfiguracjaLacza {
public:
    explicit PlikIni(std::filesystem::path plik);

    const std::filesystem::path& Plik() const { return plik_; }

    std::string CzytajTekst(std::string_view sekcja, std::string_view klucz,
                            std::string_view domyslnie) const;
    // Decimal, "$" or "0x" hexadecimal; anything else gives the default.
    int CzytajLiczbe(std::string_view sekcja, std::string_view klucz, int domyslnie) const override;
    // Any non-zero number is true.
    bool CzytajBool(std::string_view sekcja, std::string_view klucz, bool domyslnie) const override;

    // Throw std::runtime_error "Unable to write to <full file name>" when the
    // file cannot be written; the file is then unchanged.
    void ZapiszTekst(std::string_view sekcja, std::string_view klucz, std::string_view wartosc);
    void ZapiszLiczbe(std::string_view sekcja, std::string_view klucz, int wartosc);
    void ZapiszBool(std::string_view sekcja, std::string_view klucz, bool wartosc);

    void Zapisz(const hostlink::Opcja<bool>& opcja, bool wartosc) {
        ZapiszBool(opcja.sekcja, opcja.klucz, wartosc);
    }
    void Zapisz(const hostlink::Opcja<int>& opcja, int wartosc) {
        ZapiszLiczbe(opcja.sekcja, opcja.klucz, wartosc);
    }

private:
    std::filesystem::path plik_;
};
