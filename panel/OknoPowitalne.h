#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;
class QTimer;

// The welcome window: shown modally once at start-up and closable only when
// its ten-second countdown has reached 0. Its one-second timer runs from
// creation; the main window sets the countdown just before showing it:
//
//     OknoPowitalne->UstawLicznik(10);
//     OknoPowitalne->exec();
//
// The window deletes itself when it closes.
class TOknoPowitalne : public QDialog {
    Q_OBJECT

public:
    explicit TOknoPowitalne(QWidget* parent = nullptr);

    void UstawLicznik(std::uint8_t sekundy);
    std::uint8_t Odliczanie() const { return licznik_; }

public slots:
    // One tick of Timer1, a second of the countdown.
    void Licznik();

private slots:
    void Button1Click();
    void StronaDomowa();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Every way of closing a dialog (Escape included) ends here.
    void done(int result) override;

private:
    bool Zamkniecie() const { return licznik_ == 0; }

    QLabel* Label3;
    QLabel* Label1;
    QLabel* Label5;
    QLabel* Label4;
    QPushButton* Button1;
    QTimer* Timer1;
    std::uint8_t licznik_ = 10;
};
