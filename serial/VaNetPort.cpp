#include "serial/VaNetPort.h"

#include "serial/VaConst.h"
#include "serial/VaObjects.h"
#include "serial/VaTelnetSession.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t kChunk = 4096;
// Bytes waiting for the port beyond which the socket is left unread, so a
// client that floods a busy port is slowed by TCP instead of growing memory.
constexpr std::size_t kReceiveLimit = 64 * 1024;
// Bytes on their way to the client beyond which Write takes nothing.
constexpr std::size_t kSendLimit = 64 * 1024;
// What is kept, for the record, of the bytes received while off.
constexpr auto kDiscardLimit = static_cast<std::size_t>(kVaDiscardedLimit);

constexpr std::uint64_t kWakeTag = 0;
constexpr std::uint64_t kListenerTag = 1;
// The client's tag carries its number, so an event still queued for a
// client that is gone is never taken for the next one's.
constexpr std::uint64_t kClientTag = 2;

std::uint64_t ClientTag(std::uint64_t generation) {
    return kClientTag | (generation << 8);
}

void SetOption(int socket, int level, int name, int value) {
    static_cast<void>(::setsockopt(socket, level, name, &value, sizeof value));
}

// A peer that vanishes without a word (cable pulled, machine off) is noticed
// after about 20 s, with or without data on the way.
void WatchPeer(int socket) {
    SetOption(socket, IPPROTO_TCP, TCP_NODELAY, 1);
    SetOption(socket, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetOption(socket, IPPROTO_TCP, TCP_KEEPIDLE, 10);
    SetOption(socket, IPPROTO_TCP, TCP_KEEPINTVL, 5);
    SetOption(socket, IPPROTO_TCP, TCP_KEEPCNT, 2);
    SetOption(socket, IPPROTO_TCP, TCP_USER_TIMEOUT, 20000);
}

int Listen(const TVaNetAddress& address, int& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(address.Port);
    if (::getaddrinfo(address.Host.c_str(), service.c_str(), &hints, &found) != 0) {
        error = EADDRNOTAVAIL;
        return -1;
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> results(found, &::freeaddrinfo);
    error = EADDRNOTAVAIL;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        const int listener =
            ::socket(entry->ai_family, entry->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (listener < 0) {
            error = errno;
            continue;
        }
        // A run that follows another at once binds although the old
        // connections still linger in TIME_WAIT.
        SetOption(listener, SOL_SOCKET, SO_REUSEADDR, 1);
        if (entry->ai_family == AF_INET6) {
            SetOption(listener, IPPROTO_IPV6, IPV6_V6ONLY, 1);
        }
        if (::bind(listener, entry->ai_addr, entry->ai_addrlen) == 0 &&
            ::listen(listener, 4) == 0) {
            error = 0;
            return listener;
        }
        error = errno;
        ::close(listener);
    }
    return -1;
}

std::uint16_t LocalPort(int listener) {
    sockaddr_storage local{};
    socklen_t size = sizeof local;
    if (::getsockname(listener, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return 0;
    }
    if (local.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&local)->sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in*>(&local)->sin_port);
}

} // namespace

TVaClientLine VaPortLine(const TVaLineSettings& settings) {
    TVaClientLine line;
    line.Baudrate = static_cast<std::uint32_t>(std::max(VaRateOf(settings), 0));
    line.DataSize = static_cast<std::uint8_t>(4 + (settings.Databits - db4));
    line.Parity = static_cast<std::uint8_t>(1 + (settings.Parity - paNone));
    line.StopSize = settings.Stopbits == sb1 ? 1 : settings.Stopbits == sb15 ? 3 : 2;
    return line;
}

// Everything the serving thread and the devices share, under one lock.
class TVaNetCore final : public TVaTelnetSink {
public:
    TVaNetCore(TVaNetKind kind, int listener, int epoll)
        : kind_(kind), listener_(listener), epoll_(epoll) {}
    ~TVaNetCore() {
        Shutdown();
        ::close(epoll_);
    }
    TVaNetCore(const TVaNetCore&) = delete;
    TVaNetCore& operator=(const TVaNetCore&) = delete;

    int Register() {
        epoll_event wake{};
        wake.events = EPOLLIN;
        wake.data.u64 = kWakeTag;
        epoll_event listen{};
        listen.events = EPOLLIN;
        listen.data.u64 = kListenerTag;
        if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_.Handle(), &wake) != 0 ||
            ::epoll_ctl(epoll_, EPOLL_CTL_ADD, listener_, &listen) != 0) {
            return errno;
        }
        return 0;
    }

    // The serving thread.
    void Run() {
        std::array<epoll_event, 8> ready{};
        for (;;) {
            const int count =
                ::epoll_wait(epoll_, ready.data(), static_cast<int>(ready.size()), -1);
            if (count < 0 && errno != EINTR) {
                return;
            }
            const std::lock_guard lock(mutex_);
            if (stopping_) {
                return;
            }
            for (int index = 0; index < count; ++index) {
                const epoll_event& event = ready[static_cast<std::size_t>(index)];
                if (event.data.u64 == kListenerTag) {
                    AcceptClients();
                } else if (client_ >= 0 && event.data.u64 == ClientTag(generation_)) {
                    ClientReady(event.events);
                }
            }
        }
    }

    void Stop() {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        wake_.SetEvent();
    }

    // Closes the client and the listener; later openings find no client.
    void Shutdown() {
        const std::lock_guard lock(mutex_);
        DropClient();
        if (listener_ >= 0) {
            ::close(listener_);
            listener_ = -1;
        }
    }

    TVaNetClient Client() const {
        const std::lock_guard lock(mutex_);
        TVaNetClient client;
        client.Connected = client_ >= 0;
        client.LineSet = client.Connected && lineSet_;
        if (client.LineSet) {
            client.Line = session_->Line();
        }
        return client;
    }

    // The device side. Each call names its opening; a closed one gets EBADF.

    int Attach(std::uint64_t& opening, TVaEvent& notify, TVaEvent& room) {
        const std::lock_guard lock(mutex_);
        if (opening_ != 0) {
            return EBUSY;
        }
        // What is still queued in the socket was sent while off, as what the
        // serving thread has read meanwhile: the port never answers it.
        ReceiveAll();
        opening_ = opening = ++openings_;
        notify_ = &notify;
        room_ = &room;
        eventMask_ = 0;
        rx_.clear();
        arrived_ = reported_ = 0;
        clientChanged_ = false;
        // A line set while off is news to the port that opens now.
        lineChanged_ = lineSet_;
        if (lineChanged_) {
            notify_->SetEvent();
        }
        discardedAtOpening_ = std::exchange(discarded_, {});
        if (session_) {
            session_->ModemState(true);
        }
        Flush();
        return 0;
    }

    void Detach(std::uint64_t opening) {
        const std::lock_guard lock(mutex_);
        if (opening != opening_ || opening == 0) {
            return;
        }
        opening_ = 0;
        notify_ = nullptr;
        room_ = nullptr;
        rx_.clear();
        if (session_) {
            session_->ModemState(false);
        }
        Flush();
    }

    void SetEventMask(std::uint64_t opening, std::uint32_t mask) {
        const std::lock_guard lock(mutex_);
        if (opening == opening_) {
            eventMask_ = mask;
        }
    }

    int Status(std::uint64_t opening, TVaCommStatus& status, std::uint64_t& received) const {
        const std::lock_guard lock(mutex_);
        if (opening != opening_) {
            return EBADF;
        }
        status.Errors = 0;
        status.InQueue = static_cast<std::int32_t>(rx_.size());
        status.OutQueue = static_cast<std::int32_t>(data_.size() + wire_.size());
        received = arrived_;
        return 0;
    }

    int Read(std::uint64_t opening, char* buffer, int count, int& got) {
        const std::lock_guard lock(mutex_);
        got = 0;
        if (opening != opening_) {
            return EBADF;
        }
        const std::size_t taken = std::min(rx_.size(), static_cast<std::size_t>(count));
        std::memcpy(buffer, rx_.data(), taken);
        rx_.erase(0, taken);
        got = static_cast<int>(taken);
        UpdateInterest();
        return 0;
    }

    int Write(std::uint64_t opening, const char* buffer, int count, int& written) {
        const std::lock_guard lock(mutex_);
        written = 0;
        if (opening != opening_) {
            return EBADF;
        }
        if (client_ < 0) {
            // Nobody on the line: the bytes go nowhere, as on a cable
            // without a peer.
            written = count;
            return 0;
        }
        const std::size_t waiting = data_.size() + wire_.size();
        const std::size_t room = waiting < kSendLimit ? kSendLimit - waiting : 0;
        const std::size_t taken = std::min(room, static_cast<std::size_t>(count));
        data_.append(buffer, taken);
        written = static_cast<int>(taken);
        Flush();
        return 0;
    }

    // When there is none, the next Flush that makes room says so.
    bool HasRoom(std::uint64_t opening) {
        const std::lock_guard lock(mutex_);
        const bool room =
            opening != opening_ || client_ < 0 || data_.size() + wire_.size() < kSendLimit;
        roomAwaited_ = !room;
        return room;
    }

    std::uint32_t PendingEvents(std::uint64_t opening) {
        const std::lock_guard lock(mutex_);
        if (opening != opening_) {
            return 0;
        }
        // Reset under the lock: whatever arrives later sets it again.
        notify_->ResetEvent();
        std::uint32_t events = std::exchange(lineChanged_, false) ? EV_CLIENTLINE : 0;
        if (std::exchange(clientChanged_, false) && (eventMask_ & EV_RLSD) != 0) {
            // The change alone: the port hears of it before it reads a byte
            // of the new client, so a half frame the old one left is dropped
            // first, not the start of the new one's. The bytes come next.
            if (arrived_ > reported_) {
                notify_->SetEvent();
            }
            return events | EV_RLSD;
        }
        if (arrived_ > reported_) {
            events |= EV_RXCHAR;
        }
        return events & (eventMask_ | EV_CLIENTLINE);
    }

    void MarkReported(std::uint64_t opening, std::uint64_t received) {
        const std::lock_guard lock(mutex_);
        if (opening == opening_) {
            reported_ = std::max(reported_, received);
            // The window read what woke the event thread before the thread
            // looked: the wake would find nothing new, and a device that
            // wakes its thread for nothing makes it pause before the next
            // look, which would delay the next request.
            if (reported_ >= arrived_ && !clientChanged_ && !lineChanged_) {
                notify_->ResetEvent();
            }
        }
    }

    int ClientConnected(std::uint64_t opening, bool& connected) const {
        const std::lock_guard lock(mutex_);
        connected = opening == opening_ && client_ >= 0;
        return opening == opening_ ? 0 : EBADF;
    }

    // What the opening discarded, given once.
    std::string TakeDiscarded(std::uint64_t opening) {
        const std::lock_guard lock(mutex_);
        return opening == opening_ ? std::exchange(discardedAtOpening_, {}) : std::string();
    }

