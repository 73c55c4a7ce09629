#pragma once

#include "serial/VaComm.h"

#include <optional>
#include <string>

// How a network client's line compares with the controller's, in Polish for
// the COMM lamp's hint and the port dialog: "Klient ustawił 8N1, sterownik
// pracuje na 7E2", with the rates too when they differ. A controller would
// not understand such a client on a real line; here the bytes pass anyway,
// so the user is told rather than refused. Empty when there is no client,
// it set no line of its own, or it set the controller's.
std::string NiezgodnoscKlienta(const std::optional<TVaNetClient>& klient,
                               const TVaLineSettings& port);
