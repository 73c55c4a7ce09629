#pragma once

#include <optional>

// What the main window does when the COM 1 / COM 2 choice changes:
//
//     const auto d = DecyzjaZmianyPortu(RadioButton1->isChecked(),
//                                       RadioButton2->isChecked(), ComPort.IsOpen());
//     if (d.numerPortu) write "Opcje okna" / "Numer portu" = *d.numerPortu;
//     if (d.wylaczSymulator) { ZamknijPort(); information box KomunikatPortZamkniety; }
//
// The device name is left alone: the switch button sets it before the next
// switch-on.
struct ZmianaPortu {
    std::optional<int> numerPortu; // value for "Numer portu", when a button is checked
    bool wylaczSymulator = false;  // the port was open: switch off and say so
};

ZmianaPortu DecyzjaZmianyPortu(bool com1Zaznaczony, bool com2Zaznaczony, bool portOtwarty);

inline constexpr char KomunikatPortZamkniety[] = "Aktualnie otwarty port został zamknięty.";
