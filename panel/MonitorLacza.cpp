#include "MonitorLacza.h"

#include "Raport.h"

#include "hostlink/OpisWpisu.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

constexpr int LiczbaKolumn = static_cast<int>(hostlink::LiczbaKolumn);

// Fast enough to follow the line by eye, rare enough to cost the link nothing.
constexpr int OkresOdswiezania_ms = 100;

QString Tekst(const std::string& tekst) {
    return QString::fromUtf8(tekst.data(), static_cast<qsizetype>(tekst.size()));
}

} // namespace

int ModelMonitora::rowCount(const QModelIndex& rodzic) const {
    return rodzic.isValid() ? 0 : static_cast<int>(wiersze_.size());
}

int ModelMonitora::columnCount(const QModelIndex& rodzic) const {
    return rodzic.isValid() ? 0 : LiczbaKolumn;
}

QVariant ModelMonitora::data(const QModelIndex& indeks, int rola) const {
    if (!indeks.isValid() || static_cast<std::size_t>(indeks.row()) >= wiersze_.size())
        return {};
    const Komorki& wiersz = wiersze_[static_cast<std::size_t>(indeks.row())];
    const auto kolumna = static_cast<std::size_t>(indeks.column());
    if (rola == Qt::DisplayRole)
        return wiersz.tekst[kolumna];
    if (rola == Qt::ForegroundRole) {
        if ((kolumna == hostlink::KolumnaFcs && wiersz.fcsRozna) ||
            (kolumna == hostlink::KolumnaPowod && wiersz.bezOdpowiedzi))
            return QColor(0xC0, 0x00, 0x00);
    }
    if (rola == Qt::TextAlignmentRole &&
        (kolumna == hostlink::KolumnaCzas || kolumna == hostlink::KolumnaOpoznienie))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModelMonitora::headerData(int sekcja, Qt::Orientation kierunek, int rola) const {
    if (rola != Qt::DisplayRole || kierunek != Qt::Horizontal || sekcja < 0 ||
        sekcja >= LiczbaKolumn)
        return QAbstractTableModel::headerData(sekcja, kierunek, rola);
    const std::string_view naglowek = hostlink::NaglowkiKolumn()[static_cast<std::size_t>(sekcja)];
    return QString::fromUtf8(naglowek.data(), static_cast<qsizetype>(naglowek.size()));
}

void ModelMonitora::Dopisz(const std::vector<hostlink::PierscienZapisu::Numerowany>& wpisy) {
    if (wpisy.empty())
        return;
    const std::size_t nowe = std::min(wpisy.size(), hostlink::PierscienZapisu::Pojemnosc);
    const std::size_t nadmiar = wiersze_.size() + nowe > hostlink::PierscienZapisu::Pojemnosc
                                    ? wiersze_.size() + nowe - hostlink::PierscienZapisu::Pojemnosc
                                    : 0;
    if (nadmiar > 0) {
        beginRemoveRows({}, 0, static_cast<int>(nadmiar) - 1);
        wiersze_.erase(wiersze_.begin(), wiersze_.begin() + static_cast<std::ptrdiff_t>(nadmiar));
        endRemoveRows();
    }
    const int pierwszy = static_cast<int>(wiersze_.size());
    beginInsertRows({}, pierwszy, pierwszy + static_cast<int>(nowe) - 1);
    for (std::size_t i = wpisy.size() - nowe; i < wpisy.size(); ++i) {
        const hostlink::WpisLacza& wpis = wpisy[i].wpis;
        Komorki komorki;
        const auto teksty = hostlink::KomorkiWpisu(wpis);
        for (std::size_t k = 0; k < teksty.size(); ++k)
            komorki.tekst[k] = Tekst(teksty[k]);
        komorki.fcsRozna = wpis.FcsRozna();
        komorki.bezOdpowiedzi = !wpis.powod.empty();
        wiersze_.push_back(std::move(komorki));
    }
    endInsertRows();
}

void ModelMonitora::Wyczysc() {
    beginResetModel();
    wiersze_.clear();
    endResetModel();
}

QString ModelMonitora::Wiersz(int n) const {
    const Komorki& wiersz = wiersze_.at(static_cast<std::size_t>(n));
    QStringList komorki(wiersz.tekst.begin(), wiersz.tekst.end());
    return komorki.join(QLatin1Char('\t'));
}

TMonitorLacza::TMonitorLacza(hostlink::PierscienZapisu& pierscien, QWidget* rodzic)
    : QWidget(rodzic, Qt::Window), pierscien_(pierscien) {
    setObjectName("MonitorLacza");
    setWindowTitle(QStringLiteral("Monitor łącza"));
    resize(1000, 420);

    Tabela = new QTableView(this);
    Tabela->setObjectName("Tabela");
    Tabela->setModel(&model_);
    Tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tabela->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tabela->setWordWrap(false);
    Tabela->verticalHeader()->hide();
    Tabela->verticalHeader()->setDefaultSectionSize(Tabela->fontMetrics().height() + 4);
    Tabela->horizontalHeader()->setStretchLastSection(true);
    // Each column at least as wide as its heading, in whatever font the
    // heading has.
    const std::array<int, hostlink::LiczbaKolumn> szerokosci{70, 24, 280, 190, 110, 90, 200};
    for (std::size_t k = 0; k < szerokosci.size(); ++k) {
        const int kolumna = static_cast<int>(k);
        Tabela->setColumnWidth(
            kolumna, std::max(szerokosci[k], Tabela->horizontalHeader()->sectionSizeHint(kolumna)));
    }

    PrzyciskPauza = new QPushButton(QStringLiteral("&Wstrzymaj"), this);
    PrzyciskPauza->setObjectName("PrzyciskPauza");
    PrzyciskPauza->setCheckable(true);
    PrzyciskWyczysc = new QPushButton(QStringLiteral("Wy&czyść"), this);
    PrzyciskWyczysc->setObjectName("PrzyciskWyczysc");
    PrzyciskKopiuj = new QPushButton(QStringLiteral("&Kopiuj zaznaczone"), this);
    PrzyciskKopiuj->setObjectName("PrzyciskKopiuj");
    PrzyciskZapisz = new QPushButton(QStringLiteral("&Zapisz…"), this);
    PrzyciskZapisz->setObjectName("PrzyciskZapisz");

    auto* przyciski = new QHBoxLayout;
    przyciski->addWidget(PrzyciskPauza);
    przyciski->addWidget(PrzyciskWyczysc);
    przyciski->addWidget(PrzyciskKopiuj);
    przyciski->addStretch();
    przyciski->addWidget(PrzyciskZapisz);
    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(Tabela);
    uklad->addLayout(przyciski);

    zegar_ = new QTimer(this);
    zegar_->setInterval(OkresOdswiezania_ms);
    connect(zegar_, &QTimer::timeout, this, &TMonitorLacza::Odswiez);
    connect(PrzyciskPauza, &QPushButton::toggled, this, &TMonitorLacza::Pauza);
    connect(PrzyciskWyczysc, &QPushButton::clicked, this, &TMonitorLacza::Wyczysc);
    connect(PrzyciskKopiuj, &QPushButton::clicked, this, &TMonitorLacza::KopiujZaznaczenie);
    connect(PrzyciskZapisz, &QPushButton::clicked, this,
            BezpiecznySlot(this, &TMonitorLacza::ZapiszClick));
}

// The view follows the newest row only while it is at the bottom: a user who
// scrolled up to read keeps their place.
void TMonitorLacza::Odswiez() {
    if (wstrzymany_)
        return;
    auto wpisy = pierscien_.Od(nastepny_);
    if (wpisy.empty())
        return;
    nastepny_ = wpisy.back().numer + 1;
    const QScrollBar* pasek = Tabela->verticalScrollBar();
    const bool naDole = pasek->value() == pasek->maximum();
    model_.Dopisz(wpisy);
    if (naDole)
        Tabela->scrollToBottom();
}

void TMonitorLacza::Pauza(bool wstrzymany) {
    wstrzymany_ = wstrzymany;
    PrzyciskPauza->setText(wstrzymany ? QStringLiteral("&Wznów") : QStringLiteral("&Wstrzymaj"));
    Odswiez();
}

void TMonitorLacza::Wyczysc() {
    pierscien_.Wyczysc();
    nastepny_ = pierscien_.NastepnyNumer();
    model_.Wyczysc();
}

void TMonitorLacza::KopiujZaznaczenie() {
    std::set<int> numery;
    for (const QModelIndex& indeks : Tabela->selectionModel()->selectedIndexes())
        numery.insert(indeks.row());
    QStringList linie;
    for (const int n : numery)
        linie << model_.Wiersz(n);
    if (!linie.isEmpty())
        QApplication::clipboard()->setText(linie.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TMonitorLacza::ZapiszClick() {
    const QString plik = QFileDialog::getSaveFileName(
        this, QStringLiteral("Zapisz monitor łącza"), QStringLiteral("monitor-lacza.txt"),
        QStringLiteral("Pliki tekstowe (*.txt);;Wszystkie pliki (*)"));
    if (!plik.isEmpty())
        Zapisz(plik);
}

void TMonitorLacza::Zapisz(const QString& plik) const {
    QSaveFile wyjscie(plik);
    if (!wyjscie.open(QIODevice::WriteOnly))
        throw std::runtime_error(QStringLiteral("Nie można zapisać pliku %1: %2")
                                     .arg(plik, wyjscie.errorString())
                                     .toStdString());
    for (int n = 0; n < model_.rowCount(); ++n)
        wyjscie.write((model_.Wiersz(n) + QLatin1Char('\n')).toUtf8());
    if (!wyjscie.commit())
        throw std::runtime_error(QStringLiteral("Nie można zapisać pliku %1: %2")
                                     .arg(plik, wyjscie.errorString())
                                     .toStdString());
}

void TMonitorLacza::showEvent(QShowEvent* zdarzenie) {
    QWidget::showEvent(zdarzenie);
    Odswiez();
    zegar_->start();
}

void TMonitorLacza::hideEvent(QHideEvent* zdarzenie) {
    zegar_->stop();
    QWidget::hideEvent(zdarzenie);
}
