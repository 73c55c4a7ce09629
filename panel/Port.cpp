#include "panel/Port.h"

#include "panel/Kolory.h"
#include "panel/Komunikaty.h"
#include "panel/Wyglad.h"

#include "dane/UrzadzeniaSzeregowe.h"
#include "engine/Funkcje.h"
#include "serial/VaNetAddress.h"
#include "serial/VaResolver.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

struct Predkosc {
    int bitowNaSekunde;
    TVaBaudrate wartosc;
};
constexpr std::array<Predkosc, 8> Predkosci{{{300, br300},
                                             {1200, br1200},
                                             {2400, br2400},
                                             {4800, br4800},
                                             {9600, br9600},
                                             {19200, br19200},
                                             {38400, br38400},
                                             {57600, br57600}}};

// A list text that is not a whole decimal number stops the apply.
int LiczbaCalkowita(const QString& tekst) {
    bool ok = false;
    const int liczba = tekst.trimmed().toInt(&ok, 10);
    if (!ok)
        throw std::invalid_argument(plc::TekstBleduKonwersji(tekst.toStdString()));
    return liczba;
}

// How the device list names the virtual port and the network ports.
const QString PortWirtualny = QStringLiteral("Port wirtualny");
const QString SiecTcp = QStringLiteral("Sieć TCP");
const QString SiecRfc2217 = QStringLiteral("Sieć RFC 2217");

// Where a network port listens unless the user types another address: this
// machine only.
const QString AdresTcp = QStringLiteral("127.0.0.1:4001");
const QString AdresRfc2217 = QStringLiteral("127.0.0.1:2217");

// The address part of a network value, "HOST:PORT".
QString AdresSieci(const std::string& urzadzenie) {
    return QString::fromStdString(std::string(VaNetAddressPart(urzadzenie)));
}

// "COM1" as the panel shows it, "COM 1".
QString NazwaNaPanelu(const std::string& port) {
    return QString::fromStdString(port).replace(QStringLiteral("COM"), QStringLiteral("COM "));
}

QComboBox* Lista(const QStringList& pozycje, QWidget* rodzic) {
    auto* lista = new QComboBox(rodzic);
    lista->setEditable(true);
    lista->setInsertPolicy(QComboBox::NoInsert);
    lista->addItems(pozycje);
    lista->setMinimumWidth(120);
    return lista;
}

} // namespace

