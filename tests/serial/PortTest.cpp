#include "tests/wspolne/PortFixture.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Waits, running events, until the port has count bytes waiting.
bool Waiting(TVaComm& port, int count) {
    return RunEventsUntil([&] { return port.InQueueCount() >= count; });
}

TEST_F(PortOnPty, OpenCloseAndReopenWithTheSameSettings) {
    port.Open();
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(pty.SlaveSpeed(), B9600);

    port.Close();
    EXPECT_FALSE(port.IsOpen());
    port.Close(); // a closed port ignores it

    port.Open();
    ASSERT_TRUE(port.IsOpen());
    const termios tio = pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0U);
    EXPECT_EQ(tio.c_lflag & ICANON, 0U);

    pty.Send("ping\r");
    ASSERT_TRUE(Waiting(port, 5));
    EXPECT_EQ(port.ReadText(), "ping\r");
    EXPECT_EQ(port.ReadText(), "");
    EXPECT_TRUE(port.WriteText("pong\r"));
    EXPECT_EQ(pty.Receive(5), "pong\r");
}

TEST_F(PortOnPty, OpenWhileOpenFailsAndTheLineGoesOn) {
    port.Open();
    EXPECT_EQ(FailureOf([&] { port.Open(); }), "Can't perform this operation while port is open");
    ASSERT_TRUE(port.IsOpen());
    EXPECT_TRUE(port.WriteText("still here"));
    EXPECT_EQ(pty.Receive(10), "still here");
}

TEST_F(PortOnPty, MissingDeviceLeavesThePortClosed) {
    port.SetResolver([](const std::string& name) {
        return name == "COM2" ? "/nonexistent/parvolen-tty" : name;
    });
    port.SetDeviceName("COM%d");
    port.SetPortNum(2);
    EXPECT_EQ(FailureOf([&] { port.Open(); }),
              "Unable to open specified device COM2 (2), No such file or directory");
    EXPECT_FALSE(port.IsOpen());

    port.SetDeviceName("/nonexistent/tty");
    EXPECT_EQ(FailureOf([&] { port.Open(); }),
              "Unable to open specified device /nonexistent/tty (2), No such file or directory");
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(PortOnPty, NamedPortOpensTheDeviceItsOwnerNames) {
    std::vector<std::string> asked;
    port.SetResolver([&](const std::string& name) {
        asked.push_back(name);
        return pty.SlavePath();
    });
    port.SetDeviceName("COM%d");
    port.SetPortNum(7);
    port.Open();
    EXPECT_EQ(asked, std::vector<std::string>{"COM7"});
    EXPECT_TRUE(port.WriteText("mapped"));
    EXPECT_EQ(pty.Receive(6), "mapped");
}

TEST_F(PortOnPty, DeviceHeldByAnotherOpenerIsBusy) {
    port.Open();
    TVaComm other;
    other.SetDeviceName(pty.SlavePath());
    EXPECT_EQ(FailureOf([&] { other.Open(); }), "Unable to open specified device " +
                                                    pty.SlavePath() +
                                                    " (16), Device or resource busy");
    EXPECT_FALSE(other.IsOpen());

    // Closing gives the device up completely, exclusive flag included, while
    // the other side of the pty stays open.
    port.Close();
    const int plain = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(plain, 0) << "errno " << errno;
    int exclusive = -1;
    ASSERT_EQ(::ioctl(plain, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(plain);

    other.Open();
    EXPECT_TRUE(other.IsOpen());
}

TEST_F(PortOnPty, DeviceSettingsAreRefusedWhileOpen) {
    port.Open();
    const std::string refused = "Can't perform this operation while port is open";
    const std::string name = port.DeviceName();
    EXPECT_EQ(FailureOf([&] { port.SetDeviceName("COM1"); }), refused);
    EXPECT_EQ(FailureOf([&] { port.SetPortNum(3); }), refused);
    EXPECT_EQ(FailureOf([&] { port.SetMonitorEvents({ceRxChar}); }), refused);
    EXPECT_EQ(FailureOf([&] { port.Buffers().SetReadSize(100); }), refused);
    EXPECT_EQ(FailureOf([&] { port.Buffers().SetWriteSize(100); }), refused);
    TVaBuffers smaller;
    smaller.SetWriteSize(16);
    EXPECT_EQ(FailureOf([&] { port.SetBuffers(smaller); }), refused);

    EXPECT_EQ(port.DeviceName(), name);
    EXPECT_EQ(port.PortNum(), 0);
    EXPECT_EQ(port.MonitorEvents(), (TVaCommEvents{ceError, ceRxChar, ceTxEmpty}));
    EXPECT_EQ(port.Buffers().ReadSize(), 4096);
    EXPECT_EQ(port.Buffers().WriteSize(), 2048);

    // Time limits are not device settings.
    port.Buffers().SetWriteTimeout(10);
    EXPECT_EQ(port.Buffers().WriteTimeout(), 10);
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(PortOnPty, LineSettingsReachAnOpenDeviceAtOnce) {
    port.Open();
    port.SetBaudrate(br19200);
    EXPECT_EQ(pty.SlaveSpeed(), B19200);

    // A refused change keeps the new value in the property and the device as
    // it was.
    EXPECT_EQ(FailureOf([&] { port.SetStopbits(sb15); }),
              "Error writing dcb (22), Invalid argument");
    EXPECT_EQ(port.Stopbits(), sb15);
    EXPECT_EQ(pty.SlaveSpeed(), B19200);
    EXPECT_TRUE(port.IsOpen());

    port.SetStopbits(sb2);
    port.SetUserBaudrate(31250); // an arbitrary rate; a pty takes it
    EXPECT_EQ(port.Baudrate(), brUser);
    port.FlowControl().SetXonXoffIn(true);
    EXPECT_NE(pty.SlaveSettings().c_iflag & IXOFF, 0U);
}

TEST_F(PortOnPty, RefusedSettingsAtOpenLeaveTheDeviceFree) {
    port.SetDatabits(db4);
    EXPECT_EQ(FailureOf([&] { port.Open(); }), "Error writing dcb (22), Invalid argument");
    EXPECT_FALSE(port.IsOpen());

    TVaComm other;
    other.SetDeviceName(pty.SlavePath());
    other.Open();
    EXPECT_TRUE(other.IsOpen());
    other.Close();

    port.SetDatabits(db8);
    port.Open();
    EXPECT_TRUE(port.IsOpen());
}

} // namespace
