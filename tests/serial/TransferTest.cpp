#include "tests/wspolne/PortFixture.h"

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Each OnRxChar: its Count and what the handler read.
struct Reception {
    std::vector<std::int32_t> counts;
    std::string text;
};

class Transfer : public PortOnPty {
protected:
    void ReadEverything() {
        port.OnRxChar = [this](TVaCustomComm& sender, std::int32_t count) {
            EXPECT_EQ(&sender, &port);
            received.counts.push_back(count);
            const std::string text = sender.ReadText();
            EXPECT_EQ(text.size(), static_cast<std::size_t>(count)) << "Count is what waits";
            received.text += text;
        };
    }

    bool ReceivedText(std::size_t size) {
        return RunEventsUntil([&] { return received.text.size() >= size; });
    }

    Reception received;
};

TEST_F(Transfer, FrameArrivesAsOnRxCharAndIsReadWhole) {
    ReadEverything();
    port.Open();
    const std::string frame = "@00RD0000000157*\r";
    pty.Send(frame);
    ASSERT_TRUE(ReceivedText(frame.size()));
    EXPECT_EQ(received.text, frame);

    // Pieces arrive as further events; nothing is lost or doubled.
    pty.Send("@00");
    ASSERT_TRUE(ReceivedText(frame.size() + 3));
    pty.Send("MS5A*\r");
    ASSERT_TRUE(ReceivedText(frame.size() + 9));
    EXPECT_EQ(received.text, frame + "@00MS5A*\r");
    EXPECT_TRUE(reports.empty());
}

TEST_F(Transfer, UnreadBytesAreCountedByTheNextEvent) {
    port.OnRxChar = [this](TVaCustomComm& sender, std::int32_t count) {
        received.counts.push_back(count);
        if (received.counts.size() > 1) {
            received.text += sender.ReadText();
        }
    };
    port.Open();
    pty.Send("AB");
    ASSERT_TRUE(RunEventsUntil([&] { return received.counts.size() == 1; }));
    EXPECT_EQ(received.counts[0], 2);

    // The bytes stay unread; without new ones no event repeats them.
    RunEventsFor(150ms);
    EXPECT_EQ(received.counts.size(), 1U);

    pty.Send("C");
    ASSERT_TRUE(RunEventsUntil([&] { return received.counts.size() == 2; }));
    EXPECT_EQ(received.counts[1], 3);
    EXPECT_EQ(received.text, "ABC");
}

TEST_F(Transfer, BytesArrivingDuringTheHandlerAreReportedNext) {
    bool first = true;
    port.OnRxChar = [&](TVaCustomComm& sender, std::int32_t count) {
        received.counts.push_back(count);
        if (first) {
            first = false;
            pty.Send("late");
            // Make sure the kernel has passed them on before the handler ends.
            WaitWithoutEvents([&] { return sender.InQueueCount() > count; });
            received.text += sender.ReadText();
            pty.Send("!");
            EXPECT_TRUE(WaitWithoutEvents([&] { return sender.InQueueCount() > 0; }));
            return;
        }
        received.text += sender.ReadText();
    };
    port.Open();
    pty.Send("early");
    ASSERT_TRUE(RunEventsUntil([&] { return received.text.size() >= 10; }));
    EXPECT_EQ(received.text, "earlylate!");
    EXPECT_EQ(received.counts.front(), 5);
}

TEST_F(Transfer, TwoWritesArriveInOrder) {
    port.Open();
    EXPECT_TRUE(port.WriteText("first,"));
    EXPECT_TRUE(port.WriteText("second"));
    EXPECT_EQ(pty.Receive(12), "first,second");

    std::string block(2048, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>(i * 7);
    }
    EXPECT_TRUE(port.WriteText(block)); // exactly the queue's capacity
    EXPECT_EQ(pty.Receive(block.size()), block);
}

