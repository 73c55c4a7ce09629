// The options dialog against a fake main window and a real options file.
#include "tests/wspolne/Odpowiedzi.h"

#include "dane/PlikIni.h"
#include "panel/Opcje.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class OknoNaNiby : public OknoOpcji {
public:
    explicit OknoNaNiby(const QTemporaryDir& katalog)
        : katalog_(katalog.path().toStdString()), ini(katalog_ / "Konfiguracja.ini") {}

    PlikIni& Konfiguracja() override { return ini; }
    std::uint8_t ModelWUzyciu() const override { return model; }
    void UstawNaWierzchu(bool wartosc) override {
        naWierzchuUstawione = true;
        naWierzchu = wartosc;
    }
    std::filesystem::path PlikDM() const override { return katalog_ / "DM.cpm"; }
    void UstawOdbudoweDM() override { odbudowa = true; }

    void Zapisz(const std::string& nazwa, const std::string& tresc) const {
        std::ofstream(katalog_ / nazwa, std::ios::binary) << tresc;
    }
    std::string Czytaj(const std::string& nazwa) const {
        std::ifstream plik(katalog_ / nazwa, std::ios::binary);
        return {std::istreambuf_iterator<char>(plik), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path katalog_;

public:
    PlikIni ini;
    std::uint8_t model = 1;
    bool naWierzchuUstawione = false;
    bool naWierzchu = false;
    bool odbudowa = false;
};

const QString KomunikatModelu =
    QStringLiteral("Aby zmiany odniosły skutek należy ponownie włączyc symulator.");

} // namespace

class OpcjeTest : public QObject {
    Q_OBJECT
private slots:
    void wartosciDomyslnePrzyBrakuPliku();
    void ladowanieZPliku();
    void wszystkieTrybyWylaczoneNieWybierajaNic();
    void okZapisujeKluczeWKolejnosci();
    void modelSterownika_data();
    void modelSterownika();
    void anulujNicNieZapisuje();
    void nieudanyZapisZostawiaDialog();
    void sprawdzeniePlikuDM_data();
    void sprawdzeniePlikuDM();
};

void OpcjeTest::wartosciDomyslnePrzyBrakuPliku() {
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    TOpcje opcje(okno, nullptr);
    opcje.show();
    QCOMPARE(opcje.windowTitle(), QStringLiteral("Opcje "));
    QCOMPARE(opcje.size(), QSize(380, 328));
    QVERIFY(opcje.cbZawszeNaWierzchu->isChecked());
    QVERIFY(!opcje.cbDzwieki->isChecked());
    QVERIFY(!opcje.cbKomunikacja->isChecked());
    QVERIFY(opcje.cbPodtrzymanieLHA->isChecked());
    QVERIFY(!opcje.cbPodtrzymanieLHA->isEnabled());
    QVERIFY(!opcje.cbPodtrzymanieDM->isChecked());
    QVERIFY(opcje.OpcjaProgram->isChecked());
    QCOMPARE(opcje.cbModelSterownika->currentText(), QStringLiteral("CPU 10"));
    QVERIFY(opcje.cbModelSterownika->isEditable());
    QVERIFY(!std::filesystem::exists(okno.ini.Plik())); // loading writes nothing
}

void OpcjeTest::ladowanieZPliku() {
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    okno.model = 3;
    okno.Zapisz("Konfiguracja.ini",
                "[Opcje okna]\r\nZawszeNaWierzchu=0\r\nDzwieki=1\r\nKomunikacja=1\r\n"
                "[Opcje programu]\r\nPodtrzymanie LR,HR,AR=0\r\nPodtrzymanie DM=1\r\n"
                "Program=0\r\nMonitor=1\r\n[Model sterownika]\r\nCPU=2\r\n");
    okno.Zapisz("DM.cpm", ""); // loading runs no length check
    Odpowiedzi odpowiedzi;
    TOpcje opcje(okno, nullptr);
    opcje.show();
    QVERIFY(!opcje.cbZawszeNaWierzchu->isChecked());
    QVERIFY(opcje.cbDzwieki->isChecked());
    QVERIFY(opcje.cbKomunikacja->isChecked());
    QVERIFY(!opcje.cbPodtrzymanieLHA->isChecked());
    QVERIFY(opcje.cbPodtrzymanieDM->isChecked());
    QVERIFY(!opcje.OpcjaProgram->isChecked());
    QVERIFY(opcje.OpcjaMonitor->isChecked());
    QVERIFY(!opcje.OpcjaRun->isChecked());
    // The model shown is the one in use, not the file's.
    QCOMPARE(opcje.cbModelSterownika->currentText(), QStringLiteral("CPU 30"));
    QCoreApplication::processEvents();
    QVERIFY(odpowiedzi.teksty.isEmpty());
    QVERIFY(!okno.odbudowa);
}

void OpcjeTest::wszystkieTrybyWylaczoneNieWybierajaNic() {
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    okno.Zapisz("Konfiguracja.ini", "[Opcje programu]\r\nProgram=0\r\nMonitor=0\r\nRun=0\r\n");
    TOpcje opcje(okno, nullptr);
    opcje.show();
    QVERIFY(!opcje.OpcjaProgram->isChecked());
    QVERIFY(!opcje.OpcjaMonitor->isChecked());
    QVERIFY(!opcje.OpcjaRun->isChecked());
    // The choice is still one of three once the user makes it.
    opcje.OpcjaRun->click();
    opcje.OpcjaMonitor->click();
    QVERIFY(!opcje.OpcjaRun->isChecked());
}

