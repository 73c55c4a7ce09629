#pragma once

#include "hostlink/OpisWpisu.h"
#include "hostlink/PierscienZapisu.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

class QPushButton;
class QTableView;
class QTimer;

// The rows of the link monitor, as the table shows them: at most as many as
// the ring holds, the oldest dropped first.
class ModelMonitora : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& rodzic = {}) const override;
    int columnCount(const QModelIndex& rodzic = {}) const override;
    QVariant data(const QModelIndex& indeks, int rola) const override;
    QVariant headerData(int sekcja, Qt::Orientation kierunek, int rola) const override;

    void Dopisz(const std::vector<hostlink::PierscienZapisu::Numerowany>& wpisy);
    void Wyczysc();
    // The row as one tab-separated line.
    QString Wiersz(int n) const;

private:
    struct Komorki {
        std::array<QString, hostlink::LiczbaKolumn> tekst;
        bool fcsRozna = false;
        bool bezOdpowiedzi = false;
    };
    std::deque<Komorki> wiersze_;
};

// The window "Monitor łącza": every frame on the line with its meaning,
// check sequence, latency and the reason for a missing reply, and the line's
// own events. It reads the host link's ring, which records also while the
// window is closed; it decides nothing about the protocol.
class TMonitorLacza : public QWidget {
    Q_OBJECT
public:
    TMonitorLacza(hostlink::PierscienZapisu& pierscien, QWidget* rodzic);

    QTableView* Tabela{};
    QPushButton* PrzyciskPauza{};
    QPushButton* PrzyciskWyczysc{};
    QPushButton* PrzyciskKopiuj{};
    QPushButton* PrzyciskZapisz{};

    // Takes the rows recorded since the last look, unless paused.
    void Odswiez();
    void Pauza(bool wstrzymany);
    void Wyczysc();
    void KopiujZaznaczenie();
    void ZapiszClick();
    // Every row shown, one tab-separated line each; throws on a write failure.
    void Zapisz(const QString& plik) const;
    const ModelMonitora& Model() const { return model_; }

protected:
    void showEvent(QShowEvent* zdarzenie) override;
    void hideEvent(QHideEvent* zdarzenie) override;

private:
    hostlink::PierscienZapisu& pierscien_;
    ModelMonitora model_;
    QTimer* zegar_{};
    std::uint64_t nastepny_ = 0;
    bool wstrzymany_ = false;
};
