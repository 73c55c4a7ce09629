#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The about window: the product's name and version, its web address (a
// click opens it) and the credits; "Zamknij" closes it with the OK result.
class TInfo : public QDialog {
    Q_OBJECT

public:
    explicit TInfo(QWidget* parent = nullptr);

private slots:
    void OKButtonClick();
    void Edit6Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Tytul;
    QLabel* Wersja;
    QLineEdit* Edit6;
    QPushButton* OKButton;
};
