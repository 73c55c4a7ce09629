#include "Raport.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

void RaportBledu(std::string_view komunikat) {
    QMessageBox::critical(
        QApplication::activeWindow(), QApplication::applicationDisplayName(),
        QString::fromUtf8(komunikat.data(), static_cast<qsizetype>(komunikat.size())));
}
