#include "serial/VaObjects.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

TVaHandleObject::~TVaHandleObject() {
    if (handle_ >= 0) {
        ::close(handle_);
    }
}

TVaWaitResult TVaHandleObject::WaitFor(int timeoutMs) const {
    switch (VaWaitForAny({handle_}, timeoutMs)) {
    case 0:
        return TVaWaitResult::wrSignaled;
    case -1:
        return TVaWaitResult::wrTimeout;
    default:
        SetLastError(errno);
        return TVaWaitResult::wrError;
    }
}

namespace {
int NewEventHandle() {
    const int handle = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (handle < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
    return handle;
}
} // namespace

TVaEvent::TVaEvent() : TVaHandleObject(NewEventHandle()) {}

void TVaEvent::SetEvent() {
    const std::uint64_t one = 1;
    if (::write(Handle(), &one, sizeof one) < 0) {
        SetLastError(errno);
    }
}

void TVaEvent::ResetEvent() {
    std::uint64_t value = 0;
    // Reading empties the counter; EAGAIN only means the flag was not set.
    if (::read(Handle(), &value, sizeof value) < 0 && errno != EAGAIN) {
        SetLastError(errno);
    }
}

int VaWaitForAny(std::initializer_list<int> handles, int timeoutMs) {
    std::vector<pollfd> fds;
    fds.reserve(handles.size());
    for (int handle : handles) {
        fds.push_back({handle, POLLIN, 0});
    }
    int ready = 0;
    do {
        ready = ::poll(fds.data(), fds.size(), timeoutMs < 0 ? -1 : timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return -2;
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents != 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
