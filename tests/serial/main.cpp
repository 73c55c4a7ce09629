#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// The system settings that map port names to devices are read from
// $XDG_CONFIG_DIRS/Orvanta/Parvolen.conf: the tests point that at a folder of
// their own before Qt first looks, and write the file there.
int main(int argc, char** argv) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "parvolen-serial-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        return 2;
    }
    std::filesystem::create_directories(std::filesystem::path(folder) / "Orvanta");
    ::setenv("XDG_CONFIG_DIRS", folder.c_str(), 1);

    int result = 0;
    {
        QCoreApplication application(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::filesystem::remove_all(folder);
    return result;
}
