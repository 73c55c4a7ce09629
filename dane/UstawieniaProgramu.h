#pragma once

// Qt Core only: QSettings.

#include <QSettings>

// The names Qt files this program's settings under: the user's
// ~/.config/Orvanta/Parvolen.conf and the system's /etc/xdg/Orvanta/Parvolen.conf.
// The user's own data folder takes the program's name too.
inline constexpr char NazwaOrganizacji[] = "Orvanta";
inline constexpr char NazwaProgramu[] = "Parvolen";

inline QSettings UstawieniaProgramu(QSettings::Scope zakres) {
    return QSettings(QSettings::NativeFormat, zakres, QString::fromLatin1(NazwaOrganizacji),
                     QString::fromLatin1(NazwaProgramu));
}
