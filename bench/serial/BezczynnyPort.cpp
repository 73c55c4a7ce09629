// The port left open on its virtual port with nobody on the link, for the
// given number of seconds: what a switched-on simulator does while no
// programming software is connected. bezczynny.sh reads its CPU time.
#include "serial/VaComm.h"
#include "tests/wspolne/KatalogTymczasowy.h"
#include "tests/wspolne/PtyLine.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const QCoreApplication aplikacja(argc, argv);
    const int sekundy = argc > 1 ? std::atoi(argv[1]) : 12;
    const plc::test::KatalogTymczasowy katalog;
    ::setenv("XDG_RUNTIME_DIR", katalog.sciezka().c_str(), 1);

    TVaComm port;
    port.SetDeviceName("COM1");
    port.SetResolver([](const std::string&) { return std::string(kVaVirtualDevice); });
    SetControllerLine(port);
    port.OnRxChar = [](TVaCustomComm& nadawca, std::int32_t) { nadawca.ReadText(); };
    port.Open();
    std::cout << "open on " << VaVirtualLinkPath("COM1") << std::endl;
    QTimer::singleShot(std::chrono::seconds(sekundy), &aplikacja, &QCoreApplication::quit);
    return QCoreApplication::exec();
}
