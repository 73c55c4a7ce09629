#include "ZapisPliku.h"

#include "BladPliku.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace plc {

namespace {

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

std::filesystem::path Tymczasowy(const std::filesystem::path& plik) {
    std::filesystem::path tymczasowy = plik;
    tymczasowy += ".tmp";
    return tymczasowy;
}

void ZapiszWszystko(int fd, std::string_view tresc, const std::filesystem::path& plik) {
    std::size_t zapisane = 0;
    while (zapisane < tresc.size()) {
        const ssize_t n = ::write(fd, tresc.data() + zapisane, tresc.size() - zapisane);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw BladPliku(errno, plik);
        }
        zapisane += static_cast<std::size_t>(n);
    }
}

} // namespace

void ZapiszAtomowo(const std::filesystem::path& plik, std::string_view tresc) {
    // The rename below would replace a read-only file; the user who made it
    // so meant it to stay. On a read-only file system this gives its reason.
    if (::faccessat(AT_FDCWD, plik.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        throw BladPliku(errno, plik);
    }
    const std::filesystem::path tymczasowy = Tymczasowy(plik);
    if (::unlink(tymczasowy.c_str()) != 0 && errno != ENOENT) {
        throw BladPliku(errno, plik);
    }
    Deskryptor fd(
        ::open(tymczasowy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (fd.fd() < 0) {
        throw BladPliku(errno, plik);
    }
    try {
        ZapiszWszystko(fd.fd(), tresc, plik);
        if (::fsync(fd.fd()) != 0 || fd.zamknij() != 0) {
            throw BladPliku(errno, plik);
        }
        if (std::rename(tymczasowy.c_str(), plik.c_str()) != 0) {
            throw BladPliku(errno, plik);
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
}

void UsunPozostalyTymczasowy(const std::filesystem::path& plik) {
    ::unlink(Tymczasowy(plik).c_str());
}

} // namespace plc
