#pragma once

#include "panel/LampyWyjsc.h"
#include "panel/Okno.h"

#include "engine/CyklPracy.h"
#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"
#include "tests/wspolne/UstawieniaTestowe.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

// A data directory of its own for one test, named by the system settings as
// an installation would name it, with both port names mapped to devices that
// do not exist, and the process-wide objects that main() would create. The
// user's own settings start empty. The window is built on demand, after the test has laid out
// the files it wants the window to find. The current directory is the data
// directory, where the click sound is looked for.
class Stanowisko {
public:
    Stanowisko() {
        ustawienia.Zapisz(QSettings::SystemScope, "Setup/InstallPath", katalog_.path() + "/");
        ustawienia.Zapisz(QSettings::SystemScope, "Ports/COM1", katalog_.path() + "/brak/ttyS0");
        ustawienia.Zapisz(QSettings::SystemScope, "Ports/COM2", katalog_.path() + "/brak/ttyS1");
        poprzedni_ = QDir::currentPath();
        QDir::setCurrent(katalog_.path());
    }
    ~Stanowisko() {
        okno.reset();
        QDir::setCurrent(poprzedni_);
    }

    std::filesystem::path Sciezka(const std::string& nazwa) const {
        return std::filesystem::path(katalog_.path().toStdString()) / nazwa;
    }
    void Zapisz(const std::string& nazwa, const std::string& tresc) const {
        std::ofstream(Sciezka(nazwa), std::ios::binary) << tresc;
    }
    std::string Czytaj(const std::string& nazwa) const {
        std::ifstream plik(Sciezka(nazwa), std::ios::binary);
        return {std::istreambuf_iterator<char>(plik), std::istreambuf_iterator<char>()};
    }
    // The staged installation: empty program, 255 lines of "0", the click.
    void Instalacja() const {
        Zapisz("Program.cpm", "");
        std::string zera;
        for (int i = 0; i < 255; ++i) {
            zera += "0\r\n";
        }
        Zapisz("DM.cpm", zera);
        Zapisz("Klik.wav", "RIFF");
    }
    // The welcome window would come up, modal, at the first turn of the event
    // loop and hold the test for its countdown; its own tests show it.
    TOkno& Okno() {
        if (!okno) {
            okno = std::make_unique<TOkno>(*pamiec, *program, skan, lampy);
            okno->Timer1->stop();
        }
        return *okno;
    }

    UstawieniaTestowe ustawienia;
    std::atomic<int> kliki{0};
    std::unique_ptr<plc::Pamiec> pamiec = std::make_unique<plc::Pamiec>();
    std::unique_ptr<plc::TabelaProgramu> program = std::make_unique<plc::TabelaProgramu>();
    LampyWyjsc lampy{[this] { ++kliki; }};
    plc::TCyklPracy skan{*pamiec, *program, plc::ZegarSystemowy(), lampy};
    std::unique_ptr<TOkno> okno;

private:
    QTemporaryDir katalog_;
    QString poprzedni_;
};
