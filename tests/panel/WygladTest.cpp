// Every window as a desktop shows it: under the bare style, a dark GTK theme,
// an 11 pt system font and 2x scaling. The look has to be chosen before the
// application object exists, so each case runs this program again as a child
// with the look's environment; the child grabs one window and checks it.
#include "tests/wspolne/StanowiskoOkna.h"

#include "panel/IAeverButton.h"
#include "panel/IAeverGeometria.h"
#include "panel/Info.h"
#include "panel/OknoPowitalne.h"
#include "panel/Opcje.h"
#include "panel/Port.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextStream>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace {

// ---- the child: one window under the look it was started with ----

double Luminancja(QRgb p) {
    auto kanal = [](int v) {
        const double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * kanal(qRed(p)) + 0.7152 * kanal(qGreen(p)) + 0.0722 * kanal(qBlue(p));
}

double Kontrast(QRgb a, QRgb b) {
    const double la = Luminancja(a);
    const double lb = Luminancja(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Text pixels against the region's commonest colour, its background. A few of
// the strongest pixels, not the single strongest, so that one stray pixel of a
// frame or a focus mark does not pass a caption nobody can read.
double KontrastTekstu(const QImage& obraz, const QRect& obszar) {
    QHash<QRgb, int> ile;
    for (int y = obszar.top(); y <= obszar.bottom(); ++y) {
        for (int x = obszar.left(); x <= obszar.right(); ++x) {
            ++ile[obraz.pixel(x, y) | 0xFF000000u];
        }
    }
    if (ile.isEmpty()) {
        return 0;
    }
    const QRgb tlo = std::max_element(ile.keyValueBegin(), ile.keyValueEnd(), [](auto a, auto b) {
                         return a.second < b.second;
                     })->first;
    std::vector<double> kontrasty;
    for (auto [kolor, n] : ile.asKeyValueRange()) {
        kontrasty.insert(kontrasty.end(), static_cast<std::size_t>(n), Kontrast(kolor, tlo));
    }
    const auto k = std::min<std::size_t>(kontrasty.size() - 1, 4);
    std::nth_element(kontrasty.begin(), kontrasty.begin() + static_cast<std::ptrdiff_t>(k),
                     kontrasty.end(), std::greater<>());
    return kontrasty[k];
}

// Pixels that differ from their neighbour inside an aligned 2x2 block of
// device pixels. A face drawn at logical size and doubled has none: every
// block is one colour.
int KrawedzieWBlokach(const QImage& obraz, const QRect& obszar) {
    int krawedzie = 0;
    for (int y = obszar.top(); y <= obszar.bottom(); ++y) {
        for (int x = obszar.left(); x <= obszar.right(); ++x) {
            const double l = Luminancja(obraz.pixel(x, y));
            if (x % 2 == 1 && x > obszar.left() &&
                std::abs(l - Luminancja(obraz.pixel(x - 1, y))) > 0.1) {
                ++krawedzie;
            }
            if (y % 2 == 1 && y > obszar.top() &&
                std::abs(l - Luminancja(obraz.pixel(x, y - 1))) > 0.1) {
                ++krawedzie;
            }
        }
    }
    return krawedzie;
}

// WCAG: large text (24 px, or 18.7 px bold) needs 3:1, other text 4.5:1.
double WymaganyKontrast(const QFont& font) {
    const double px = QFontInfo(font).pixelSize();
    return px >= 24 || (font.bold() && px >= 18.7) ? 3.0 : 4.5;
}

// A control's text: what it says, where it is drawn and how wide it may be.
struct Napis {
    QString tekst;
    QFont czcionka;
    QRect obszar;              // in the control's coordinates
    int szerokosc = 0;         // room for the text
    int potrzebnaWysokosc = 0; // word-wrapped labels: height the text needs
};

QString BezAkceleratora(const QString& tekst) {
    return iaever::RozbierzNapis(tekst).tekst;
}

QRect Srodek(const QRect& obszar, QSize rozmiar) {
    QRect r(QPoint(), rozmiar.boundedTo(obszar.size()));
    r.moveCenter(obszar.center());
    return r;
}

std::optional<Napis> NapisKontrolki(QWidget* w) {
    if (auto* p = qobject_cast<TIAeverButton*>(w)) {
        const QFont f = p->CzcionkaNapisu();
        const QString t = BezAkceleratora(p->text());
        const QFontMetrics m(f);
        const int wnetrze = p->width() - 2 * p->ButtonDepth();
        return Napis{t, f, Srodek(p->rect(), {m.horizontalAdvance(t), m.height()}), wnetrze};
    }
    if (auto* b = qobject_cast<QCheckBox*>(w); b || qobject_cast<QRadioButton*>(w)) {
        auto* przycisk = static_cast<QAbstractButton*>(w);
        QStyleOptionButton opcja;
        opcja.initFrom(przycisk);
        opcja.text = przycisk->text();
        const QRect tekst = w->style()->subElementRect(
            b ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opcja, w);
        return Napis{BezAkceleratora(przycisk->text()), w->font(), tekst & w->rect(),
                     tekst.width()};
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        const QString t = BezAkceleratora(b->text());
        const QFontMetrics m(b->font());
        const int margines = 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        return Napis{t, b->font(), Srodek(b->rect(), {m.horizontalAdvance(t), m.height()}),
                     b->width() - margines};
    }
    // An edit field the user types in scrolls its text; a read-only one is a label.
    if (auto* e = qobject_cast<QLineEdit*>(w); e && e->isReadOnly()) {
        const QMargins marginesy = e->textMargins();
        return Napis{e->text(), e->font(), e->rect(),
                     e->width() - marginesy.left() - marginesy.right() - 4};
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox opcja;
        opcja.initFrom(g);
        opcja.text = g->title();
        opcja.subControls = QStyle::SC_GroupBoxLabel;
        const QRect tytul =
            w->style()->subControlRect(QStyle::CC_GroupBox, &opcja, QStyle::SC_GroupBoxLabel, w);
        return Napis{g->title(), g->font(), tytul, g->width()};
    }
    if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
        QTextDocument dokument;
        dokument.setHtml(l->text());
        const QString t = Qt::mightBeRichText(l->text()) ? dokument.toPlainText() : l->text();
        const QRect wnetrze = l->contentsRect();
        if (l->wordWrap()) {
            return Napis{t, l->font(), wnetrze, wnetrze.width(), l->heightForWidth(l->width())};
        }
        return Napis{t, l->font(), wnetrze, wnetrze.width()};
    }
    return std::nullopt;
}

// The inputs' switches carry their accelerator in a caption drawn in the
// background colour on purpose: nothing to read there.
bool NapisUkryty(const QWidget* w) {
    return w->palette().color(QPalette::WindowText) == w->palette().color(QPalette::Window) ||
           w->palette().color(QPalette::WindowText) ==
               w->parentWidget()->palette().color(QPalette::Window);
}

class Sprawdzenie {
public:
    void Blad(const QString& opis) { bledy_ << opis; }
    int Wynik() const {
        QTextStream wyjscie(stdout);
        for (const QString& b : bledy_) {
            wyjscie << b << '\n';
        }
        return bledy_.isEmpty() ? 0 : 1;
    }

private:
    QStringList bledy_;
};

QString Nazwa(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) + '"' +
                                           (qobject_cast<const QLabel*>(w)
                                                ? static_cast<const QLabel*>(w)->text().left(24)
                                                : QString()) +
                                           '"'
                                     : w->objectName();
}

// At 2x the shaped button's caption is as sharp as a label's of the same text,
// font and size.
void PorownajZEtykieta(const TIAeverButton& przycisk, const QImage& lico, Sprawdzenie& s) {
    QLabel etykieta(BezAkceleratora(przycisk.text()));
    etykieta.setFont(przycisk.CzcionkaNapisu());
    etykieta.setAlignment(Qt::AlignCenter);
    QPalette paleta = etykieta.palette();
    paleta.setColor(QPalette::Window, przycisk.ButtonColor());
    paleta.setColor(QPalette::WindowText, Qt::black);
    etykieta.setPalette(paleta);
    etykieta.setAutoFillBackground(true);
    etykieta.resize(przycisk.size());
    const QImage wzor = etykieta.grab().toImage();
    const QRect obszar(QPoint(), lico.size());
    const int wPrzycisku = KrawedzieWBlokach(lico, obszar.adjusted(4, 4, -4, -4));
    const int wEtykiecie = KrawedzieWBlokach(wzor, obszar.adjusted(4, 4, -4, -4));
    if (wPrzycisku * 10 < wEtykiecie * 8) {
        s.Blad(QStringLiteral("%1: %2 edge pixels inside 2x2 blocks, a label has %3")
                   .arg(przycisk.objectName())
                   .arg(wPrzycisku)
                   .arg(wEtykiecie));
    }
}

void SprawdzOkno(QWidget& okno, Sprawdzenie& s) {
    const QImage obraz = okno.grab().toImage();
    const qreal dpr = obraz.devicePixelRatio();
    if (const QString katalog = qEnvironmentVariable("PARVOLEN_ZRZUTY"); !katalog.isEmpty()) {
        obraz.save(QDir(katalog).filePath(qEnvironmentVariable("PARVOLEN_ZRZUT") + ".png"));
    }
    for (QWidget* w : okno.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&okno) || NapisUkryty(w)) {
            continue;
        }
        const auto napis = NapisKontrolki(w);
        if (!napis || napis->tekst.trimmed().isEmpty()) {
            continue;
        }
        const QString nazwa = Nazwa(w);
        const int potrzeba = QFontMetrics(napis->czcionka).horizontalAdvance(napis->tekst);
        if (napis->potrzebnaWysokosc > 0) {
            if (napis->potrzebnaWysokosc > w->height()) {
                s.Blad(QStringLiteral("%1: wrapped text needs %2 px, has %3")
                           .arg(nazwa)
                           .arg(napis->potrzebnaWysokosc)
                           .arg(w->height()));
            }
        } else if (potrzeba > napis->szerokosc) {
            s.Blad(QStringLiteral("%1: text \"%2\" needs %3 px, has %4")
                       .arg(nazwa, napis->tekst)
                       .arg(potrzeba)
                       .arg(napis->szerokosc));
        }
        // Disabled controls are exempt from the contrast rule (and look so).
        if (!w->isEnabled()) {
            continue;
        }
        const QRect wOknie(w->mapTo(&okno, napis->obszar.topLeft()), napis->obszar.size());
        const QRect piksele(QPointF(wOknie.topLeft()).toPoint() * dpr,
                            QSize(qRound(wOknie.width() * dpr), qRound(wOknie.height() * dpr)));
        const double kontrast = KontrastTekstu(obraz, piksele & obraz.rect());
        if (kontrast < WymaganyKontrast(napis->czcionka)) {
            s.Blad(QStringLiteral("%1: contrast %2:1").arg(nazwa).arg(kontrast, 0, 'f', 2));
        }
        if (auto* p = qobject_cast<TIAeverButton*>(w); p && dpr >= 2) {
            PorownajZEtykieta(*p, p->grab().toImage(), s);
        }
    }
}

