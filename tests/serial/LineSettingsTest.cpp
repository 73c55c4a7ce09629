#include "serial/VaComm.h"
#include "serial/VaDevice.h"
#include "serial/VaUtils.h"

#include "tests/wspolne/PtyPair.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <termios.h>

namespace {

struct RecordCase {
    const char* name;
    TVaLineSettings settings;
    speed_t speed; // expected Bnnn, or B38400 with customRate
    std::int32_t customRate;
    tcflag_t size;
    tcflag_t parity; // PARENB / PARODD / CMSPAR bits expected
    bool twoStopBits;
    bool inputCheck;
};

TVaLineSettings Line(TVaBaudrate rate, TVaDatabits bits, TVaParity parity, TVaStopbits stop,
                     bool check = false, std::int32_t user = 0) {
    TVaLineSettings line;
    line.Baudrate = rate;
    line.UserBaudrate = user;
    line.Databits = bits;
    line.Parity = parity;
    line.Stopbits = stop;
    line.ParityCheck = check;
    return line;
}

class LineRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(LineRecordTest, BuildsTheTermiosOfTheSettings) {
    const RecordCase& c = GetParam();
    const std::optional<TVaLineRecord> record = VaMakeLineRecord(c.settings);
    ASSERT_TRUE(record.has_value());
    const termios& tio = record->Tio;
    EXPECT_EQ(cfgetospeed(&tio), c.speed);
    EXPECT_EQ(cfgetispeed(&tio), c.speed);
    EXPECT_EQ(record->CustomRate, c.customRate);
    EXPECT_EQ(tio.c_cflag & CSIZE, c.size);
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), c.parity);
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ((tio.c_iflag & INPCK) != 0, c.inputCheck);
    // Always a raw, binary line that receives and ignores the modem lines.
    EXPECT_NE(tio.c_cflag & CREAD, 0U);
    EXPECT_NE(tio.c_cflag & CLOCAL, 0U);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0U);
    EXPECT_EQ(tio.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF), 0U);
    EXPECT_EQ(tio.c_oflag & OPOST, 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LineRecordTest,
    ::testing::Values(
        RecordCase{"ComPort", Line(br9600, db7, paEven, sb2, true), B9600, 0, CS7, PARENB, true,
                   true},
        RecordCase{"Defaults", TVaLineSettings{}, B1200, 0, CS8, 0, false, false},
        RecordCase{"Odd", Line(br19200, db8, paOdd, sb1), B19200, 0, CS8, PARENB | PARODD, false,
                   false},
        RecordCase{"Mark", Line(br2400, db7, paMark, sb1), B2400, 0, CS7, PARENB | PARODD | CMSPAR,
                   false, false},
        RecordCase{"Space", Line(br4800, db6, paSpace, sb2), B4800, 0, CS6, PARENB | CMSPAR, true,
                   false},
        RecordCase{"FiveBits", Line(br110, db5, paNone, sb1), B110, 0, CS5, 0, false, false},
        RecordCase{"Fast", Line(br115200, db8, paNone, sb1), B115200, 0, CS8, 0, false, false},
        RecordCase{"NoConstant", Line(br14400, db8, paNone, sb1), B38400, 14400, CS8, 0, false,
                   false},
        RecordCase{"UserStandard", Line(brUser, db8, paNone, sb1, false, 57600), B57600, 0, CS8, 0,
                   false, false},
        RecordCase{"UserOdd", Line(brUser, db8, paNone, sb1, false, 31250), B38400, 31250, CS8, 0,
                   false, false}),
    [](const auto& przypadek) { return std::string(przypadek.param.name); });

TEST(LineRecord, RefusesWhatLinuxCannotRepresent) {
    EXPECT_FALSE(VaMakeLineRecord(Line(br9600, db4, paNone, sb1)));
    EXPECT_FALSE(VaMakeLineRecord(Line(br9600, db8, paNone, sb15)));
    EXPECT_FALSE(VaMakeLineRecord(Line(brUser, db8, paNone, sb1, false, 0)));
    EXPECT_FALSE(VaMakeLineRecord(Line(brUser, db8, paNone, sb1, false, -9600)));
}

TEST(LineRecord, FlowControlAndSpecialCharacters) {
    TVaLineSettings line;
    line.XonXoffIn = true;
    line.XonXoffOut = true;
    line.OutCtsFlow = true;
    line.XonChar = 0x11;
    line.XoffChar = 0x13;
    line.ControlDtr = dtrEnabled;
    const std::optional<TVaLineRecord> record = VaMakeLineRecord(line);
    ASSERT_TRUE(record);
    EXPECT_NE(record->Tio.c_iflag & IXON, 0U);
    EXPECT_NE(record->Tio.c_iflag & IXOFF, 0U);
    EXPECT_NE(record->Tio.c_cflag & CRTSCTS, 0U);
    EXPECT_EQ(record->Tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(record->Tio.c_cc[VSTOP], 0x13);
    EXPECT_TRUE(record->DtrOn);
    EXPECT_FALSE(record->RtsOn);
}

TEST(LineRecord, XonXoffLimitsFollowReadSize) {
    for (const auto& [readSize, limit] :
         {std::pair{2000, 500}, {4096, 1024}, {100000, 1024}, {0, 0}}) {
        TVaLineSettings line;
        line.ReadSize = readSize;
        const std::optional<TVaLineRecord> record = VaMakeLineRecord(line);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->XonLimit, limit) << readSize;
        EXPECT_EQ(record->XoffLimit, limit) << readSize;
    }
}