private:
    // TVaTelnetSink, called under the lock from Incoming, Attach or Detach.
    void TelnetData(const char* data, std::size_t size) override {
        if (opening_ != 0) {
            rx_.append(data, size);
            arrived_ += size;
            notify_->SetEvent();
        } else {
            discarded_.append(data, std::min(size, kDiscardLimit - discarded_.size()));
        }
    }

    void TelnetSend(const char* data, std::size_t size) override { wire_.append(data, size); }

    void TelnetPurge(unsigned purge) override {
        if ((purge & TVaComPortOption::kPurgeReceive) != 0) {
            rx_.clear();
        }
        // Only what has not been encoded yet: bytes already on the wire may
        // be the tail of a Telnet sequence.
        if ((purge & TVaComPortOption::kPurgeTransmit) != 0) {
            data_.clear();
        }
    }

    void TelnetLineChanged() override {
        lineSet_ = true;
        if (opening_ != 0) {
            lineChanged_ = true;
            notify_->SetEvent();
        }
    }

    void AcceptClients() {
        for (;;) {
            const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (socket < 0) {
                if (errno == EINTR || errno == ECONNABORTED) {
                    continue;
                }
                return;
            }
            if (client_ >= 0) {
                // The live client may have gone in the same moment: its end
                // of stream is taken first, so the newcomer is not refused.
                ReceiveAll();
            }
            if (client_ >= 0) {
                ::close(socket); // one client at a time
                continue;
            }
            TakeClient(socket);
        }
    }

    void TakeClient(int socket) {
        WatchPeer(socket);
        client_ = socket;
        ++generation_;
        interest_ = EPOLLIN | EPOLLRDHUP;
        epoll_event event{};
        event.events = interest_;
        event.data.u64 = ClientTag(generation_);
        if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, client_, &event) != 0) {
            ::close(client_);
            client_ = -1;
            return;
        }
        lineSet_ = false;
        if (kind_ == TVaNetKind::Rfc2217) {
            session_ = std::make_unique<TVaTelnetSession>(*this);
            session_->Start(opening_ != 0);
        }
        Flush();
        NoteClientChange();
    }

    void DropClient() {
        if (client_ < 0) {
            return;
        }
        static_cast<void>(::epoll_ctl(epoll_, EPOLL_CTL_DEL, client_, nullptr));
        static_cast<void>(::shutdown(client_, SHUT_RDWR));
        ::close(client_);
        client_ = -1;
        interest_ = 0;
        // What it sent and the port has not read yet is answered to nobody.
        rx_.clear();
        session_.reset();
        data_.clear();
        wire_.clear();
        lineSet_ = false;
        NoteClientChange();
        if (room_ != nullptr) {
            room_->SetEvent(); // writes are dropped from now on
        }
    }

    void NoteClientChange() {
        if (opening_ != 0) {
            clientChanged_ = true;
            notify_->SetEvent();
        }
    }

    void ClientReady(std::uint32_t events) {
        if ((events & EPOLLOUT) != 0) {
            Flush();
        }
        if ((events & (EPOLLIN | EPOLLRDHUP)) != 0) {
            ReceiveAll();
        }
        if (client_ >= 0 && (events & (EPOLLHUP | EPOLLERR)) != 0) {
            DropClient();
        }
    }

    bool TakesInput() const { return opening_ == 0 || rx_.size() < kReceiveLimit; }

    void ReceiveAll() {
        std::array<char, kChunk> chunk{};
        while (client_ >= 0 && TakesInput()) {
            const ssize_t got = ::recv(client_, chunk.data(), chunk.size(), MSG_DONTWAIT);
            if (got > 0) {
                const auto size = static_cast<std::size_t>(got);
                if (session_) {
                    session_->Receive(chunk.data(), size);
                } else {
                    TelnetData(chunk.data(), size);
                }
                continue;
            }
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got == 0 || errno != EAGAIN) {
                DropClient();
            }
            break;
        }
        Flush();
    }

    void Flush() {
        while (client_ >= 0) {
            if (wire_.empty() && !data_.empty() && !(session_ && session_->Suspended())) {
                if (session_) {
                    session_->SendData(data_.data(), data_.size());
                } else {
                    wire_.swap(data_);
                }
                data_.clear();
            }
            if (wire_.empty()) {
                break;
            }
            const ssize_t sent =
                ::send(client_, wire_.data(), wire_.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (sent > 0) {
                wire_.erase(0, static_cast<std::size_t>(sent));
                continue;
            }
            if (sent < 0 && errno == EINTR) {
                continue;
            }
            // Full (EPOLLOUT comes), or failed (the socket reports it).
            break;
        }
        if (roomAwaited_ && room_ != nullptr && data_.size() + wire_.size() < kSendLimit) {
            roomAwaited_ = false;
            room_->SetEvent();
        }
        UpdateInterest();
    }

    void UpdateInterest() {
        if (client_ < 0) {
            return;
        }
        std::uint32_t wanted = 0;
        if (TakesInput()) {
            wanted |= EPOLLIN | EPOLLRDHUP;
        }
        if (!wire_.empty()) {
            wanted |= EPOLLOUT;
        }
        if (wanted == interest_) {
            return;
        }
        epoll_event event{};
        event.events = wanted;
        event.data.u64 = ClientTag(generation_);
        if (::epoll_ctl(epoll_, EPOLL_CTL_MOD, client_, &event) == 0) {
            interest_ = wanted;
        }
    }

    mutable std::mutex mutex_;
    const TVaNetKind kind_;
    int listener_;
    const int epoll_;
    TVaEvent wake_;
    bool stopping_ = false;

    int client_ = -1;
    std::uint64_t generation_ = 0;
    std::uint32_t interest_ = 0;
    std::unique_ptr<TVaTelnetSession> session_;
    bool lineSet_ = false;
    // The port's bytes not yet encoded, and the encoded ones not yet sent.
    std::string data_;
    std::string wire_;
    bool roomAwaited_ = false; // a write thread waits for room

    std::uint64_t opening_ = 0; // 0 while off
    std::uint64_t openings_ = 0;
    TVaEvent* notify_ = nullptr;
    TVaEvent* room_ = nullptr;
    std::uint32_t eventMask_ = 0;
    std::string rx_;
    std::uint64_t arrived_ = 0;
    std::uint64_t reported_ = 0;
    bool clientChanged_ = false;
    bool lineChanged_ = false;
    // Received while off, and what the present opening discarded of it.
    std::string discarded_;
    std::string discardedAtOpening_;
};

