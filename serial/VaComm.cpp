#include "serial/VaComm.h"

#include "serial/VaDevice.h"
#include "serial/VaNetPort.h"
#include "serial/VaTerminal.h"
#include "serial/VaThreads.h"
#include "serial/VaUtils.h"
#include "serial/VaVirtualPort.h"

#include <cerrno>
#include <climits>
#include <iostream>
#include <optional>
#include <utility>

namespace {

[[noreturn]] void Raise(const char* format, int code) {
    throw EVaCommError(VaFill(format, {std::to_string(code), VaSystemMessage(code)}));
}

} // namespace

TVaCustomComm::TVaCustomComm(QObject* parent)
    : TVaComponent(parent), virtualPorts_(std::make_unique<TVaVirtualPorts>()),
      netPorts_(std::make_unique<TVaNetPorts>()) {
    flowControl_.SetOnChanged([this] { LineSettingChanged(); });
    eventChars_.SetOnChanged([this] { LineSettingChanged(); });
    buffers_.SetOnChanged([this] { RefuseWhileOpen(); });
}

TVaCustomComm::~TVaCustomComm() {
    Close();
}

bool TVaCustomComm::IsOpen() const {
    return device_ != nullptr;
}

std::string TVaCustomComm::FormattedName() const {
    return VaFormatDeviceName(deviceName_, portNum_);
}

TVaLineSettings TVaCustomComm::LineSettings() const {
    TVaLineSettings line = settings_;
    line.OutCtsFlow = flowControl_.OutCtsFlow();
    line.OutDsrFlow = flowControl_.OutDsrFlow();
    line.ControlDtr = flowControl_.ControlDtr();
    line.ControlRts = flowControl_.ControlRts();
    line.XonXoffOut = flowControl_.XonXoffOut();
    line.XonXoffIn = flowControl_.XonXoffIn();
    line.DsrSensitivity = flowControl_.DsrSensitivity();
    line.TxContinueOnXoff = flowControl_.TxContinueOnXoff();
    line.XonChar = eventChars_.XonChar();
    line.XoffChar = eventChars_.XoffChar();
    line.ErrorChar = eventChars_.ErrorChar();
    line.EventChar = eventChars_.EventChar();
    line.EofChar = eventChars_.EofChar();
    line.ReadSize = buffers_.ReadSize();
    return line;
}

std::optional<TVaNetClient> TVaCustomComm::NetworkClient() const {
    return netPorts_->Client(FormattedName());
}

void TVaCustomComm::Open() {
    if (IsOpen()) {
        throw EVaCommError(sMsgPortOpen);
    }
    OpenDevice();
    try {
        ApplyLineSettings();
        device_->SetEventMask(DeviceEventMask());
        StartThreads();
    } catch (...) {
        Close();
        throw;
    }
}

void TVaCustomComm::OpenDevice() {
    const std::string name = FormattedName();
    const std::string device = resolver_ ? resolver_(name) : name;
    int error = 0;
    if (VaIsNetworkDevice(device)) {
        const std::optional<TVaNetAddress> address = VaParseNetAddress(device);
        error = EINVAL;
        device_ = address ? netPorts_->Open(name, *address, error) : nullptr;
    } else {
        netPorts_->Forget(name);
        device_ = device == kVaVirtualDevice ? virtualPorts_->Open(name, error)
                                             : TVaTerminal::Open(device, error);
    }
    if (device_ == nullptr) {
        throw EVaCommError(
            VaFill(sMsgOpenError, {name, std::to_string(error), VaSystemMessage(error)}));
    }
}

void TVaCustomComm::StartThreads() {
    try {
        link_ = std::make_shared<TVaPortLink>(*this);
        if (DeviceEventMask() != 0) {
            eventThread_ = std::make_shared<TVaCommEventThread>(link_, device_, eventPriority_);
            eventThread_->Start();
        }
        writeThread_ = std::make_shared<TVaCommWriteThread>(link_, device_, buffers_.WriteSize(),
                                                            writePriority_);
        writeThread_->Start();
    } catch (const std::exception& failure) {
        // Out of threads or descriptors: the port's own kind of failure.
        throw EVaCommError(failure.what());
    }
}

