#include "panel/Okno.h"

#include "IAeverButton.h"
#include "Kolory.h"
#include "Wyglad.h"
#include "media/Jpeg.h"
#include "panel/Lampka.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace {

constexpr int Szerokosc = 424;
constexpr int Wysokosc = 247;
constexpr int LewyMargines = 44; // of the right area, where the row names stand
constexpr int Kolumna = 26;      // one I/O point

int SrodekKolumny(int n) {
    return LewyMargines + n * Kolumna + Kolumna / 2;
}

// Edit fields and the switches' boxes take the area's own colour.
QPalette Barwy(QColor tlo, QColor tekst) {
    QPalette paleta = wyglad::StalaPaleta(tlo, tekst);
    paleta.setColor(QPalette::Base, tlo);
    return paleta;
}

QFrame* Obszar(QWidget* rodzic, const QRect& miejsce, QColor tlo, const char* nazwa) {
    auto* obszar = new QFrame(rodzic);
    obszar->setObjectName(nazwa);
    obszar->setGeometry(miejsce);
    obszar->setFrameStyle(QFrame::Box | QFrame::Plain);
    obszar->setLineWidth(1);
    obszar->setPalette(Barwy(tlo, kolory::Granat));
    obszar->setAutoFillBackground(true);
    return obszar;
}

QLabel* Napis(QWidget* rodzic, const QString& tekst, const QRect& miejsce,
              Qt::Alignment wyrownanie = Qt::AlignLeft | Qt::AlignVCenter, bool gruby = false) {
    auto* napis = new QLabel(tekst, rodzic);
    napis->setGeometry(miejsce);
    napis->setAlignment(wyrownanie);
    if (gruby) {
        QFont f = napis->font();
        f.setBold(true);
        napis->setFont(f);
    }
    return napis;
}

void LiniaPrzerywana(QWidget* rodzic, int y, const char* nazwa) {
    auto* linia = new QFrame(rodzic);
    linia->setObjectName(nazwa);
    linia->setGeometry(6, y, rodzic->width() - 12, 2);
    linia->setStyleSheet(QStringLiteral("QFrame#%1 { border: none; border-top: 1px dashed %2; }")
                             .arg(QLatin1String(nazwa), kolory::Granat.name()));
}

void Numery(QWidget* rodzic, int y) {
    for (int n = 0; n < plc::LiczbaPunktowWeWy; ++n)
        Napis(rodzic, QStringLiteral("0%1").arg(n), QRect(SrodekKolumny(n) - 12, y, 24, 12),
              Qt::AlignCenter);
}

QLineEdit* Tekst(QWidget* rodzic, const char* nazwa, const QString& tekst, const QRect& miejsce,
                 QColor kolor) {
    auto* pole = new QLineEdit(tekst, rodzic);
    pole->setObjectName(nazwa);
    pole->setGeometry(miejsce);
    pole->setReadOnly(true);
    pole->setFrame(false);
    pole->setFocusPolicy(Qt::NoFocus);
    pole->setTextMargins(0, 0, 0, 0);
    pole->setPalette(Barwy(kolory::TloPaska, kolor));
    return pole;
}

QSlider* Suwak(QWidget* rodzic, const char* nazwa, const QString& podpowiedz, int y) {
    auto* suwak = new QSlider(Qt::Horizontal, rodzic);
    suwak->setObjectName(nazwa);
    suwak->setGeometry(6, y, 116, 22);
    suwak->setRange(0, 200);
    suwak->setSingleStep(1);
    suwak->setPageStep(10);
    suwak->setTickPosition(QSlider::TicksBelow);
    suwak->setTickInterval(20); // one tick a unit would merge into a bar
    suwak->setCursor(Qt::PointingHandCursor);
    suwak->setToolTip(podpowiedz);
    return suwak;
}

// A rounded button with a top-to-bottom gradient, as all five of the panel
// are; the four small ones keep their colours for good.
TIAeverButton* Przycisk(QWidget* rodzic, const char* nazwa, const QString& tytul,
                        const QString& podpowiedz, const QRect& miejsce,
                        QColor kolor = kolory::PrzyciskMaly,
                        QColor kolor1 = kolory::PrzyciskMaly1) {
    auto* przycisk = new TIAeverButton(rodzic);
    przycisk->setObjectName(nazwa);
    przycisk->setText(tytul);
    przycisk->setGeometry(miejsce);
    przycisk->setToolTip(podpowiedz);
    przycisk->SetButtonKind(bkRoundRect);
    przycisk->SetGradientKind(gkLinear);
    przycisk->SetGradientAngle(0);
    przycisk->SetShowFocusRGN(false);
    przycisk->SetButtonColor(kolor);
    przycisk->SetButtonColor1(kolor1);
    return przycisk;
}

