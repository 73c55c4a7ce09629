#pragma once

#include <cstdint>

// Messages of the port's failures (EVaCommError) and the device event and
// line-error bits. The bits keep the values of the original comm interface, so
// OnError handlers and stored masks mean the same on every platform.

inline constexpr const char* sMsgPortOpen = "Can't perform this operation while port is open";
inline constexpr const char* sMsgOpenError = "Unable to open specified device %s (%d), %s";
inline constexpr const char* sMsgDcbError = "Error writing dcb (%d), %s";
inline constexpr const char* sMsgBuffersError = "Error initializing buffers (%d), %s";
inline constexpr const char* sMsgTimeoutsError = "Error setting timeouts (%d), %s";
inline constexpr const char* sMsgEventMaskError = " Error setting EventMask (%d), %s";
inline constexpr const char* sMsgStatusError = "Error retrieving statistics (%d), %s";
inline constexpr const char* sMsgReadError = "Read error (%d), %s";
inline constexpr const char* sMsgOutputFull = "Output buffer is full. Please check comm status.";

// Device events (event bits handed from the threads to DispatchEvents).
inline constexpr std::uint32_t EV_RXCHAR = 0x0001;
inline constexpr std::uint32_t EV_RXFLAG = 0x0002;
inline constexpr std::uint32_t EV_TXEMPTY = 0x0004;
inline constexpr std::uint32_t EV_CTS = 0x0008;
inline constexpr std::uint32_t EV_DSR = 0x0010;
inline constexpr std::uint32_t EV_RLSD = 0x0020;
inline constexpr std::uint32_t EV_BREAK = 0x0040;
inline constexpr std::uint32_t EV_ERR = 0x0080;
inline constexpr std::uint32_t EV_RING = 0x0100;
inline constexpr std::uint32_t EV_PERR = 0x0200;
inline constexpr std::uint32_t EV_RX80FULL = 0x0400;
inline constexpr std::uint32_t EV_EVENT1 = 0x0800;
inline constexpr std::uint32_t EV_EVENT2 = 0x1000;

// Not an event of the original interface: the network client set its line.
// Reported whatever the event mask, and raised as OnClientLine.
inline constexpr std::uint32_t EV_CLIENTLINE = 0x10000;

// Line-error bits (the Errors argument of OnError, TVaCommStatus::Errors).
inline constexpr std::uint32_t CE_RXOVER = 0x0001;
inline constexpr std::uint32_t CE_OVERRUN = 0x0002;
inline constexpr std::uint32_t CE_RXPARITY = 0x0004;
inline constexpr std::uint32_t CE_FRAME = 0x0008;
inline constexpr std::uint32_t CE_BREAK = 0x0010;

// Modem-line bits of a status reading (TVaCustomComm::ModemStatus).
inline constexpr std::uint32_t MS_CTS_ON = 0x0010;
inline constexpr std::uint32_t MS_DSR_ON = 0x0020;
inline constexpr std::uint32_t MS_RING_ON = 0x0040;
inline constexpr std::uint32_t MS_RLSD_ON = 0x0080;
