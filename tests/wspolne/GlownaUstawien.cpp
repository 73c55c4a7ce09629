#include "tests/wspolne/KatalogTymczasowy.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// The system settings that map port names to devices are read from
// $XDG_CONFIG_DIRS/Orvanta/Parvolen.conf: the tests point that at a folder of
// their own before Qt first looks, and write the file there.
int main(int argc, char** argv) {
    const plc::test::KatalogTymczasowy ustawienia;
    std::filesystem::create_directories(ustawienia.sciezka() / "Orvanta");
    ::setenv("XDG_CONFIG_DIRS", ustawienia.sciezka().c_str(), 1);

    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
