#pragma once

#include "serial/VaComm.h"

#include <cstdint>
#include <optional>
#include <string>
#include <termios.h>

// The device layer under the port: what the port and its threads do with the
// device behind an open port, whatever kind it is (a terminal device named by
// its path, the built-in virtual port). A further kind is one more class that
// implements TVaDevice.
//
// Thread safety: every operation may be called from any thread; each device
// serialises them itself. The window thread opens, sets up, reads, reads the
// status and closes; the event thread asks for pending events; the write
// thread writes. PollHandle stays the same number for the object's life: a
// thread may poll it only together with its own stop flag, which the port sets
// before it closes the device, so a number reused after Close is never acted
// upon.

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

// The rate in bits per second the settings name; 0 or less when none.
std::int32_t VaRateOf(const TVaLineSettings& settings);

// The record for these settings, or nothing when Linux cannot represent them
// (4 data bits, 1.5 stop bits, a rate of 0 or less).
std::optional<TVaLineRecord> VaMakeLineRecord(const TVaLineSettings& settings);

// At most this many discarded bytes are kept for the record; the rest are
// dropped unseen.
inline constexpr int kVaDiscardedLimit = 64 * 1024;

class TVaDevice {
public:
    TVaDevice() = default;
    TVaDevice(const TVaDevice&) = delete;
    TVaDevice& operator=(const TVaDevice&) = delete;
    virtual ~TVaDevice() = default;

    // Readable when bytes arrived, also when the line hung up.
    virtual int PollHandle() const = 0;

    // Gives the device up; later calls fail with EBADF. Nothing when already
    // closed.
    virtual void Close() = 0;

    // The events PendingEvents reports (EV_ bits).
    virtual void SetEventMask(std::uint32_t mask) = 0;

    // The operations below give 0 or an errno code.
    virtual int Apply(const TVaLineRecord& record) = 0;
    // The status; also clears the line-error bits. received is the number of
    // bytes that ever arrived up to this reading (read so far plus waiting).
    // A line whose other side is gone has nothing waiting and no errors.
    virtual int Status(TVaCommStatus& status, std::uint64_t& received) = 0;
    virtual int Read(char* buffer, int count, int& got) = 0;
    // The modem lines that are on now (MS_ bits). A device without modem
    // lines gives 0 and no failure.
    virtual int ModemStatus(std::uint32_t& status) = 0;
    // The bytes that were waiting when the device was opened: the opening
    // discards them, so nothing sent while the port was closed is answered,
    // and gives them here once, for the record. Bounded by kVaDiscardedLimit.
    virtual std::string TakeDiscarded() = 0;
    // written is 0 when the device takes nothing now (wait for WaitWritable).
    // While the other side is gone everything is taken and dropped, as bits
    // on an unplugged cable are.
    virtual int Write(const char* buffer, int count, int& written) = 0;

    // The device events (EV_ bits within the event mask) that occurred since
    // the last call: EV_RXCHAR when bytes arrived that no OnRxChar counted yet,
    // EV_ERR and EV_BREAK for line errors, EV_RLSD when a client came or went
    // (on a device that knows its clients).
    virtual std::uint32_t PendingEvents() = 0;
    // Bytes up to this count of all received ones were reported by OnRxChar.
    virtual void MarkReported(std::uint64_t received) = 0;
    // Waits without limit until the device takes bytes (or failed) or the stop
    // flag is set: 1 writable, 0 stopped, -1 failure.
    virtual int WaitWritable(int stopHandle) const = 0;
};

// Sets an arbitrary rate (bits per second) on an open terminal; 0 or errno.
int VaSetCustomRate(int handle, std::int32_t rate);
