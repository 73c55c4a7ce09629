#include "dane/MapaPortow.h"
#include "dane/OpisKlienta.h"

#include "serial/VaResolver.h"
#include "tests/wspolne/UstawieniaTestowe.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string Dom = QDir::homePath().toStdString();

struct Przypadek {
    const char* opis;
    const char* port;
    std::optional<QString> uzytkownika; // no key when empty
    std::optional<QString> systemowy;
    std::string urzadzenie;
};

const Przypadek Przypadki[] = {
    {"defaults: COM1 is the virtual port", "COM1", {}, {}, kVaVirtualDevice},
    {"defaults: COM2 is the first UART", "COM2", {}, {}, "/dev/ttyS0"},
    {"the system file names a device", "COM2", {}, "/dev/ttyUSB3", "/dev/ttyUSB3"},
    {"the user's file overrides it", "COM2", "/dev/ttyACM0", "/dev/ttyUSB3", "/dev/ttyACM0"},
    {"the user's virtual port overrides it", "COM1", "virtual", "/dev/ttyS1", kVaVirtualDevice},
    {"an empty user value names nothing", "COM1", "", "/dev/ttyS1", "/dev/ttyS1"},
    {"blanks around the value", "COM2", "  /dev/ttyUSB0 ", {}, "/dev/ttyUSB0"},
    {"~/ in the user's file", "COM2", "~/parvolen-plc", {}, Dom + "/parvolen-plc"},
    {"~/ in the system file", "COM1", {}, "~/plc", Dom + "/plc"},
    {"~ of another user stays", "COM1", "~ktos/plc", {}, "~ktos/plc"},
    {"a ~ inside the path stays", "COM1", "/tmp/~/plc", {}, "/tmp/~/plc"},
    {"a network address as it stands",
     "COM1",
     " rfc2217://127.0.0.1:2217",
     {},
     "rfc2217://127.0.0.1:2217"},
};

void PrintTo(const Przypadek& p, std::ostream* os) {
    *os << p.opis;
}

class MapaPortowTest : public ::testing::TestWithParam<Przypadek> {
protected:
    UstawieniaTestowe ustawienia_;
};

TEST_P(MapaPortowTest, DeviceOfThePortName) {
    const Przypadek& p = GetParam();
    const QString klucz = QStringLiteral("Ports/") + p.port;
    if (p.uzytkownika) {
        ustawienia_.Zapisz(QSettings::UserScope, klucz, *p.uzytkownika);
    }
    if (p.systemowy) {
        ustawienia_.Zapisz(QSettings::SystemScope, klucz, *p.systemowy);
    }
    // The other name mapped in both files must not matter.
    const QString inny =
        QStringLiteral("Ports/") + (std::string(p.port) == "COM1" ? "COM2" : "COM1");
    ustawienia_.Zapisz(QSettings::UserScope, inny, "/dev/inny-uzytkownika");
    ustawienia_.Zapisz(QSettings::SystemScope, inny, "/dev/inny-systemowy");
    EXPECT_EQ(UrzadzeniePortu(p.port), p.urzadzenie);
}

INSTANTIATE_TEST_SUITE_P(Przypadki, MapaPortowTest, ::testing::ValuesIn(Przypadki),
                         [](const auto& przypadek) {
                             return "case" + std::to_string(przypadek.index);
                         });

