// Bytes from the serial line into the received-characters handler, in pieces
// as the port delivers them. The link, the memory, the program table and the
// program file live for the whole run, so a download, an upload, a reply of
// several frames, the mode or a half-received frame carries over from one
// input to the next, as it does on the line.
//
// Input: an operations byte, then pieces, each a length byte and that many
// characters (the last piece takes what is left; length 0 is an event that
// finds nothing waiting). Operations, for this input:
//   bit 2     switch off and on again first, as the window does: stop the
//             scan, empty the buffer, load Program.cpm, choose the start mode
//             (bits 0-1: 0 PROGRAM, 1 MONITOR, 2 RUN, 3 none) and read the
//             model in use (bits 3-4);
//   bit 5     the port's write queue is full: every reply fails;
//   bit 6     Program.cpm cannot be written (its directory is moved away);
//   bit 7     a scan worker started by a mode entry runs three scans, not one;
//   bit 3     without bit 2: the line is flooded first, five reads of 16 KiB
//             of the first piece's characters repeated, so that the bound of
//             the receive buffer is reached within one input.
//
// The worker of a MONITOR or RUN entry is the real one with a fake clock. It
// stops itself after its scans and is waited for after every piece, so each
// run is reproducible; the scan under a download is tested elsewhere.
//
// Failures that the window's wrapper would report (exceptions derived from
// std::exception: conversions, the port, the file) are expected. A crash, a
// sanitizer report, any other exception or a broken invariant is a finding.
#include "hostlink/LaczeHost.h"

#include "engine/TabelaProgramu.h"

#include <stdlib.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

// The text with the characters that are not printable as \xNN.
void Wypisz(std::string_view tekst) {
    for (const char znak : tekst) {
        const auto z = static_cast<unsigned char>(znak);
        if (z >= 0x20 && z < 0x7F) {
            std::fputc(z, stderr);
        } else {
            std::fprintf(stderr, "\\x%02X", z);
        }
    }
}

[[noreturn]] void Niezmiennik(const char* opis, std::string_view tekst = {}) {
    std::fprintf(stderr, "invariant broken: %s [", opis);
    Wypisz(tekst);
    std::fprintf(stderr, "]\n");
    std::abort();
}

// The longest reply there is: a monitor read of 128 items whose decimal texts
// are as long as a 32-bit value gets. Anything longer is unbounded growth.
constexpr std::size_t NajdluzszaOdpowiedz = 32 + 128 * 15;

int CyfraFCS(char znak) {
    if (znak >= '0' && znak <= '9') {
        return znak - '0';
    }
    if (znak >= 'A' && znak <= 'F') {
        return znak - 'A' + 10;
    }
    return -1;
}

// A response frame begins "@00MB" and ends with CR, its FCS (uppercase) being
// the exclusive OR of everything before it.
void SprawdzOdpowiedz(std::string_view tekst) {
    if (tekst.size() > NajdluzszaOdpowiedz) {
        Niezmiennik("reply longer than any the protocol has", tekst.substr(0, 64));
    }
    if (tekst.empty() || tekst.front() != '@') {
        return;
    }
    if (tekst.substr(0, 5) != "@00MB" || tekst.back() != '\r') {
        Niezmiennik("response frame not \"@00MB\" ... CR", tekst);
    }
    const std::size_t koniec = tekst.size() - (tekst.ends_with("*\r") ? 2 : 1);
    if (koniec < 7) {
        Niezmiennik("response frame without text and FCS", tekst);
    }
    std::uint8_t suma = 0;
    for (std::size_t i = 0; i + 2 < koniec; ++i) {
        suma ^= static_cast<std::uint8_t>(tekst[i]);
    }
    if (CyfraFCS(tekst[koniec - 2]) != (suma >> 4) || CyfraFCS(tekst[koniec - 1]) != (suma & 0xF)) {
        Niezmiennik("response frame with a wrong FCS", tekst);
    }
}

// PARVOLEN_FUZZ_ECHO=1 shows every piece and reply, for looking into a finding.
const bool Echo = std::getenv("PARVOLEN_FUZZ_ECHO") != nullptr;

