#include "panel/Port.h"
#include "panel/ZmianaPortu.h"

#include "serial/VaResolver.h"
#include "tests/wspolne/Odpowiedzi.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* NazwaPredkosci(TVaBaudrate v) {
    switch (v) {
    case br300:
        return "300";
    case br1200:
        return "1200";
    case br2400:
        return "2400";
    case br4800:
        return "4800";
    case br9600:
        return "9600";
    case br19200:
        return "19200";
    case br38400:
        return "38400";
    case br57600:
        return "57600";
    default:
        return "?";
    }
}

// Stands in for the main window: keeps the port's settings and logs every
// call in order, so a test sees what was done and what was left alone.
class FalszywyCel : public CelUstawienPortu {
public:
    bool otwarty = false;
    bool wlaczony = false;
    TVaBaudrate predkosc = br9600;
    TVaDatabits bityDanych = db7;
    TVaStopbits bityStopu = sb2;
    std::string wybrany = "COM1";
    std::map<std::string, std::string> mapa{{"COM1", kVaVirtualDevice}, {"COM2", "/dev/ttyS0"}};
    std::vector<std::string> log;
    std::vector<std::string> bledy;
    std::string klient;

    bool PortOtwarty() const override { return otwarty; }
    void ZamknijPortSzeregowy() override {
        log.push_back("zamknij");
        otwarty = false;
    }
    void OtworzPortSzeregowy() override {
        log.push_back("otworz");
        // As the device layer on Linux: 1.5 stop bits cannot be set.
        if (bityStopu == sb15) {
            throw std::runtime_error("Error setting communications state");
        }
        otwarty = true;
    }
    void UstawPredkosc(TVaBaudrate v) override {
        log.push_back("predkosc " + std::string(NazwaPredkosci(v)));
        predkosc = v;
    }
    void UstawBityDanych(TVaDatabits v) override {
        log.push_back("dane " + std::to_string(4 + (v - db4)));
        bityDanych = v;
    }
    void UstawBityStopu(TVaStopbits v) override {
        log.push_back(v == sb1 ? "stop 1" : v == sb15 ? "stop 1.5" : "stop 2");
        bityStopu = v;
    }
    std::string WybranyPort() const override { return wybrany; }
    std::string UrzadzeniePortu(const std::string& port) const override { return mapa.at(port); }
    void UstawUrzadzeniePortu(const std::string& port, const std::string& urzadzenie) override {
        log.push_back("urzadzenie " + port + " " + urzadzenie);
        mapa[port] = urzadzenie;
    }
    std::string OpisKlientaSieci() const override { return klient; }
    bool SymulatorWlaczony() const override { return wlaczony; }
    void UstawKolorKontrolkiPWR(const QColor& kolor) override {
        log.push_back("PWR " + kolor.name().toStdString());
    }
    void ZglosBlad(const std::exception& blad) override {
        log.push_back("blad");
        bledy.emplace_back(blad.what());
    }
};

using Log = std::vector<std::string>;

class Dialog {
public:
    explicit Dialog(FalszywyCel& cel) : port(cel) {}
    QComboBox* Lista(int n) {
        return port.findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(n));
    }
    QPushButton* Przycisk(int n) {
        return port.findChild<QPushButton*>(QStringLiteral("Button%1").arg(n));
    }
    QLineEdit* Sciezka() { return port.findChild<QLineEdit*>(QStringLiteral("Edit1")); }
    QLabel* Uwaga(const char* nazwa) { return port.findChild<QLabel*>(QLatin1String(nazwa)); }
    TPort port;
};

} // namespace

