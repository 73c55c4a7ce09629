#include "panel/OknoPowitalne.h"

#include "panel/Kolory.h"
#include "panel/Odnosniki.h"
#include "panel/Wyglad.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TOknoPowitalne::TOknoPowitalne(QWidget* parent)
    : QDialog(parent), Label3(new QLabel(QStringLiteral("Parvolen"), this)),
      Label1(
          new QLabel(QStringLiteral("Zapraszam do zapoznania się z wersją 2.02 programu."), this)),
      Label5(new QLabel(
          QStringLiteral("Bieżące informacje dotyczące programu można znaleźc na stronie: "),
          this)),
      Label4(new QLabel(this)), Button1(new QPushButton(QStringLiteral("10"), this)),
      Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("OknoPowitalne"));
    setWindowTitle(QStringLiteral("Uwaga !"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(505, 300);
    wyglad::UstawTlo(*this, kolory::TloPodpowiedzi);

    Label3->setObjectName(QStringLiteral("Label3"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label5->setObjectName(QStringLiteral("Label5"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Timer1->setObjectName(QStringLiteral("Timer1"));

    const QString verdana = QStringLiteral("Verdana");
    Label3->setFont(wyglad::Czcionka(verdana, 23, true));
    Label3->setStyleSheet(QStringLiteral("color: #0080FF;"));
    for (QLabel* etykieta : {Label1, Label5, Label4})
        etykieta->setFont(wyglad::Czcionka(verdana, 12, true));
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignCenter);
    const QString adres = QString::fromLatin1(odnosniki::AdresStronyProduktu);
    Label4->setText(QStringLiteral("<a href=\"%1\" style=\"color: #A60000; text-decoration: "
                                   "underline;\">%1</a>")
                        .arg(adres.toHtmlEscaped()));
    Label4->setTextFormat(Qt::RichText);
    Label4->setCursor(Qt::PointingHandCursor);
    connect(Label4, &QLabel::linkActivated, this, &TOknoPowitalne::StronaDomowa);

    Button1->setFont(wyglad::Czcionka(verdana, 12, true));
    Button1->setMinimumSize(120, 30);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TOknoPowitalne::Button1Click);

    auto* uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(24, 24, 24, 24);
    uklad->setSpacing(14);
    uklad->addWidget(Label3, 0, Qt::AlignHCenter);
    uklad->addWidget(Label1, 0, Qt::AlignHCenter);
    uklad->addStretch();
    uklad->addWidget(Label5);
    uklad->addWidget(Label4, 0, Qt::AlignHCenter);
    uklad->addStretch();
    uklad->addWidget(Button1, 0, Qt::AlignHCenter);

    wyglad::WysrodkujNaEkranie(*this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TOknoPowitalne::Licznik);
    Timer1->start();
}

void TOknoPowitalne::UstawLicznik(std::uint8_t sekundy) {
    licznik_ = sekundy;
}

void TOknoPowitalne::Licznik() {
    // Stays at 0 should a tick come after the end, instead of wrapping round.
    if (licznik_ > 0)
        --licznik_;
    if (licznik_ != 0) {
        Button1->setText(QString::number(licznik_));
        return;
    }
    Button1->setText(QStringLiteral("Zamknij okno"));
    // Enter now closes the window too; before, it found no default button.
    Button1->setDefault(true);
    Timer1->stop();
}

void TOknoPowitalne::Button1Click() {
    if (Zamkniecie())
        close();
}

void TOknoPowitalne::StronaDomowa() {
    odnosniki::OtworzStroneProduktu();
}

void TOknoPowitalne::closeEvent(QCloseEvent* event) {
    if (Zamkniecie())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void TOknoPowitalne::done(int result) {
    if (Zamkniecie())
        QDialog::done(result);
}
