#include "serial/VaComm.h"

#include "tests/wspolne/KatalogTymczasowy.h"
#include "tests/wspolne/LinkClient.h"
#include "tests/wspolne/PortFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The run's own runtime directory, where the virtual ports publish their
// links, restored at the end.
class RuntimeDirectory {
public:
    RuntimeDirectory() {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            old_ = old;
        }
        ::setenv("XDG_RUNTIME_DIR", directory_.sciezka().c_str(), 1);
    }
    ~RuntimeDirectory() {
        if (old_.empty()) {
            ::unsetenv("XDG_RUNTIME_DIR");
        } else {
            ::setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        }
    }
    RuntimeDirectory(const RuntimeDirectory&) = delete;
    RuntimeDirectory& operator=(const RuntimeDirectory&) = delete;

    std::filesystem::path Links() const { return directory_.sciezka() / "parvolen"; }

private:
    plc::test::KatalogTymczasowy directory_;
    std::string old_;
};

// A port set up as ComPort on the virtual port COM1, answering every frame
// that ends in CR with the status reply.
class VirtualPort : public AnsweringPort {
protected:
    VirtualPort()
        : AnsweringPort([](const std::string&) { return std::string(kVaVirtualDevice); }) {}

    std::string Link() const { return (runtime.Links() / "COM1").string(); }

    RuntimeDirectory runtime;
};

TEST_F(VirtualPort, EveryNewClientSetsTheControllerLineAndIsAnswered) {
    port.Open();
    // Clients that speak, then one that only sets the line and leaves: the
    // next must still get its 7E2 through glibc's read-back check.
    for (const bool speaks : {true, true, true, false, true}) {
        LinkClient client(Link());
        ASSERT_TRUE(client.IsOpen()) << "errno " << client.OpenError();
        ASSERT_EQ(client.SetControllerLine(), 0) << "connection " << frames.size() + 1;
        if (speaks) {
            EXPECT_EQ(client.Ask(kStatus), kReply);
        } else {
            client.HangUp();
            // The hang-up is seen by the event thread; the next client comes
            // after the port had a chance to look.
            client.Listen(100ms);
        }
    }
    EXPECT_EQ(frames.size(), 4U);
    EXPECT_TRUE(reports.empty());
}

TEST_F(VirtualPort, FramesSentWhileClosedAreNeverAnswered) {
    port.Open();
    port.Close();
    LinkClient client(Link());
    ASSERT_TRUE(client.IsOpen()) << "the link stays while the port is closed";
    ASSERT_EQ(client.SetControllerLine(), 0);
    client.Send(kStatus);
    EXPECT_EQ(client.Listen(100ms), "") << "nothing is answered while closed";

    port.Open();
    EXPECT_EQ(client.Listen(200ms), "") << "the old frame is not answered at switch-on";
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(port.TakeDiscarded(), kStatus) << "kept for the record";
    EXPECT_EQ(client.Ask(kStatus), kReply);
}

// The client's coming and going shows as the carrier, as on a cable whose
// other end is switched on and off: OnRlsd at each change, and the lines in
// ModemStatus.
TEST_F(VirtualPort, ClientComingAndGoingRaisesOnRlsd) {
    port.SetMonitorEvents({ceError, ceRxChar, ceTxEmpty, ceRlsd});
    std::vector<bool> carrier;
    port.OnRlsd = [&](TVaCustomComm& sender) {
        carrier.push_back((sender.ModemStatus() & MS_RLSD_ON) != 0);
    };
    port.Open();
    EXPECT_EQ(port.ModemStatus(), 0U) << "no client yet";
    for (std::size_t round = 1; round <= 2; ++round) {
        LinkClient client(Link());
        ASSERT_TRUE(client.IsOpen()) << "errno " << client.OpenError();
        ASSERT_TRUE(RunEventsUntil([&] { return carrier.size() == 2U * round - 1; }));
        EXPECT_TRUE(carrier.back()) << "round " << round;
        EXPECT_EQ(port.ModemStatus(), MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON);
        EXPECT_EQ(client.Ask(kStatus), kReply);
        client.HangUp();
        ASSERT_TRUE(RunEventsUntil([&] { return carrier.size() == 2U * round; }));
        EXPECT_FALSE(carrier.back()) << "round " << round;
    }
    EXPECT_EQ(port.ModemStatus(), 0U);
    port.Close();
    EXPECT_EQ(port.ModemStatus(), 0U) << "a closed port has no lines";
}

TEST_F(VirtualPort, ClientKeepingTheLinkOpenIsAnsweredAfterCloseAndOpen) {
    port.Open();
    LinkClient client(Link());
    ASSERT_EQ(client.SetControllerLine(), 0);
    EXPECT_EQ(client.Ask(kStatus), kReply);
    port.Close();
    port.Open();
    EXPECT_EQ(client.Ask(kStatus), kReply);
    port.Close();
    port.Open();
    EXPECT_EQ(client.Ask(kStatus), kReply);
    EXPECT_TRUE(reports.empty());
}

// Runs events until the client has the reply waiting unread.
bool ReplyQueuedFor(const LinkClient& client) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    int waiting = 0;
    while (std::chrono::steady_clock::now() < deadline &&
           (::ioctl(client.Fd(), FIONREAD, &waiting) != 0 ||
            waiting < static_cast<int>(kReply.size()))) {
        RunEventsFor(1ms);
    }
    return waiting >= static_cast<int>(kReply.size());
}