namespace {

// One opening of the network port. Its two flags belong to it, so its
// PollHandle stays the same number for its whole life.
class TVaNetDevice final : public TVaDevice {
public:
    explicit TVaNetDevice(std::shared_ptr<TVaNetCore> core) : core_(std::move(core)) {}
    ~TVaNetDevice() override { Close(); }
    TVaNetDevice(const TVaNetDevice&) = delete;
    TVaNetDevice& operator=(const TVaNetDevice&) = delete;

    int Attach() { return core_->Attach(opening_, notify_, room_); }

    int PollHandle() const override { return notify_.Handle(); }

    void Close() override {
        core_->Detach(opening_);
        // Wakes a write thread that waits for room: its next Write fails.
        room_.SetEvent();
    }

    void SetEventMask(std::uint32_t mask) override { core_->SetEventMask(opening_, mask); }

    // The port's own line settings are checked by the port and kept; a
    // socket has no line to apply them to.
    int Apply(const TVaLineRecord&) override {
        TVaCommStatus status;
        std::uint64_t received = 0;
        return core_->Status(opening_, status, received);
    }

    int Status(TVaCommStatus& status, std::uint64_t& received) override {
        return core_->Status(opening_, status, received);
    }

    int Read(char* buffer, int count, int& got) override {
        return core_->Read(opening_, buffer, count, got);
    }

