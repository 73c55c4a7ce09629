#pragma once

#include <exception>
#include <string_view>

// The application's standard error report: a critical message box with the
// failure's message, over the active window. Window thread only.
void RaportBledu(std::string_view komunikat);

// Runs a handler so that a failure stops only that handler: it is reported and
// the event loop goes on. Every window, dialog and host-link handler runs
// through here, since no exception may leave a Qt slot.
template <class Handler> void Bezpiecznie(Handler&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& e) {
        RaportBledu(e.what());
    } catch (...) {
        RaportBledu("Unknown exception");
    }
}

// A slot that runs obiekt->metoda() through Bezpiecznie.
template <class Obiekt> auto BezpiecznySlot(Obiekt* obiekt, void (Obiekt::*metoda)()) {
    return [obiekt, metoda] { Bezpiecznie([obiekt, metoda] { (obiekt->*metoda)(); }); };
}
