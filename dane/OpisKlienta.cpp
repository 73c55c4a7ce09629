#include "dane/OpisKlienta.h"

#include "serial/VaNetPort.h"

std::string NiezgodnoscKlienta(const std::optional<TVaNetClient>& klient,
                               const TVaLineSettings& port) {
    if (!klient || !klient->LineSet) {
        return {};
    }
    const TVaClientLine& jego = klient->Line;
    const TVaClientLine nasza = VaPortLine(port);
    if (jego == nasza) {
        return {};
    }
    if (jego.Baudrate == nasza.Baudrate) {
        return "Klient ustawił " + VaFrameName(jego) + ", sterownik pracuje na " +
               VaFrameName(nasza);
    }
    return "Klient ustawił " + VaLineName(jego) + ", sterownik pracuje na " + VaLineName(nasza);
}
