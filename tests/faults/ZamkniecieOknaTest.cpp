// Closing the main window when the disk is full: the DM save fails, the user
// sees the error box, the window stays open and the old DM.cpm is intact;
// once there is room again the close goes through.

#include "tests/wspolne/Odpowiedzi.h"
#include "tests/wspolne/PelnyDysk.h"
#include "tests/wspolne/StanowiskoOkna.h"

#include <QCloseEvent>
#include <QtTest>

#include <string>

class ZamkniecieOknaTest : public QObject {
    Q_OBJECT
private slots:
    void pelnyDyskPrzyZamknieciu();
};

void ZamkniecieOknaTest::pelnyDyskPrzyZamknieciu() {
    Stanowisko s;
    std::string stary;
    for (int k = 0; k < 255; ++k) {
        stary += std::to_string(k) + "\r\n";
    }
    s.Instalacja();
    s.Zapisz("DM.cpm", stary);
    s.Zapisz("Konfiguracja.ini",
             "[Opcje okna]\r\nKomunikacja=1\r\n[Opcje programu]\r\nPodtrzymanie DM=1\r\n");
    TOkno& okno = s.Okno();
    // The words are this run's once a switch-on has loaded them.
    okno.ZalaczenieSymulatora();
    QVERIFY(okno.Zalaczony());
    for (int k = 0; k < plc::LiczbaDM; ++k) {
        s.pamiec->DM[static_cast<std::size_t>(k)].store(-1000 - k);
    }

    {
        Odpowiedzi odpowiedzi;
        QCloseEvent zamkniecie;
        {
            const PelnyDysk dysk(100);
            QApplication::sendEvent(&okno, &zamkniecie);
        }
        QVERIFY(!zamkniecie.isAccepted());
        QCOMPARE(odpowiedzi.teksty.size(), 1);
        QCOMPARE(odpowiedzi.ikony.front(), QMessageBox::Critical);
        QVERIFY(!odpowiedzi.teksty.front().isEmpty());
    }
    QCOMPARE(s.Czytaj("DM.cpm"), stary);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);

    QCloseEvent ponownie;
    QApplication::sendEvent(&okno, &ponownie);
    QVERIFY(ponownie.isAccepted());
    const std::string nowy = s.Czytaj("DM.cpm");
    QVERIFY(nowy.starts_with("-1000\r\n-1001\r\n"));
    QVERIFY(nowy.ends_with("\r\n-1254\r\n"));
}

QTEST_MAIN(ZamkniecieOknaTest)
#include "ZamkniecieOknaTest.moc"