    int Write(const char* buffer, int count, int& written) override {
        return core_->Write(opening_, buffer, count, written);
    }

    std::uint32_t PendingEvents() override { return core_->PendingEvents(opening_); }

    void MarkReported(std::uint64_t received) override { core_->MarkReported(opening_, received); }

    // A powered controller on a null-modem cable keeps DSR, CTS and DCD up
    // for a client on the line.
    int ModemStatus(std::uint32_t& status) override {
        bool connected = false;
        const int error = core_->ClientConnected(opening_, connected);
        status = connected ? MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON : 0;
        return error;
    }

    std::string TakeDiscarded() override { return core_->TakeDiscarded(opening_); }

    int WaitWritable(int stopHandle) const override {
        for (;;) {
            // Reset before the look, so room made after it sets the flag.
            room_.ResetEvent();
            if (core_->HasRoom(opening_)) {
                return 1;
            }
            const int woken = VaWaitForAny({stopHandle, room_.Handle()}, -1);
            if (woken == 0) {
                return 0;
            }
            if (woken < 0) {
                return -1;
            }
        }
    }

private:
    std::shared_ptr<TVaNetCore> core_;
    std::uint64_t opening_ = 0;
    TVaEvent notify_;
    mutable TVaEvent room_;
};

} // namespace