class TestPort : public QObject {
    Q_OBJECT

private slots:
    void tekstyPoczatkoweIKolejnoscTab();
    void zastosujGdyWylaczonyZapamietuje();
    void domyslneIZamknijNicNieZmieniaja();
    void nieznanaPredkoscZostawiaPredkosc();
    void poltoraBituStopuZgloszoneIKontrolkaPrzywrocona();
    void zastosujGdyWlaczonyOtwieraPonownie();
    void blednyTekstZatrzymujeAleOtwieraPort();
    void kazdaPozycjaList_data();
    void kazdaPozycjaList();
    void zmianaPortu_data();
    void zmianaPortu();
    void urzadzenieNaPoczatku();
    void portWirtualnyPokazujeSciezkeIJaKopiuje();
    void noweUrzadzenieZapisaneDlaWybranegoPortu_data();
    void noweUrzadzenieZapisaneDlaWybranegoPortu();
    void zleUrzadzenieOdrzucone_data();
    void zleUrzadzenieOdrzucone();
    void niezmienioneUrzadzenieNieJestSprawdzane();
    void siecPokazujeAdresIOstrzegaPozaTymKomputerem();
    void zlyAdresSieciOdrzucony();
    void klientZInnaLiniaJestNazwany();

private:
    QTemporaryDir katalog_;
};

void TestPort::tekstyPoczatkoweIKolejnoscTab() {
    FalszywyCel cel;
    Dialog d(cel);
    QCOMPARE(d.Lista(1)->currentText(), QStringLiteral("9600"));
    QCOMPARE(d.Lista(2)->currentText(), QStringLiteral("7"));
    QCOMPARE(d.Lista(3)->currentText(), QStringLiteral("Znacznik"));
    QCOMPARE(d.Lista(4)->currentText(), QStringLiteral("2"));
    QCOMPARE(d.Lista(1)->count(), 8);
    QCOMPARE(d.Lista(4)->itemText(1), QStringLiteral("15"));

    const std::vector<QWidget*> kolejnosc{d.Przycisk(1), d.Przycisk(2), d.Przycisk(3),
                                          d.Lista(1),    d.Lista(2),    d.Lista(3),
                                          d.Lista(4),    d.Lista(5),    d.Przycisk(4)};
    // Walking the focus chain from each control, the next of the listed met
    // is the next in the intended order.
    for (std::size_t i = 0; i + 1 < kolejnosc.size(); ++i) {
        QWidget* nastepny = kolejnosc[i]->nextInFocusChain();
        while (std::ranges::find(kolejnosc, nastepny) == kolejnosc.end()) {
            nastepny = nastepny->nextInFocusChain();
        }
        QCOMPARE(nastepny, kolejnosc[i + 1]);
    }
    QVERIFY(cel.log.empty());
}

void TestPort::zastosujGdyWylaczonyZapamietuje() {
    FalszywyCel cel;
    Dialog d(cel);
    d.Lista(1)->setCurrentText(QStringLiteral("19200"));
    d.Lista(2)->setCurrentText(QStringLiteral("8"));
    d.Lista(4)->setCurrentText(QStringLiteral("1"));
    d.Przycisk(2)->click();
    QCOMPARE(cel.log,
             (Log{"PWR #ffffff", "zamknij", "predkosc 19200", "dane 8", "stop 1", "PWR #eefeee"}));
    QCOMPARE(cel.predkosc, br19200);
    QCOMPARE(cel.bityDanych, db8);
    QVERIFY(!cel.otwarty);
}

void TestPort::domyslneIZamknijNicNieZmieniaja() {
    FalszywyCel cel;
    cel.otwarty = cel.wlaczony = true;
    Dialog d(cel);
    d.port.show();
    d.Lista(1)->setCurrentText(QStringLiteral("300"));
    d.Lista(3)->setCurrentText(QStringLiteral("Brak"));
    d.Przycisk(1)->click();
    QCOMPARE(d.Lista(1)->currentText(), QStringLiteral("9600"));
    QCOMPARE(d.Lista(3)->currentText(), QStringLiteral("Znacznik"));
    d.Przycisk(3)->click();
    QVERIFY(!d.port.isVisible());
    QVERIFY(cel.log.empty());
    QVERIFY(cel.otwarty);
}

void TestPort::nieznanaPredkoscZostawiaPredkosc() {
    FalszywyCel cel;
    Dialog d(cel);
    d.Lista(1)->setCurrentText(QStringLiteral("600"));
    d.Lista(2)->setCurrentText(QStringLiteral("9"));
    d.Lista(4)->setCurrentText(QStringLiteral("1"));
    d.Przycisk(2)->click();
    QCOMPARE(cel.log, (Log{"PWR #ffffff", "zamknij", "stop 1", "PWR #eefeee"}));
    QCOMPARE(cel.predkosc, br9600);
    QVERIFY(cel.bledy.empty());
}

