#pragma once

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

// The user's and the system's settings of Orvanta/Parvolen in folders of the
// test's own, so that neither the machine's /etc/xdg nor the settings of the
// user who runs the tests can leak in. Both start empty.
class UstawieniaTestowe {
public:
    UstawieniaTestowe() {
        for (const QSettings::Scope zakres : {QSettings::UserScope, QSettings::SystemScope}) {
            QDir().mkpath(Katalog(zakres) + "/Orvanta");
            QSettings::setPath(QSettings::NativeFormat, zakres, Katalog(zakres));
        }
    }

    QString Katalog(QSettings::Scope zakres) const {
        return katalog_.filePath(zakres == QSettings::UserScope ? "uzytkownik" : "system");
    }
    QString Plik(QSettings::Scope zakres) const {
        return Katalog(zakres) + "/Orvanta/Parvolen.conf";
    }
    void Zapisz(QSettings::Scope zakres, const QString& klucz, const QString& wartosc) const {
        QSettings plik(Plik(zakres), QSettings::IniFormat);
        plik.setValue(klucz, wartosc);
        plik.sync();
    }
    QString Czytaj(QSettings::Scope zakres, const QString& klucz) const {
        const QSettings plik(Plik(zakres), QSettings::IniFormat);
        return plik.value(klucz).toString();
    }

private:
    QTemporaryDir katalog_;
};
