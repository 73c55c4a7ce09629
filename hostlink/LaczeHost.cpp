#include "LaczeHost.h"

#include "Fcs.h"
#include "Tekst.h"
#include "Znaczenia.h"
#include "engine/Funkcje.h"

#include <exception>
#include <utility>

namespace hostlink {

namespace {

// Longer lines are kept in the recording only up to here.
constexpr std::size_t NajdluzszaZapisana = 1024;

// A row of the frame or reply with its time and direction.
WpisLacza WpisRamki(std::int64_t czas_us, Kierunek kierunek, std::string_view znaki) {
    WpisLacza wpis;
    wpis.czas_us = czas_us;
    wpis.kierunek = kierunek;
    wpis.ucieta = znaki.size() > NajdluzszaZapisana;
    wpis.ramka = znaki.substr(0, NajdluzszaZapisana);
    return wpis;
}

// The check sequence sits before the "*" and the CR (before the CR alone in
// a frame that others follow); the protocol ignores it, the monitor shows it.
void SprawdzFcs(WpisLacza& wpis, std::string_view ramka) {
    if (!ramka.empty() && ramka.back() == '\r') {
        ramka.remove_suffix(1);
    }
    if (!ramka.empty() && ramka.back() == '*') {
        ramka.remove_suffix(1);
    }
    if (ramka.size() < 3) {
        return;
    }
    wpis.fcsPrzeslana = ramka.substr(ramka.size() - 2);
    wpis.fcsObliczona = FCS(ramka.substr(0, ramka.size() - 2));
}

std::string OpisBledu(const std::exception_ptr& blad) {
    try {
        std::rethrow_exception(blad);
    } catch (const plc::BladKonwersji& konwersja) {
        return std::string("błąd konwersji: ") + konwersja.what();
    } catch (const std::exception& inny) {
        return std::string("błąd: ") + inny.what();
    } catch (...) {
        return "błąd";
    }
}

std::string_view OpisZdarzenia(LaczeHost::ZdarzenieLinii zdarzenie) {
    using Z = LaczeHost::ZdarzenieLinii;
    switch (zdarzenie) {
    case Z::Zalaczenie:
        return "symulator włączony";
    case Z::Wylaczenie:
        return "symulator wyłączony";
    case Z::PortOtwarty:
        return "port otwarty";
    case Z::PortZamkniety:
        return "port zamknięty";
    case Z::KlientPolaczony:
        return "klient połączony";
    case Z::KlientRozlaczony:
        return "klient rozłączony";
    case Z::BladLinii:
        return "błąd linii";
    case Z::UstawieniaKlienta:
        return "ustawienia linii klienta";
    }
    return "";
}

std::string Znakow(std::size_t liczba) {
    return Odmiana(liczba, "znak", "znaki", "znaków");
}

} // namespace

LaczeHost::LaczeHost(plc::Pamiec& pamiec, plc::TabelaProgramu& program, plc::TCyklPracy& skan,
                     plc::WyjsciaSterownika& wyjscia, PortLacza& port, PanelLacza& panel,
                     const KonfiguracjaLacza& konfiguracja, std::filesystem::path plikProgramu)
    : pamiec_(pamiec), skan_(skan), wyjscia_(wyjscia), port_(*this, port), panel_(panel),
      konfiguracja_(konfiguracja), transfer_(program, port_, std::move(plikProgramu)) {}

void LaczeHost::ReakcjaNaZnak() {
    panel_.ZapalKontrolkeCOMM();
    std::string odebrane = port_.ReadText();
    if (odrzucanieDoCR_) {
        OdrzucDoCR(odebrane);
        if (odrzucanieDoCR_) {
            return;
        }
        if (odebrane.empty() && bufor_.empty()) {
            panel_.UruchomTimerKontrolek();
            return;
        }
    }
    bufor_ += odebrane;
    if (bufor_.empty()) {
        return;
    }
    if (bufor_.back() != '\r') {
        if (bufor_.size() > NajwiekszyBufor) {
            ZapiszPrzepelnienie();
            bufor_.clear();
            odrzucanieDoCR_ = true;
            odrzucone_ = 0;
            panel_.UruchomTimerKontrolek();
        }
        return;
    }
    ObsluzRamke();
}

void LaczeHost::OdrzucDoCR(std::string& odebrane) {
    const std::size_t cr = odebrane.find('\r');
    const std::size_t ile = cr == std::string::npos ? odebrane.size() : cr + 1;
    if (Zapisuje() && cr != std::string::npos) {
        WpisLacza wpis =
            WpisRamki(Czas(), Kierunek::Odebrana, std::string_view(odebrane).substr(0, ile));
        wpis.powod = "koniec przepełnionej linii — odrzucono " + Znakow(odrzucone_ + ile);
        zapis_->Zapisz(std::move(wpis));
    }
    odrzucone_ += ile;
    odebrane.erase(0, ile);
    odrzucanieDoCR_ = cr == std::string::npos;
}

void LaczeHost::ZapiszPrzepelnienie() {
    if (!Zapisuje()) {
        return;
    }
    WpisLacza wpis = WpisRamki(Czas(), Kierunek::Odebrana, bufor_);
    wpis.powod = "bufor przepełniony — odrzucono " + Znakow(bufor_.size());
    zapis_->Zapisz(std::move(wpis));
}

// Whatever the outcome, the frame must not stay in the buffer: every later
// frame would be appended to it and fail the same way.
void LaczeHost::ObsluzRamke() {
    if (Zapisuje()) {
        odebrana_us_ = Czas();
        znaczenie_ = ZnaczenieRamki(bufor_);
        powod_.clear();
        odpowiedzi_.clear();
    }
    try {
        RozpoznaniePolecenia();
    } catch (...) {
        if (Zapisuje()) {
            powod_ = OpisBledu(std::current_exception());
            ZapiszRamke();
        }
        bufor_.clear();
        panel_.UruchomTimerKontrolek();
        throw;
    }
    if (Zapisuje()) {
        ZapiszRamke();
    }
    bufor_.clear();
    panel_.UruchomTimerKontrolek();
}

void LaczeHost::ZapiszRamke() {
    WpisLacza wpis = WpisRamki(odebrana_us_, Kierunek::Odebrana, bufor_);
    SprawdzFcs(wpis, bufor_);
    wpis.znaczenie = std::move(znaczenie_);
    if (odpowiedzi_.empty() && powod_.empty()) {
        powod_ = "nieznane polecenie — bez odpowiedzi";
    }
    wpis.powod = std::move(powod_);
    zapis_->Zapisz(std::move(wpis));
    for (WpisLacza& odpowiedz : odpowiedzi_) {
        zapis_->Zapisz(std::move(odpowiedz));
    }
    odpowiedzi_.clear();
}

void LaczeHost::PortZapisujacy::WriteText(std::string_view tekst) {
    port_.WriteText(tekst);
    if (!lacze_.Zapisuje() || tekst.empty()) {
        return;
    }
    WpisLacza wpis = WpisRamki(lacze_.Czas(), Kierunek::Wyslana, tekst);
    wpis.opoznienie_us = wpis.czas_us - lacze_.odebrana_us_;
    lacze_.odpowiedzi_.push_back(std::move(wpis));
}

void LaczeHost::UstawZapis(ZapisLacza* zapis, ZegarUs zegar) {
    zapis_ = zapis;
    zegar_ = std::move(zegar);
    OznaczZalaczenie();
}

void LaczeHost::OznaczZalaczenie() {
    poczatek_us_ = zegar_ ? zegar_() : 0;
}

std::int64_t LaczeHost::Czas() const {
    return zegar_ ? zegar_() - poczatek_us_ : 0;
}

void LaczeHost::Opisz(std::string znaczenie) {
    if (Zapisuje()) {
        znaczenie_ = std::move(znaczenie);
    }
}

void LaczeHost::BezOdpowiedzi(std::string_view powod) {
    if (Zapisuje()) {
        powod_ = powod;
    }
}

void LaczeHost::ZapiszZdarzenie(ZdarzenieLinii zdarzenie, std::string_view szczegoly) {
    if (!Zapisuje()) {
        return;
    }
    WpisLacza wpis;
    wpis.czas_us = Czas();
    wpis.znaczenie = OpisZdarzenia(zdarzenie);
    if (!szczegoly.empty()) {
        wpis.znaczenie += ": ";
        wpis.znaczenie += szczegoly;
    }
    zapis_->Zapisz(std::move(wpis));
}

void LaczeHost::OdebranoPrzyWylaczonym(std::string_view znaki) {
    if (!Zapisuje()) {
        return;
    }
    // A row for each frame, as they would have been taken had the simulator
    // been on.
    while (!znaki.empty()) {
        const std::size_t cr = znaki.find('\r');
        const std::string_view ramka = znaki.substr(0, cr == std::string_view::npos ? cr : cr + 1);
        znaki.remove_prefix(ramka.size());
        WpisLacza wpis = WpisRamki(Czas(), Kierunek::Odebrana, ramka);
        SprawdzFcs(wpis, ramka);
        wpis.znaczenie = ZnaczenieRamki(ramka);
        wpis.powod = "symulator wyłączony";
        zapis_->Zapisz(std::move(wpis));
    }
}

void LaczeHost::RozpoznaniePolecenia() {
    if (bufor_.front() != '@') {
        InneOdpowiedzi();
        return;
    }
    const char naglowek = bufor_.size() >= 4 ? bufor_[3] : '\0';
    if (naglowek == 'M') {
        PolecenieMB(Fragment(bufor_, 6, 4));
    } else if (naglowek == 'X') {
        PolecenieXZ();
    }
}

// The abort sends nothing and leaves a transfer under way where it was.
void LaczeHost::PolecenieXZ() {
    port_.WriteText("");
    BezOdpowiedzi("przerwanie — bez odpowiedzi");
}

} // namespace hostlink
