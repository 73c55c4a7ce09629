#pragma once

#include "serial/VaConst.h"
#include "serial/VaNetClient.h"
#include "serial/VaPrst.h"
#include "serial/VaResolver.h"
#include "serial/VaTypes.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// The serial port component.
//
// Thread safety: every operation, setter and event handler runs on the window
// thread (the thread that created the port and runs its event loop). While the
// port is open two threads of its own run beside it:
//  - the event thread waits for device events and hands each set over to the
//    window thread synchronously, where the port raises OnRxChar, OnError and
//    the other events: the set goes into the port's inbox under the link's
//    lock, a queued call by name wakes the window thread, and the event
//    thread waits for its own completion flag;
//  - the write thread writes what Write queued, and hands the transmit-queue-
//    empty and write-failure events over through the same inbox without
//    waiting for them, so it never blocks on a window thread that waits for
//    room in the queue.
// Neither thread calls any operation below. Close and the destructor never
// wait for them: what a thread still uses after that (its flags, the write
// queue, the device) it owns jointly, and a hand-over that reaches the window
// thread after Close finds the port detached and raises nothing.

class TVaCommEventThread;
class TVaCommWriteThread;
class TVaDevice;
class TVaVirtualPorts;
class TVaNetPorts;
struct TVaPortLink;

// Every failure raised by the component.
class EVaCommError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The error bits and the device status of one status reading.
struct TVaCommStatus {
    std::uint32_t Errors = 0;  // CE_ line-error bits seen since the previous reading
    std::int32_t InQueue = 0;  // bytes waiting in the receive queue
    std::int32_t OutQueue = 0; // bytes the device has not sent yet
};

// Everything the line settings are built from, as the port holds it.
struct TVaLineSettings {
    TVaBaudrate Baudrate = br1200;
    std::int32_t UserBaudrate = 0;
    TVaParity Parity = paNone;
    bool ParityCheck = false;
    TVaDatabits Databits = db8;
    TVaStopbits Stopbits = sb1;
    TVaCommOptions Options;
    bool OutCtsFlow = false;
    bool OutDsrFlow = false;
    TVaControlDtr ControlDtr = dtrDisabled;
    TVaControlRts ControlRts = rtsDisabled;
    bool XonXoffOut = false;
    bool XonXoffIn = false;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = false;
    char XonChar = 17;
    char XoffChar = 19;
    char ErrorChar = 0;
    char EventChar = 0;
    char EofChar = 0;
    std::int32_t ReadSize = 4096;
};

// Common base of the port component: a QObject, so the port can have a parent
// and be the window-thread target of the hand-overs.
class TVaComponent : public QObject {
public:
    explicit TVaComponent(QObject* parent = nullptr) : QObject(parent) {}
};

class TVaCustomComm : public TVaComponent {
    Q_OBJECT

public:
    using TVaNotifyEvent = std::function<void(TVaCustomComm& Sender)>;
    using TVaCountEvent = std::function<void(TVaCustomComm& Sender, std::int32_t Count)>;
    using TVaErrorEvent = std::function<void(TVaCustomComm& Sender, std::int32_t Errors)>;

    explicit TVaCustomComm(QObject* parent = nullptr);
    ~TVaCustomComm() override;
    TVaCustomComm(const TVaCustomComm&) = delete;
    TVaCustomComm& operator=(const TVaCustomComm&) = delete;

    // Opens the device and starts the threads; throws EVaCommError and then
    // leaves the port closed.
    void Open();
    // Stops both threads without waiting for them and closes the device.
    void Close();
    bool IsOpen() const;

    // All bytes waiting, unchanged; empty when none wait or the port is closed.
    std::string ReadText();
    // True when every byte was queued; an empty text gives true, a non-empty
    // one on a closed port false. Throws sMsgOutputFull after WriteTimeout.
    bool WriteText(std::string_view text);
    // Up to count waiting bytes; 0 when closed.
    int Read(char* buffer, int count);
    // Queues count bytes and gives count; 0 when closed.
    int Write(const char* buffer, int count);
    // Bytes waiting in the receive queue; 0 when closed.
    int InQueueCount();
    // The events (EV_ bits) a thread has handed over that the event loop has
    // not delivered yet; 0 when none. A caller that runs no events, such as a
    // test, tells by it that a hand-over is on its way.
    std::uint32_t HandedOverEvents() const;
    // Reads and clears the line-error bits; all zero when closed.
    TVaCommStatus ReadStatus();
    // The modem lines that are on (MS_ bits); 0 when closed. On the virtual
    // port they are on while a client holds the line; OnRlsd (ceRlsd in
    // MonitorEvents) tells when that changes.
    std::uint32_t ModemStatus();
    // The bytes that had reached the device before the last Open, which the
    // opening discarded unanswered; given once, empty when closed.
    std::string TakeDiscarded();

    // The name handed to the device lookup: DeviceName formatted with PortNum.
    std::string FormattedName() const;
    // Decides which device the formatted name opens, at every Open: the path
    // it gives, the virtual port of that name for kVaVirtualDevice, or the
    // network port listening at a socket:// or rfc2217:// address. Without
    // a resolver the name itself is the path.
    void SetResolver(TVaResolver value) { resolver_ = std::move(value); }
    // The line settings as the properties give them now.
    TVaLineSettings LineSettings() const;
    // The client of the network port the formatted name stands for; nothing
    // when the name has opened none.
    std::optional<TVaNetClient> NetworkClient() const;

