// The scan worker on its own thread. These tests run threads of the program
// and are labelled "threaded".
#include "tests/wspolne/SkanTestowy.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace plc {
namespace {

// Safe to call from the worker while the test thread looks.
class LampyWatku : public WyjsciaSterownika {
public:
    void ZapalWyjscia(int n) override { Zapisz(n, 1); }
    void ZgasWyjscia(int n) override { Zapisz(n, 0); }
    void BladProgramu() override { bledy.fetch_add(1); }

    std::array<std::atomic<int>, 9> lampy{};
    std::atomic<int> odswiezenia{0};
    std::atomic<int> bledy{0};
    std::function<void(int)> przyOdswiezeniu; // set before the worker starts

private:
    void Zapisz(int n, int stan) {
        lampy.at(static_cast<std::size_t>(n)).store(stan);
        odswiezenia.fetch_add(1);
        if (przyOdswiezeniu) {
            przyOdswiezeniu(n);
        }
    }
};

// Waits for what the worker is bound to do soon; the limit only keeps a
// broken build from hanging.
bool Doczekaj(const std::function<bool()>& warunek) {
    const auto koniec = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!warunek()) {
        if (std::chrono::steady_clock::now() > koniec) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

class Watek : public testing::Test {
protected:
    void Program(std::initializer_list<std::string_view> slowa) {
        test::WpiszProgram(tabela, slowa);
    }

    std::unique_ptr<Pamiec> pamiec = std::make_unique<Pamiec>();
    TabelaProgramu tabela;
    std::atomic<std::uint32_t> czas{1'000'000};
    std::function<void()> przyOdczycieZegara; // set before the worker starts
    LampyWatku lampy;
    TCyklPracy cykl{*pamiec, tabela,
                    [this] {
                        if (przyOdczycieZegara) {
                            przyOdczycieZegara();
                        }
                        return czas.load();
                    },
                    lampy};
};

TEST_F(Watek, OutputsFollowInputsWrittenByAnotherThread) {
    Program({"8008", "E009", "20A8", "80A8"});
    cykl.Start();
    EXPECT_TRUE(cykl.Dziala());
    for (int i = 0; i < 20; ++i) {
        const int stan = i % 2;
        pamiec->IR.ustaw(0, 0, static_cast<std::uint8_t>(stan));
        ASSERT_TRUE(Doczekaj([&] { return lampy.lampy[0].load() == stan; })) << i;
    }
    cykl.ZadajStop();
    EXPECT_FALSE(cykl.Dziala());
    cykl.CzekajNaKoniec();
    const int poKoncu = lampy.odswiezenia.load();
    EXPECT_EQ(poKoncu % 9, 0); // every scan refreshed all nine outputs
    cykl.ZadajStop();
    cykl.CzekajNaKoniec();
    EXPECT_EQ(lampy.odswiezenia.load(), poKoncu);
    EXPECT_EQ(lampy.bledy.load(), 0);
}

TEST_F(Watek, StopRequestedDuringAScanTakesEffectAfterItsRefresh) {
    // The timer word reads the clock in the middle of the pass; the stop is
    // requested there, in the very first scan.
    Program({"8008", "0800", "0030", "8008", "20A8", "80A8"});
    pamiec->IR.ustaw(0, 0, 1);
    przyOdczycieZegara = [this] { cykl.ZadajStop(); };
    cykl.Start();
    cykl.CzekajNaKoniec();
    EXPECT_EQ(lampy.odswiezenia.load(), 9);
    EXPECT_EQ(lampy.lampy[0].load(), 1);
    EXPECT_FALSE(cykl.Dziala());
}

TEST_F(Watek, UndecodableWordEndsTheWorkerAndItStartsAgain) {
    Program({"8008", "20A8", "80A8", "8Z08"});
    pamiec->IR.ustaw(0, 0, 1);
    cykl.Start();
    ASSERT_TRUE(Doczekaj([&] { return lampy.bledy.load() == 1; }));
    ASSERT_TRUE(Doczekaj([&] { return !cykl.Dziala(); }));
    cykl.ZadajStop();
    cykl.CzekajNaKoniec();
    EXPECT_EQ(lampy.odswiezenia.load(), 0); // the failed scan refreshed nothing
    EXPECT_EQ(pamiec->IR.bit(10, 0), 1);    // what ran before the bad word stays

    tabela.ustaw(3, "8008");
    cykl.Start();
    EXPECT_TRUE(cykl.Dziala());
    ASSERT_TRUE(Doczekaj([&] { return lampy.lampy[0].load() == 1; }));
    cykl.Start(); // a running worker is kept, not doubled
    cykl.ZadajStop();
    cykl.CzekajNaKoniec();
    EXPECT_EQ(lampy.bledy.load(), 1);
}

TEST_F(Watek, StartAfterStopRequestWaitsForTheEndingWorker) {
    Program({"8008", "20A8", "80A8"});
    std::atomic<int> wToku{0};
    std::atomic<bool> podwojny{false};
    lampy.przyOdswiezeniu = [&](int n) {
        if (n == 0 && wToku.fetch_add(1) != 0) {
            podwojny = true;
        }
        if (n == 8) {
            wToku.fetch_sub(1);
        }
    };
    for (int i = 0; i < 5; ++i) {
        cykl.Start();
        ASSERT_TRUE(Doczekaj([&] { return lampy.odswiezenia.load() > 9 * i; }));
        cykl.ZadajStop();
    }
    cykl.CzekajNaKoniec();
    EXPECT_FALSE(podwojny.load());
}

} // namespace
} // namespace plc
