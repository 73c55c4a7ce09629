#include "dane/PlikIni.h"

#include "dane/ZapisCaly.h"

#include "engine/BladPliku.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <charconv>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

struct Linia {
    std::string tekst;  // without its line end
    std::string koniec; // "\r\n", "\n" or "" for a last line without one
};

std::string_view Przytnij(std::string_view s) {
    const auto poczatek = s.find_first_not_of(" \t");
    if (poczatek == std::string_view::npos) {
        return {};
    }
    const auto koniec = s.find_last_not_of(" \t");
    return s.substr(poczatek, koniec - poczatek + 1);
}

bool TeSameNazwy(std::string_view a, std::string_view b) {
    const auto qa = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    const auto qb = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    return qa.compare(qb, Qt::CaseInsensitive) == 0;
}

std::optional<std::string> CzytajPlik(const std::filesystem::path& plik) {
    QFile f(QString::fromStdString(plik.string()));
    if (!f.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray dane = f.readAll();
    return std::string(dane.constData(), static_cast<std::size_t>(dane.size()));
}

std::vector<Linia> PodzielNaLinie(std::string_view dane) {
    std::vector<Linia> linie;
    while (!dane.empty()) {
        const auto nl = dane.find('\n');
        if (nl == std::string_view::npos) {
            linie.push_back({std::string(dane), ""});
            break;
        }
        const bool cr = nl > 0 && dane[nl - 1] == '\r';
        linie.push_back({std::string(dane.substr(0, cr ? nl - 1 : nl)), cr ? "\r\n" : "\n"});
        dane.remove_prefix(nl + 1);
    }
    return linie;
}

std::optional<std::string_view> NazwaSekcji(std::string_view linia) {
    const auto t = Przytnij(linia);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    const auto zamkniecie = t.find(']');
    return Przytnij(t.substr(1, zamkniecie == std::string_view::npos ? std::string_view::npos
                                                                     : zamkniecie - 1));
}

struct Klucz {
    std::string_view nazwa;
    std::string_view wartosc;
    std::size_t znakRownosci; // position of '=' in the untrimmed line
};

std::optional<Klucz> KluczLinii(std::string_view linia) {
    const auto t = Przytnij(linia);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[') {
        return std::nullopt;
    }
    const auto rownosc = linia.find('=');
    if (rownosc == std::string_view::npos) {
        return std::nullopt;
    }
    return Klucz{Przytnij(linia.substr(0, rownosc)), Przytnij(linia.substr(rownosc + 1)), rownosc};
}

// Where a key lives: its section's header and last non-blank line, and its own line.
struct Polozenie {
    std::optional<std::size_t> sekcja;
    std::optional<std::size_t> ostatniaWSekcji;
    std::optional<std::size_t> klucz;
};

Polozenie Znajdz(const std::vector<Linia>& linie, std::string_view sekcja, std::string_view klucz) {
    Polozenie p;
    bool wSekcji = false;
    for (std::size_t i = 0; i < linie.size(); ++i) {
        if (const auto nazwa = NazwaSekcji(linie[i].tekst)) {
            if (p.sekcja) {
                break; // the first section of that name is the one that counts
            }
            wSekcji = TeSameNazwy(*nazwa, sekcja);
            if (wSekcji) {
                p.sekcja = p.ostatniaWSekcji = i;
            }
            continue;
        }
        if (!wSekcji) {
            continue;
        }
        if (!Przytnij(linie[i].tekst).empty()) {
            p.ostatniaWSekcji = i;
        }
        if (const auto k = KluczLinii(linie[i].tekst); k && TeSameNazwy(k->nazwa, klucz)) {
            p.klucz = i;
            break;
        }
    }
    return p;
}

std::optional<std::int64_t> Liczba(std::string_view s, int podstawa) {
    std::int64_t wynik = 0;
    const auto [koniec, blad] = std::from_chars(s.data(), s.data() + s.size(), wynik, podstawa);
    if (s.empty() || blad != std::errc{} || koniec != s.data() + s.size()) {
        return std::nullopt;
    }
    return wynik;
}

std::optional<int> LiczbaCalkowita(std::string_view s) {
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
    } else if (!s.empty() && s[0] == '$') {
        s.remove_prefix(1);
    } else {
        if (!s.empty() && s[0] == '+') {
            s.remove_prefix(1);
        }
        const auto v = Liczba(s, 10);
        if (!v || *v < INT32_MIN || *v > INT32_MAX) {
            return std::nullopt;
        }
        return static_cast<int>(*v);
    }
    // Hexadecimal: up to eight digits, read as a 32-bit pattern.
    if (s.empty() || s[0] == '-' || s[0] == '+') {
        return std::nullopt;
    }
    const auto v = Liczba(s, 16);
    if (!v || *v > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(static_cast<std::uint32_t>(*v));
}

} // namespace

