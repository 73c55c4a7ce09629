// The link monitor window over the real main window: opened by its
// accelerator and by a click on the COMM lamp, filled while a client talks
// over a pseudo-terminal, and saved to a file.

#include "tests/wspolne/Gospodarz.h"
#include "tests/wspolne/LinkClient.h"
#include "tests/wspolne/StanowiskoOkna.h"

#include "panel/Lampka.h"
#include "panel/MonitorLacza.h"

#include "hostlink/Fcs.h"

#include <QSettings>
#include <QTableView>
#include <QTest>

class MonitorLaczaTest : public QObject {
    Q_OBJECT
private slots:
    void otwieranieSkrotemIKliknieciemCOMM();
    void wierszePodczasRozmowyIZapisDoPliku();
    void klientPortuWirtualnegoIRamkiPrzyWylaczonym();
};

namespace {

// Each row as "meaning | reason", in order.
QStringList ZnaczeniaIPowody(const ModelMonitora& model) {
    QStringList wiersze;
    for (int n = 0; n < model.rowCount(); ++n) {
        wiersze
            << model.data(model.index(n, hostlink::KolumnaZnaczenie), Qt::DisplayRole).toString() +
                   " | " +
                   model.data(model.index(n, hostlink::KolumnaPowod), Qt::DisplayRole).toString();
    }
    return wiersze;
}

} // namespace

void MonitorLaczaTest::otwieranieSkrotemIKliknieciemCOMM() {
    Stanowisko s;
    s.Instalacja();
    TOkno& okno = s.Okno();
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QVERIFY(!okno.MonitorLacza);

    QTest::keyClick(&okno, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(okno.MonitorLacza);
    QVERIFY(okno.MonitorLacza->isVisible());
    QCOMPARE(okno.MonitorLacza->windowTitle(), QStringLiteral("Monitor łącza"));
    TMonitorLacza* pierwszy = okno.MonitorLacza;

    okno.MonitorLacza->close();
    QVERIFY(!pierwszy->isVisible());
    QVERIFY(okno.kontrolkaCOMM->toolTip().contains(QStringLiteral("monitor łącza")));
    QTest::mouseClick(okno.kontrolkaCOMM, Qt::LeftButton);
    QCOMPARE(okno.MonitorLacza.data(), pierwszy);
    QVERIFY(pierwszy->isVisible());
}

void MonitorLaczaTest::wierszePodczasRozmowyIZapisDoPliku() {
    Stanowisko s;
    s.Instalacja();
    hostlink::test::Gospodarz gospodarz;
    QSettings(QSettings::NativeFormat, QSettings::SystemScope, "Orvanta", "Parvolen")
        .setValue("Ports/COM2", QString::fromStdString(gospodarz.Sciezka()));
    s.Zapisz("Konfiguracja.ini",
             "[Opcje okna]\r\nNumer portu=2\r\n[Opcje programu]\r\nProgram=1\r\n");
    TOkno& okno = s.Okno();
    okno.ZalaczenieSymulatora();
    QVERIFY(okno.Zalaczony());
    okno.MonitorLaczaClick();
    TMonitorLacza& monitor = *okno.MonitorLacza;

    const std::string status = hostlink::RamkaKoncowa("@00MB1A03");
    QCOMPARE(gospodarz.Zapytaj(status),
             std::string("@00MB00110000010E01000000000000000000003A*\r"));
    gospodarz.Zapytaj(hostlink::RamkaKoncowa("@00MB9999"));
    // Rows: switch-on, port opened, the status read and its reply, the unknown command.
    QTRY_COMPARE(monitor.Model().rowCount(), 5);
    const ModelMonitora& model = monitor.Model();
    QCOMPARE(model.data(model.index(2, hostlink::KolumnaZnaczenie), Qt::DisplayRole).toString(),
             QStringLiteral("odczyt statusu"));
    QCOMPARE(model.data(model.index(2, hostlink::KolumnaRamka), Qt::DisplayRole).toString(),
             QStringLiteral("@00MB1A033C*⏎"));
    QCOMPARE(model.data(model.index(3, hostlink::KolumnaKierunek), Qt::DisplayRole).toString(),
             QStringLiteral("←"));
    QCOMPARE(model.data(model.index(4, hostlink::KolumnaPowod), Qt::DisplayRole).toString(),
             QStringLiteral("nieznane polecenie — bez odpowiedzi"));

    const std::string plik = s.Sciezka("monitor.txt").string();
    monitor.Zapisz(QString::fromStdString(plik));
    QString oczekiwany;
    for (int n = 0; n < model.rowCount(); ++n) {
        oczekiwany += model.Wiersz(n) + '\n';
    }
    const QString zapisany = QString::fromUtf8(s.Czytaj("monitor.txt"));
    QCOMPARE(zapisany, oczekiwany);
    QCOMPARE(zapisany.count('\n'), 5);
    QVERIFY(zapisany.contains(QStringLiteral("\t→\t@00MB1A033C*⏎\todczyt statusu\t3C = 3C\t\t\n")));
    okno.ZalaczenieSymulatora();
}

// On the virtual port the client's coming and going gets rows of its own,
// and what it sent while the simulator was off shows at the next switch-on,
// unanswered.
void MonitorLaczaTest::klientPortuWirtualnegoIRamkiPrzyWylaczonym() {
    Stanowisko s;
    s.Instalacja();
    const QByteArray poprzedni = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(s.Sciezka("run").string()));
    QSettings(QSettings::NativeFormat, QSettings::SystemScope, "Orvanta", "Parvolen")
        .setValue("Ports/COM2", QStringLiteral("virtual"));
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nNumer portu=2\r\n");
    TOkno& okno = s.Okno();
    okno.ZalaczenieSymulatora();
    QVERIFY(okno.Zalaczony());
    okno.ZalaczenieSymulatora();

    LinkClient klient(s.Sciezka("run/parvolen/COM2").string());
    QVERIFY(klient.IsOpen());
    QCOMPARE(klient.SetControllerLine(), 0);
    const std::string status = hostlink::RamkaKoncowa("@00MB1A03");
    klient.Send(status);
    QCOMPARE(klient.Listen(std::chrono::milliseconds(100)), std::string());

    okno.ZalaczenieSymulatora();
    QVERIFY(okno.Zalaczony());
    QCOMPARE(klient.Listen(std::chrono::milliseconds(100)), std::string());
    okno.MonitorLaczaClick();
    const ModelMonitora& model = okno.MonitorLacza->Model();
    const QStringList poWlaczeniu = {QStringLiteral("symulator włączony | "),
                                     QStringLiteral("port otwarty: COM2 | "),
                                     QStringLiteral("odczyt statusu | symulator wyłączony"),
                                     QStringLiteral("klient połączony | ")};
    QTRY_COMPARE(ZnaczeniaIPowody(model).mid(model.rowCount() - 4), poWlaczeniu);

    QVERIFY(klient.Ask(status).ends_with('\r'));
    klient.HangUp();
    QTRY_COMPARE(ZnaczeniaIPowody(model).constLast(), QStringLiteral("klient rozłączony | "));
    okno.ZalaczenieSymulatora();
    qputenv("XDG_RUNTIME_DIR", poprzedni);
}

QTEST_MAIN(MonitorLaczaTest)
#include "MonitorLaczaTest.moc"
