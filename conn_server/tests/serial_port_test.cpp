#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

#include "connsrv/serial_port.h"
#include "pseudo_terminal.h"

using namespace connsrv;

namespace {

using Pty = keldtest::PseudoTerminal;

TEST(SerialPort, SettingsBecomeTheFrameFormat) {
  termios t{};
  SerialSettings s;
  s.baudIndex = 7;
  s.dataBits = 7;
  s.parity = 3;  // space parity
  s.stopBits = 2;
  ASSERT_EQ(ApplySerialSettings(s, t), 0);
  EXPECT_EQ(cfgetospeed(&t), B115200);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
  EXPECT_TRUE((t.c_cflag & PARENB) && (t.c_cflag & CMSPAR) && !(t.c_cflag & PARODD));
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));

  // Index 9 keeps the rate; stop-bits code 0 also means two; odd parity.
  s = {};
  s.baudIndex = 9;
  s.stopBits = 0;
  s.parity = 1;
  s.flowControl = true;
  ASSERT_EQ(ApplySerialSettings(s, t), 0);
  EXPECT_EQ(cfgetospeed(&t), B115200);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_TRUE((t.c_cflag & PARENB) && (t.c_cflag & PARODD) && !(t.c_cflag & CMSPAR));
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
  s = {};
  s.dataBits = 9;
  EXPECT_EQ(ApplySerialSettings(s, t), kSerialSetFailed);
  s = {};
  s.parity = 5;
  EXPECT_EQ(ApplySerialSettings(s, t), kSerialSetFailed);
  s = {};
  s.parity = 4;  // the other code for space parity
  ASSERT_EQ(ApplySerialSettings(s, t), 0);
  EXPECT_TRUE((t.c_cflag & PARENB) && (t.c_cflag & CMSPAR));
}

TEST(SerialPort, OpensAPseudoTerminalWithRateAndStopBits) {
  Pty pty;
  ASSERT_FALSE(pty.path.empty());
  CSerialPort port;
  SerialSettings s;
  s.baudIndex = 2;
  s.stopBits = 2;
  ASSERT_EQ(port.Open(pty.path, s), 0);
  termios t = pty.Attr();
  EXPECT_EQ(cfgetospeed(&t), B4800);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_TRUE(port.SetFlowControl(true));
  EXPECT_TRUE(pty.Attr().c_cflag & CRTSCTS);
  port.Close();
  s.dataBits = 9;
  EXPECT_EQ(port.Open(pty.path, s), kSerialSetFailed);
  EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPort, MovesBytesAndRefusesASecondOpener) {
  Pty pty;
  CSerialPort port;
  ASSERT_EQ(port.Open(pty.path, {}), 0);
  CSerialPort second;
  EXPECT_EQ(second.Open(pty.path, {}), kSerialOpenFailed);
  EXPECT_EQ(CSerialPort().Open("/dev/nonexistent-port", {}), kSerialOpenFailed);

  ASSERT_TRUE(port.Write("%01#RT\r", 7));
  char buf[64];
  ssize_t n = read(pty.master, buf, sizeof buf);
  ASSERT_EQ(n, 7);
  EXPECT_EQ(std::string(buf, 7), "%01#RT\r");
  EXPECT_EQ(port.Read(buf, sizeof buf, 20), 0);  // nothing waiting: returns after the wait
  ASSERT_EQ(write(pty.master, "%01$RT", 6), 6);
  n = port.Read(buf, sizeof buf, 1000);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(buf, n), std::string("%01$RT").substr(0, n));
  // The peer going away is a failed read.
  close(pty.master);
  pty.master = -1;
  EXPECT_EQ(port.Read(buf, sizeof buf, 200), -1);
}

// A port whose device reports a slowly emptying output queue, as a real
// line at a low rate does (a pseudo-terminal's queue is always empty).
class CSlowLinePort : public CSerialPort {
 public:
  mutable std::vector<int> queue;  // what each look at the queue shows, then 0
  mutable int looks = 0;

 protected:
  int QueuedOutput() const override {
    ++looks;
    if (queue.empty()) return 0;
    int q = queue.front();
    if (queue.size() > 1 || q == 0) queue.erase(queue.begin());
    return q;
  }
};

TEST(SerialPort, WriteReturnsOnlyOnceTheFrameIsOutOrTheLimitPasses) {
  Pty pty;
  CSlowLinePort port;
  ASSERT_EQ(port.Open(pty.path, {}), 0);
  port.queue = {2019, 1500, 900, 300, 0};
  ASSERT_TRUE(port.Write("%01#RT\r", 7));
  EXPECT_TRUE(port.queue.empty());  // every state of the queue was waited through
  EXPECT_EQ(port.looks, 5);
  // A line that never empties fails the write at its limit.
  port.queue = {100};
  port.SetWriteLimitMs(200);
  EXPECT_FALSE(port.Write("%01#RT\r", 7));
  char buf[64];
  EXPECT_EQ(read(pty.master, buf, sizeof buf), 14);
}

}  // namespace

TEST(SerialPort, DiscoveryListsCharacterDevicesInOrder) {
  Pty a, b;
  auto present = PresentComPorts([&](int n) -> std::string {
    if (n == 9) return b.path;
    if (n == 4) return a.path;
    if (n == 5) return "/tmp";  // not a device
    return n == 6 ? "" : "/dev/nonexistent-" + std::to_string(n);
  });
  EXPECT_EQ(present, (std::vector<int>{4, 9}));
}