PlikIni::PlikIni(std::filesystem::path plik) : plik_(std::move(plik)) {}

std::string PlikIni::CzytajTekst(std::string_view sekcja, std::string_view klucz,
                                 std::string_view domyslnie) const {
    const auto dane = CzytajPlik(plik_);
    if (!dane) {
        return std::string(domyslnie);
    }
    const auto linie = PodzielNaLinie(*dane);
    const auto p = Znajdz(linie, sekcja, klucz);
    if (!p.klucz) {
        return std::string(domyslnie);
    }
    auto wartosc = KluczLinii(linie[*p.klucz].tekst)->wartosc;
    if (wartosc.size() >= 2 && wartosc.front() == '"' && wartosc.back() == '"') {
        wartosc = wartosc.substr(1, wartosc.size() - 2);
    }
    return std::string(wartosc);
}

int PlikIni::CzytajLiczbe(std::string_view sekcja, std::string_view klucz, int domyslnie) const {
    return LiczbaCalkowita(CzytajTekst(sekcja, klucz, "")).value_or(domyslnie);
}

bool PlikIni::CzytajBool(std::string_view sekcja, std::string_view klucz, bool domyslnie) const {
    return CzytajLiczbe(sekcja, klucz, domyslnie ? 1 : 0) != 0;
}

void PlikIni::ZapiszTekst(std::string_view sekcja, std::string_view klucz,
                          std::string_view wartosc) {
    const QString nazwa = QString::fromStdString(plik_.string());
    const auto odmowa = [this] {
        return std::runtime_error("Unable to write to " + plc::PelnaSciezka(plik_));
    };

    const QFileInfo info(nazwa);
    std::string dane;
    if (info.exists()) {
        if (!info.isFile() || !info.isWritable()) {
            throw odmowa();
        }
        auto odczyt = CzytajPlik(plik_);
        if (!odczyt) {
            throw odmowa();
        }
        dane = std::move(*odczyt);
    }

    auto linie = PodzielNaLinie(dane);
    const std::string eol = dane.find("\r\n") != std::string::npos ? "\r\n"
                            : dane.find('\n') != std::string::npos ? "\n"
                                                                   : "\r\n";
    const auto wpis = std::string(klucz) + "=" + std::string(wartosc);
    const auto p = Znajdz(linie, sekcja, klucz);
    if (p.klucz) {
        auto& linia = linie[*p.klucz].tekst;
        linia = linia.substr(0, KluczLinii(linia)->znakRownosci + 1) + std::string(wartosc);
    } else if (p.sekcja) {
        auto& poprzednia = linie[*p.ostatniaWSekcji];
        if (poprzednia.koniec.empty()) {
            poprzednia.koniec = eol;
        }
        linie.insert(linie.begin() + static_cast<std::ptrdiff_t>(*p.ostatniaWSekcji + 1),
                     Linia{wpis, eol});
    } else {
        if (!linie.empty()) {
            if (linie.back().koniec.empty()) {
                linie.back().koniec = eol;
            }
            linie.push_back({"", eol});
        }
        linie.push_back({"[" + std::string(sekcja) + "]", eol});
        linie.push_back({wpis, eol});
    }

    std::string wynik;
    for (const auto& l : linie) {
        wynik += l.tekst + l.koniec;
    }

    QSaveFile f(nazwa);
    // A writable file in a directory that refuses the temporary file is still
    // written, in place, as the system's own profile functions would.
    f.setDirectWriteFallback(true);
    if (!ZapiszCaly(f, wynik)) {
        throw odmowa();
    }
}

void PlikIni::ZapiszLiczbe(std::string_view sekcja, std::string_view klucz, int wartosc) {
    ZapiszTekst(sekcja, klucz, std::to_string(wartosc));
}

void PlikIni::ZapiszBool(std::string_view sekcja, std::string_view klucz, bool wartosc) {
    ZapiszTekst(sekcja, klucz, wartosc ? "1" : "0");
}