TEST_F(Transfer, BackToBackWritesNeverWaitForTheWindowThread) {
    // The writer reports an emptied queue to the window thread; if it waited
    // for that report, a window thread waiting for room would wait in vain.
    int emptied = 0;
    port.OnTxEmpty = [&](TVaCustomComm&) { ++emptied; };
    port.Open();
    std::string expected;
    std::string gathered;
    std::thread reader([&] { gathered = pty.Receive(5 * 2000); });
    for (char fill = 'a'; fill < 'f'; ++fill) {
        const std::string block(2000, fill);
        expected += block;
        EXPECT_EQ(FailureOf([&] { port.WriteText(block); }), "") << fill;
    }
    reader.join();
    EXPECT_EQ(gathered.size(), expected.size());
    EXPECT_TRUE(gathered == expected) << "bytes out of order or changed";
    EXPECT_TRUE(RunEventsUntil([&] { return emptied > 0; }));
}

TEST_F(Transfer, HandlerMayCloseThePort) {
    port.OnRxChar = [this](TVaCustomComm& sender, std::int32_t) {
        received.text += sender.ReadText();
        sender.Close();
    };
    port.Open();
    pty.Send("bye");
    ASSERT_TRUE(RunEventsUntil([&] { return !port.IsOpen(); }));
    EXPECT_EQ(received.text, "bye");
    RunEventsFor(50ms);

    ReadEverything();
    port.Open();
    pty.Send("hello");
    ASSERT_TRUE(RunEventsUntil([&] { return received.text.ends_with("hello"); }));
    EXPECT_TRUE(reports.empty());
}

TEST_F(Transfer, WriteLargerThanTheQueueFailsAfterWriteTimeout) {
    int emptied = 0;
    port.OnTxEmpty = [&](TVaCustomComm&) { ++emptied; };
    port.Buffers().SetWriteTimeout(30);
    port.Open();
    EXPECT_EQ(FailureOf([&] { port.WriteText(std::string(2049, 'x')); }),
              "Output buffer is full. Please check comm status.");
    EXPECT_EQ(FailureOf([&] { port.Write(std::string(4000, 'x').data(), 4000); }),
              "Output buffer is full. Please check comm status.");
    EXPECT_TRUE(port.WriteText("ok"));
    EXPECT_EQ(pty.Receive(2), "ok");
    EXPECT_TRUE(RunEventsUntil([&] { return emptied > 0; })) << "transmit queue empty event";
}