void TVaCustomComm::Close() {
    if (!IsOpen()) {
        return;
    }
    if (eventThread_) {
        eventThread_->Stop();
    }
    if (writeThread_) {
        writeThread_->Stop();
    }
    if (link_) {
        link_->Detach();
    }
    eventThread_.reset();
    writeThread_.reset();
    link_.reset();
    device_->Close();
    device_.reset();
}

std::uint32_t TVaCustomComm::DeviceEventMask() const {
    static constexpr std::uint32_t kEvents[] = {
        EV_BREAK,   EV_CTS,    EV_DSR,  EV_ERR,      EV_RING,   EV_RLSD,  EV_RXCHAR,
        EV_TXEMPTY, EV_RXFLAG, EV_PERR, EV_RX80FULL, EV_EVENT1, EV_EVENT2};
    std::uint32_t mask = 0;
    for (std::size_t event = 0; event < std::size(kEvents); ++event) {
        if (monitorEvents_.Contains(static_cast<TVaCommEvent>(event))) {
            mask |= kEvents[event];
        }
    }
    // The write thread reports the emptying of its queue itself.
    return mask & ~EV_TXEMPTY;
}

void TVaCustomComm::ApplyLineSettings() {
    const std::optional<TVaLineRecord> record = VaMakeLineRecord(LineSettings());
    if (!record) {
        Raise(sMsgDcbError, EINVAL);
    }
    if (const int error = device_->Apply(*record); error != 0) {
        Raise(sMsgDcbError, error);
    }
}

void TVaCustomComm::LineSettingChanged() {
    if (IsOpen()) {
        ApplyLineSettings();
    }
}

void TVaCustomComm::RefuseWhileOpen() const {
    if (IsOpen()) {
        throw EVaCommError(sMsgPortOpen);
    }
}

TVaCommStatus TVaCustomComm::DeviceStatus(std::uint64_t& received) {
    TVaCommStatus status;
    if (const int error = device_->Status(status, received); error != 0) {
        Raise(sMsgStatusError, error);
    }
    return status;
}

TVaCommStatus TVaCustomComm::ReadStatus() {
    std::uint64_t received = 0;
    return IsOpen() ? DeviceStatus(received) : TVaCommStatus{};
}

std::uint32_t TVaCustomComm::ModemStatus() {
    std::uint32_t status = 0;
    if (IsOpen()) {
        if (const int error = device_->ModemStatus(status); error != 0) {
            Raise(sMsgStatusError, error);
        }
    }
    return status;
}

std::string TVaCustomComm::TakeDiscarded() {
    return IsOpen() ? device_->TakeDiscarded() : std::string();
}

int TVaCustomComm::InQueueCount() {
    return ReadStatus().InQueue;
}

std::uint32_t TVaCustomComm::HandedOverEvents() const {
    return link_ ? link_->WaitingEvents() : 0;
}

int TVaCustomComm::Read(char* buffer, int count) {
    if (!IsOpen() || count <= 0) {
        return 0;
    }
    int got = 0;
    if (const int error = device_->Read(buffer, count, got); error != 0) {
        Raise(sMsgReadError, error);
    }
    return got;
}

std::string TVaCustomComm::ReadText() {
    const int waiting = InQueueCount();
    if (waiting <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(waiting), '\0');
    text.resize(static_cast<std::size_t>(Read(text.data(), waiting)));
    return text;
}

int TVaCustomComm::Write(const char* buffer, int count) {
    if (!IsOpen() || count <= 0) {
        return 0;
    }
    if (!writeThread_->QueueBytes(buffer, count, buffers_.WriteTimeout())) {
        throw EVaCommError(sMsgOutputFull);
    }
    return count;
}

bool TVaCustomComm::WriteText(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        if (IsOpen()) {
            throw EVaCommError(sMsgOutputFull);
        }
        return false;
    }
    const int count = static_cast<int>(text.size());
    return Write(text.data(), count) == count;
}

void TVaCustomComm::HandOverArrived() {
    TVaHandOver next;
    // A handler may close the port (and drop the rest) or even open it again.
    while (link_ && link_->TakeNext(next)) {
        Deliver(next.Events);
        if (next.Done) {
            next.Done->Set();
        }
    }
}