TPort::TPort(CelUstawienPortu& cel, QWidget* parent)
    : QDialog(parent), cel_(cel), port_(cel.WybranyPort()), urzadzenie_(cel.UrzadzeniePortu(port_)),
      ComboBox1(Lista({"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600"}, this)),
      ComboBox2(Lista({"4", "5", "6", "7", "8"}, this)),
      ComboBox3(Lista({"Parzyste", "Nieparzyste", "Brak", "Znacznik", "Spacja"}, this)),
      ComboBox4(Lista({"1", "15", "2"}, this)),
      ComboBox5(Lista({PortWirtualny, SiecTcp, SiecRfc2217}, this)), Edit1(new QLineEdit(this)),
      Ostrzezenie(new QLabel(this)), KlientSieci(new QLabel(this)),
      Button1(new QPushButton(QStringLiteral("&Domyślne"), this)),
      Button2(new QPushButton(QStringLiteral("Za&stosuj"), this)),
      Button3(new QPushButton(QStringLiteral("&Zamknij"), this)),
      Button4(new QPushButton(QStringLiteral("&Kopiuj"), this)) {
    setObjectName(QStringLiteral("Port"));
    setWindowTitle(QStringLiteral("Ustawienia portu"));
    setFont(wyglad::Czcionka(QStringLiteral("MS Sans Serif"), 11));
    wyglad::UstawTlo(*this, kolory::TloDialogu);

    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox5->setObjectName(QStringLiteral("ComboBox5"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Ostrzezenie->setObjectName(QStringLiteral("Ostrzezenie"));
    KlientSieci->setObjectName(QStringLiteral("KlientSieci"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4->setObjectName(QStringLiteral("Button4"));

    // Found afresh at every opening: an adapter plugged in since the last
    // one is there, one pulled out is gone.
    for (const std::string& urzadzenie : UrzadzeniaSzeregowe())
        ComboBox5->addItem(QString::fromStdString(urzadzenie));
    ComboBox5->setCurrentText(NazwaNaLiscie(urzadzenie_));
    ComboBox5->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox5->view()->setMinimumWidth(ComboBox5->view()->sizeHintForColumn(0));
    ComboBox5->setToolTip(QStringLiteral("Urządzenie portu %1: port wirtualny, port sieciowy, "
                                         "urządzenie z listy albo wpisana ścieżka")
                              .arg(NazwaNaPanelu(port_)));
    Button4->setAutoDefault(false);
    for (QLabel* uwaga : {Ostrzezenie, KlientSieci}) {
        uwaga->setWordWrap(true);
        wyglad::UstawTlo(*uwaga, kolory::TloRamkiDialogu, QColor(0x99, 0x00, 0x00));
    }

    auto* ramka = new QFrame(this);
    ramka->setFrameShape(QFrame::Panel);
    ramka->setFrameShadow(QFrame::Sunken);
    wyglad::UstawTlo(*ramka, kolory::TloRamkiDialogu);
    auto* siatka = new QGridLayout(ramka);
    siatka->setContentsMargins(16, 10, 16, 10);
    siatka->setVerticalSpacing(6);
    const std::pair<const char*, QComboBox*> wiersze[] = {
        {"Bity na sekundę :", ComboBox1}, {"Bity danych :", ComboBox2}, {"Parzystość :", ComboBox3},
        {"Bity stopu :", ComboBox4},      {"Urządzenie :", ComboBox5},
    };
    int wiersz = 0;
    for (const auto& [opis, lista] : wiersze) {
        auto* etykieta = new QLabel(QString::fromUtf8(opis), ramka);
        etykieta->setBuddy(lista);
        siatka->addWidget(etykieta, wiersz, 0);
        siatka->addWidget(lista, wiersz, 1);
        ++wiersz;
    }
    siatka->setColumnStretch(0, 1);
    auto* sciezka = new QHBoxLayout;
    sciezka->addWidget(Edit1, 1);
    sciezka->addWidget(Button4);
    siatka->addLayout(sciezka, wiersz++, 0, 1, 2);
    siatka->addWidget(Ostrzezenie, wiersz++, 0, 1, 2);
    siatka->addWidget(KlientSieci, wiersz, 0, 1, 2);

    auto* przyciski = new QHBoxLayout;
    for (QPushButton* przycisk : {Button1, Button2, Button3}) {
        przycisk->setAutoDefault(false);
        przyciski->addWidget(przycisk);
    }
    connect(Button1, &QPushButton::clicked, this, &TPort::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TPort::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TPort::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TPort::Button4Click);
    connect(ComboBox5, &QComboBox::currentTextChanged, this, &TPort::PokazSciezkePortu);
    connect(Edit1, &QLineEdit::textEdited, this, &TPort::PokazOstrzezenie);

    auto* uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(12, 12, 12, 12);
    uklad->addWidget(ramka);
    uklad->addStretch();
    uklad->addLayout(przyciski);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, ComboBox1);
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, ComboBox3);
    setTabOrder(ComboBox3, ComboBox4);
    setTabOrder(ComboBox4, ComboBox5);
    setTabOrder(ComboBox5, Edit1);
    setTabOrder(Edit1, Button4);

    // Wide enough for the frame's new rows; the link row and both notes keep
    // their place while a device path is chosen, so the dialog does not jump.
    Ostrzezenie->setText(QStringLiteral("\n\n"));
    KlientSieci->setText(QStringLiteral("\n"));
    setFixedSize(319, std::max(215, sizeHint().height()));
    PokazSciezkePortu();
    Button1Click();
}

void TPort::Button1Click() {
    ComboBox1->setCurrentText(QStringLiteral("9600"));
    ComboBox2->setCurrentText(QStringLiteral("7"));
    ComboBox3->setCurrentText(QStringLiteral("Znacznik"));
    ComboBox4->setCurrentText(QStringLiteral("2"));
}

void TPort::ZastosujListy() {
    const int predkosc = LiczbaCalkowita(ComboBox1->currentText());
    const auto znana = std::ranges::find(Predkosci, predkosc, &Predkosc::bitowNaSekunde);
    if (znana != Predkosci.end())
        cel_.UstawPredkosc(znana->wartosc);

    const int bityDanych = LiczbaCalkowita(ComboBox2->currentText());
    if (bityDanych >= 4 && bityDanych <= 8)
        cel_.UstawBityDanych(static_cast<TVaDatabits>(db4 + (bityDanych - 4)));

    switch (LiczbaCalkowita(ComboBox4->currentText())) {
    case 1:
        cel_.UstawBityStopu(sb1);
        break;
    case 15:
        cel_.UstawBityStopu(sb15);
        break;
    case 2:
        cel_.UstawBityStopu(sb2);
        break;
    default:
        break;
    }
}

QString TPort::NazwaNaLiscie(const std::string& urzadzenie) {
    if (urzadzenie == kVaVirtualDevice)
        return PortWirtualny;
    if (urzadzenie.starts_with(kVaSocketScheme))
        return SiecTcp;
    if (urzadzenie.starts_with(kVaRfc2217Scheme))
        return SiecRfc2217;
    return QString::fromStdString(urzadzenie);
}

std::string TPort::WybraneUrzadzenie() const {
    const QString tekst = ComboBox5->currentText().trimmed();
    if (tekst == PortWirtualny || tekst == QLatin1String(kVaVirtualDevice))
        return kVaVirtualDevice;
    if (tekst == SiecTcp)
        return kVaSocketScheme + Edit1->text().trimmed().toStdString();
    if (tekst == SiecRfc2217)
        return kVaRfc2217Scheme + Edit1->text().trimmed().toStdString();
    return tekst.toStdString();
}

void TPort::PokazSciezkePortu() {
    const QString wybor = ComboBox5->currentText().trimmed();
    const bool wirtualny = WybraneUrzadzenie() == kVaVirtualDevice;
    const bool siec = wybor == SiecTcp || wybor == SiecRfc2217;
    if (wirtualny) {
        const QString sciezka = QString::fromStdString(VaVirtualLinkPath(port_));
        Edit1->setText(sciezka);
        Edit1->setToolTip(QStringLiteral("Tę ścieżkę podaj oprogramowaniu programującemu:\n") +
                          sciezka);
        Button4->setToolTip(QStringLiteral("Kopiuje ścieżkę do schowka"));
    } else if (siec) {
        // The stored address when the port already is this kind, else the
        // loopback default.
        Edit1->setText(NazwaNaLiscie(urzadzenie_) == wybor ? AdresSieci(urzadzenie_)
                       : wybor == SiecTcp                  ? AdresTcp
                                                           : AdresRfc2217);
        Edit1->setToolTip(QStringLiteral("Adres i port, na którym symulator czeka na klienta, "
                                         "na przykład %1")
                              .arg(wybor == SiecTcp ? AdresTcp : AdresRfc2217));
        Button4->setToolTip(QStringLiteral("Kopiuje adres do schowka"));
    } else {
        Edit1->clear();
    }
    Edit1->setReadOnly(!siec);
    Edit1->setVisible(wirtualny || siec);
    Button4->setVisible(wirtualny || siec);
    PokazOstrzezenie();
    const QString klient = QString::fromStdString(cel_.OpisKlientaSieci());
    KlientSieci->setText(klient);
    KlientSieci->setVisible(!klient.isEmpty());
}

void TPort::PokazOstrzezenie() {
    const std::string urzadzenie = WybraneUrzadzenie();
    const auto adres = VaParseNetAddress(urzadzenie);
    const bool otwarty = adres && !VaIsLoopbackHost(adres->Host);
    Ostrzezenie->setText(
        otwarty ? QStringLiteral("Uwaga: każdy, kto może połączyć się z adresem %1, może "
                                 "programować sterownik.")
                      .arg(AdresSieci(urzadzenie))
                : QString());
    Ostrzezenie->setVisible(otwarty);
}

void TPort::Button2Click() {
    const std::string urzadzenie = WybraneUrzadzenie();
    const bool nowe = urzadzenie != urzadzenie_;
    // Refused before the port is touched: the old mapping and the line stay.
    if (nowe && urzadzenie != kVaVirtualDevice) {
        std::optional<std::string> blad;
        if (VaIsNetworkDevice(urzadzenie)) {
            if (!VaParseNetAddress(urzadzenie))
                blad = "Adres „" + AdresSieci(urzadzenie).toStdString() +
                       "” nie jest poprawny: podaj adres i port, na przykład 127.0.0.1:2217.";
        } else {
            blad = BladUrzadzenia(urzadzenie);
        }
        if (blad) {
            KomunikatOstrzezenie(this, QString::fromStdString(*blad) +
                                           QStringLiteral("\nPort %1 pozostaje przy dotychczasowym "
                                                          "urządzeniu; nic nie zostało zmienione.")
                                               .arg(NazwaNaPanelu(port_)));
            return;
        }
    }

    std::vector<std::exception_ptr> bledy;
    const bool bylOtwarty = cel_.PortOtwarty();
    cel_.UstawKolorKontrolkiPWR(kolory::Biala);
    try {
        cel_.ZamknijPortSzeregowy();
        if (nowe) {
            cel_.UstawUrzadzeniePortu(port_, urzadzenie);
            urzadzenie_ = urzadzenie;
        }
    } catch (const std::exception&) {
        bledy.push_back(std::current_exception());
    }
    try {
        ZastosujListy();
    } catch (const std::exception&) {
        bledy.push_back(std::current_exception());
    }
    // Reopened even when a list could not be applied, so that a simulator
    // that stays on is not left deaf with its port closed.
    if (bylOtwarty) {
        try {
            cel_.OtworzPortSzeregowy();
        } catch (const std::exception&) {
            bledy.push_back(std::current_exception());
        }
    }
    cel_.UstawKolorKontrolkiPWR(cel_.SymulatorWlaczony() ? kolory::Zielona : kolory::Zgaszona);
    for (const auto& blad : bledy) {
        try {
            std::rethrow_exception(blad);
        } catch (const std::exception& e) {
            cel_.ZglosBlad(e);
        }
    }
}

void TPort::Button3Click() {
    close();
}

void TPort::Button4Click() {
    QGuiApplication::clipboard()->setText(Edit1->text());
}
