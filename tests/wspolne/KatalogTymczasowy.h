#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace plc::test {

// A fresh directory, removed with everything in it at the end of the test.
// The engine, host-link and serial tests and the benchmarks share it.
class KatalogTymczasowy {
public:
    KatalogTymczasowy() {
        std::string wzor = (std::filesystem::temp_directory_path() / "parvolen-XXXXXX").string();
        if (::mkdtemp(wzor.data()) == nullptr) {
            throw std::runtime_error("no temporary directory");
        }
        sciezka_ = wzor;
    }
    ~KatalogTymczasowy() {
        std::error_code ec;
        std::filesystem::remove_all(sciezka_, ec);
    }
    KatalogTymczasowy(const KatalogTymczasowy&) = delete;
    KatalogTymczasowy& operator=(const KatalogTymczasowy&) = delete;

    const std::filesystem::path& sciezka() const { return sciezka_; }

    std::filesystem::path zapisz(std::string_view nazwa, std::string_view tresc) const {
        const std::filesystem::path plik = sciezka_ / nazwa;
        std::ofstream(plik, std::ios::binary) << tresc;
        return plik;
    }

    std::string czytaj(std::string_view nazwa) const {
        std::ifstream wejscie(sciezka_ / nazwa, std::ios::binary);
        return {std::istreambuf_iterator<char>(wejscie), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path sciezka_;
};

} // namespace plc::test