TEST(ZapisMapyPortow, StoresInTheUserFileOnlyAndIsReadAtOnce) {
    const UstawieniaTestowe ustawienia;
    ustawienia.Zapisz(QSettings::SystemScope, "Ports/COM1", "/dev/ttyS1");
    ZapiszUrzadzeniePortu("COM1", "/dev/ttyUSB0");
    EXPECT_EQ(UrzadzeniePortu("COM1"), "/dev/ttyUSB0");
    EXPECT_EQ(ustawienia.Czytaj(QSettings::UserScope, "Ports/COM1"), "/dev/ttyUSB0");
    EXPECT_EQ(ustawienia.Czytaj(QSettings::SystemScope, "Ports/COM1"), "/dev/ttyS1");

    // Kept as given: "~" is expanded when it is read, so the file follows
    // the home directory.
    ZapiszUrzadzeniePortu("COM1", "~/plc");
    EXPECT_EQ(ustawienia.Czytaj(QSettings::UserScope, "Ports/COM1"), "~/plc");
    EXPECT_EQ(UrzadzeniePortu("COM1"), Dom + "/plc");
    ZapiszUrzadzeniePortu("COM1", kVaVirtualDevice);
    EXPECT_EQ(UrzadzeniePortu("COM1"), kVaVirtualDevice);
}

TEST(ZapisMapyPortow, AFileThatCannotBeWrittenThrowsWithItsName) {
    const UstawieniaTestowe ustawienia;
    // A plain file where the folder of the settings should be: no folder can
    // be made under it, whoever runs the test.
    const QString zablokowany = ustawienia.Katalog(QSettings::SystemScope) + "/plik";
    QFile plik(zablokowany);
    ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
    plik.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, zablokowany);
    try {
        ZapiszUrzadzeniePortu("COM2", "/dev/ttyUSB0");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write to " + zablokowany.toStdString() + "/Orvanta/Parvolen.conf");
    }
    EXPECT_EQ(UrzadzeniePortu("COM2"), "/dev/ttyS0");
}

TEST(OpisMapyPortow, TheVirtualPortIsDescribedByItsLink) {
    const UstawieniaTestowe ustawienia;
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4321", 1);
    EXPECT_EQ(OpisUrzadzeniaPortu("COM1"), "port wirtualny, /run/user/4321/parvolen/COM1");
    ustawienia.Zapisz(QSettings::UserScope, "Ports/COM2", "virtual");
    EXPECT_EQ(OpisUrzadzeniaPortu("COM2"), "port wirtualny, /run/user/4321/parvolen/COM2");
    ustawienia.Zapisz(QSettings::UserScope, "Ports/COM1", "/dev/ttyUSB0");
    EXPECT_EQ(OpisUrzadzeniaPortu("COM1"), "/dev/ttyUSB0");
    ustawienia.Zapisz(QSettings::UserScope, "Ports/COM1", "socket://0.0.0.0:4001");
    EXPECT_EQ(OpisUrzadzeniaPortu("COM1"), "sieć TCP, 0.0.0.0:4001");
    ustawienia.Zapisz(QSettings::UserScope, "Ports/COM2", "rfc2217://[::1]:2217");
    EXPECT_EQ(OpisUrzadzeniaPortu("COM2"), "sieć RFC 2217, [::1]:2217");
}

TEST(NiezgodnoscKlienta, NamesTheClientsLineOnlyWhenItDiffers) {
    TVaLineSettings sterownik;
    sterownik.Baudrate = br9600;
    sterownik.Databits = db7;
    sterownik.Parity = paEven;
    sterownik.Stopbits = sb2;
    struct KlientILinia {
        const char* opis;
        std::optional<TVaNetClient> klient;
        std::string tekst;
    };
    const TVaClientLine n81{9600, 8, 1, 1};
    const TVaClientLine szybki{19200, 8, 1, 1};
    const std::vector<KlientILinia> przypadki{
        {"no network client", std::nullopt, ""},
        {"a raw client sets nothing", TVaNetClient{true, false, n81}, ""},
        {"the controller's own line", TVaNetClient{true, true, TVaClientLine{}}, ""},
        {"another frame", TVaNetClient{true, true, n81},
         "Klient ustawił 8N1, sterownik pracuje na 7E2"},
        {"another rate too", TVaNetClient{true, true, szybki},
         "Klient ustawił 19200 8N1, sterownik pracuje na 9600 7E2"},
    };
    for (const KlientILinia& p : przypadki) {
        EXPECT_EQ(NiezgodnoscKlienta(p.klient, sterownik), p.tekst) << p.opis;
    }
}

} // namespace
