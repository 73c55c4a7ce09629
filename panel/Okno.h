#pragma once

#include "CelUstawienPortu.h"
#include "LampyWyjsc.h"
#include "MonitorLacza.h"
#include "OknoPowitalne.h"
#include "dane/PlikIni.h"
#include "panel/Opcje.h"

#include "engine/CyklPracy.h"
#include "engine/MapaAdresow.h"
#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"
#include "hostlink/Interfejsy.h"
#include "hostlink/LaczeHost.h"
#include "hostlink/PierscienZapisu.h"
#include "hostlink/PortComm.h"
#include "hostlink/Zalaczenie.h"
#include "serial/VaComm.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>

class Lampka;
class TIAeverButton;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTimer;

// The front panel of the simulated controller (instance Okno) and the owner of
// everything that lives as long as the program: the simulator state, the data
// directory and its files, the options file, ComPort and the host link. The
// memory, the program table, the scan worker and the lamp state are the
// process's, created by main() and handed in. The window decides nothing about
// the protocol or the modes: those are the host link's, and the order of the
// switch-on and switch-off steps is hostlink::Zalaczenie's; the window gives
// it the steps. It also owns the welcome window until that is shown and
// closed.
class TOkno : public QWidget,
              public OknoOpcji,
              public CelUstawienPortu,
              public hostlink::PanelLacza,
              public hostlink::KrokiZalaczenia {
    Q_OBJECT
public:
    static constexpr int LiczbaWejsc = plc::LiczbaPunktowWeWy;

    TOkno(plc::Pamiec& pamiec, plc::TabelaProgramu& program, plc::TCyklPracy& skan,
          LampyWyjsc& lampy);
    ~TOkno() override;

    // Controls, named as on the panel (the same names are their objectName).
    TIAeverButton* Przycisk{};
    TIAeverButton* Button1{}; // "&Info"
    TIAeverButton* Button2{}; // "&Opcje"
    TIAeverButton* Button3{}; // "&Port"
    TIAeverButton* Button4{}; // "Pomo&c"
    QRadioButton* RadioButton1{};
    QRadioButton* RadioButton2{};
    QSlider* Suwak1{};
    QSlider* Suwak2{};
    QLineEdit* EditW1{};
    QLineEdit* EditW2{};
    QLineEdit* Edit1{};
    QLineEdit* Edit2{};
    std::array<QCheckBox*, LiczbaWejsc> Wejscie{};
    std::array<Lampka*, LiczbaWejsc> k{};
    std::array<Lampka*, LampyWyjsc::LiczbaWyjsc> w{};
    Lampka* KontrolkaPWR{};
    Lampka* KontrolkaRUN{};
    Lampka* KontrolkaERR{};
    Lampka* kontrolkaCOMM{};
    QTimer* TimerKontrolek{};
    QTimer* TimerBledu{}; // the ERR lamp's flash after a line error
    QTimer* Timer1{};     // shows the welcome window once the event loop runs
    QPointer<TOknoPowitalne> OknoPowitalne;
    QPointer<TMonitorLacza> MonitorLacza; // made at its first opening, then kept
    TVaComm ComPort;

    // Handlers and operations of the panel.
    void ZalaczenieSymulatora();
    void OtworzPort();
    void ZamknijPort();
    void ZamkniecieSymulatora();
    void ZegarKontrolki();
    void ZegarBledu();
    void OknoPow();
    void ZmianaPortu();
    void BladObslugiPortu(std::int32_t bledy);
    void PortClick();
    void OpcjeClick();
    void InfoClick();
    void PomocClick();
    // Ctrl+M and a click on the COMM lamp: the one link monitor, shown and raised.
    void MonitorLaczaClick();
    void SprawdzeniePamieci();
    void ObslugaDwiekow();
    void OdczytDM();
    void ZapisDM();

    bool Zalaczony() const { return zalaczenie_.Zalaczony(); }
    const std::filesystem::path& KatalogDanych() const { return katalog_; }
    const std::filesystem::path& PlikProgramu() const { return plikProgramu_; }
    hostlink::LaczeHost& Lacze() { return lacze_; }

    // OknoOpcji
    PlikIni& Konfiguracja() override { return konfiguracja_; }
    std::uint8_t ModelWUzyciu() const override { return lacze_.ModelWUzyciu(); }
    void UstawNaWierzchu(bool naWierzchu) override;
    std::filesystem::path PlikDM() const override { return plikDM_; }
    void UstawOdbudoweDM() override { odbudowaDM_ = true; }

    // hostlink::PanelLacza
    void PokazRUN(bool skanDziala) override;
    void ZgasKontrolkeERR() override;
    void OdswiezWejscia() override;
    void RegulacjaAnalogowa1() override;
    void RegulacjaAnalogowa2() override;
    void ZapalKontrolkeCOMM() override;
    void UruchomTimerKontrolek() override;

    // CelUstawienPortu, for the port settings dialog. An apply that failed to
    // reopen the port leaves it closed while it belongs open: the next apply
    // must reopen it all the same.
    bool PortOtwarty() const override { return ComPort.IsOpen() || zalaczenie_.PortWUzyciu(); }
    // Also steps of the switch-on and switch-off.
    void ZamknijPortSzeregowy() override;
    void OtworzPortSzeregowy() override;
    void UstawPredkosc(TVaBaudrate predkosc) override { ComPort.SetBaudrate(predkosc); }
    void UstawBityDanych(TVaDatabits bity) override { ComPort.SetDatabits(bity); }
    void UstawBityStopu(TVaStopbits bity) override { ComPort.SetStopbits(bity); }
    std::string WybranyPort() const override;
    std::string UrzadzeniePortu(const std::string& port) const override;
    void UstawUrzadzeniePortu(const std::string& port, const std::string& urzadzenie) override;
    bool SymulatorWlaczony() const override { return zalaczenie_.Zalaczony(); }
    void UstawKolorKontrolkiPWR(const QColor& kolor) override;
    void ZglosBlad(const std::exception& blad) override;
    std::string OpisKlientaSieci() const override;

    // The COMM lamp's hint: what it shows, and how a network client's line
    // differs from the controller's when it does.
    void OdswiezOpisKontrolkiCOMM();

    // hostlink::KrokiZalaczenia
    void WczytajPliki() override;
    void PokazZalaczanie() override;
    void PokazZasilanie() override;
    void ZglosBrakPortu() override;
    void PokazWylaczenie() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ZbudujKontrolki();
    void ZbudujPanelWejsc(QWidget* obszar);
    void ZbudujPanelWyjsc(QWidget* obszar);
    void UstawPort();
    // The COM 1 / COM 2 hints name the device each name means now.
    void OdswiezOpisyPortow();
    void AktywacjaOkna();
    void PodlaczZdarzenia();
    void UstawKoloryPrzycisku(QColor kolor, QColor kolor1);
    void PokazBlad();
    // Rows for an opening of the port: the port, what reached it while it
    // was closed, and the client found on it.
    void ZapiszOtwarciePortu();
    // A row when a client came to the line or left it since the last look.
    void SprawdzKlienta();
    void RegulacjaAnalogowa(const QSlider* suwak, QLineEdit* tekst, int kanal);
    void PokazWyjscie(int n);
    // The network client set its line: recorded, and named on the COMM lamp.
    void UstawieniaKlientaSieci();

    plc::Pamiec& pamiec_;
    plc::TabelaProgramu& program_;
    LampyWyjsc& lampy_;

    std::filesystem::path katalog_;
    std::filesystem::path plikProgramu_;
    std::filesystem::path plikDM_;
    PlikIni konfiguracja_;
    hostlink::PortComm port_;
    // Records while the monitor is closed too, so opening it shows what just happened.
    hostlink::PierscienZapisu zapisLacza_;
    hostlink::LaczeHost lacze_;
    hostlink::Zalaczenie zalaczenie_;

    // The last client state recorded for the open port.
    bool klientObecny_ = false;
    bool odbudowaDM_ = false;
};
