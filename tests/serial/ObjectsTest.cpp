#include "serial/VaObjects.h"

#include <gtest/gtest.h>

namespace {

TEST(WaitEvent, IsManualResetAndCreatedNotSet) {
    TVaWaitEvent flag;
    EXPECT_EQ(flag.WaitFor(0), TVaWaitResult::wrTimeout);
    flag.SetEvent();
    flag.SetEvent();
    EXPECT_EQ(flag.WaitFor(0), TVaWaitResult::wrSignaled);
    EXPECT_EQ(flag.WaitFor(-1), TVaWaitResult::wrSignaled) << "a wait does not reset it";
    flag.ResetEvent();
    EXPECT_EQ(flag.WaitFor(0), TVaWaitResult::wrTimeout) << "one reset clears any number of sets";
    flag.ResetEvent();
    EXPECT_EQ(flag.LastError(), 0) << "resetting a flag that is not set is no failure";
}

TEST(WaitEvent, WaitForAnyNamesTheFirstSetInOrder) {
    TVaWaitEvent stop;
    TVaWaitEvent data;
    EXPECT_EQ(VaWaitForAny({stop.Handle(), data.Handle()}, 0), -1);
    data.SetEvent();
    EXPECT_EQ(VaWaitForAny({stop.Handle(), data.Handle()}, -1), 1);
    stop.SetEvent();
    EXPECT_EQ(VaWaitForAny({stop.Handle(), data.Handle()}, -1), 0) << "stop wins when both are set";
}

} // namespace
