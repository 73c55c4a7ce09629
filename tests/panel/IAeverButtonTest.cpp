#include "panel/IAeverButton.h"
#include "panel/IAeverGeometria.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace iaever;

namespace {

// Counts paint events reaching one widget.
class LicznikMalowania : public QObject {
public:
    int ile = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++ile;
        }
        return false;
    }
};

std::vector<QPoint> PikseleScietychRogow(int w, int h) {
    return {{0, 0}, {1, 0}, {0, 1}, {w - 2, 0}, {w - 1, 0}, {w - 1, 1}, {0, h - 1}, {w - 1, h - 1}};
}

} // namespace

class TestIAeverButton : public QObject {
    Q_OBJECT

private slots:
    void obrys_data();
    void obrys();
    void maska_data();
    void maska();
    void fazaJasnaGoraLewoCiemnaDolPrawo();
    void pasyGradientu_data();
    void pasyGradientu();
    void jasniejszyCiemniejszy_data();
    void jasniejszyCiemniejszy();
    void polozenieNapisu_data();
    void polozenieNapisu();
    void rozbiorNapisu_data();
    void rozbiorNapisu();
    void klikNaScietymRoguNieWciska();
    void podwojnyKlikToDwaKlikniecia();
    void tenSamKolorNieOdmalowuje();
    void wcisniecieZamieniaFaze();
    void napisNiezaleznyOdPalety_data();
    void napisNiezaleznyOdPalety();
};

void TestIAeverButton::obrys_data() {
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QPolygon>("oczekiwany");
    QTest::newRow("76x22") << 76 << 22
                           << QPolygon({{4, 0},   {72, 0},  {74, 0},  {75, 1},  {76, 2},
                                        {76, 4},  {76, 18}, {76, 20}, {75, 21}, {74, 22},
                                        {72, 22}, {4, 22},  {2, 22},  {1, 21},  {0, 20},
                                        {0, 18},  {0, 4},   {0, 2},   {1, 1},   {2, 0}});
    QTest::newRow("56x16") << 56 << 16
                           << QPolygon({{4, 0},   {52, 0},  {54, 0},  {55, 1},  {56, 2},
                                        {56, 4},  {56, 12}, {56, 14}, {55, 15}, {54, 16},
                                        {52, 16}, {4, 16},  {2, 16},  {1, 15},  {0, 14},
                                        {0, 12},  {0, 4},   {0, 2},   {1, 1},   {2, 0}});
}

void TestIAeverButton::obrys() {
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QPolygon, oczekiwany);
    QCOMPARE(ObrysZaokraglony(w, h, 4), oczekiwany);
}

void TestIAeverButton::maska_data() {
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::newRow("76x22") << 76 << 22;
    QTest::newRow("56x16") << 56 << 16;
}

