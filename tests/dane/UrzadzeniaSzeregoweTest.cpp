#include "dane/UrzadzeniaSzeregowe.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lista = std::vector<std::string>;

// A root with /dev and /sys laid out as the kernel would, from plain files:
// the listing looks at names and sysfs, not at the nodes themselves.
class FalszywyKorzen {
public:
    fs::path Korzen() const { return katalog_.path().toStdString(); }
    void Wezel(const std::string& nazwa) const {
        fs::create_directories(Korzen() / "dev");
        std::ofstream(Korzen() / "dev" / nazwa);
    }
    // A ttyS line as the serial core publishes it; type 0 is a line with no
    // UART behind it.
    void LiniaSzeregowa(const std::string& nazwa, std::optional<int> typ) const {
        Wezel(nazwa);
        const fs::path wpis = Korzen() / "sys/class/tty" / nazwa;
        fs::create_directories(wpis / "device");
        if (typ) {
            std::ofstream(wpis / "type") << *typ << "\n";
        }
    }
    void PoIdentyfikatorze(const std::string& nazwa, const std::string& cel) const {
        fs::create_directories(Korzen() / "dev/serial/by-id");
        fs::create_symlink(cel, Korzen() / "dev/serial/by-id" / nazwa);
    }

private:
    QTemporaryDir katalog_;
};

TEST(UrzadzeniaSzeregowe, OnlyRealPortsInFamilyAndNumberOrder) {
    const FalszywyKorzen k;
    k.LiniaSzeregowa("ttyS10", 4);
    k.LiniaSzeregowa("ttyS0", 4);
    k.LiniaSzeregowa("ttyS1", 0);  // a reserved line with no UART
    k.LiniaSzeregowa("ttyS3", {}); // no port type published
    k.Wezel("ttyS2");              // no sysfs entry at all
    k.LiniaSzeregowa("ttyS4", 4);
    k.Wezel("ttyACM0");
    k.Wezel("ttyUSB1");
    k.Wezel("ttyUSB0");
    for (const char* obcy : {"tty0", "ttyS", "ttySX", "ttyUSB0.bak", "console", "ptmx"}) {
        k.Wezel(obcy);
    }
    k.PoIdentyfikatorze("usb-Maker_Adapter_B-if00-port0", "../../ttyUSB1");
    k.PoIdentyfikatorze("usb-Maker_Adapter_A-if00-port0", "../../ttyUSB0");

    EXPECT_EQ(UrzadzeniaSzeregowe(k.Korzen()),
              (Lista{"/dev/ttyS0", "/dev/ttyS4", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB1",
                     "/dev/ttyACM0", "/dev/serial/by-id/usb-Maker_Adapter_A-if00-port0",
                     "/dev/serial/by-id/usb-Maker_Adapter_B-if00-port0"}));
}

TEST(UrzadzeniaSzeregowe, NoDevicesAndNoFoldersGiveAnEmptyList) {
    const FalszywyKorzen k;
    EXPECT_EQ(UrzadzeniaSzeregowe(k.Korzen()), Lista{});
    k.LiniaSzeregowa("ttyS0", 0);
    EXPECT_EQ(UrzadzeniaSzeregowe(k.Korzen()), Lista{});
}

TEST(BladUrzadzenia, OnlyAnExistingCharacterDeviceIsAccepted) {
    QTemporaryDir katalog;
    const std::string folder = katalog.path().toStdString();
    std::ofstream(folder + "/zwykly") << "x";
    fs::create_symlink("/dev/null", folder + "/dowiazanie");

    EXPECT_EQ(BladUrzadzenia("/dev/null"), std::nullopt);
    EXPECT_EQ(BladUrzadzenia(folder + "/dowiazanie"), std::nullopt);
    EXPECT_EQ(BladUrzadzenia(folder + "/brak"), "Urządzenie „" + folder + "/brak” nie istnieje.");
    EXPECT_EQ(BladUrzadzenia(folder + "/zwykly/dalej"),
              "Urządzenie „" + folder + "/zwykly/dalej” nie istnieje.");
    const std::string nieZnakowe =
        "” nie jest urządzeniem znakowym, więc nie może być portem szeregowym.";
    EXPECT_EQ(BladUrzadzenia(folder + "/zwykly"), "„" + folder + "/zwykly" + nieZnakowe);
    EXPECT_EQ(BladUrzadzenia(folder), "„" + folder + nieZnakowe);
    EXPECT_EQ(BladUrzadzenia(""), "Nie podano urządzenia portu.");
    const std::string dom = QDir::homePath().toStdString();
    EXPECT_EQ(BladUrzadzenia("~/parvolen-brak-takiego"),
              "Urządzenie „" + dom + "/parvolen-brak-takiego” nie istnieje.");
}

} // namespace
