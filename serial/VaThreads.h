#pragma once

#include "serial/VaObjects.h"
#include "serial/VaTypes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

// The port's event and write threads, the write queue, and the link over
// which both reach the window thread.
//
// Thread safety: Start, Stop and QueueBytes are called on the window thread;
// Execute runs on the thread itself. Each thread object is owned jointly by the
// port and by its running thread (shared_ptr), so it lives until both let go;
// so do the link and the device they use.

class TVaCustomComm;
class TVaDevice;

// How long a thread waits for its stop flag before it looks at a device again
// that has nothing to report but stays ready (hung up, or bytes already
// reported and still unread): the pause that keeps it from spinning.
inline constexpr int kVaQuietWaitMs = 20;

// Completion of one synchronous hand-over, awaited by the handing thread.
class THandOverDone {
public:
    void Set();
    void Wait();

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
};

// One set of events on its way to the window thread.
struct TVaHandOver {
    std::uint32_t Events = 0;
    // Set once the delivery step has run or was dropped; none for posts.
    std::shared_ptr<THandOverDone> Done;
};

// The threads' way to the port: an inbox under a lock, and a queued call by
// name that makes the window thread empty it. The port attaches itself when it
// starts the threads and detaches at Close (or destruction); a hand-over that
// reaches the window thread after that raises nothing.
struct TVaPortLink {
    explicit TVaPortLink(TVaCustomComm& port) : port_(&port) {}

    // Window thread: drops undelivered hand-overs and releases their threads.
    void Detach();
    // Window thread: the next hand-over to deliver, if any.
    bool TakeNext(TVaHandOver& next);
    // Any thread: the events of every hand-over not yet delivered (EV_ bits).
    std::uint32_t WaitingEvents();
    // Event thread: runs the delivery step for the events on the window thread
    // and returns when it has run, or was dropped because the port is closed
    // or gone.
    void Deliver(std::uint32_t events);
    // Write thread: the same step, posted without waiting, so that the writer
    // never blocks while the window thread waits for room in the queue.
    void Post(std::uint32_t events);

private:
    void Send(std::uint32_t events, bool wait);

    std::mutex mutex_;
    // Set and cleared on the window thread; always used under mutex_.
    TVaCustomComm* port_;
    std::deque<TVaHandOver> inbox_;
};

// A byte array of fixed capacity and the count it holds.
class TVaCommBuffer {
public:
    explicit TVaCommBuffer(std::int32_t capacity)
        : bytes_(static_cast<std::size_t>(capacity < 0 ? 0 : capacity)) {}

    std::int32_t Capacity() const { return static_cast<std::int32_t>(bytes_.size()); }
    std::int32_t Count() const { return count_; }
    const char* Data() const { return bytes_.data(); }
    // The caller makes sure the bytes fit.
    void Append(const char* data, std::int32_t count);
    void Remove(std::int32_t count);

private:
    std::vector<char> bytes_;
    std::int32_t count_ = 0;
};

class TVaCommEventThread : public std::enable_shared_from_this<TVaCommEventThread> {
public:
    TVaCommEventThread(std::shared_ptr<TVaPortLink> link, std::shared_ptr<TVaDevice> device,
                       TVaThreadPriority priority);

    void Start();
    // Sets the terminated mark and the wake flag; does not wait.
    void Stop();

private:
    void Execute();

    std::shared_ptr<TVaPortLink> link_;
    std::shared_ptr<TVaDevice> device_;
    TVaThreadPriority priority_;
    std::atomic<bool> terminated_{false};
    TVaWaitEvent wake_;
};

class TVaCommWriteThread : public std::enable_shared_from_this<TVaCommWriteThread> {
public:
    TVaCommWriteThread(std::shared_ptr<TVaPortLink> link, std::shared_ptr<TVaDevice> device,
                       std::int32_t capacity, TVaThreadPriority priority);

    void Start();
    // Sets the stop flag; does not wait. Bytes still queued are dropped.
    void Stop();
    // Appends the bytes, waiting at most timeoutMs for room; false when they
    // did not fit in time (the queue keeps what it held).
    bool QueueBytes(const char* data, std::int32_t count, std::int32_t timeoutMs);

private:
    void Execute();
    // Writes the bytes at the front of the queue; false when stopped meanwhile.
    bool WriteRound();
    void AfterWrite(std::int32_t written);

    std::shared_ptr<TVaPortLink> link_;
    std::shared_ptr<TVaDevice> device_;
    TVaThreadPriority priority_;
    std::mutex writeLock_;
    std::condition_variable room_;
    TVaCommBuffer queue_;
    TVaWaitEvent dataReady_;
    TVaWaitEvent stop_;
    // A failed write is reported once until a write succeeds again.
    bool failureReported_ = false;
};