void TestIAeverButton::maska() {
    QFETCH(int, w);
    QFETCH(int, h);
    const QRegion maska = RegionObrysu(ObrysZaokraglony(w, h, 4));
    QCOMPARE(maska.boundingRect(), QRect(0, 0, w, h));
    // The pixels cut off at the corners (the right and bottom edges of the
    // outline lie outside the region, so those corners lose fewer); the
    // edges' middles and the straight parts next to the arcs are in.
    for (const QPoint rog : PikseleScietychRogow(w, h)) {
        QVERIFY2(!maska.contains(rog),
                 qPrintable(QStringLiteral("%1,%2").arg(rog.x()).arg(rog.y())));
    }
    for (const QPoint p :
         {QPoint(w / 2, 0), QPoint(w / 2, h - 1), QPoint(0, h / 2), QPoint(w - 1, h / 2),
          QPoint(4, 0), QPoint(0, 4), QPoint(w / 2, h / 2)}) {
        QVERIFY2(maska.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
}

void TestIAeverButton::fazaJasnaGoraLewoCiemnaDolPrawo() {
    const QPolygon obrys = ObrysZaokraglony(76, 22, 4);
    const QPolygon wewnetrzny = ObrysWewnetrzny(obrys, 2);
    QCOMPARE(wewnetrzny[0], QPoint(4, 2)); // (4, 0) moved two pixels down
    QCOMPARE(wewnetrzny[5], QPoint(74, 4));
    const PolowkiFazy faza = PodzielFaze(obrys, wewnetrzny);
    QVERIFY(faza.jasna.intersected(faza.ciemna).isEmpty());
    for (const QPoint p : {QPoint(38, 0), QPoint(38, 1), QPoint(0, 11), QPoint(1, 11)}) {
        QVERIFY(faza.jasna.contains(p) && !faza.ciemna.contains(p));
    }
    for (const QPoint p : {QPoint(38, 21), QPoint(38, 20), QPoint(75, 11), QPoint(74, 11)}) {
        QVERIFY(faza.ciemna.contains(p) && !faza.jasna.contains(p));
    }
    QVERIFY(!faza.jasna.contains(QPoint(38, 11)) && !faza.ciemna.contains(QPoint(38, 11)));
}

void TestIAeverButton::pasyGradientu_data() {
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("pasy");
    QTest::newRow("22 px: N = 7") << 22 << 8;
    QTest::newRow("16 px: N = 5") << 16 << 6;
    QTest::newRow("1 px: N = 0") << 1 << 1;
}

void TestIAeverButton::pasyGradientu() {
    QFETCH(int, h);
    QFETCH(int, pasy);
    const QColor a(0xDA, 0xFF, 0xEC);
    const QColor b(0x9F, 0xFF, 0xCF);
    const auto wynik = PasyGradientu(a, b, h);
    QCOMPARE(static_cast<int>(wynik.size()), pasy);
    QCOMPARE(wynik.front().kolor, a);
    if (pasy > 1) {
        QCOMPARE(wynik.back().kolor, b);
    }
    // The bands tile the face: every row once, top to bottom.
    int wiersz = 0;
    for (const auto& pas : wynik) {
        QCOMPARE(pas.y, wiersz);
        wiersz += pas.wysokosc;
    }
    QCOMPARE(wiersz, h);
    if (h == 22) { // step 1 of 7: red 218 - 59 / 7, blue 236 - 29 / 7, truncated
        QCOMPARE(wynik[1].kolor, QColor(210, 0xFF, 232));
    }
}

void TestIAeverButton::jasniejszyCiemniejszy_data() {
    QTest::addColumn<QColor>("kolor");
    QTest::addColumn<QColor>("jasniejszy");
    QTest::addColumn<QColor>("ciemniejszy");
    QTest::newRow("230, 20, 100") << QColor(230, 20, 100) << QColor(255, 52, 132)
                                  << QColor(198, 0, 68);
    QTest::newRow("brzegi 223, 224, 32, 31")
        << QColor(223, 224, 32) << QColor(255, 255, 64) << QColor(191, 192, 0);
    QTest::newRow("31") << QColor(31, 0, 255) << QColor(63, 32, 255) << QColor(0, 0, 223);
}

void TestIAeverButton::jasniejszyCiemniejszy() {
    QFETCH(QColor, kolor);
    QFETCH(QColor, jasniejszy);
    QFETCH(QColor, ciemniejszy);
    QCOMPARE(Jasniejszy(kolor), jasniejszy);
    QCOMPARE(Ciemniejszy(kolor), ciemniejszy);
}

void TestIAeverButton::polozenieNapisu_data() {
    QTest::addColumn<QSize>("napis");
    QTest::addColumn<bool>("wcisniety");
    QTest::addColumn<QPoint>("oczekiwane");
    QTest::newRow("wyśrodkowany") << QSize(31, 13) << false << QPoint(22, 4);
    QTest::newRow("wciśnięty") << QSize(31, 13) << true << QPoint(23, 5);
    QTest::newRow("szerszy niż przycisk") << QSize(81, 25) << false << QPoint(-2, -1);
}

void TestIAeverButton::polozenieNapisu() {
    QFETCH(QSize, napis);
    QFETCH(bool, wcisniety);
    QFETCH(QPoint, oczekiwane);
    QCOMPARE(PolozenieNapisu(QSize(76, 22), napis, wcisniety), oczekiwane);
}

void TestIAeverButton::rozbiorNapisu_data() {
    QTest::addColumn<QString>("napis");
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<int>("akcelerator");
    QTest::newRow("&Włącz") << QStringLiteral("&Włącz") << QStringLiteral("Włącz") << 0;
    QTest::newRow("Pomo&c") << QStringLiteral("Pomo&c") << QStringLiteral("Pomoc") << 4;
    QTest::newRow("&&") << QStringLiteral("A&&B") << QStringLiteral("A&B") << -1;
    QTest::newRow("&& i &") << QStringLiteral("A&&&B") << QStringLiteral("A&B") << 2;
    QTest::newRow("& na końcu") << QStringLiteral("AB&") << QStringLiteral("AB&") << -1;
}

void TestIAeverButton::rozbiorNapisu() {
    QFETCH(QString, napis);
    QFETCH(QString, tekst);
    QFETCH(int, akcelerator);
    const auto wynik = RozbierzNapis(napis);
    QCOMPARE(wynik.tekst, tekst);
    QCOMPARE(wynik.akcelerator, akcelerator);
}

// A shown button on a panel, as in the main window.
struct PrzyciskNaPanelu {
    explicit PrzyciskNaPanelu(QSize rozmiar) : przycisk(&panel) {
        panel.resize(200, 100);
        przycisk.SetButtonKind(bkRoundRect);
        przycisk.setGeometry(QRect(QPoint(10, 10), rozmiar));
        panel.show();
    }
    QWidget panel;
    TIAeverButton przycisk;
};

void TestIAeverButton::klikNaScietymRoguNieWciska() {
    PrzyciskNaPanelu p(QSize(76, 22));
    QVERIFY(QTest::qWaitForWindowExposed(&p.panel));
    TIAeverButton& przycisk = p.przycisk;
    QSignalSpy klikniecia(&przycisk, &QAbstractButton::clicked);
    // Not (0, 0): QTest reads a null point as "the centre".
    for (const QPoint rog : PikseleScietychRogow(76, 22)) {
        if (!rog.isNull()) {
            QTest::mouseClick(&przycisk, Qt::LeftButton, {}, rog);
        }
    }
    QCOMPARE(klikniecia.count(), 0);
    QTest::mouseClick(&przycisk, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(klikniecia.count(), 1);
}

void TestIAeverButton::podwojnyKlikToDwaKlikniecia() {
    PrzyciskNaPanelu p(QSize(56, 16));
    QVERIFY(QTest::qWaitForWindowExposed(&p.panel));
    TIAeverButton& przycisk = p.przycisk;
    QSignalSpy klikniecia(&przycisk, &QAbstractButton::clicked);
    const QPoint srodek(28, 8);
    // What a double click delivers: press, release, double click, release.
    QTest::mousePress(&przycisk, Qt::LeftButton, {}, srodek);
    QTest::mouseRelease(&przycisk, Qt::LeftButton, {}, srodek);
    QTest::mouseDClick(&przycisk, Qt::LeftButton, {}, srodek);
    QTest::mouseRelease(&przycisk, Qt::LeftButton, {}, srodek);
    QCOMPARE(klikniecia.count(), 2);
}

void TestIAeverButton::tenSamKolorNieOdmalowuje() {
    PrzyciskNaPanelu p(QSize(56, 16));
    TIAeverButton& przycisk = p.przycisk;
    przycisk.SetButtonColor(QColor(0xE8, 0xFE, 0xFF));
    QVERIFY(QTest::qWaitForWindowExposed(&p.panel));
    QCoreApplication::processEvents();
    LicznikMalowania licznik;
    przycisk.installEventFilter(&licznik);

    przycisk.SetButtonColor(QColor(0xE8, 0xFE, 0xFF));
    przycisk.SetButtonColor1(przycisk.ButtonColor1());
    QCoreApplication::processEvents();
    QCOMPARE(licznik.ile, 0);

    // By name, as the main window sets it at switch-on.
    QVERIFY(przycisk.setProperty("ButtonColor", QColor(0xFF, 0xEA, 0xEA)));
    QCoreApplication::processEvents();
    QVERIFY(licznik.ile > 0);
    QCOMPARE(przycisk.grab().toImage().pixelColor(28, 8).red(), 0xFF);
}

void TestIAeverButton::wcisniecieZamieniaFaze() {
    // Colours with room both ways, so the light and dark bevels differ.
    const QColor a(0x80, 0x80, 0x80);
    const QColor b(0x80, 0x80, 0x80);
    TIAeverButton przycisk;
    przycisk.SetButtonKind(bkRoundRect);
    przycisk.SetGradientKind(gkLinear);
    przycisk.SetButtonColor(a);
    przycisk.SetButtonColor1(b);
    przycisk.resize(76, 22);

    const QPoint gora(38, 1); // light half, inside the frame
    const QPoint dol(38, 20); // dark half, inside the frame
    QImage lico = przycisk.grab().toImage();
    QCOMPARE(lico.pixelColor(gora), Jasniejszy(a));
    QCOMPARE(lico.pixelColor(dol), Ciemniejszy(a));
    QCOMPARE(lico.pixelColor(38, 0), Ciemniejszy(Ciemniejszy(a))); // frame

    przycisk.setDown(true);
    lico = przycisk.grab().toImage();
    QCOMPARE(lico.pixelColor(gora), Ciemniejszy(a));
    QCOMPARE(lico.pixelColor(dol), Jasniejszy(a));
}

void TestIAeverButton::napisNiezaleznyOdPalety_data() {
    QTest::addColumn<bool>("czynny");
    QTest::addColumn<QColor>("napis");
    QTest::newRow("czynny") << true << QColor(0x00, 0x00, 0x00);
    QTest::newRow("nieczynny") << false << QColor(0x80, 0x80, 0x80);
}

// A dark desktop theme gives light button text; the caption stands on the
// button's own light gradient and must not take it.
void TestIAeverButton::napisNiezaleznyOdPalety() {
    QFETCH(bool, czynny);
    QFETCH(QColor, napis);
    TIAeverButton przycisk;
    przycisk.SetButtonKind(bkRoundRect);
    przycisk.SetGradientKind(gkLinear);
    przycisk.SetButtonColor(QColor(0xE8, 0xFE, 0xFF));
    przycisk.SetButtonColor1(QColor(0xB6, 0xEB, 0xFA));
    przycisk.setText(QStringLiteral("&Info"));
    przycisk.resize(56, 16);
    QPalette ciemna = przycisk.palette();
    for (const auto grupa : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        ciemna.setColor(grupa, QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEC));
    }
    przycisk.setPalette(ciemna);
    przycisk.setEnabled(czynny);

    // The darkest pixel inside the bevel is the caption's core.
    const QImage lico = przycisk.grab().toImage();
    QColor najciemniejszy = Qt::white;
    for (int y = 3; y < 13; ++y) {
        for (int x = 3; x < 53; ++x) {
            if (qGray(lico.pixel(x, y)) < qGray(najciemniejszy.rgb())) {
                najciemniejszy = lico.pixelColor(x, y);
            }
        }
    }
    // Antialiasing leaves even a stem's core a shade off the pen.
    const int odchylka = std::max({std::abs(najciemniejszy.red() - napis.red()),
                                   std::abs(najciemniejszy.green() - napis.green()),
                                   std::abs(najciemniejszy.blue() - napis.blue())});
    QVERIFY2(odchylka <= 4, qPrintable(najciemniejszy.name()));
}

QTEST_MAIN(TestIAeverButton)
#include "IAeverButtonTest.moc"
