#include "panel/Port.h"
#include "panel/ZmianaPortu.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
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
    std::vector<std::string> log;
    std::vector<std::string> bledy;

    bool PortOtwarty() const override { return otwarty; }
    void ZamknijPortSzeregowy() override {
        log.push_back("zamknij");
        otwarty = false;
    }
    void OtworzPortSzeregowy() override {
        log.push_back("otworz");
        // As the device layer on Linux: 1.5 stop bits cannot be set.
        if (bityStopu == sb15)
            throw std::runtime_error("Error setting communications state");
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

    const std::vector<QWidget*> kolejnosc{d.Przycisk(1), d.Przycisk(2), d.Przycisk(3), d.Lista(1),
                                          d.Lista(2),    d.Lista(3),    d.Lista(4)};
    // Walking the focus chain from each control, the next of the seven met
    // is the next in the intended order.
    for (std::size_t i = 0; i + 1 < kolejnosc.size(); ++i) {
        QWidget* nastepny = kolejnosc[i]->nextInFocusChain();
        while (std::ranges::find(kolejnosc, nastepny) == kolejnosc.end())
            nastepny = nastepny->nextInFocusChain();
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
    for (const char* v : {"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600"})
        QTest::addRow("predkosc %s", v) << 1 << v << QStringLiteral("predkosc %1").arg(v);
    QTest::newRow("predkosc 115200") << 1 << "115200"
                                     << "";
    for (const char* v : {"4", "5", "6", "7", "8"})
        QTest::addRow("dane %s", v) << 2 << v << QStringLiteral("dane %1").arg(v);
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
    for (const auto& w : cel.log)
        if (w.starts_with(przedrostek))
            wpisy.push_back(w);
    if (wpis.isEmpty())
        QVERIFY(wpisy.empty());
    else
        QCOMPARE(wpisy, (std::vector<std::string>{wpis.toStdString()}));
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

QTEST_MAIN(TestPort)
#include "PortTest.moc"
