// The three files the simulator rewrites (Program.cpm, DM.cpm, the options
// file) under the faults a user meets: the process killed in the middle of a
// write, a data directory it may not write, a disk that fills up. Each time
// the file must hold a whole old or a whole new content, never a truncation,
// and a refused write must say so.

#include "dane/PlikDM.h"
#include "dane/PlikIni.h"
#include "engine/Pamiec.h"
#include "engine/TabelaProgramu.h"

#include "tests/wspolne/KatalogTymczasowy.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using plc::test::KatalogTymczasowy;

std::string Czytaj(const fs::path& plik) {
    std::ifstream f(plik, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// A writer and its two contents: wariant 0 is short, 1 long (longer than any
// file-size limit below), so a truncation of either is told from both.
struct Pisarz {
    const char* nazwa;
    const char* plik;
    std::function<void(const fs::path&, int wariant)> zapisz;
    // Writes through the program's own temporary file, the target's name with ".tmp".
    bool tymczasowy;
};

void ZapiszProgramWariant(const fs::path& plik, int wariant) {
    plc::TabelaProgramu tabela;
    const int slowa = wariant == 0 ? 3 : plc::RozmiarTabeli - 1;
    for (int k = 0; k < slowa; ++k) {
        tabela.ustaw(k, k % 2 == 0 ? "8008" : "20A8");
    }
    tabela.ustawLiczbeLinii(static_cast<std::uint8_t>(slowa));
    plc::ZapiszProgram(tabela, plik);
}

void ZapiszDMWariant(const fs::path& plik, int wariant) {
    auto pamiec = std::make_unique<plc::Pamiec>();
    for (int k = 0; k < plc::LiczbaDM; ++k) {
        pamiec->DM[static_cast<std::size_t>(k)].store(wariant == 0 ? 0 : -32768 + k);
    }
    ZapisDM(plik, *pamiec);
}

void ZapiszIniWariant(const fs::path& plik, int wariant) {
    PlikIni ini(plik);
    ini.ZapiszTekst("Opcje okna", "Numer portu", wariant == 0 ? "1" : std::string(600, '7'));
}

const Pisarz Pisarze[] = {
    {"program", "Program.cpm", ZapiszProgramWariant, true},
    {"DM", "DM.cpm", ZapiszDMWariant, true},
    {"options", "Konfiguracja.ini", ZapiszIniWariant, false},
};

// Both contents the writer gives, as bytes, written once each here.
std::pair<std::string, std::string> Tresci(const Pisarz& pisarz, const fs::path& katalog) {
    const fs::path plik = katalog / pisarz.plik;
    pisarz.zapisz(plik, 0);
    std::string krotka = Czytaj(plik);
    pisarz.zapisz(plik, 1);
    std::string dluga = Czytaj(plik);
    return {std::move(krotka), std::move(dluga)};
}

TEST(ZapisPlikow, AKillInTheMiddleOfAWriteLeavesTheOldOrTheNewFile) {
    std::mt19937 los(20261210);
    for (const Pisarz& pisarz : Pisarze) {
        SCOPED_TRACE(pisarz.nazwa);
        KatalogTymczasowy katalog;
        const fs::path plik = katalog.sciezka() / pisarz.plik;
        const auto [krotka, dluga] = Tresci(pisarz, katalog.sciezka());
        ASSERT_NE(krotka, dluga);
        ASSERT_GT(dluga.size(), 600U);

        // How long one write lasts here decides the range of the kill moments:
        // from before the first write starts to a few writes in.
        const auto poczatek = std::chrono::steady_clock::now();
        for (int i = 0; i < 10; ++i) {
            pisarz.zapisz(plik, i % 2);
        }
        const auto jeden = std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - poczatek) /
                           10;
        std::uniform_int_distribution<long> chwila(0, 3 * jeden.count() + 50);

        for (int proba = 0; proba < 150; ++proba) {
            const pid_t dziecko = ::fork();
            ASSERT_GE(dziecko, 0);
            if (dziecko == 0) {
                for (int i = 0;; ++i) {
                    pisarz.zapisz(plik, i % 2);
                }
            }
            ::usleep(static_cast<useconds_t>(chwila(los)));
            ::kill(dziecko, SIGKILL);
            int stan = 0;
            ASSERT_EQ(::waitpid(dziecko, &stan, 0), dziecko);
            ASSERT_TRUE(WIFSIGNALED(stan)) << "the writer ended by itself";
            const std::string zostalo = Czytaj(plik);
            ASSERT_TRUE(zostalo == krotka || zostalo == dluga)
                << "kill " << proba << " left " << zostalo.size() << " bytes";
        }
        // What a killed writer left behind does not stand in the next write's
        // way, and the program's own temporary file does not outlive it.
        pisarz.zapisz(plik, 0);
        EXPECT_EQ(Czytaj(plik), krotka);
        if (pisarz.tymczasowy) {
            fs::path tymczasowy = plik;
            tymczasowy += ".tmp";
            EXPECT_FALSE(fs::exists(fs::symlink_status(tymczasowy)));
        }
    }
}

// The exit status of a child whose preparation the machine does not allow,
// and what ZapisWDziecku then returns.
constexpr int BezPrzestrzeniMontowania = 3;
const std::string PominietoWDziecku = "skipped";

// Runs the writer in a child process made ready by przygotuj; the child
// reports whether the write threw and its message. Returns the message, or
// "no error" when the write went through.
std::string ZapisWDziecku(const Pisarz& pisarz, const fs::path& plik,
                          const std::function<void()>& przygotuj) {
    int rura[2];
    if (::pipe(rura) != 0) {
        return "no pipe";
    }
    const pid_t dziecko = ::fork();
    if (dziecko == 0) {
        ::close(rura[0]);
        przygotuj();
        std::string wynik = "no error";
        try {
            pisarz.zapisz(plik, 1);
        } catch (const std::exception& blad) {
            wynik = std::string("error: ") + blad.what();
        }
        const ssize_t n = ::write(rura[1], wynik.data(), wynik.size());
        ::_exit(n == static_cast<ssize_t>(wynik.size()) ? 0 : 1);
    }
    ::close(rura[1]);
    std::string wynik;
    char kawalek[512];
    ssize_t n = 0;
    while ((n = ::read(rura[0], kawalek, sizeof kawalek)) > 0) {
        wynik.append(kawalek, static_cast<std::size_t>(n));
    }
    ::close(rura[0]);
    int stan = 0;
    ::waitpid(dziecko, &stan, 0);
    if (WIFEXITED(stan) && WEXITSTATUS(stan) == BezPrzestrzeniMontowania) {
        return PominietoWDziecku;
    }
    if (!WIFEXITED(stan) || WEXITSTATUS(stan) != 0) {
        return "the child failed: " + wynik;
    }
    return wynik;
}

// The message of a refused write: the options file names itself as the
// system's profile-string writer would; the program and DM.cpm give the
// system's reason, then the file's full path.
std::string Oczekiwany(const Pisarz& pisarz, const fs::path& plik, int kod) {
    if (std::string(pisarz.plik) == "Konfiguracja.ini") {
        return "error: Unable to write to " + plik.string();
    }
    return "error: " + std::string(std::strerror(kod)) + " (" + plik.string() + ")";
}

// Makes the child an ordinary user: root writes anywhere.
void JakoZwyklyUzytkownik() {
    if (::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
            ::setresuid(65534, 65534, 65534) != 0) {
            ::_exit(2);
        }
    }
}

