#pragma once

#include <optional>
#include <string>

// The number of the checked COM button, as "Numer portu" stores it: 1, 2, or
// none.
std::optional<int> NumerWybranegoPortu(bool com1Zaznaczony, bool com2Zaznaczony);

// The name port number 1 or 2 goes by in the serial port, the port map and
// the messages: "COM1", "COM2"; empty for any other number.
std::string NazwaPortu(int numer);

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