TEST_F(Transfer, QueueWaitsForRoomWhileTheDeviceStalls) {
    port.Buffers().SetWriteSize(16);
    port.Buffers().SetWriteTimeout(0);
    port.Open();

    // Fill the line from a second opener until the kernel takes nothing more,
    // so the write thread cannot empty its queue.
    const int filler = ::open(pty.SlavePath().c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(filler, 0);
    std::size_t filled = 0;
    const std::string chunk(512, 'f');
    for (int settle = 0; settle < 5; ++settle) {
        ssize_t wrote = 0;
        while ((wrote = ::write(filler, chunk.data(), chunk.size())) > 0) {
            filled += static_cast<std::size_t>(wrote);
        }
        std::this_thread::sleep_for(10ms);
    }
    ::close(filler);

    // Exactly the free room fits without waiting; one more byte does not.
    EXPECT_TRUE(port.WriteText(std::string(16, 'q')));
    EXPECT_EQ(FailureOf([&] { port.WriteText("x"); }),
              "Output buffer is full. Please check comm status.");

    // Once the other side reads, the waiting write gets its room.
    std::atomic<std::size_t> drained{0};
    std::thread reader([&] { drained = pty.Receive(filled + 17).size(); });
    port.Buffers().SetWriteTimeout(5000);
    EXPECT_TRUE(port.WriteText("y"));
    reader.join();
    EXPECT_EQ(drained.load(), filled + 17);
}

TEST_F(Transfer, HungUpLineDoesNotSpinAndThePortOpensAgain) {
    ReadEverything();
    port.Open();
    pty.Close();
    EXPECT_TRUE(port.WriteText("to nobody"));

    const double before = ProcessCpuSeconds();
    RunEventsFor(1000ms);
    const double used = ProcessCpuSeconds() - before;
    EXPECT_LT(used, 0.25) << "CPU seconds used in one second with the line hung up";
    EXPECT_TRUE(received.counts.empty());
    EXPECT_TRUE(reports.empty()) << "a dead line takes what is written: " << reports.front();

    port.Close();
    EXPECT_FALSE(port.IsOpen());

    PtyPair fresh;
    port.SetDeviceName(fresh.SlavePath());
    port.Open();
    fresh.Send("again");
    ASSERT_TRUE(ReceivedText(5));
    EXPECT_EQ(received.text, "again");
    EXPECT_TRUE(port.WriteText("back"));
    EXPECT_EQ(fresh.Receive(4), "back");
}

TEST_F(Transfer, PeerHangingUpWithRepliesQueuedRaisesNoError) {
    port.Open();
    ASSERT_TRUE(FillUntilTheQueueIsFull(port)) << "the other side does not read";
    pty.Close();
    ExpectTheLineTakesEverything(port);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Transfer, BytesQueuedBeforeOpenAreDiscarded) {
    ReadEverything();
    pty.Send("@00MS5A*\r");
    port.Open();
    RunEventsFor(100ms);
    EXPECT_TRUE(received.counts.empty()) << "the old frame reached the port: " << received.text;
    // Kept for the record as the terminal queued it: under the settings it
    // had before the opening, its CR already became a newline.
    EXPECT_TRUE(port.TakeDiscarded().starts_with("@00MS5A*")) << "kept for the record";
    EXPECT_EQ(port.TakeDiscarded(), "") << "given once";
    pty.Send("fresh");
    ASSERT_TRUE(ReceivedText(5));
    EXPECT_EQ(received.text, "fresh");
}

TEST_F(Transfer, HandOverAfterCloseRaisesNothing) {
    ReadEverything();
    port.Open();
    pty.Send("stale");
    // The window thread is busy here: the event thread sees the bytes and
    // hands them over while this test does not run events.
    ASSERT_TRUE(WaitWithoutEvents([&] { return port.InQueueCount() == 5; }));
    ASSERT_TRUE(WaitWithoutEvents([&] { return (port.HandedOverEvents() & EV_RXCHAR) != 0; }));
    port.Close();
    RunEventsFor(100ms);
    EXPECT_TRUE(received.counts.empty());

    port.Open();
    pty.Send("fresh");
    ASSERT_TRUE(RunEventsUntil([&] { return received.text.ends_with("fresh"); }));
}

TEST_F(Transfer, HandOverOutlivingThePortTouchesNothing) {
    auto doomed = std::make_unique<TVaComm>();
    int raised = 0;
    doomed->OnRxChar = [&](TVaCustomComm&, std::int32_t) { ++raised; };
    doomed->SetDeviceName(pty.SlavePath());
    doomed->Open();
    EXPECT_TRUE(doomed->WriteText("bye"));
    pty.Send("late");
    ASSERT_TRUE(WaitWithoutEvents([&] { return (doomed->HandedOverEvents() & EV_RXCHAR) != 0; }));
    doomed.reset();
    RunEventsFor(100ms);
    EXPECT_EQ(raised, 0);

    port.Open(); // the device was given up
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(Transfer, FailingHandlerIsReportedAndEventsGoOn) {
    port.OnRxChar = [this](TVaCustomComm& sender, std::int32_t) {
        received.text += sender.ReadText();
        received.counts.push_back(0);
        if (received.counts.size() == 1) {
            throw std::runtime_error("'x' is not a valid integer value");
        }
    };
    port.Open();
    pty.Send("one");
    ASSERT_TRUE(RunEventsUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports.front(), "'x' is not a valid integer value");
    pty.Send("two");
    ASSERT_TRUE(ReceivedText(6));
    EXPECT_EQ(received.text, "onetwo");
    EXPECT_EQ(reports.size(), 1U);
}

TEST_F(Transfer, FailureWithoutAReportGoesToStderr) {
    port.RaportBledu = nullptr;
    bool handled = false;
    port.OnRxChar = [&](TVaCustomComm& sender, std::int32_t) {
        sender.ReadText();
        handled = true;
        throw EVaCommError("Output buffer is full. Please check comm status.");
    };
    port.Open();
    ::testing::internal::CaptureStderr();
    pty.Send("x");
    const bool ran = RunEventsUntil([&] { return handled; });
    EXPECT_TRUE(ran);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Output buffer is full"),
              std::string::npos);
}

} // namespace