// A look that did not take (the GTK theme plug-in or the dark theme not
// installed) would pass every window untested.
QString WygladNieDziala(const QString& wyglad) {
    if (wyglad == QLatin1String("ciemny") &&
        QApplication::palette().color(QPalette::Window).lightness() >= 128) {
        return QStringLiteral("no dark palette: are qt6-gtk-platformtheme and "
                              "gnome-themes-extra installed?");
    }
    if (wyglad == QLatin1String("czcionka-11pt") && QApplication::font().pointSize() != 11) {
        return QStringLiteral("system font is %1 pt, not 11: is qt6-gtk-platformtheme installed?")
            .arg(QApplication::font().pointSize());
    }
    if (wyglad == QLatin1String("2x") && qApp->devicePixelRatio() < 2) {
        return QStringLiteral("device pixel ratio %1").arg(qApp->devicePixelRatio());
    }
    return {};
}

int Dziecko(int argc, char** argv, const QString& ktore) {
    QApplication aplikacja(argc, argv);
    if (const QString blad = WygladNieDziala(qEnvironmentVariable("PARVOLEN_WYGLAD"));
        !blad.isEmpty()) {
        QTextStream(stdout) << blad << '\n';
        return 3;
    }
    Stanowisko s;
    s.Instalacja();
    s.Zapisz("Konfiguracja.ini", "[Opcje okna]\r\nKomunikacja=1\r\n");
    TOkno& glowne = s.Okno();
    std::unique_ptr<QWidget> dialog;
    QWidget* okno = &glowne;
    if (ktore == QLatin1String("glowne-zalaczone")) {
        glowne.ZalaczenieSymulatora();
    } else if (ktore == QLatin1String("powitalne")) {
        auto* powitalne = new TOknoPowitalne;
        powitalne->UstawLicznik(1);
        powitalne->Licznik();
        dialog.reset(powitalne);
    } else if (ktore == QLatin1String("opcje")) {
        dialog = std::make_unique<TOpcje>(glowne, nullptr);
    } else if (ktore == QLatin1String("port")) {
        dialog = std::make_unique<TPort>(glowne, nullptr);
    } else if (ktore == QLatin1String("info")) {
        dialog = std::make_unique<TInfo>(nullptr);
    }
    if (dialog) {
        okno = dialog.get();
    }
    okno->show();
    if (!QTest::qWaitForWindowExposed(okno)) {
        return 2;
    }
    Sprawdzenie sprawdzenie;
    SprawdzOkno(*okno, sprawdzenie);
    return sprawdzenie.Wynik();
}