void TestPort::poltoraBituStopuZgloszoneIKontrolkaPrzywrocona() {
    FalszywyCel cel;
    cel.otwarty = cel.wlaczony = true;
    Dialog d(cel);
    d.Lista(4)->setCurrentText(QStringLiteral("15"));
    d.Przycisk(2)->click();
    QCOMPARE(cel.bityStopu, sb15);
    // The lamp is back before the report comes up.
    QCOMPARE(cel.log, (Log{"PWR #ffffff", "zamknij", "predkosc 9600", "dane 7", "stop 1.5",
                           "otworz", "PWR #00ff00", "blad"}));
    QCOMPARE(cel.bledy, (std::vector<std::string>{"Error setting communications state"}));
    QVERIFY(!cel.otwarty);
}

void TestPort::zastosujGdyWlaczonyOtwieraPonownie() {
    FalszywyCel cel;
    cel.otwarty = cel.wlaczony = true;
    Dialog d(cel);
    d.Lista(1)->setCurrentText(QStringLiteral("19200"));
    d.Lista(3)->setCurrentText(QStringLiteral("Brak"));
    d.Przycisk(2)->click();
    QCOMPARE(cel.log, (Log{"PWR #ffffff", "zamknij", "predkosc 19200", "dane 7", "stop 2", "otworz",
                           "PWR #00ff00"}));
    QVERIFY(cel.otwarty);
}

void TestPort::blednyTekstZatrzymujeAleOtwieraPort() {
    FalszywyCel cel;
    cel.otwarty = cel.wlaczony = true;
    Dialog d(cel);
    d.Lista(1)->setCurrentText(QStringLiteral("1200"));
    d.Lista(2)->setCurrentText(QStringLiteral("siedem"));
    d.Przycisk(2)->click();
    // The rate before the bad list is applied, the stop bits after it not.
    QCOMPARE(cel.log,
             (Log{"PWR #ffffff", "zamknij", "predkosc 1200", "otworz", "PWR #00ff00", "blad"}));
    QCOMPARE(cel.bledy, (std::vector<std::string>{"'siedem' is not a valid integer value"}));
    QVERIFY(cel.otwarty);
}

void TestPort::kazdaPozycjaList_data() {
    QTest::addColumn<int>("lista");
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("wpis"); // empty: the setting is left alone
    for (const char* v : {"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600"}) {
        QTest::addRow("predkosc %s", v) << 1 << v << QStringLiteral("predkosc %1").arg(v);
    }
    QTest::newRow("predkosc 115200") << 1 << "115200"
                                     << "";
    for (const char* v : {"4", "5", "6", "7", "8"}) {
        QTest::addRow("dane %s", v) << 2 << v << QStringLiteral("dane %1").arg(v);
    }
    QTest::newRow("dane 3") << 2 << "3"
                            << "";
    QTest::newRow("dane 9") << 2 << "9"
                            << "";
    QTest::newRow("stop 1") << 4 << "1"
                            << "stop 1";
    QTest::newRow("stop 15") << 4 << "15"
                             << "stop 1.5";
    QTest::newRow("stop 2 ze spacjami") << 4 << " 2 "
                                        << "stop 2";
    QTest::newRow("stop 3") << 4 << "3"
                            << "";
}

void TestPort::kazdaPozycjaList() {
    QFETCH(int, lista);
    QFETCH(QString, tekst);
    QFETCH(QString, wpis);
    FalszywyCel cel;
    Dialog d(cel);
    d.Lista(lista)->setCurrentText(tekst);
    d.Przycisk(2)->click();
    const char* przedrostek = lista == 1 ? "predkosc" : lista == 2 ? "dane" : "stop";
    std::vector<std::string> wpisy;
    for (const auto& w : cel.log) {
        if (w.starts_with(przedrostek)) {
            wpisy.push_back(w);
        }
    }
    if (wpis.isEmpty()) {
        QVERIFY(wpisy.empty());
    } else {
        QCOMPARE(wpisy, (std::vector<std::string>{wpis.toStdString()}));
    }
    QVERIFY(cel.bledy.empty());
}

