#pragma once

#include "serial/VaTypes.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Text and platform helpers of the port.
//
// Thread safety: every function here may be called from any thread.

// Fills the placeholders %s and %d of a message, in order, with the given
// texts; "%%" gives "%". Placeholders without a text are left out.
std::string VaFill(std::string_view format, std::initializer_list<std::string_view> args);

// The device name: a DeviceName with at most one integer placeholder (%d or
// %i; "%%" is a percent sign) filled with the port number. Other % sequences
// are kept as they stand, so a name never reads arguments it was not given.
std::string VaFormatDeviceName(std::string_view format, int portNum);

// The system's text for an errno code.
std::string VaSystemMessage(int code);

// Asks the scheduler to run the calling thread at the given priority. Raising
// it needs privileges that a desktop user lacks: the request is then ignored.
void VaSetThreadPriority(TVaThreadPriority priority);