    // Properties. DeviceName, PortNum, MonitorEvents and Buffers throw
    // "Can't perform this operation while port is open" while open and keep
    // the old value. The line settings are applied to an open device at once
    // (only when the value changes); a refusal by the device throws and leaves
    // the new value stored.
    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(std::string value);
    int PortNum() const { return portNum_; }
    void SetPortNum(int value);
    TVaBaudrate Baudrate() const { return settings_.Baudrate; }
    void SetBaudrate(TVaBaudrate value);
    std::int32_t UserBaudrate() const { return settings_.UserBaudrate; }
    void SetUserBaudrate(std::int32_t value);
    TVaParity Parity() const { return settings_.Parity; }
    void SetParity(TVaParity value);
    bool ParityCheck() const { return settings_.ParityCheck; }
    void SetParityCheck(bool value);
    TVaDatabits Databits() const { return settings_.Databits; }
    void SetDatabits(TVaDatabits value);
    TVaStopbits Stopbits() const { return settings_.Stopbits; }
    void SetStopbits(TVaStopbits value);
    TVaCommOptions Options() const { return settings_.Options; }
    void SetOptions(TVaCommOptions value);
    TVaCommEvents MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TVaCommEvents value);
    TVaThreadPriority EventPriority() const { return eventPriority_; }
    void SetEventPriority(TVaThreadPriority value) { eventPriority_ = value; }
    TVaThreadPriority WritePriority() const { return writePriority_; }
    void SetWritePriority(TVaThreadPriority value) { writePriority_ = value; }

    TVaFlowControl& FlowControl() { return flowControl_; }
    const TVaFlowControl& FlowControl() const { return flowControl_; }
    void SetFlowControl(const TVaFlowControl& value) { flowControl_.Assign(value); }
    TVaEventChars& EventChars() { return eventChars_; }
    const TVaEventChars& EventChars() const { return eventChars_; }
    void SetEventChars(const TVaEventChars& value) { eventChars_.Assign(value); }
    TVaBuffers& Buffers() { return buffers_; }
    const TVaBuffers& Buffers() const { return buffers_; }
    void SetBuffers(const TVaBuffers& value);

    // Events, raised on the window thread.
    TVaCountEvent OnRxChar;
    TVaErrorEvent OnError;
    TVaNotifyEvent OnRxFlag;
    TVaNotifyEvent OnCts;
    TVaNotifyEvent OnDsr;
    TVaNotifyEvent OnRing;
    TVaNotifyEvent OnRlsd;
    TVaNotifyEvent OnTxEmpty;
    TVaNotifyEvent OnBreak;
    TVaNotifyEvent OnPErr;
    TVaNotifyEvent OnRx80Full;
    TVaNotifyEvent OnEvent1;
    TVaNotifyEvent OnEvent2;
    // The network client set its line; NetworkClient tells the new one.
    TVaNotifyEvent OnClientLine;

    // The application's standard error report: failures raised while events
    // are delivered (by the port or by a handler) end up here; the threads go
    // on. When unset, the message goes to stderr.
    std::function<void(const std::string& komunikat)> RaportBledu;

protected:
    virtual void OpenDevice();
    virtual void StartThreads();
    virtual void DispatchRxChar();
    virtual void DispatchEvents(std::uint32_t events);

private:
    // Called through Qt on the window thread when a thread has handed events
    // over: runs the delivery step for each waiting hand-over.
    Q_INVOKABLE void HandOverArrived();
    // The delivery step of one hand-over.
    void Deliver(std::uint32_t events);
    void ReportFailure(const std::string& message) const;
    // The status of the open device; received as TVaDevice::Status gives it.
    TVaCommStatus DeviceStatus(std::uint64_t& received);
    void ApplyLineSettings();
    void LineSettingChanged();
    void RefuseWhileOpen() const;
    std::uint32_t DeviceEventMask() const;

    std::string deviceName_ = "COM%d";
    int portNum_ = 0;
    TVaLineSettings settings_;
    TVaCommEvents monitorEvents_{ceError, ceRxChar, ceTxEmpty};
    TVaThreadPriority eventPriority_ = tpNormal;
    TVaThreadPriority writePriority_ = tpHighest;
    TVaFlowControl flowControl_;
    TVaEventChars eventChars_;
    TVaBuffers buffers_;

    TVaResolver resolver_;
    // Created at the first Open that needs them, kept for the port's life.
    std::unique_ptr<TVaVirtualPorts> virtualPorts_;
    std::unique_ptr<TVaNetPorts> netPorts_;
    std::shared_ptr<TVaDevice> device_;
    std::shared_ptr<TVaPortLink> link_;
    std::shared_ptr<TVaCommEventThread> eventThread_;
    std::shared_ptr<TVaCommWriteThread> writeThread_;
};

// The same port with every property published; adds no behaviour.
class TVaComm : public TVaCustomComm {
public:
    using TVaCustomComm::TVaCustomComm;
};
