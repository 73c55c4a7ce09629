#pragma once

#include <atomic>
#include <initializer_list>
#include <mutex>

// Handle objects and locks of the port.
//
// Thread safety: SetEvent, ResetEvent and the waits may be called from any
// thread at the same time (the kernel object does the synchronising); a handle
// object must outlive every wait on it, so the port's threads own theirs
// jointly with the port.

enum class TVaWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// Owns one descriptor and closes it when destroyed. A wait is a poll for
// readability with a time limit in milliseconds (negative: no limit).
class TVaHandleObject {
public:
    explicit TVaHandleObject(int handle) : handle_(handle) {}
    TVaHandleObject(const TVaHandleObject&) = delete;
    TVaHandleObject& operator=(const TVaHandleObject&) = delete;
    virtual ~TVaHandleObject();

    int Handle() const { return handle_; }
    TVaWaitResult WaitFor(int timeoutMs) const;
    // The errno of the last failed wait or operation.
    int LastError() const { return lastError_.load(std::memory_order_relaxed); }

protected:
    void SetLastError(int error) const { lastError_.store(error, std::memory_order_relaxed); }

private:
    int handle_;
    mutable std::atomic<int> lastError_{0};
};

// An event flag over an eventfd: readable exactly while set.
class TVaEvent : public TVaHandleObject {
public:
    TVaEvent();
    void SetEvent();
    void ResetEvent();
};

// The event flag used throughout the port: manual-reset, created not set.
class TVaWaitEvent : public TVaEvent {};

// Waits, at most timeoutMs (negative: no limit), for the first readable of the
// given descriptors. Gives its index (the first in the given order when several
// are ready), -1 on time-out, or -2 with errno set on failure.
int VaWaitForAny(std::initializer_list<int> handles, int timeoutMs);

// A mutual-exclusion lock (also usable with std::lock_guard).
class TVaCriticalSection {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

private:
    std::mutex mutex_;
};
