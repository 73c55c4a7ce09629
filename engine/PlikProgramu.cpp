#include "Pamiec.h"
#include "TabelaProgramu.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace plc {

namespace {

[[noreturn]] void BladSystemu(int kod) {
    throw std::system_error(kod, std::generic_category());
}

struct ZamykaczPliku {
    void operator()(std::FILE* plik) const noexcept { std::fclose(plik); }
};

// Owns a POSIX descriptor, closing it on every path out.
class Deskryptor {
public:
    explicit Deskryptor(int fd) noexcept : fd_(fd) {}
    ~Deskryptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Deskryptor(const Deskryptor&) = delete;
    Deskryptor& operator=(const Deskryptor&) = delete;
    int fd() const noexcept { return fd_; }
    // Closes now, so that a failing close is seen.
    int zamknij() noexcept {
        const int wynik = ::close(fd_);
        fd_ = -1;
        return wynik;
    }

private:
    int fd_;
};

void ZapiszWszystko(int fd, const std::string& tresc) {
    std::size_t zapisane = 0;
    while (zapisane < tresc.size()) {
        const ssize_t n = ::write(fd, tresc.data() + zapisane, tresc.size() - zapisane);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            BladSystemu(errno);
        }
        zapisane += static_cast<std::size_t>(n);
    }
}

// Lines 0 to 254 of the file, each cut to its first four characters.
std::vector<std::string> CzytajLinie(const std::filesystem::path& plik) {
    errno = 0;
    const std::unique_ptr<std::FILE, ZamykaczPliku> f(std::fopen(plik.c_str(), "rb"));
    if (!f) {
        BladSystemu(errno != 0 ? errno : EIO);
    }
    std::vector<std::string> linie;
    std::string linia;
    bool koniecTresci = false; // a CR ends what the line holds
    bool cokolwiek = false;
    for (;;) {
        const int znak = std::fgetc(f.get());
        if (znak == EOF) {
            break;
        }
        cokolwiek = true;
        if (znak == '\n') {
            linie.push_back(linia);
            linia.clear();
            koniecTresci = false;
            cokolwiek = false;
            if (linie.size() == RozmiarTabeli - 1) {
                break;
            }
            continue;
        }
        if (znak == '\r') {
            koniecTresci = true;
        } else if (!koniecTresci && linia.size() < 4) {
            linia.push_back(static_cast<char>(znak));
        }
    }
    if (std::ferror(f.get()) != 0) {
        BladSystemu(errno != 0 ? errno : EIO);
    }
    if (cokolwiek && linie.size() < RozmiarTabeli - 1) {
        linie.push_back(linia);
    }
    return linie;
}

} // namespace

int ZapiszProgram(const TabelaProgramu& tabela, const std::filesystem::path& plik) {
    std::string tresc;
    int linie = 0;
    for (int k = 0; k < RozmiarTabeli; ++k) {
        const SlowoProgramu slowo = tabela.odczytaj(k);
        if (slowo.dlugosc > 0) {
            tresc.append(slowo.tekst());
            tresc.append("\r\n");
            ++linie;
        }
    }

    std::filesystem::path tymczasowy = plik;
    tymczasowy += ".tmp";
    Deskryptor fd(::open(tymczasowy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.fd() < 0) {
        BladSystemu(errno);
    }
    try {
        ZapiszWszystko(fd.fd(), tresc);
        if (::fsync(fd.fd()) != 0 || fd.zamknij() != 0) {
            BladSystemu(errno);
        }
        if (std::rename(tymczasowy.c_str(), plik.c_str()) != 0) {
            BladSystemu(errno);
        }
    } catch (...) {
        ::unlink(tymczasowy.c_str());
        throw;
    }
    // The rename itself lasts only once the directory is on disk too; a
    // failure here loses nothing that was there before, so it is not reported.
    const std::filesystem::path katalog = plik.has_parent_path() ? plik.parent_path() : ".";
    Deskryptor dir(::open(katalog.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd() >= 0) {
        ::fsync(dir.fd());
    }
    return linie;
}

void WczytajProgram(TabelaProgramu& tabela, Pamiec& pamiec, const std::filesystem::path& plik) {
    const std::vector<std::string> linie = CzytajLinie(plik);
    int niepuste = 0;
    for (int k = 0; k < RozmiarTabeli - 1; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        const std::string_view tekst = i < linie.size() ? std::string_view(linie[i]) : "";
        tabela.ustaw(k, tekst);
        if (tabela.odczytaj(k).dlugosc > 0) {
            ++niepuste;
        }
    }
    tabela.ustawLiczbeLinii(static_cast<std::uint8_t>(niepuste));
    for (auto& zbocze : pamiec.zbocza) {
        zbocze.store(0, std::memory_order_relaxed);
    }
    pamiec.resetZalaczenia();
}

} // namespace plc