void TestPort::zmianaPortu_data() {
    QTest::addColumn<bool>("com1");
    QTest::addColumn<bool>("com2");
    QTest::addColumn<bool>("otwarty");
    QTest::addColumn<int>("numer");
    QTest::addColumn<bool>("wylacz");
    QTest::newRow("COM 1, port zamknięty") << true << false << false << 1 << false;
    QTest::newRow("COM 1, port otwarty") << true << false << true << 1 << true;
    QTest::newRow("COM 2, port otwarty") << false << true << true << 2 << true;
    QTest::newRow("żaden") << false << false << false << 0 << false;
}

void TestPort::zmianaPortu() {
    QFETCH(bool, com1);
    QFETCH(bool, com2);
    QFETCH(bool, otwarty);
    QFETCH(int, numer);
    QFETCH(bool, wylacz);
    const ZmianaPortu d = DecyzjaZmianyPortu(com1, com2, otwarty);
    QCOMPARE(d.numerPortu.value_or(0), numer);
    QCOMPARE(d.wylaczSymulator, wylacz);
}

void TestPort::urzadzenieNaPoczatku() {
    FalszywyCel cel;
    cel.wybrany = "COM2";
    cel.mapa["COM2"] = "/dev/serial/by-id/usb-odlaczony";
    Dialog d(cel);
    // The device the name means now, also when it is no longer present.
    QCOMPARE(d.Lista(5)->currentText(), QStringLiteral("/dev/serial/by-id/usb-odlaczony"));
    QCOMPARE(d.Lista(5)->itemText(0), QStringLiteral("Port wirtualny"));
    QVERIFY(d.Lista(5)->isEditable());
    QVERIFY(!d.Sciezka()->isVisibleTo(&d.port));
    QVERIFY(!d.Przycisk(4)->isVisibleTo(&d.port));
    // "&Domyślne" leaves the device alone.
    d.Przycisk(1)->click();
    QCOMPARE(d.Lista(5)->currentText(), QStringLiteral("/dev/serial/by-id/usb-odlaczony"));
    QVERIFY(cel.log.empty());
}

void TestPort::portWirtualnyPokazujeSciezkeIJaKopiuje() {
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4321", 1);
    FalszywyCel cel;
    Dialog d(cel);
    QCOMPARE(d.Lista(5)->currentText(), QStringLiteral("Port wirtualny"));
    QVERIFY(d.Sciezka()->isVisibleTo(&d.port));
    QVERIFY(d.Sciezka()->isReadOnly());
    QCOMPARE(d.Sciezka()->text(), QStringLiteral("/run/user/4321/parvolen/COM1"));
    QCOMPARE(d.Przycisk(4)->text(), QStringLiteral("&Kopiuj"));
    d.Przycisk(4)->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("/run/user/4321/parvolen/COM1"));

    d.Lista(5)->setCurrentText(QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(!d.Sciezka()->isVisibleTo(&d.port));
    QVERIFY(!d.Przycisk(4)->isVisibleTo(&d.port));
    d.Lista(5)->setCurrentIndex(0);
    QVERIFY(d.Sciezka()->isVisibleTo(&d.port));
    QVERIFY(cel.log.empty());
}

void TestPort::noweUrzadzenieZapisaneDlaWybranegoPortu_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("zapisane");
    QTest::newRow("COM 2 na urządzenie znakowe") << "COM2"
                                                 << "/dev/null"
                                                 << "/dev/null";
    QTest::newRow("COM 2 na port wirtualny") << "COM2"
                                             << "Port wirtualny" << kVaVirtualDevice;
    QTest::newRow("COM 1 na wpisane virtual") << "COM1"
                                              << " virtual "
                                              << ""; // already what COM 1 means
    QTest::newRow("COM 1 na ścieżkę ze spacjami") << "COM1"
                                                  << " /dev/zero "
                                                  << "/dev/zero";
    QTest::newRow("COM 2 na sieć TCP") << "COM2"
                                       << "Sieć TCP"
                                       << "socket://127.0.0.1:4001";
    QTest::newRow("COM 1 na sieć RFC 2217") << "COM1"
                                            << "Sieć RFC 2217"
                                            << "rfc2217://127.0.0.1:2217";
    QTest::newRow("COM 1 na wpisany adres") << "COM1"
                                            << "socket://[::1]:4001"
                                            << "socket://[::1]:4001";
}

