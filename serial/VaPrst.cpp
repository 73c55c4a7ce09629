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
    StoreSizes(source.readSize_, source.writeSize_);
}

void TVaBuffers::StoreSizes(std::int32_t readSize, std::int32_t writeSize) {
    if (readSize_ == readSize && writeSize_ == writeSize) {
        return;
    }
    const std::int32_t oldRead = readSize_;
    const std::int32_t oldWrite = writeSize_;
    readSize_ = readSize;
    writeSize_ = writeSize;
    try {
        Changed();
    } catch (...) {
        readSize_ = oldRead;
        writeSize_ = oldWrite;
        throw;
    }
}