TEST(DeviceName, FormatsWithThePortNumberOnly) {
    EXPECT_EQ(VaFormatDeviceName("COM%d", 3), "COM3");
    EXPECT_EQ(VaFormatDeviceName("COM1", 7), "COM1");
    EXPECT_EQ(VaFormatDeviceName("/dev/ttyUSB%i", 0), "/dev/ttyUSB0");
    // Only one placeholder is filled; anything else is kept, never read.
    EXPECT_EQ(VaFormatDeviceName("%d-%d", 1), "1-%d");
    EXPECT_EQ(VaFormatDeviceName("COM%s%n%%", 2), "COM%s%n%");
}

TEST(SettingGroups, NotifyTheOwnerAsTheRulesSay) {
    int notified = 0;
    TVaFlowControl flow;
    flow.SetOnChanged([&] { ++notified; });
    flow.SetOutCtsFlow(false);
    flow.SetControlDtr(dtrDisabled);
    EXPECT_EQ(notified, 0) << "unchanged values are not stored again";
    flow.SetXonXoffIn(true);
    EXPECT_EQ(notified, 1);
    flow.BeginUpdate();
    flow.SetControlRts(rtsEnabled);
    flow.SetDsrSensitivity(true);
    EXPECT_EQ(notified, 1) << "no notification during an update";
    flow.EndUpdate();
    EXPECT_EQ(notified, 2);
    EXPECT_EQ(flow.ControlRts(), rtsEnabled);

    notified = 0;
    TVaEventChars chars;
    chars.SetOnChanged([&] { ++notified; });
    chars.SetXonChar(chars.XonChar());
    EXPECT_EQ(notified, 1) << "event characters notify every time";

    notified = 0;
    TVaBuffers buffers;
    buffers.SetOnChanged([&] { ++notified; });
    buffers.SetReadTimeout(5);
    buffers.SetWriteTimeout(6);
    buffers.SetReadSize(4096);
    EXPECT_EQ(notified, 0);
    buffers.SetReadSize(2000);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(buffers.ReadTimeout(), 5);
    EXPECT_EQ(buffers.WriteTimeout(), 6);
}

TEST(SettingGroups, RefusedSizeChangeKeepsTheOldValue) {
    TVaBuffers buffers;
    buffers.SetOnChanged([] { throw EVaCommError(sMsgPortOpen); });
    EXPECT_THROW(buffers.SetWriteSize(10), EVaCommError);
    EXPECT_EQ(buffers.WriteSize(), 2048);
    TVaBuffers other;
    other.SetReadSize(10);
    EXPECT_THROW(buffers.Assign(other), EVaCommError);
    EXPECT_EQ(buffers.ReadSize(), 4096);
}

TEST(PortProperties, DefaultsAndRateConsistency) {
    TVaComm port;
    EXPECT_EQ(port.DeviceName(), "COM%d");
    EXPECT_EQ(port.PortNum(), 0);
    EXPECT_EQ(port.Baudrate(), br1200);
    EXPECT_EQ(port.Parity(), paNone);
    EXPECT_EQ(port.Databits(), db8);
    EXPECT_EQ(port.Stopbits(), sb1);
    EXPECT_FALSE(port.ParityCheck());
    EXPECT_EQ(port.MonitorEvents(), (TVaCommEvents{ceError, ceRxChar, ceTxEmpty}));
    EXPECT_EQ(port.EventPriority(), tpNormal);
    EXPECT_EQ(port.WritePriority(), tpHighest);
    EXPECT_EQ(port.EventChars().XoffChar(), 19);
    EXPECT_EQ(port.Buffers().WriteSize(), 2048);

    port.SetUserBaudrate(31250);
    EXPECT_EQ(port.Baudrate(), brUser);
    port.SetBaudrate(br9600);
    EXPECT_EQ(port.UserBaudrate(), 0);
    port.SetDatabits(db4); // only stored while closed
    EXPECT_EQ(port.Databits(), db4);
    port.SetPortNum(4);
    EXPECT_EQ(port.FormattedName(), "COM4");
}

TEST(PortProperties, ClosedPortReadsAndWritesNothing) {
    TVaComm port;
    char byte = 0;
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.ReadText(), "");
    EXPECT_EQ(port.Read(&byte, 1), 0);
    EXPECT_EQ(port.InQueueCount(), 0);
    EXPECT_EQ(port.ReadStatus().Errors, 0U);
    EXPECT_TRUE(port.WriteText(""));
    EXPECT_FALSE(port.WriteText("x"));
    EXPECT_EQ(port.Write("x", 1), 0);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

} // namespace
