#include "dane/KatalogDanych.h"

#include <QCoreApplication>
#include <QSettings>

std::filesystem::path KatalogDanych() {
    const QSettings ustawienia(QSettings::NativeFormat, QSettings::SystemScope, "Orvanta",
                               "Parvolen");
    QString katalog = ustawienia.value("Setup/InstallPath").toString();
    while (katalog.size() > 1 && (katalog.endsWith('/') || katalog.endsWith('\\')))
        katalog.chop(1);
    if (katalog.isEmpty())
        katalog = QCoreApplication::applicationDirPath();
    return std::filesystem::path(katalog.toStdString());
}