TEST_F(VirtualPort, RepliesAClientLeftUnreadNeverReachTheNext) {
    // The client leaves while the port is open, or while it is closed (then
    // the port first sees the hang-up at its next opening).
    for (const bool closedMeanwhile : {false, true}) {
        SCOPED_TRACE(closedMeanwhile ? "left while closed" : "left while open");
        port.Open();
        {
            LinkClient leaving(Link());
            ASSERT_EQ(leaving.SetControllerLine(), 0);
            leaving.Send(kStatus);
            ASSERT_TRUE(ReplyQueuedFor(leaving));
            if (closedMeanwhile) {
                port.Close();
            }
        }
        if (closedMeanwhile) {
            port.Open();
        }
        RunEventsFor(100ms);
        LinkClient next(Link());
        ASSERT_EQ(next.SetControllerLine(), 0);
        EXPECT_EQ(next.Listen(100ms), "") << "a stale reply reached the next client";
        EXPECT_EQ(next.Ask(kStatus), kReply);
        port.Close();
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(VirtualPort, ClientThatCameWhileClosedSetsTheControllerLine) {
    port.Open();
    port.Close();
    {
        LinkClient earlier(Link());
        ASSERT_EQ(earlier.SetControllerLine(), 0);
    }
    // Connected before the opening, so the port never sees it hang up or
    // speak before it asks for the line.
    LinkClient client(Link());
    port.Open();
    EXPECT_EQ(client.SetControllerLine(), 0);
    EXPECT_EQ(client.Ask(kStatus), kReply);
}

TEST_F(VirtualPort, OutputWithoutAClientIsDropped) {
    port.Open();
    // Far more than the pty and the write queue hold: with nobody on the
    // line every write is taken at once, and none of it reaches the next
    // client.
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(port.WriteText(std::string(1000, 'x'))) << i;
    }
    // Bytes still on their way when a client plugs in may reach it, as on a
    // cable; the write thread gets ample time to drop them first.
    RunEventsFor(200ms);
    LinkClient client(Link());
    ASSERT_EQ(client.SetControllerLine(), 0);
    EXPECT_EQ(client.Ask(kStatus), kReply);
    EXPECT_TRUE(reports.empty());
}

TEST_F(VirtualPort, ClientHangingUpWithRepliesQueuedRaisesNoError) {
    port.Open();
    LinkClient client(Link());
    ASSERT_EQ(client.SetControllerLine(), 0);
    ASSERT_TRUE(FillUntilTheQueueIsFull(port)) << "the client does not read";
    client.HangUp();
    ExpectTheLineTakesEverything(port);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// What stood at the link's place before the port was first opened.
struct Stale {
    const char* name;
    void (*make)(const std::filesystem::path& link, const std::filesystem::path& outside);
};

const Stale kStale[] = {
    {"nothing", [](const std::filesystem::path&, const std::filesystem::path&) {}},
    {"file", [](const std::filesystem::path& link,
                const std::filesystem::path&) { std::ofstream(link) << "left over"; }},
    {"dangling link",
     [](const std::filesystem::path& link, const std::filesystem::path&) {
         std::filesystem::create_symlink("/dev/pts/parvolen-gone", link);
     }},
    {"link to a file of the user's",
     [](const std::filesystem::path& link, const std::filesystem::path& outside) {
         std::filesystem::create_symlink(outside, link);
     }},
};

TEST(VirtualPortLink, ReplacesWhatStoodThereAndIsRemovedAtTheEnd) {
    for (const Stale& stale : kStale) {
        SCOPED_TRACE(stale.name);
        const RuntimeDirectory runtime;
        const plc::test::KatalogTymczasowy elsewhere;
        const std::filesystem::path outside = elsewhere.zapisz("notes", "keep me");
        const std::filesystem::path link = runtime.Links() / "COM2";
        if (&stale != &kStale[0]) {
            std::filesystem::create_directories(runtime.Links());
            stale.make(link, outside);
        }
        {
            TVaComm port;
            port.SetDeviceName("COM%d");
            port.SetPortNum(2);
            port.SetResolver([](const std::string&) { return std::string(kVaVirtualDevice); });
            port.Open();
            ASSERT_TRUE(std::filesystem::is_symlink(link));
            const std::filesystem::path terminal = std::filesystem::read_symlink(link);
            EXPECT_TRUE(terminal.string().starts_with("/dev/pts/")) << terminal;
            LinkClient client(link.string());
            EXPECT_TRUE(client.IsOpen()) << "errno " << client.OpenError();
        }
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)))
            << "the link goes with the port";
        EXPECT_EQ(elsewhere.czytaj("notes"), "keep me") << "the old link was not followed";
        struct stat directory {};
        ASSERT_EQ(::stat(runtime.Links().c_str(), &directory), 0);
        if (&stale == &kStale[0]) {
            EXPECT_EQ(directory.st_mode & 0777, 0700U) << "a directory of the user's own";
        }
    }
}

TEST(VirtualPortLink, UnwritableDirectoryFailsTheOpenWithTheName) {
    const RuntimeDirectory runtime;
    std::filesystem::create_directories(runtime.Links().parent_path());
    std::ofstream(runtime.Links()) << "a file where the directory belongs";
    TVaComm port;
    port.SetDeviceName("COM1");
    port.SetResolver([](const std::string&) { return std::string(kVaVirtualDevice); });
    try {
        port.Open();
        ADD_FAILURE() << "opened without a place for its link";
    } catch (const EVaCommError& failure) {
        EXPECT_EQ(std::string(failure.what()), "Unable to open specified device COM1 (20), Not a "
                                               "directory");
    }
    EXPECT_FALSE(port.IsOpen());
}

} // namespace