Lampka* LampaStatusu(QWidget* rodzic, const char* nazwa, const QString& napis, QColor obrys,
                     QColor kolor, QPoint miejsce) {
    Napis(rodzic, napis, QRect(miejsce.x(), miejsce.y() - 3, 40, 14),
          Qt::AlignLeft | Qt::AlignVCenter, true);
    auto* lampa = new Lampka(Lampka::Ksztalt::Prostokat, obrys, kolor, rodzic);
    lampa->setObjectName(nazwa);
    lampa->setGeometry(miejsce.x() + 42, miejsce.y(), 19, 8);
    return lampa;
}

} // namespace

void TOkno::ZbudujKontrolki() {
    setWindowTitle(QStringLiteral("Parvolen ver 2.02"));
    setFixedSize(Szerokosc, Wysokosc);
    setPalette(Barwy(kolory::Tlo, Qt::black));
    setAutoFillBackground(true);
    setFont(wyglad::CzcionkaPanelu(*this));

    QFrame* pasek = Obszar(this, QRect(4, 4, 128, 239), kolory::TloPaska, "Panel1");
    Przycisk = ::Przycisk(pasek, "Przycisk", QStringLiteral("&Włącz"),
                          QStringLiteral("Załącza i wyłącza symulator"), QRect(26, 8, 76, 22),
                          kolory::PrzyciskWylaczony, kolory::PrzyciskWylaczony1);
    Przycisk->SetUserRGNAUTO(false);
    Przycisk->SetPeaksNumber(10);

    RadioButton1 = new QRadioButton(QStringLiteral("COM 1"), pasek);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setGeometry(6, 38, 58, 18);
    RadioButton2 = new QRadioButton(QStringLiteral("COM 2"), pasek);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setGeometry(68, 38, 56, 18);
    RadioButton2->setChecked(true); // their hints name the devices: OdswiezOpisyPortow

    Edit2 = Tekst(pasek, "Edit2", QStringLiteral("SR250: "), QRect(8, 62, 50, 14), Qt::black);
    EditW1 = Tekst(pasek, "EditW1", QStringLiteral("#0"), QRect(58, 62, 50, 14), kolory::Kasztan);
    Suwak1 = Suwak(pasek, "Suwak1", QStringLiteral("Nastawnik analogowy dla slowa SR250"), 76);
    Edit1 = Tekst(pasek, "Edit1", QStringLiteral("SR251: "), QRect(8, 104, 50, 14), Qt::black);
    EditW2 = Tekst(pasek, "EditW2", QStringLiteral("#0"), QRect(58, 104, 50, 14), kolory::Kasztan);
    Suwak2 = Suwak(pasek, "Suwak2", QStringLiteral("Nastawnik analogowy dla slowa SR251"), 118);

    Button3 = ::Przycisk(pasek, "Button3", QStringLiteral("&Port"),
                         QStringLiteral("Otwiera okno ustawień portu"), QRect(36, 148, 56, 16));
    Button2 = ::Przycisk(pasek, "Button2", QStringLiteral("&Opcje"),
                         QStringLiteral("Otwiera okno dodatkowych opcji"), QRect(36, 169, 56, 16));
    Button1 = ::Przycisk(pasek, "Button1", QStringLiteral("&Info"),
                         QStringLiteral("Informacje o programie"), QRect(36, 190, 56, 16));
    Button4 = ::Przycisk(pasek, "Button4", QStringLiteral("Pomo&c"),
                         QStringLiteral("Otwiera plik pomocy"), QRect(36, 211, 56, 16));

    QFrame* obszar = Obszar(this, QRect(136, 4, 284, 239), kolory::TloPodpowiedzi, "Panel2");
    ZbudujPanelWejsc(obszar);
    ZbudujPanelWyjsc(obszar);

    TimerKontrolek = new QTimer(this);
    TimerKontrolek->setObjectName("TimerKontrolek");
    TimerKontrolek->setInterval(80);
    TimerBledu = new QTimer(this);
    TimerBledu->setObjectName("TimerBledu");
    TimerBledu->setInterval(80);
    TimerBledu->setSingleShot(true);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    Timer1->setSingleShot(true);
}

