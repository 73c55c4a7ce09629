#include "serial/VaPrst.h"

void TVaFlowControl::Assign(const TVaFlowControl& source) {
    BeginUpdate();
    outCtsFlow_ = source.outCtsFlow_;
    outDsrFlow_ = source.outDsrFlow_;
    controlDtr_ = source.controlDtr_;
    controlRts_ = source.controlRts_;
    xonXoffOut_ = source.xonXoffOut_;
    xonXoffIn_ = source.xonXoffIn_;
    dsrSensitivity_ = source.dsrSensitivity_;
    txContinueOnXoff_ = source.txContinueOnXoff_;
    EndUpdate();
}

void TVaEventChars::Assign(const TVaEventChars& source) {
    BeginUpdate();
    xonChar_ = source.xonChar_;
    xoffChar_ = source.xoffChar_;
    errorChar_ = source.errorChar_;
    eventChar_ = source.eventChar_;
    eofChar_ = source.eofChar_;
    EndUpdate();
}

void TVaBuffers::Assign(const TVaBuffers& source) {
    readTimeout_ = source.readTimeout_;
    writeTimeout_ = source.writeTimeout_;
    if (readSize_ == source.readSize_ && writeSize_ == source.writeSize_) {
        return;
    }
    const std::int32_t oldRead = readSize_;
    const std::int32_t oldWrite = writeSize_;
    readSize_ = source.readSize_;
    writeSize_ = source.writeSize_;
    try {
        Changed();
    } catch (...) {
        readSize_ = oldRead;
        writeSize_ = oldWrite;
        throw;
    }
}

void TVaBuffers::StoreSize(std::int32_t& field, std::int32_t value) {
    value = NonNegative(value);
    if (field == value) {
        return;
    }
    const std::int32_t old = field;
    field = value;
    try {
        Changed();
    } catch (...) {
        field = old;
        throw;
    }
}