// ---- the parent: the table of windows and looks ----

struct Wyglad {
    const char* nazwa;
    std::vector<std::pair<const char*, const char*>> zmienne;
    const char* czcionkaGtk = nullptr; // the desktop's font, as GNOME sets it
};

const std::vector<Wyglad> Wyglady{
    {"domyslny", {}},
    {"ciemny", {{"QT_QPA_PLATFORMTHEME", "gtk3"}, {"GTK_THEME", "Adwaita:dark"}}},
    {"czcionka-11pt",
     {{"QT_QPA_PLATFORMTHEME", "gtk3"}, {"GTK_THEME", "Adwaita"}},
     "DejaVu Sans 11"},
    {"2x", {{"QT_SCALE_FACTOR", "2"}}},
};

const char* const Okna[] = {
    "glowne-wylaczone", "glowne-zalaczone", "powitalne", "opcje", "port", "info"};

} // namespace

class WygladTest : public QObject {
    Q_OBJECT
private slots:
    void okno_data();
    void okno();
};

void WygladTest::okno_data() {
    QTest::addColumn<QString>("ktore");
    QTest::addColumn<int>("wyglad");
    for (const char* ktore : Okna) {
        for (std::size_t i = 0; i < Wyglady.size(); ++i) {
            QTest::addRow("%s/%s", ktore, Wyglady[i].nazwa) << ktore << static_cast<int>(i);
        }
    }
}