TEST(ZapisPlikow, AReadOnlyDataDirectoryRefusesTheWriteAndKeepsTheFile) {
    for (const Pisarz& pisarz : Pisarze) {
        SCOPED_TRACE(pisarz.nazwa);
        KatalogTymczasowy katalog;
        // Traversable by the unprivileged user the write is tried as.
        fs::permissions(katalog.sciezka(), fs::perms(0755));
        const fs::path dane = katalog.sciezka() / "dane";
        fs::create_directory(dane);
        const fs::path plik = dane / pisarz.plik;
        pisarz.zapisz(plik, 0);
        const std::string stara = Czytaj(plik);
        fs::permissions(dane, fs::perms(0555));

        const std::string wynik = ZapisWDziecku(pisarz, plik, JakoZwyklyUzytkownik);
        fs::permissions(dane, fs::perms(0755));
        EXPECT_EQ(wynik, Oczekiwany(pisarz, plik, EACCES));
        EXPECT_EQ(Czytaj(plik), stara);
        EXPECT_EQ(std::distance(fs::directory_iterator(dane), fs::directory_iterator()), 1)
            << "something was left in the directory";
    }
}

TEST(ZapisPlikow, AFullDiskRefusesTheWriteAndKeepsTheFile) {
    for (const Pisarz& pisarz : Pisarze) {
        SCOPED_TRACE(pisarz.nazwa);
        KatalogTymczasowy katalog;
        const fs::path plik = katalog.sciezka() / pisarz.plik;
        pisarz.zapisz(plik, 0);
        const std::string stara = Czytaj(plik);

        // A file-size limit stands in for the full disk: past it a write
        // fails with EFBIG, as one on a full disk fails with ENOSPC.
        const std::string wynik = ZapisWDziecku(pisarz, plik, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit granica{200, 200};
            if (::setrlimit(RLIMIT_FSIZE, &granica) != 0) {
                ::_exit(2);
            }
        });
        EXPECT_EQ(wynik, Oczekiwany(pisarz, plik, EFBIG));
        EXPECT_EQ(Czytaj(plik), stara);
        EXPECT_EQ(
            std::distance(fs::directory_iterator(katalog.sciezka()), fs::directory_iterator()), 1)
            << "a temporary file was left behind";
    }
}

