#include "dane/KatalogDanych.h"

#include "dane/PlikiWspolne.h"
#include "dane/UstawieniaProgramu.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <unistd.h>

#include <array>
#include <optional>
#include <system_error>

namespace {

// The files a data directory must hold to be taken for one; the same two are
// what a new user's directory is given.
constexpr std::array PlikiDanych{"Program.cpm", "DM.cpm"};

std::filesystem::path Sciezka(const QString& tekst) {
    return std::filesystem::path(tekst.toStdString());
}

bool ZapisywalnyZDanymi(const std::filesystem::path& katalog) {
    if (katalog.empty() || ::access(katalog.c_str(), W_OK) != 0) {
        return false;
    }
    for (const char* nazwa : PlikiDanych) {
        std::error_code blad;
        if (!std::filesystem::is_regular_file(katalog / nazwa, blad)) {
            return false;
        }
    }
    return true;
}

// The default goes into a temporary file beside the target first and is then
// linked under the target's name: the link fails rather than replace a file
// that is there, and the target never exists half-written.
void Wstaw(const std::filesystem::path& katalog, const std::filesystem::path& domyslny,
           const std::filesystem::path& cel) {
    QFile zrodlo(QString::fromStdString(domyslny.string()));
    if (!zrodlo.open(QIODevice::ReadOnly)) {
        throw BladKataloguDanych(katalog, "brak pliku domyślnego " + domyslny.string() + ": " +
                                              zrodlo.errorString().toStdString());
    }
    const QByteArray tresc = zrodlo.readAll();
    QTemporaryFile tymczasowy(QString::fromStdString((katalog / ".nowy-XXXXXX").string()));
    if (!tymczasowy.open() || tymczasowy.write(tresc) != tresc.size() || !tymczasowy.flush()) {
        throw BladKataloguDanych(katalog, tymczasowy.errorString().toStdString());
    }
    std::error_code blad;
    std::filesystem::create_hard_link(Sciezka(tymczasowy.fileName()), cel, blad);
    if (blad && blad != std::errc::file_exists) {
        throw BladKataloguDanych(katalog, blad.message());
    }
}

// The directory that is there to be used as it is: the one the settings name,
// or the executable's when it is writable and holds the data files.
std::optional<std::filesystem::path> KatalogGotowy(const MiejscaDanych& miejsca) {
    if (!miejsca.zUstawien.empty()) {
        return miejsca.zUstawien;
    }
    if (ZapisywalnyZDanymi(miejsca.programu)) {
        return miejsca.programu;
    }
    return std::nullopt;
}

} // namespace

BladKataloguDanych::BladKataloguDanych(const std::filesystem::path& katalog,
                                       const std::string& przyczyna)
    : std::runtime_error(katalog.string() + ": " + przyczyna), katalog_(katalog),
      przyczyna_(przyczyna) {}

MiejscaDanych MiejscaDanychSystemu() {
    const QSettings ustawienia = UstawieniaProgramu(QSettings::SystemScope);
    QString zUstawien = ustawienia.value("Setup/InstallPath").toString();
    while (zUstawien.size() > 1 && (zUstawien.endsWith('/') || zUstawien.endsWith('\\'))) {
        zUstawien.chop(1);
    }
    const QString danych = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return MiejscaDanych{
        .zUstawien = Sciezka(zUstawien),
        .programu = Sciezka(QCoreApplication::applicationDirPath()),
        .uzytkownika = danych.isEmpty() ? std::filesystem::path() : Sciezka(danych) / NazwaProgramu,
        .domyslnych = KatalogPlikowWspolnych(),
    };
}

std::filesystem::path WybierzKatalogDanych(const MiejscaDanych& miejsca) {
    return KatalogGotowy(miejsca).value_or(miejsca.uzytkownika);
}

std::filesystem::path PrzygotujKatalogDanych(const MiejscaDanych& miejsca) {
    if (const auto gotowy = KatalogGotowy(miejsca)) {
        return *gotowy;
    }
    const std::filesystem::path& katalog = miejsca.uzytkownika;
    if (katalog.empty()) {
        throw BladKataloguDanych(katalog, "nie wiadomo, gdzie jest katalog domowy (HOME)");
    }
    std::error_code blad;
    std::filesystem::create_directories(katalog, blad);
    if (blad) {
        throw BladKataloguDanych(katalog, blad.message());
    }
    for (const char* nazwa : PlikiDanych) {
        const std::filesystem::path cel = katalog / nazwa;
        if (!std::filesystem::exists(std::filesystem::symlink_status(cel, blad))) {
            Wstaw(katalog, miejsca.domyslnych / nazwa, cel);
        }
    }
    return katalog;
}

std::filesystem::path KatalogDanych() {
    return WybierzKatalogDanych(MiejscaDanychSystemu());
}
