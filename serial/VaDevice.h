#pragma once

#include "serial/VaComm.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <termios.h>

// The POSIX device layer under the port: a terminal device opened
// non-blocking and for exclusive use, its line settings as a termios record,
// the receive count, and line errors as growth of the kernel's error counters.
//
// Thread safety: every operation may be called from any thread; one lock inside
// serialises them. The window thread opens, sets up, reads, reads the status
// and closes; the event thread asks for pending events; the write thread
// writes. PollHandle stays the same number for the object's life: a thread may
// poll it only together with its own stop flag, which the port sets before it
// closes the device, so a number reused after Close is never acted upon.

// The line settings record built from the port's properties.
struct TVaLineRecord {
    termios Tio{};
    // A rate with no Bnnn constant, set through the kernel's arbitrary-rate
    // interface after the record; 0 when Tio carries the rate.
    std::int32_t CustomRate = 0;
    // Kept for the record; the terminal layer has its own flow thresholds.
    std::int32_t XonLimit = 0;
    std::int32_t XoffLimit = 0;
    bool DtrOn = false;
    bool RtsOn = false;
};

// The record for these settings, or nothing when Linux cannot represent them
// (4 data bits, 1.5 stop bits, a rate of 0 or less).
std::optional<TVaLineRecord> VaMakeLineRecord(const TVaLineSettings& settings);

class TVaDevice {
public:
    // Opens the path for reading and writing, non-blocking, not as the
    // controlling terminal, and takes it for exclusive use. Gives nothing and
    // sets error (an errno code; EBUSY when another opener holds the device)
    // when it cannot.
    static std::shared_ptr<TVaDevice> Open(const std::string& path, int& error);

    TVaDevice(const TVaDevice&) = delete;
    TVaDevice& operator=(const TVaDevice&) = delete;
    ~TVaDevice();

    int PollHandle() const { return pollHandle_; }

    // Releases exclusive use and closes the descriptor; later calls fail with
    // EBADF. Nothing when already closed.
    void Close();

    // The events PendingEvents reports (EV_ bits). The kernel sizes its own
    // queues and the descriptor is non-blocking from Open on, so this is the
    // only setting besides the line record.
    void SetEventMask(std::uint32_t mask);

    // The operations below give 0 or an errno code.
    int Apply(const TVaLineRecord& record);
    // The status; also clears the line-error bits. received is the number of
    // bytes that ever arrived up to this reading (read so far plus waiting).
    int Status(TVaCommStatus& status, std::uint64_t& received);
    int Read(char* buffer, int count, int& got);
    // written is 0 when the device takes nothing now (wait for WaitWritable).
    int Write(const char* buffer, int count, int& written);

    // The device events (EV_ bits within the event mask) that occurred since
    // the last call: EV_RXCHAR when bytes arrived that no OnRxChar counted yet,
    // EV_ERR and EV_BREAK when the error counters grew.
    std::uint32_t PendingEvents();
    // Bytes up to this count of all received ones were reported by OnRxChar.
    void MarkReported(std::uint64_t received);
    // Waits without limit until the device takes bytes (or failed) or the stop
    // flag is set: 1 writable, 0 stopped, -1 failure.
    int WaitWritable(int stopHandle) const;

private:
    struct TCounters {
        std::uint64_t Frame = 0;
        std::uint64_t Overrun = 0;
        std::uint64_t Parity = 0;
        std::uint64_t Break = 0;
        std::uint64_t BufferOverrun = 0;
    };

    explicit TVaDevice(int handle);
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
    TCounters statusBase_;
    TCounters eventBase_;
};

// Sets an arbitrary rate (bits per second) on an open terminal; 0 or errno.
int VaSetCustomRate(int handle, std::int32_t rate);
