#pragma once

#include "serial/VaClasses.h"
#include "serial/VaTypes.h"

#include <cstdint>

// The port's setting groups. A setter of TVaFlowControl or of a TVaBuffers size
// stores only a changed value and then notifies the port; a TVaEventChars
// setter stores and notifies every time. The time limits of TVaBuffers are
// stored without notification. Assign copies a whole group and notifies once.
//
// Thread safety: window thread only. The threads get copies of what they need
// when the port starts them.

class TVaFlowControl : public TVaPersistent {
public:
    bool OutCtsFlow() const { return outCtsFlow_; }
    void SetOutCtsFlow(bool value) { Store(outCtsFlow_, value); }
    bool OutDsrFlow() const { return outDsrFlow_; }
    void SetOutDsrFlow(bool value) { Store(outDsrFlow_, value); }
    TVaControlDtr ControlDtr() const { return controlDtr_; }
    void SetControlDtr(TVaControlDtr value) { Store(controlDtr_, value); }
    TVaControlRts ControlRts() const { return controlRts_; }
    void SetControlRts(TVaControlRts value) { Store(controlRts_, value); }
    bool XonXoffOut() const { return xonXoffOut_; }
    void SetXonXoffOut(bool value) { Store(xonXoffOut_, value); }
    bool XonXoffIn() const { return xonXoffIn_; }
    void SetXonXoffIn(bool value) { Store(xonXoffIn_, value); }
    bool DsrSensitivity() const { return dsrSensitivity_; }
    void SetDsrSensitivity(bool value) { Store(dsrSensitivity_, value); }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }
    void SetTxContinueOnXoff(bool value) { Store(txContinueOnXoff_, value); }

    void Assign(const TVaFlowControl& source);

private:
    template <typename T> void Store(T& field, T value) {
        if (field != value) {
            field = value;
            Changed();
        }
    }

    bool outCtsFlow_ = false;
    bool outDsrFlow_ = false;
    TVaControlDtr controlDtr_ = dtrDisabled;
    TVaControlRts controlRts_ = rtsDisabled;
    bool xonXoffOut_ = false;
    bool xonXoffIn_ = false;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = false;
};

class TVaEventChars : public TVaPersistent {
public:
    char XonChar() const { return xonChar_; }
    void SetXonChar(char value) { Store(xonChar_, value); }
    char XoffChar() const { return xoffChar_; }
    void SetXoffChar(char value) { Store(xoffChar_, value); }
    char ErrorChar() const { return errorChar_; }
    void SetErrorChar(char value) { Store(errorChar_, value); }
    char EventChar() const { return eventChar_; }
    void SetEventChar(char value) { Store(eventChar_, value); }
    char EofChar() const { return eofChar_; }
    void SetEofChar(char value) { Store(eofChar_, value); }

    void Assign(const TVaEventChars& source);

private:
    void Store(char& field, char value) {
        field = value;
        Changed();
    }

    char xonChar_ = 17;
    char xoffChar_ = 19;
    char errorChar_ = 0;
    char eventChar_ = 0;
    char eofChar_ = 0;
};

// Sizes in bytes, time limits in milliseconds; each 0 to 2147483647 (a
// negative value is taken as 0). The port refuses a size change while open,
// and then the old value stays.
class TVaBuffers : public TVaPersistent {
public:
    std::int32_t ReadSize() const { return readSize_; }
    void SetReadSize(std::int32_t value) { StoreSizes(NonNegative(value), writeSize_); }
    std::int32_t WriteSize() const { return writeSize_; }
    void SetWriteSize(std::int32_t value) { StoreSizes(readSize_, NonNegative(value)); }
    std::int32_t ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(std::int32_t value) { readTimeout_ = NonNegative(value); }
    std::int32_t WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(std::int32_t value) { writeTimeout_ = NonNegative(value); }

    void Assign(const TVaBuffers& source);

private:
    static std::int32_t NonNegative(std::int32_t value) { return value < 0 ? 0 : value; }
    // Stores changed sizes and notifies the port; a refusal restores both.
    void StoreSizes(std::int32_t readSize, std::int32_t writeSize);

    std::int32_t readSize_ = 4096;
    std::int32_t writeSize_ = 2048;
    std::int32_t readTimeout_ = 1000;
    std::int32_t writeTimeout_ = 1000;
};