void TestPort::noweUrzadzenieZapisaneDlaWybranegoPortu() {
    QFETCH(QString, port);
    QFETCH(QString, tekst);
    QFETCH(QString, zapisane);
    FalszywyCel cel;
    cel.wybrany = port.toStdString();
    cel.otwarty = cel.wlaczony = true;
    auto oczekiwana = cel.mapa;
    Dialog d(cel);
    d.Lista(5)->setCurrentText(tekst);
    d.Lista(1)->setCurrentText(QStringLiteral("19200"));
    d.Przycisk(2)->click();

    Log log{"PWR #ffffff", "zamknij"};
    if (!zapisane.isEmpty()) {
        log.push_back("urzadzenie " + cel.wybrany + " " + zapisane.toStdString());
        oczekiwana[cel.wybrany] = zapisane.toStdString();
    }
    // Reopened after the device is stored, so the port opens the new one.
    for (const char* wpis : {"predkosc 19200", "dane 7", "stop 2", "otworz", "PWR #00ff00"}) {
        log.emplace_back(wpis);
    }
    QCOMPARE(cel.log, log);
    QCOMPARE(cel.mapa, oczekiwana);
    QVERIFY(cel.bledy.empty());

    // A second apply has nothing new to store.
    cel.log.clear();
    d.Przycisk(2)->click();
    QVERIFY(std::ranges::none_of(cel.log, [](const auto& w) { return w.starts_with("urz"); }));
}

void TestPort::zleUrzadzenieOdrzucone_data() {
    const std::string folder = katalog_.path().toStdString();
    std::ofstream(folder + "/zwykly") << "x";
    QTest::addColumn<QString>("sciezka");
    QTest::addColumn<QString>("komunikat");
    QTest::newRow("brak") << QString::fromStdString(folder + "/ttyUSB7")
                          << QString::fromStdString("Urządzenie „" + folder +
                                                    "/ttyUSB7” nie istnieje.");
    QTest::newRow("zwykły plik") << QString::fromStdString(folder + "/zwykly")
                                 << QString::fromStdString(
                                        "„" + folder +
                                        "/zwykly” nie jest urządzeniem znakowym, więc nie może "
                                        "być portem szeregowym.");
}

void TestPort::zleUrzadzenieOdrzucone() {
    QFETCH(QString, sciezka);
    QFETCH(QString, komunikat);
    FalszywyCel cel;
    cel.wybrany = "COM2";
    cel.otwarty = cel.wlaczony = true;
    const auto przed = cel.mapa;
    Dialog d(cel);
    d.Lista(5)->setCurrentText(sciezka);
    d.Lista(1)->setCurrentText(QStringLiteral("1200"));
    Odpowiedzi odpowiedzi;
    d.Przycisk(2)->click();
    QCOMPARE(odpowiedzi.teksty,
             QStringList{komunikat + QStringLiteral("\nPort COM 2 pozostaje przy dotychczasowym "
                                                    "urządzeniu; nic nie zostało zmienione.")});
    QCOMPARE(odpowiedzi.ikony.front(), QMessageBox::Warning);
    // Nothing was touched: the mapping, the line and the open port stay.
    QVERIFY(cel.log.empty());
    QCOMPARE(cel.mapa, przed);
    QVERIFY(cel.otwarty);
    QCOMPARE(cel.predkosc, br9600);
    // The text stays for the user to correct.
    QCOMPARE(d.Lista(5)->currentText(), sciezka);
}

