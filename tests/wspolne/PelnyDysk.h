#pragma once

#include <csignal>

#include <sys/resource.h>

// A disk with room for only so many bytes more, for as long as the object
// lives: a file-size limit, past which a write fails with EFBIG as one on a
// full disk fails with ENOSPC (the signal the limit raises is ignored).
class PelnyDysk {
public:
    explicit PelnyDysk(rlim_t bajty) {
        ::getrlimit(RLIMIT_FSIZE, &poprzednia_);
        sygnal_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit granica{bajty, poprzednia_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &granica);
    }
    ~PelnyDysk() {
        ::setrlimit(RLIMIT_FSIZE, &poprzednia_);
        std::signal(SIGXFSZ, sygnal_);
    }
    PelnyDysk(const PelnyDysk&) = delete;
    PelnyDysk& operator=(const PelnyDysk&) = delete;

private:
    rlimit poprzednia_{};
    void (*sygnal_)(int) = SIG_DFL;
};
