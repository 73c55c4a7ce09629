#include "panel/OknoPowitalne.h"

#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestOknoPowitalne : public QObject {
    Q_OBJECT

private slots:
    void nicNieZamykaPrzedZerem();
    void poDziesieciuTyknieciachPrzyciskZamyka();
    void poOdliczaniuEnterZamyka();
};

namespace {

QPushButton* Przycisk(TOknoPowitalne& okno) {
    return okno.findChild<QPushButton*>(QStringLiteral("Button1"));
}

} // namespace

void TestOknoPowitalne::nicNieZamykaPrzedZerem() {
    QPointer okno = new TOknoPowitalne;
    okno->UstawLicznik(10);
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno));
    QCOMPARE(Przycisk(*okno)->text(), QStringLiteral("10"));

    for (int tykniecie = 9; tykniecie >= 1; --tykniecie) {
        okno->Licznik();
        QCOMPARE(Przycisk(*okno)->text(), QString::number(tykniecie));
        QVERIFY(!okno->close());
        Przycisk(*okno)->click();
        QTest::keyClick(okno, Qt::Key_Return);
        QTest::keyClick(okno, Qt::Key_Escape);
        okno->reject();
        QVERIFY(okno->isVisible());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(okno);
    delete okno;
}

void TestOknoPowitalne::poDziesieciuTyknieciachPrzyciskZamyka() {
    QPointer okno = new TOknoPowitalne;
    okno->UstawLicznik(10);
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno));
    auto* zegar = okno->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(zegar->isActive());
    QCOMPARE(zegar->interval(), 1000);

    for (int i = 0; i < 10; ++i) {
        okno->Licznik();
    }
    QCOMPARE(Przycisk(*okno)->text(), QStringLiteral("Zamknij okno"));
    QVERIFY(!zegar->isActive());
    // A stray tick after the end neither wraps the countdown nor reopens it.
    okno->Licznik();
    QCOMPARE(okno->Odliczanie(), std::uint8_t{0});

    Przycisk(*okno)->click();
    QVERIFY(!okno->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(okno.isNull());
}

void TestOknoPowitalne::poOdliczaniuEnterZamyka() {
    QPointer okno = new TOknoPowitalne;
    okno->UstawLicznik(1);
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno));
    QTest::keyClick(okno, Qt::Key_Return);
    QVERIFY(okno->isVisible());
    okno->Licznik();
    QTest::keyClick(okno, Qt::Key_Return);
    QVERIFY(!okno->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(okno.isNull());
}

QTEST_MAIN(TestOknoPowitalne)
#include "OknoPowitalneTest.moc"
