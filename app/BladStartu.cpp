#include "app/BladStartu.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <cstdlib>

int KatalogDanychNiedostepny(const BladKataloguDanych& blad) {
    const QString tekst =
        QStringLiteral("Nie można przygotować katalogu danych programu:\n%1\n\n%2\n\n"
                       "Program zostanie zamknięty.")
            .arg(QString::fromStdString(blad.katalog().string()),
                 QString::fromStdString(blad.przyczyna()));
    std::fprintf(stderr, "parvolen: %s\n", tekst.toLocal8Bit().constData());
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), tekst);
    return EXIT_FAILURE;
}