void TVaCustomComm::Deliver(std::uint32_t events) {
    try {
        if ((events & EV_RXCHAR) != 0) {
            DispatchRxChar();
            events &= ~EV_RXCHAR;
        }
        if (events != 0) {
            DispatchEvents(events);
        }
    } catch (const std::exception& failure) {
        ReportFailure(failure.what());
    } catch (...) {
        ReportFailure("Unknown failure while handling a serial port event");
    }
}

void TVaCustomComm::DispatchRxChar() {
    if (!IsOpen()) {
        return;
    }
    std::uint64_t received = 0;
    const TVaCommStatus status = DeviceStatus(received);
    // Bytes counted here are reported now; only later arrivals wake the event
    // thread for another OnRxChar.
    device_->MarkReported(received);
    if (status.InQueue > 0 && OnRxChar) {
        OnRxChar(*this, status.InQueue);
    }
}

void TVaCustomComm::DispatchEvents(std::uint32_t events) {
    if ((events & EV_ERR) != 0) {
        const TVaCommStatus status = ReadStatus();
        if (status.Errors != 0 && OnError) {
            try {
                OnError(*this, static_cast<std::int32_t>(status.Errors));
            } catch (const std::exception& failure) {
                ReportFailure(failure.what());
            } catch (...) {
                ReportFailure("Unknown failure while handling a serial line error");
            }
        }
    }
    const std::pair<std::uint32_t, TVaNotifyEvent*> notifications[] = {
        {EV_RXFLAG, &OnRxFlag}, {EV_CTS, &OnCts},       {EV_DSR, &OnDsr},
        {EV_RING, &OnRing},     {EV_RLSD, &OnRlsd},     {EV_TXEMPTY, &OnTxEmpty},
        {EV_BREAK, &OnBreak},   {EV_PERR, &OnPErr},     {EV_RX80FULL, &OnRx80Full},
        {EV_EVENT1, &OnEvent1}, {EV_EVENT2, &OnEvent2}, {EV_CLIENTLINE, &OnClientLine}};
    for (const auto& [bit, handler] : notifications) {
        if ((events & bit) != 0 && *handler) {
            (*handler)(*this);
        }
    }
}

void TVaCustomComm::ReportFailure(const std::string& message) const {
    if (RaportBledu) {
        try {
            RaportBledu(message);
            return;
        } catch (...) {
            // A report that fails itself falls back to stderr below.
        }
    }
    std::cerr << message << '\n';
}

void TVaCustomComm::SetDeviceName(std::string value) {
    RefuseWhileOpen();
    deviceName_ = std::move(value);
}

void TVaCustomComm::SetPortNum(int value) {
    RefuseWhileOpen();
    portNum_ = value < 0 ? 0 : value;
}

void TVaCustomComm::SetBaudrate(TVaBaudrate value) {
    if (value == settings_.Baudrate) {
        return;
    }
    settings_.Baudrate = value;
    if (value != brUser) {
        settings_.UserBaudrate = 0;
    }
    LineSettingChanged();
}

void TVaCustomComm::SetUserBaudrate(std::int32_t value) {
    if (value == settings_.UserBaudrate) {
        return;
    }
    settings_.UserBaudrate = value;
    settings_.Baudrate = brUser;
    LineSettingChanged();
}

void TVaCustomComm::SetParity(TVaParity value) {
    if (value != settings_.Parity) {
        settings_.Parity = value;
        LineSettingChanged();
    }
}

void TVaCustomComm::SetParityCheck(bool value) {
    if (value != settings_.ParityCheck) {
        settings_.ParityCheck = value;
        LineSettingChanged();
    }
}

void TVaCustomComm::SetDatabits(TVaDatabits value) {
    if (value != settings_.Databits) {
        settings_.Databits = value;
        LineSettingChanged();
    }
}

void TVaCustomComm::SetStopbits(TVaStopbits value) {
    if (value != settings_.Stopbits) {
        settings_.Stopbits = value;
        LineSettingChanged();
    }
}

void TVaCustomComm::SetOptions(TVaCommOptions value) {
    if (value != settings_.Options) {
        settings_.Options = value;
        LineSettingChanged();
    }
}

void TVaCustomComm::SetMonitorEvents(TVaCommEvents value) {
    RefuseWhileOpen();
    monitorEvents_ = value;
}

void TVaCustomComm::SetBuffers(const TVaBuffers& value) {
    RefuseWhileOpen();
    buffers_.Assign(value);
}