void Pokaz(const char* kierunek, std::string_view tekst) {
    std::fprintf(stderr, "%s ", kierunek);
    Wypisz(tekst);
    std::fputc('\n', stderr);
}

class Port : public hostlink::PortLacza {
public:
    std::string ReadText() override { return std::exchange(czeka, {}); }
    void WriteText(std::string_view tekst) override {
        if (Echo) {
            Pokaz("<<", tekst);
        }
        SprawdzOdpowiedz(tekst);
        if (pelnaKolejka) {
            throw std::runtime_error("Output buffer is full. Please check comm status.");
        }
    }

    std::string czeka;
    bool pelnaKolejka = false;
};

// Also the output sink the host link puts the lamps out through.
class Panel : public hostlink::PanelLacza, public plc::WyjsciaSterownika {
public:
    void PokazRUN(bool) override {}
    void ZgasKontrolkeERR() override {}
    void ZapalWyjscia(int) override {}
    void BladProgramu() override {}
    void ZgasWyjscia(int n) override {
        if (n < 0 || n > 8) {
            Niezmiennik("output lamp number outside 0-8");
        }
    }
    void OdswiezWejscia() override {}
    void RegulacjaAnalogowa1() override {}
    void RegulacjaAnalogowa2() override {}
    void ZapalKontrolkeCOMM() override {}
    void UruchomTimerKontrolek() override {}
};

class Konfiguracja : public hostlink::KonfiguracjaLacza {
public:
    bool CzytajBool(std::string_view sekcja, std::string_view klucz,
                    bool domyslnie) const override {
        if (sekcja != "Opcje programu") {
            return domyslnie;
        }
        if (klucz == "Program") {
            return trybStartowy == 0;
        }
        if (klucz == "Monitor") {
            return trybStartowy == 1;
        }
        if (klucz == "Run") {
            return trybStartowy == 2;
        }
        return domyslnie;
    }
    int CzytajLiczbe(std::string_view sekcja, std::string_view klucz,
                     int domyslnie) const override {
        return sekcja == "Model sterownika" && klucz == "CPU" ? model : domyslnie;
    }

    int trybStartowy = 0;
    int model = 1;
};

// Output lamps of the worker; the worker asks itself to stop after its scans.
class Wyjscia : public plc::WyjsciaSterownika {
public:
    void ZapalWyjscia(int n) override { Odswiezenie(n); }
    void ZgasWyjscia(int n) override { Odswiezenie(n); }
    void BladProgramu() override {}

    plc::TCyklPracy* skan = nullptr;
    std::atomic<int> pozostaleSkany{1};

private:
    void Odswiezenie(int n) {
        if (n < 0 || n > 8) {
            Niezmiennik("output lamp number outside 0-8");
        }
        if (n == 8 && pozostaleSkany.fetch_sub(1) <= 1) {
            skan->ZadajStop();
        }
    }
};

std::filesystem::path NowyKatalog() {
    const std::filesystem::path baza = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string wzor = (baza / "parvolen-fuzz-XXXXXX").string();
    if (::mkdtemp(wzor.data()) == nullptr) {
        Niezmiennik("no temporary directory");
    }
    return wzor;
}

struct Stanowisko {
    Stanowisko()
        : katalog(NowyKatalog()), dane(katalog / "dane"), odlozone(katalog / "odlozone"),
          plik(dane / "Program.cpm"),
          skan(
              pamiec, program, [this] { return czas.fetch_add(7); }, wyjscia),
          lacze(pamiec, program, skan, panel, port, panel, konfiguracja, plik) {
        wyjscia.skan = &skan;
        std::filesystem::create_directory(dane);
        plc::ZapiszProgram(program, plik);
        plc::WczytajProgram(program, pamiec, plik);
        lacze.SprawdzenieTrybuPracy();
    }
    ~Stanowisko() {
        lacze.ZatrzymajSkan();
        std::error_code blad;
        std::filesystem::remove_all(katalog, blad);
    }
    Stanowisko(const Stanowisko&) = delete;
    Stanowisko& operator=(const Stanowisko&) = delete;

