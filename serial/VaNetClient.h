#pragma once

#include "serial/VaComPortOption.h"

// What the port shows of its network client.
struct TVaNetClient {
    bool Connected = false;
    // Set when an RFC 2217 client asked for its own line settings.
    bool LineSet = false;
    TVaClientLine Line;
};