void TOkno::ZbudujPanelWejsc(QWidget* obszar) {
    Numery(obszar, 6);
    Napis(obszar, QStringLiteral("INPUT"), QRect(4, 20, 40, 16), Qt::AlignLeft | Qt::AlignVCenter,
          true);
    QPalette ukryty = obszar->palette();
    ukryty.setColor(QPalette::WindowText, kolory::TloPodpowiedzi);
    for (int n = 0; n < LiczbaWejsc; ++n) {
        auto* przelacznik = new QCheckBox(QStringLiteral("0&%1").arg(n), obszar);
        przelacznik->setObjectName(QStringLiteral("Wejscie0%1").arg(n));
        przelacznik->setGeometry(SrodekKolumny(n) - 7, 20, 16, 16);
        przelacznik->setPalette(ukryty);
        przelacznik->setCursor(Qt::PointingHandCursor);
        Wejscie[static_cast<std::size_t>(n)] = przelacznik;
    }
    LiniaPrzerywana(obszar, 40, "Linia1");

    Napis(obszar, QStringLiteral("IN"), QRect(4, 46, 40, 12), Qt::AlignLeft | Qt::AlignVCenter,
          true);
    Napis(obszar, QStringLiteral("0CH"), QRect(4, 58, 40, 12), Qt::AlignLeft | Qt::AlignVCenter,
          true);
    Numery(obszar, 46);
    for (int n = 0; n < LiczbaWejsc; ++n) {
        auto* lampa = new Lampka(Lampka::Ksztalt::Kolo, QColor(), kolory::Projektowy, obszar);
        lampa->setObjectName(QStringLiteral("k%1").arg(n));
        lampa->setGeometry(SrodekKolumny(n) - 3, 61, 7, 7);
        k[static_cast<std::size_t>(n)] = lampa;
    }

    KontrolkaPWR = LampaStatusu(obszar, "KontrolkaPWR", QStringLiteral("PWR"), kolory::Morski,
                                kolory::Zgaszona, QPoint(71, 78));
    KontrolkaERR = LampaStatusu(obszar, "KontrolkaERR", QStringLiteral("ERR"), kolory::Kasztan,
                                kolory::ZgaszonaBledu, QPoint(150, 78));
    KontrolkaERR->setToolTip(QStringLiteral("Brak błędów"));
    KontrolkaRUN = LampaStatusu(obszar, "KontrolkaRUN", QStringLiteral("RUN"), kolory::Morski,
                                kolory::Zgaszona, QPoint(71, 92));
    kontrolkaCOMM = LampaStatusu(obszar, "kontrolkaCOMM", QStringLiteral("COMM"), kolory::Kasztan,
                                 kolory::ZgaszonaBledu, QPoint(150, 92));
    OdswiezOpisKontrolkiCOMM();
    kontrolkaCOMM->setCursor(Qt::PointingHandCursor);

    QFile plik(QStringLiteral(":/Baner.jpg"));
    auto* baner = new QLabel(obszar);
    baner->setObjectName("Image1");
    baner->setGeometry(55, 106, 174, 14);
    if (plik.open(QIODevice::ReadOnly))
        baner->setPixmap(QPixmap::fromImage(DekodujJpeg(plik.readAll())));
    baner->setScaledContents(true);
}

void TOkno::ZbudujPanelWyjsc(QWidget* obszar) {
    Napis(obszar, QStringLiteral("OUT"), QRect(4, 128, 40, 12), Qt::AlignLeft | Qt::AlignVCenter,
          true);
    Napis(obszar, QStringLiteral("10CH"), QRect(4, 140, 40, 12), Qt::AlignLeft | Qt::AlignVCenter,
          true);
    Numery(obszar, 128);
    for (int n = 0; n < LampyWyjsc::LiczbaWyjsc; ++n) {
        auto* lampa =
            new Lampka(Lampka::Ksztalt::Kolo, QColor(0x40, 0x40, 0x40), kolory::Projektowy, obszar);
        lampa->setObjectName(QStringLiteral("w%1").arg(n));
        lampa->setGeometry(SrodekKolumny(n) - 3, 143, 7, 7);
        w[static_cast<std::size_t>(n)] = lampa;
    }
    Napis(obszar, QStringLiteral("OUTPUT"), QRect(4, 156, 60, 14), Qt::AlignLeft | Qt::AlignVCenter,
          true);
    LiniaPrzerywana(obszar, 174, "Linia2");

    Numery(obszar, 182);
    for (int n = 0; n < LampyWyjsc::LiczbaWyjsc; ++n) {
        auto* zacisk = new Lampka(Lampka::Ksztalt::Prostokat, Qt::black, kolory::Biala, obszar);
        zacisk->setObjectName(QStringLiteral("Shape%1").arg(20 + n));
        zacisk->setGeometry(SrodekKolumny(n) - 6, 198, 12, 12);
    }
}

// The switch button's colours tell off from on.
void TOkno::UstawKoloryPrzycisku(QColor kolor, QColor kolor1) {
    Przycisk->SetButtonColor(kolor);
    Przycisk->SetButtonColor1(kolor1);
}
