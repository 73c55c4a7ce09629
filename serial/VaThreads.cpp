#include "serial/VaThreads.h"

#include "serial/VaComm.h"
#include "serial/VaDevice.h"
#include "serial/VaUtils.h"

#include <QMetaObject>

#include <chrono>
#include <cstring>
#include <thread>

void THandOverDone::Set() {
    const std::lock_guard lock(mutex_);
    done_ = true;
    finished_.notify_all();
}

void THandOverDone::Wait() {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return done_; });
}

void TVaPortLink::Detach() {
    const std::lock_guard lock(mutex_);
    port_ = nullptr;
    // Hand-overs that will never be delivered now must not keep their
    // threads waiting.
    for (const TVaHandOver& waiting : inbox_) {
        if (waiting.Done) {
            waiting.Done->Set();
        }
    }
    inbox_.clear();
}

void TVaPortLink::Deliver(std::uint32_t events) {
    Send(events, true);
}

void TVaPortLink::Post(std::uint32_t events) {
    Send(events, false);
}

void TVaPortLink::Send(std::uint32_t events, bool wait) {
    // The events travel in the inbox, under the lock; Qt only carries a
    // call without data to the port's window thread. Posting under the lock
    // that Detach takes means the port is alive while it is named here.
    std::shared_ptr<THandOverDone> done = wait ? std::make_shared<THandOverDone>() : nullptr;
    {
        const std::lock_guard lock(mutex_);
        if (port_ == nullptr) {
            return;
        }
        inbox_.push_back({events, done});
        QMetaObject::invokeMethod(port_, "HandOverArrived", Qt::QueuedConnection);
    }
    if (done) {
        done->Wait();
    }
}

std::uint32_t TVaPortLink::WaitingEvents() {
    const std::lock_guard lock(mutex_);
    std::uint32_t events = 0;
    for (const TVaHandOver& waiting : inbox_) {
        events |= waiting.Events;
    }
    return events;
}

bool TVaPortLink::TakeNext(TVaHandOver& next) {
    const std::lock_guard lock(mutex_);
    if (inbox_.empty()) {
        return false;
    }
    next = std::move(inbox_.front());
    inbox_.pop_front();
    return true;
}

void TVaCommBuffer::Append(const char* data, std::int32_t count) {
    std::memcpy(bytes_.data() + count_, data, static_cast<std::size_t>(count));
    count_ += count;
}

void TVaCommBuffer::Remove(std::int32_t count) {
    std::memmove(bytes_.data(), bytes_.data() + count, static_cast<std::size_t>(count_ - count));
    count_ -= count;
}

TVaCommEventThread::TVaCommEventThread(std::shared_ptr<TVaPortLink> link,
                                       std::shared_ptr<TVaDevice> device,
                                       TVaThreadPriority priority)
    : link_(std::move(link)), device_(std::move(device)), priority_(priority) {}

void TVaCommEventThread::Start() {
    std::thread([self = shared_from_this()] { self->Execute(); }).detach();
}

void TVaCommEventThread::Stop() {
    terminated_.store(true);
    wake_.SetEvent();
}

void TVaCommEventThread::Execute() {
    VaSetThreadPriority(priority_);
    bool quiet = false;
    // The device is looked at once before the first wait: a client that came
    // to the line while the port opened makes the device no more ready than
    // one that was there all along.
    bool look = true;
    while (!terminated_.load()) {
        if (!look) {
            // A device that stays ready with nothing to report (hung up, or
            // bytes reported and left unread) is looked at again only after a
            // pause.
            const int woken = quiet ? VaWaitForAny({wake_.Handle()}, kVaQuietWaitMs)
                                    : VaWaitForAny({wake_.Handle(), device_->PollHandle()}, -1);
            if (terminated_.load()) {
                break;
            }
            if (woken == 0 || woken == -2) {
                quiet = true;
                continue;
            }
        }
        look = false;
        const std::uint32_t events = device_->PendingEvents();
        quiet = events == 0;
        if (events != 0) {
            link_->Deliver(events);
        }
    }
}

TVaCommWriteThread::TVaCommWriteThread(std::shared_ptr<TVaPortLink> link,
                                       std::shared_ptr<TVaDevice> device, std::int32_t capacity,
                                       TVaThreadPriority priority)
    : link_(std::move(link)), device_(std::move(device)), priority_(priority), queue_(capacity) {}

void TVaCommWriteThread::Start() {
    std::thread([self = shared_from_this()] { self->Execute(); }).detach();
}

void TVaCommWriteThread::Stop() {
    stop_.SetEvent();
}

bool TVaCommWriteThread::QueueBytes(const char* data, std::int32_t count, std::int32_t timeoutMs) {
    std::unique_lock lock(writeLock_);
    const auto fits = [&] {
        return static_cast<std::int64_t>(queue_.Count()) + count <= queue_.Capacity();
    };
    // The writer signals every removal, so the wait ends as soon as there is
    // room, or after the time limit.
    if (!room_.wait_for(lock, std::chrono::milliseconds(timeoutMs), fits)) {
        return false;
    }
    queue_.Append(data, count);
    dataReady_.SetEvent();
    return true;
}

void TVaCommWriteThread::Execute() {
    VaSetThreadPriority(priority_);
    for (;;) {
        const int woken = VaWaitForAny({stop_.Handle(), dataReady_.Handle()}, -1);
        if (woken == 0) {
            return;
        }
        if (woken == 1 && !WriteRound()) {
            return;
        }
        if (woken < 0 && stop_.WaitFor(kVaQuietWaitMs) == TVaWaitResult::wrSignaled) {
            return;
        }
    }
}

bool TVaCommWriteThread::WriteRound() {
    const char* front = nullptr;
    std::int32_t count = 0;
    {
        // Only this thread removes bytes, so the front stays put after the
        // lock is left; QueueBytes appends behind it.
        const std::lock_guard lock(writeLock_);
        front = queue_.Data();
        count = queue_.Count();
        if (count == 0) {
            dataReady_.ResetEvent();
            return true;
        }
    }
    for (;;) {
        int written = 0;
        const int error = device_->Write(front, count, written);
        if (error == 0 && written > 0) {
            failureReported_ = false;
            AfterWrite(written);
            return true;
        }
        if (error != 0) {
            // The bytes stay queued and the data-ready flag set: the next round
            // tries them again, after a pause, since a device that failed once
            // (hung up) fails again at once.
            if (!failureReported_) {
                failureReported_ = true;
                link_->Post(EV_ERR);
            }
            return stop_.WaitFor(kVaQuietWaitMs) != TVaWaitResult::wrSignaled;
        }
        const int writable = device_->WaitWritable(stop_.Handle());
        if (writable == 0) {
            return false;
        }
        if (writable < 0 && stop_.WaitFor(kVaQuietWaitMs) == TVaWaitResult::wrSignaled) {
            return false;
        }
    }
}

void TVaCommWriteThread::AfterWrite(std::int32_t written) {
    bool empty = false;
    {
        const std::lock_guard lock(writeLock_);
        queue_.Remove(written);
        empty = queue_.Count() == 0;
        // Tested and reset under the same lock as the removal, so bytes that
        // QueueBytes appends meanwhile never wait behind a reset flag.
        if (empty) {
            dataReady_.ResetEvent();
        }
    }
    room_.notify_all();
    if (empty) {
        link_->Post(EV_TXEMPTY);
    }
}