// A file the user made read-only in a writable directory is refused, not
// replaced behind the user's back by the rename.
TEST(ZapisPlikow, AReadOnlyFileIsRefusedAndKept) {
    for (const Pisarz& pisarz : Pisarze) {
        SCOPED_TRACE(pisarz.nazwa);
        KatalogTymczasowy katalog;
        fs::permissions(katalog.sciezka(), fs::perms(0777));
        const fs::path plik = katalog.sciezka() / pisarz.plik;
        pisarz.zapisz(plik, 0);
        const std::string stara = Czytaj(plik);
        fs::permissions(plik, fs::perms(0444));

        const std::string wynik = ZapisWDziecku(pisarz, plik, JakoZwyklyUzytkownik);
        EXPECT_EQ(wynik, Oczekiwany(pisarz, plik, EACCES));
        EXPECT_EQ(Czytaj(plik), stara);
        EXPECT_EQ(
            std::distance(fs::directory_iterator(katalog.sciezka()), fs::directory_iterator()), 1);
    }
}

// A data directory on a file system mounted read-only: the message gives that
// reason, not a claim about the file. The child mounts a file system of its
// own, in a mount namespace of its own, and remounts it read-only; where the
// machine allows no namespaces the test is skipped.
TEST(ZapisPlikow, AReadOnlyFileSystemIsReportedAsSuch) {
    for (const Pisarz& pisarz : Pisarze) {
        SCOPED_TRACE(pisarz.nazwa);
        KatalogTymczasowy katalog;
        const fs::path plik = katalog.sciezka() / pisarz.plik;
        const std::string wynik = ZapisWDziecku(pisarz, plik, [&] {
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("parvolen", katalog.sciezka().c_str(), "tmpfs", 0, nullptr) != 0) {
                ::_exit(BezPrzestrzeniMontowania);
            }
            pisarz.zapisz(plik, 0);
            if (::mount(nullptr, katalog.sciezka().c_str(), nullptr, MS_REMOUNT | MS_RDONLY,
                        nullptr) != 0) {
                ::_exit(BezPrzestrzeniMontowania);
            }
        });
        if (wynik == PominietoWDziecku) {
            GTEST_SKIP() << "no mount namespace for this user here";
        }
        EXPECT_EQ(wynik, Oczekiwany(pisarz, plik, EROFS));
    }
}

} // namespace
