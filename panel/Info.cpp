#include "panel/Info.h"

#include "panel/Kolory.h"
#include "panel/Odnosniki.h"
#include "panel/Wyglad.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel* Etykieta(const QString& tekst, QWidget* rodzic) {
    auto* etykieta = new QLabel(tekst, rodzic);
    etykieta->setFont(wyglad::Czcionka(QStringLiteral("Verdana"), 12, true));
    return etykieta;
}

} // namespace

TInfo::TInfo(QWidget* parent)
    : QDialog(parent), Tytul(new QLabel(QStringLiteral("Parvolen"), this)),
      Wersja(new QLabel(QStringLiteral("ver  2.01"), this)), Edit6(new QLineEdit(this)),
      OKButton(new QPushButton(QStringLiteral("Zamknij"), this)) {
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral("Informacje o programie"));
    setWindowIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    setFixedSize(393, 277);
    wyglad::UstawTlo(*this, kolory::TloDialogu);

    Tytul->setFont(wyglad::Czcionka(QStringLiteral("Arial Black"), 20, true));
    Tytul->setAlignment(Qt::AlignHCenter);
    Wersja->setFont(wyglad::Czcionka(QStringLiteral("Verdana"), 12, true));
    Wersja->setAlignment(Qt::AlignHCenter);

    auto* ramka = new QFrame(this);
    ramka->setFrameShape(QFrame::Panel);
    ramka->setFrameShadow(QFrame::Sunken);
    wyglad::UstawTlo(*ramka, kolory::TloRamkiDialogu);

    Edit6->setObjectName(QStringLiteral("Edit6"));
    Edit6->setText(QString::fromLatin1(odnosniki::AdresStronyProduktu));
    Edit6->setReadOnly(true);
    Edit6->setFrame(false);
    QFont podkreslona = wyglad::Czcionka(QStringLiteral("Verdana"), 12);
    podkreslona.setUnderline(true);
    Edit6->setFont(podkreslona);
    Edit6->setCursor(Qt::PointingHandCursor);
    Edit6->setStyleSheet(QStringLiteral("background: transparent; color: #00008B;"));
    Edit6->installEventFilter(this);
    connect(Edit6, &QLineEdit::textChanged, this, &TInfo::Edit6Change);

    auto* siatka = new QGridLayout(ramka);
    siatka->setContentsMargins(12, 10, 12, 10);
    siatka->setHorizontalSpacing(10);
    siatka->addWidget(Etykieta(QStringLiteral("Strona internetowa :"), ramka), 0, 0);
    siatka->addWidget(Edit6, 0, 1);
    const std::pair<const char*, const char*> wiersze[] = {
        {"Pomysł i współpraca :", "zespół projektu Parvolen"},
        {"Wykonawstwo :", "Orvanta"},
        {"Kontakt :", "parvolen@parvolen.invalid"},
    };
    int wiersz = 1;
    for (const auto& [opis, wartosc] : wiersze) {
        siatka->addWidget(Etykieta(QString::fromUtf8(opis), ramka), wiersz, 0);
        auto* pole = new QLabel(QString::fromUtf8(wartosc), ramka);
        pole->setFont(wyglad::Czcionka(QStringLiteral("Verdana"), 12));
        pole->setTextInteractionFlags(Qt::TextSelectableByMouse);
        siatka->addWidget(pole, wiersz, 1);
        ++wiersz;
    }
    siatka->setColumnStretch(1, 1);

    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setMinimumWidth(90);
    connect(OKButton, &QPushButton::clicked, this, &TInfo::OKButtonClick);

    auto* uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(14, 10, 14, 12);
    uklad->addWidget(Tytul);
    uklad->addWidget(Wersja);
    uklad->addStretch();
    uklad->addWidget(ramka);
    uklad->addStretch();
    uklad->addWidget(OKButton, 0, Qt::AlignHCenter);

    wyglad::WysrodkujNaEkranie(*this);
}

void TInfo::OKButtonClick() {
    accept();
}

void TInfo::Edit6Change() {
    odnosniki::OtworzStroneProduktu();
}

bool TInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit6 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Edit6Change();
    return QDialog::eventFilter(watched, event);
}
