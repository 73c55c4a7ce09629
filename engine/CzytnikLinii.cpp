#include "CzytnikLinii.h"

#include "BladPliku.h"

#include <cerrno>

namespace plc {

CzytnikLinii::CzytnikLinii(const std::filesystem::path& plik) : plik_(plik) {
    errno = 0;
    f_.reset(std::fopen(plik_.c_str(), "rb"));
    if (!f_) {
        throw BladPliku(errno != 0 ? errno : EIO, plik_);
    }
}

bool CzytnikLinii::nastepna(std::string& linia, std::size_t najwiecej) {
    linia.clear();
    bool cokolwiek = false;
    for (;;) {
        errno = 0;
        const int znak = std::fgetc(f_.get());
        if (znak == EOF) {
            if (std::ferror(f_.get()) != 0) {
                throw BladPliku(errno != 0 ? errno : EIO, plik_);
            }
            poCR_ = false;
            return cokolwiek;
        }
        const bool lfPoCR = poCR_ && znak == '\n';
        poCR_ = false;
        if (lfPoCR) {
            continue;
        }
        if (znak == '\r' || znak == '\n') {
            poCR_ = znak == '\r';
            return true;
        }
        cokolwiek = true;
        if (linia.size() < najwiecej) {
            linia.push_back(static_cast<char>(znak));
        }
    }
}

} // namespace plc