void OpcjeTest::okZapisujeKluczeWKolejnosci() {
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    okno.Zapisz("DM.cpm", std::string(765, '0'));
    TOpcje opcje(okno, nullptr);
    opcje.show();
    opcje.cbZawszeNaWierzchu->setChecked(false);
    opcje.cbDzwieki->setChecked(true);
    opcje.OpcjaRun->setChecked(true);
    opcje.cbPodtrzymanieDM->click();
    opcje.Button2->click();

    QVERIFY(okno.naWierzchuUstawione);
    QVERIFY(!okno.naWierzchu);
    QCOMPARE(opcje.result(), int{QDialog::Accepted});
    QCOMPARE(okno.Czytaj("Konfiguracja.ini"),
             std::string("[Opcje programu]\r\nPodtrzymanie LR,HR,AR=1\r\nPodtrzymanie DM=1\r\n"
                         "Program=0\r\nMonitor=0\r\nRun=1\r\n"
                         "\r\n[Opcje okna]\r\nZawszeNaWierzchu=0\r\nDzwieki=1\r\nKomunikacja=0\r\n"
                         "\r\n[Model sterownika]\r\nCPU=1\r\n"));
}

void OpcjeTest::modelSterownika_data() {
    QTest::addColumn<int>("wUzyciu");
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<int>("zapisany");
    QTest::addColumn<bool>("komunikat");
    QTest::newRow("ten sam") << 2 << "CPU 20" << 2 << false;
    QTest::newRow("inny") << 1 << "CPU 30" << 3 << true;
    QTest::newRow("nieznany tekst") << 1 << "cpu 20" << 0 << false;
    QTest::newRow("nieznany tekst, plik inny niz w uzyciu") << 3 << "CPU 40" << 0 << true;
}

void OpcjeTest::modelSterownika() {
    QFETCH(int, wUzyciu);
    QFETCH(QString, tekst);
    QFETCH(int, zapisany);
    QFETCH(bool, komunikat);
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    okno.model = static_cast<std::uint8_t>(wUzyciu);
    Odpowiedzi odpowiedzi;
    TOpcje opcje(okno, nullptr);
    opcje.show();
    opcje.cbModelSterownika->setCurrentText(tekst);
    opcje.OdczytTypuCPU();
    QCOMPARE(okno.ini.CzytajLiczbe("Model sterownika", "CPU", 0), zapisany);
    QCOMPARE(odpowiedzi.teksty, komunikat ? QStringList{KomunikatModelu} : QStringList{});
}

void OpcjeTest::anulujNicNieZapisuje() {
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    TOpcje opcje(okno, nullptr);
    opcje.show();
    opcje.cbDzwieki->setChecked(true);
    opcje.Button1->click();
    QCOMPARE(opcje.result(), int{QDialog::Rejected});
    QVERIFY(!std::filesystem::exists(okno.ini.Plik()));
    QVERIFY(!okno.naWierzchuUstawione);
}

void OpcjeTest::nieudanyZapisZostawiaDialog() {
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    std::filesystem::create_directory(okno.ini.Plik());
    Odpowiedzi odpowiedzi;
    TOpcje opcje(okno, nullptr);
    opcje.show();
    opcje.Button2->click();
    QCOMPARE(odpowiedzi.teksty,
             QStringList{QStringLiteral("Unable to write to %1")
                             .arg(QString::fromStdString(okno.ini.Plik().string()))});
    QVERIFY(opcje.isVisible());
    QVERIFY(okno.naWierzchuUstawione); // the step before the first write is done
}

void OpcjeTest::sprawdzeniePlikuDM_data() {
    QTest::addColumn<int>("dlugosc"); // -1: no file
    QTest::addColumn<bool>("komunikat");
    QTest::newRow("764 bajty") << 764 << true;
    QTest::newRow("765 bajtow") << 765 << false;
    QTest::newRow("brak pliku") << -1 << true;
}

void OpcjeTest::sprawdzeniePlikuDM() {
    QFETCH(int, dlugosc);
    QFETCH(bool, komunikat);
    QTemporaryDir katalog;
    OknoNaNiby okno(katalog);
    if (dlugosc >= 0) {
        okno.Zapisz("DM.cpm", std::string(static_cast<std::size_t>(dlugosc), '0'));
    }
    Odpowiedzi odpowiedzi;
    TOpcje opcje(okno, nullptr);
    opcje.show();

    opcje.cbPodtrzymanieDM->click(); // now checked
    const QStringList oczekiwane{QStringLiteral("Dane w pliku DM.cpm są niekompletne.\n"
                                                "Aby odbudować plik zamknij i ponownie "
                                                "uruchom program.")};
    QCOMPARE(odpowiedzi.teksty, komunikat ? oczekiwane : QStringList{});
    QCOMPARE(opcje.cbPodtrzymanieDM->isChecked(), !komunikat);
    QCOMPARE(okno.odbudowa, komunikat);

    // Unchecking never complains.
    if (!komunikat) {
        opcje.cbPodtrzymanieDM->click();
        QVERIFY(odpowiedzi.teksty.isEmpty());
    }
}

QTEST_MAIN(OpcjeTest)
#include "OpcjeTest.moc"