void WygladTest::okno() {
    QFETCH(QString, ktore);
    QFETCH(int, wyglad);
    const Wyglad& w = Wyglady[static_cast<std::size_t>(wyglad)];
    QTemporaryDir konfiguracja;
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    for (const char* zmienna : {"QT_QPA_PLATFORMTHEME", "GTK_THEME", "QT_SCALE_FACTOR",
                                "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"}) {
        srodowisko.remove(QString::fromLatin1(zmienna));
    }
    srodowisko.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    srodowisko.insert(QStringLiteral("XDG_CONFIG_HOME"), konfiguracja.path());
    srodowisko.insert(QStringLiteral("PARVOLEN_ZRZUT"), ktore + '-' + w.nazwa);
    srodowisko.insert(QStringLiteral("PARVOLEN_WYGLAD"), QString::fromLatin1(w.nazwa));
    for (const auto& [zmienna, wartosc] : w.zmienne) {
        srodowisko.insert(QString::fromLatin1(zmienna), QString::fromLatin1(wartosc));
    }
    QDir(konfiguracja.path()).mkpath(QStringLiteral("gtk-3.0"));
    if (w.czcionkaGtk != nullptr) {
        QFile ustawienia(konfiguracja.filePath(QStringLiteral("gtk-3.0/settings.ini")));
        QVERIFY(ustawienia.open(QIODevice::WriteOnly));
        ustawienia.write(QByteArray("[Settings]\ngtk-font-name = ") + w.czcionkaGtk + "\n");
    }
    QProcess dziecko;
    dziecko.setProcessEnvironment(srodowisko);
    dziecko.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dziecko.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--okno"), ktore});
    QVERIFY(dziecko.waitForFinished(60000));
    const QString wyjscie = QString::fromUtf8(dziecko.readAllStandardOutput());
    QVERIFY2(dziecko.exitStatus() == QProcess::NormalExit && dziecko.exitCode() == 0,
             qPrintable(QStringLiteral("exit %1\n%2").arg(dziecko.exitCode()).arg(wyjscie)));
}

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--okno") == 0) {
            return Dziecko(argc, argv, QString::fromLatin1(argv[i + 1]));
        }
    }
    QCoreApplication aplikacja(argc, argv);
    WygladTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WygladTest.moc"
