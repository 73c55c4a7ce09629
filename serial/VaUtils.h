#pragma once

#include "serial/VaTypes.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Text and platform helpers of the port.
//
// Thread safety: VaFill, VaFormatDeviceName, VaSystemMessage and
// VaSetThreadPriority may be called from any thread; VaResolveDevicePath reads
// the system settings and belongs to the window thread.

// Fills the placeholders %s and %d of a message, in order, with the given
// texts; "%%" gives "%". Placeholders without a text are left out.
std::string VaFill(std::string_view format, std::initializer_list<std::string_view> args);

// The device name: a DeviceName with at most one integer placeholder (%d or
// %i; "%%" is a percent sign) filled with the port number. Other % sequences
// are kept as they stand, so a name never reads arguments it was not given.
std::string VaFormatDeviceName(std::string_view format, int portNum);

// The system's text for an errno code.
std::string VaSystemMessage(int code);

// The device path for a port name: key Ports/<name> of the system settings
// (Orvanta/Parvolen); without it COMn is /dev/ttyS(n-1) and any other name is
// taken as the path itself.
std::string VaResolveDevicePath(const std::string& name);

// Asks the scheduler to run the calling thread at the given priority. Raising
// it needs privileges that a desktop user lacks: the request is then ignored.
void VaSetThreadPriority(TVaThreadPriority priority);