std::unique_ptr<TVaNetPort> TVaNetPort::Create(const TVaNetAddress& address, int& error) {
    const int listener = Listen(address, error);
    if (listener < 0) {
        return nullptr;
    }
    const int epoll = ::epoll_create1(EPOLL_CLOEXEC);
    if (epoll < 0) {
        error = errno;
        ::close(listener);
        return nullptr;
    }
    try {
        auto core = std::make_shared<TVaNetCore>(address.Kind, listener, epoll);
        if (error = core->Register(); error != 0) {
            return nullptr;
        }
        std::unique_ptr<TVaNetPort> port(new TVaNetPort(address, LocalPort(listener), core));
        port->serving_ = std::thread([core] { core->Run(); });
        return port;
    } catch (const std::system_error& failure) {
        error = failure.code().value();
        return nullptr;
    }
}

TVaNetPort::TVaNetPort(TVaNetAddress address, std::uint16_t boundPort,
                       std::shared_ptr<TVaNetCore> core)
    : address_(std::move(address)), boundPort_(boundPort), core_(std::move(core)) {}

TVaNetPort::~TVaNetPort() {
    core_->Stop();
    if (serving_.joinable()) {
        serving_.join();
    }
    core_->Shutdown();
}

std::shared_ptr<TVaDevice> TVaNetPort::Open(int& error) {
    try {
        auto device = std::make_shared<TVaNetDevice>(core_);
        error = device->Attach();
        return error == 0 ? device : nullptr;
    } catch (const std::system_error& failure) {
        error = failure.code().value();
        return nullptr;
    }
}

TVaNetClient TVaNetPort::Client() const {
    return core_->Client();
}

std::shared_ptr<TVaDevice> TVaNetPorts::Open(const std::string& portName,
                                             const TVaNetAddress& address, int& error) {
    std::unique_ptr<TVaNetPort>& port = ports_[portName];
    if (port && port->Address() != address) {
        port.reset(); // the old address is no longer asked for
    }
    if (!port) {
        port = TVaNetPort::Create(address, error);
        if (!port) {
            ports_.erase(portName);
            return nullptr;
        }
    }
    return port->Open(error);
}

std::optional<TVaNetClient> TVaNetPorts::Client(const std::string& portName) const {
    const auto found = ports_.find(portName);
    if (found == ports_.end()) {
        return std::nullopt;
    }
    return found->second->Client();
}
