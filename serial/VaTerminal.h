#pragma once

#include "serial/VaDevice.h"

#include <cerrno>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// A terminal device named by its path (a UART, a USB adapter, the slave of a
// pty pair): opened non-blocking and for exclusive use, its line settings as a
// termios record, the receive count, and line errors as growth of the
// kernel's error counters. One lock inside serialises every operation.
class TVaTerminal : public TVaDevice {
public:
    // Opens the path for reading and writing, non-blocking, not as the
    // controlling terminal, and takes it for exclusive use. Gives nothing and
    // sets error (an errno code; EBUSY when another opener holds the device)
    // when it cannot.
    static std::shared_ptr<TVaDevice> Open(const std::string& path, int& error);

    ~TVaTerminal() override;

    int PollHandle() const override { return pollHandle_; }
    // Releases exclusive use and closes the descriptor.
    void Close() override;
    // The kernel sizes its own queues and the descriptor is non-blocking from
    // Open on, so this is the only setting besides the line record.
    void SetEventMask(std::uint32_t mask) override;
    int Apply(const TVaLineRecord& record) override;
    int Status(TVaCommStatus& status, std::uint64_t& received) override;
    int Read(char* buffer, int count, int& got) override;
    // The lines as the kernel reports them; a device without modem lines (a
    // pty) has them all off.
    int ModemStatus(std::uint32_t& status) override;
    std::string TakeDiscarded() override;
    int Write(const char* buffer, int count, int& written) override;
    std::uint32_t PendingEvents() override;
    void MarkReported(std::uint64_t received) override;
    int WaitWritable(int stopHandle) const override;

protected:
    // Takes an open descriptor over. Received bytes still queued are
    // discarded, as a UART that was not listening never heard them: nothing
    // sent while the port was closed is answered after it opens. The first
    // of them are kept for TakeDiscarded.
    explicit TVaTerminal(int handle);

    // The events asked for; only within WithHandle's call.
    std::uint32_t EventMaskLocked() const { return eventMask_; }

    // Runs call(descriptor) under the device's lock; EBADF when closed.
    template <typename Call> int WithHandle(Call call) {
        const std::lock_guard lock(mutex_);
        return handle_ < 0 ? EBADF : call(handle_);
    }

private:
    struct TCounters {
        std::uint64_t Frame = 0;
        std::uint64_t Overrun = 0;
        std::uint64_t Parity = 0;
        std::uint64_t Break = 0;
        std::uint64_t BufferOverrun = 0;
    };

    bool ReadCounters(TCounters& counters) const;
    // The CE_ bits of the counters that grew since base, which then moves on
    // to the present counts. Status and PendingEvents each keep their own
    // base, so neither hides an error from the other.
    std::uint32_t TakeErrors(TCounters& base) const;

    mutable std::mutex mutex_;
    int handle_;
    const int pollHandle_;
    std::uint32_t eventMask_ = 0;
    std::uint64_t readTotal_ = 0;
    std::uint64_t reported_ = 0;
    std::string discarded_;
    TCounters statusBase_;
    TCounters eventBase_;
};

// Whether the other side of a terminal is gone: the pty's other end closed,
// or the device hung up. poll() says so at once and every time after.
bool VaHungUp(int handle);
