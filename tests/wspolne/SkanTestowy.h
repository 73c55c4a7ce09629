#pragma once

#include "engine/CyklPracy.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plc::test {

// Puts the words into the table from entry 0 on, the rest emptied, and makes
// their number the line count.
template <typename Slowa> void WpiszProgram(TabelaProgramu& tabela, const Slowa& slowa) {
    tabela.wyczysc();
    int k = 0;
    for (const auto& slowo : slowa) {
        tabela.ustaw(k++, slowo);
    }
    tabela.ustawLiczbeLinii(static_cast<std::uint8_t>(k));
}

// Remembers what the last output refresh showed.
class LampyTestowe : public WyjsciaSterownika {
public:
    void ZapalWyjscia(int n) override { Zapisz(n, true); }
    void ZgasWyjscia(int n) override { Zapisz(n, false); }
    void BladProgramu() override {} // only the worker thread reports it

    std::array<bool, 9> lampy{};
    int odswiezenia = 0; // calls of either lamp operation

private:
    void Zapisz(int n, bool zapalona) {
        lampy.at(static_cast<std::size_t>(n)) = zapalona;
        ++odswiezenia;
    }
};

// Program passes driven by hand, with a clock the test steps.
class SkanTestowy : public testing::Test {
protected:
    void Program(std::initializer_list<std::string_view> slowa) { WpiszProgram(tabela, slowa); }
    void Program(const std::vector<std::string>& slowa) { WpiszProgram(tabela, slowa); }
    void Skanuj(int razy = 1) {
        for (int i = 0; i < razy; ++i) {
            ASSERT_TRUE(cykl.Przebieg()) << "scan " << i;
        }
    }
    void Wejscie(int n, int wartosc) { pamiec->IR.ustaw(0, n, static_cast<std::uint8_t>(wartosc)); }
    int Wyjscie(int n) const { return pamiec->IR.bit(10, n); }
    // The mode entry's part: the first-scan flag for the scan that follows.
    void PierwszySkan() { pamiec->IR.ustaw(253, 15, 1); }

    std::unique_ptr<Pamiec> pamiec = std::make_unique<Pamiec>();
    TabelaProgramu tabela;
    std::uint32_t czas = 5'000'000;
    LampyTestowe lampy;
    TCyklPracy cykl{*pamiec, tabela, [this] { return czas; }, lampy};
};

} // namespace plc::test