    void Wylacz() {
        lacze.ZatrzymajSkan();
        lacze.WyczyscBufor();
    }

    // The window's switch-on: a program file that cannot be read keeps the
    // simulator off, which here only means no start mode is chosen.
    void Zalacz() {
        try {
            plc::WczytajProgram(program, pamiec, plik);
        } catch (const std::system_error&) {
            return;
        }
        lacze.SprawdzenieTrybuPracy();
    }

    void Odbierz(std::string_view znaki) {
        if (Echo) {
            Pokaz(">>", znaki);
        }
        port.czeka.assign(znaki);
        try {
            lacze.ReakcjaNaZnak();
        } catch (const std::exception& blad) {
            if (Echo) {
                std::fprintf(stderr, "!! %s\n", blad.what());
            }
            // The window's wrapper shows it in a message box; the link goes on.
        }
        skan.CzekajNaKoniec();
        if (lacze.Bufor().size() > hostlink::LaczeHost::NajwiekszyBufor) {
            Niezmiennik("receive buffer beyond its bound");
        }
        if (!znaki.empty() && znaki.back() == '\r' && !lacze.Bufor().empty()) {
            Niezmiennik("frame left in the buffer after its CR", lacze.Bufor());
        }
        if (!port.czeka.empty()) {
            Niezmiennik("characters waiting were not read");
        }
        if (lacze.FlagaRUN() && lacze.FlagaMONITOR()) {
            Niezmiennik("RUN and MONITOR flags set together");
        }
        // A CR in a word would split its line of Program.cpm.
        for (int k = 0; k < plc::RozmiarTabeli; ++k) {
            if (program.odczytaj(k).tekst().find('\r') != std::string_view::npos) {
                Niezmiennik("program word holding a CR", program.odczytaj(k).tekst());
            }
        }
    }

    std::filesystem::path katalog;
    std::filesystem::path dane;
    std::filesystem::path odlozone; // where the directory waits while the file cannot be written
    std::filesystem::path plik;
    plc::Pamiec pamiec;
    plc::TabelaProgramu program;
    std::atomic<std::uint32_t> czas{0xFFFF'F000u};
    Wyjscia wyjscia;
    plc::TCyklPracy skan;
    Port port;
    Panel panel;
    Konfiguracja konfiguracja;
    hostlink::LaczeHost lacze;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    // Destroyed at exit: the scan is stopped and waited for, the files removed.
    static Stanowisko s;

    if (rozmiar == 0) {
        return 0;
    }
    const std::uint8_t operacje = dane[0];
    std::string_view reszta(reinterpret_cast<const char*>(dane) + 1, rozmiar - 1);

    if ((operacje & 0x04) != 0) {
        s.Wylacz();
        s.konfiguracja.trybStartowy = operacje & 0x03;
        s.konfiguracja.model = (operacje >> 3) & 0x03;
        s.Zalacz();
    }
    s.port.pelnaKolejka = (operacje & 0x20) != 0;
    const bool bezPliku = (operacje & 0x40) != 0;
    if (bezPliku) {
        std::filesystem::rename(s.dane, s.odlozone);
    }
    s.wyjscia.pozostaleSkany = (operacje & 0x80) != 0 ? 3 : 1;

    if ((operacje & 0x0C) == 0x08) {
        const std::string_view wzor =
            reszta.size() > 1 ? reszta.substr(1, static_cast<unsigned char>(reszta[0])) : "@";
        std::string zalew;
        while (zalew.size() < 16 * 1024) {
            zalew += wzor.empty() ? "@" : wzor;
        }
        for (int i = 0; i < 5; ++i) {
            s.Odbierz(zalew);
        }
    }
    while (!reszta.empty()) {
        const std::size_t dlugosc = static_cast<unsigned char>(reszta.front());
        reszta.remove_prefix(1);
        const std::string_view kawalek = reszta.substr(0, dlugosc);
        reszta.remove_prefix(kawalek.size());
        s.Odbierz(kawalek);
    }

    if (bezPliku) {
        std::filesystem::rename(s.odlozone, s.dane);
    }
    return 0;
}