// An adapter pulled out since it was chosen: the line settings can still be
// applied without choosing the device again.
void TestPort::niezmienioneUrzadzenieNieJestSprawdzane() {
    FalszywyCel cel;
    cel.wybrany = "COM2";
    cel.mapa["COM2"] = katalog_.filePath("ttyUSB9").toStdString();
    Dialog d(cel);
    Odpowiedzi odpowiedzi;
    d.Lista(1)->setCurrentText(QStringLiteral("4800"));
    d.Przycisk(2)->click();
    QVERIFY(odpowiedzi.teksty.isEmpty());
    QCOMPARE(cel.log,
             (Log{"PWR #ffffff", "zamknij", "predkosc 4800", "dane 7", "stop 2", "PWR #eefeee"}));
}

void TestPort::siecPokazujeAdresIOstrzegaPozaTymKomputerem() {
    FalszywyCel cel;
    cel.wybrany = "COM2";
    cel.mapa["COM2"] = "socket://192.168.7.5:4001";
    Dialog d(cel);
    d.port.show();
    QCOMPARE(d.Lista(5)->currentText(), QStringLiteral("Sieć TCP"));
    QCOMPARE(d.Sciezka()->text(), QStringLiteral("192.168.7.5:4001"));
    QVERIFY(!d.Sciezka()->isReadOnly());
    QVERIFY(d.Uwaga("Ostrzezenie")->isVisible());
    QCOMPARE(d.Uwaga("Ostrzezenie")->text(),
             QStringLiteral("Uwaga: każdy, kto może połączyć się z adresem 192.168.7.5:4001, może "
                            "programować sterownik."));
    QVERIFY(!d.Uwaga("KlientSieci")->isVisible());

    // The other kind starts from its loopback default: no warning.
    d.Lista(5)->setCurrentText(QStringLiteral("Sieć RFC 2217"));
    QCOMPARE(d.Sciezka()->text(), QStringLiteral("127.0.0.1:2217"));
    QVERIFY(!d.Uwaga("Ostrzezenie")->isVisible());
    // Typing another address warns at once, and the apply stores what was typed.
    d.Sciezka()->selectAll();
    QTest::keyClicks(d.Sciezka(), QStringLiteral("0.0.0.0:2217"));
    QVERIFY(d.Uwaga("Ostrzezenie")->isVisible());
    d.Przycisk(2)->click();
    QCOMPARE(cel.mapa["COM2"], std::string("rfc2217://0.0.0.0:2217"));
    // The notes fit the dialog.
    const QRect dialog = d.port.rect();
    QVERIFY(dialog.contains(
        QRect(d.Uwaga("Ostrzezenie")->mapTo(&d.port, QPoint()), d.Uwaga("Ostrzezenie")->size())));

    d.Lista(5)->setCurrentText(QStringLiteral("Port wirtualny"));
    QVERIFY(d.Sciezka()->isReadOnly());
    QVERIFY(!d.Uwaga("Ostrzezenie")->isVisible());
}

void TestPort::zlyAdresSieciOdrzucony() {
    FalszywyCel cel;
    cel.otwarty = cel.wlaczony = true;
    const auto przed = cel.mapa;
    Dialog d(cel);
    d.Lista(5)->setCurrentText(QStringLiteral("Sieć TCP"));
    d.Sciezka()->setText(QStringLiteral("localhost"));
    Odpowiedzi odpowiedzi;
    d.Przycisk(2)->click();
    QCOMPARE(odpowiedzi.teksty,
             QStringList{QStringLiteral("Adres „localhost” nie jest poprawny: podaj adres i port, "
                                        "na przykład 127.0.0.1:2217.\nPort COM 1 pozostaje przy "
                                        "dotychczasowym urządzeniu; nic nie zostało zmienione.")});
    QVERIFY(cel.log.empty());
    QCOMPARE(cel.mapa, przed);
}

void TestPort::klientZInnaLiniaJestNazwany() {
    FalszywyCel cel;
    cel.mapa["COM1"] = "rfc2217://127.0.0.1:2217";
    cel.klient = "Klient ustawił 8N1, sterownik pracuje na 7E2";
    Dialog d(cel);
    d.port.show();
    QVERIFY(d.Uwaga("KlientSieci")->isVisible());
    QCOMPARE(d.Uwaga("KlientSieci")->text(), QString::fromStdString(cel.klient));
}

QTEST_MAIN(TestPort)
#include "PortTest.moc"
