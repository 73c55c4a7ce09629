#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

// Qt Core only: QSettings for the system-wide settings, QCoreApplication for
// the executable's directory and QStandardPaths for the user's data folder.
//
// The data directory holds Program.cpm, DM.cpm and Konfiguracja.ini.

// What the choice of the data directory looks at.
struct MiejscaDanych {
    // "Setup/InstallPath" of the system-wide settings; empty when not set.
    std::filesystem::path zUstawien;
    // The executable's directory: the build stages a ready installation there.
    std::filesystem::path programu;
    // $XDG_DATA_HOME/Parvolen (~/.local/share/Parvolen): the user's own.
    std::filesystem::path uzytkownika;
    // Where the files a new user's directory starts with are installed.
    std::filesystem::path domyslnych;
};

// The places of this process: the settings of Orvanta/Parvolen, the running
// executable, the user's environment and the installation's shared files.
MiejscaDanych MiejscaDanychSystemu();

// The data directory, without a trailing separator: the one the settings
// name; else the executable's directory when it is writable and holds
// Program.cpm and DM.cpm; else the user's directory. Looks, changes nothing.
std::filesystem::path WybierzKatalogDanych(const MiejscaDanych& miejsca);

// The data directory could not be made ready; what() names it and says why.
class BladKataloguDanych : public std::runtime_error {
public:
    BladKataloguDanych(const std::filesystem::path& katalog, const std::string& przyczyna);
    const std::filesystem::path& katalog() const { return katalog_; }
    const std::string& przyczyna() const { return przyczyna_; }

private:
    std::filesystem::path katalog_;
    std::string przyczyna_;
};

// Chooses the data directory and, when it is the user's, creates it and
// copies in the default Program.cpm and DM.cpm that it lacks. A file that is
// there is the user's and is never replaced; a copy appears whole or not at
// all. The options file is not seeded: the options have their defaults until
// the user saves some. Throws BladKataloguDanych when the directory cannot be
// created or a default cannot be read or copied in.
std::filesystem::path PrzygotujKatalogDanych(const MiejscaDanych& miejsca);

// WybierzKatalogDanych(MiejscaDanychSystemu()): the directory the program
// prepared at start, as the main window names its files.
std::filesystem::path KatalogDanych();
