// The USB layer and link on pseudo-terminals standing for the device.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "connsrv/result_codes.h"
#include "connsrv/usb_link.h"
#include "plcframe/frame_codec.h"
#include "pseudo_terminal.h"

using namespace connsrv;
using namespace keldusb;

namespace {

// The device's far end, with only the code under test holding the slave.
struct Pty : keldtest::PseudoTerminal {
  Pty() : PseudoTerminal(false) {}
  std::string ReadMaster(int waitMs = 500) {
    std::string got;
    pollfd p{master, POLLIN, 0};
    while (poll(&p, 1, waitMs) > 0 && (p.revents & POLLIN)) {
      char buf[4096];
      ssize_t n = read(master, buf, sizeof buf);
      if (n <= 0) break;
      got.append(buf, static_cast<size_t>(n));
      waitMs = 50;
    }
    return got;
  }
};

std::string TempFile(const char* name) {
  std::string path = testing::TempDir() + "/" + name + std::to_string(getpid());
  std::ofstream(path) << "not a device";
  return path;
}

long long ElapsedMs(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

TEST(UsbLayer, DeviceStatusFollowsTheNode) {
  Pty pty;
  ASSERT_FALSE(pty.path.empty());
  std::string path = pty.path;
  CUsbDriver driver([&] { return path; });
  int dev = driver.UsbFindDevice();
  ASSERT_GE(dev, 0);
  EXPECT_EQ(driver.UsbDeviceStatus(dev), kUsbUsable);
  EXPECT_EQ(driver.UsbFindDevice(), dev) << "the same node keeps its device number";
  ASSERT_EQ(driver.UsbOpenPipe(dev, 0, kUsbWritePipe), dev * 2);
  ASSERT_EQ(driver.UsbOpenPipe(dev, 0, kUsbReadPipe), dev * 2 + 1);
  // The device is opened exclusively: a second user of the node is refused.
  CUsbDriver other([&] { return path; });
  int dev2 = other.UsbFindDevice();
  EXPECT_EQ(other.UsbOpenPipe(dev2, 0, kUsbWritePipe), -1);
  // Unplugged: the far end hangs up.
  pty.CloseMaster();
  EXPECT_EQ(driver.UsbDeviceStatus(dev), kUsbGone);
  driver.UsbReleaseDevice(dev);
  EXPECT_EQ(driver.UsbDeviceStatus(dev), kUsbGone) << "a released device number is gone";

  // A regular file stands for a present device that cannot be used.
  path = TempFile("usb-regular");
  dev = driver.UsbFindDevice();
  ASSERT_GE(dev, 0);
  EXPECT_EQ(driver.UsbDeviceStatus(dev), kUsbNotCharacterDevice);
  std::remove(path.c_str());
  EXPECT_EQ(driver.UsbDeviceStatus(dev), kUsbGone);
  EXPECT_EQ(driver.UsbFindDevice(), -1) << "no node, no device";
  path.clear();
  EXPECT_EQ(driver.UsbFindDevice(), -1) << "nothing configured";
}

TEST(UsbLayer, DeviceWithoutPermission) {
  if (geteuid() == 0) GTEST_SKIP() << "root may open any device";
  Pty pty;
  ASSERT_EQ(chmod(pty.path.c_str(), 0), 0);
  CUsbDriver driver([&] { return pty.path; });
  int dev = driver.UsbFindDevice();
  ASSERT_GE(dev, 0);
  EXPECT_EQ(driver.UsbDeviceStatus(dev), kUsbNoPermission);
  EXPECT_EQ(driver.UsbOpenPipe(dev, 0, kUsbWritePipe), -1);
  chmod(pty.path.c_str(), 0620);
}

TEST(UsbLayer, ResetFlushesTheReadDirectionOnlyForItsValue) {
  Pty pty;
  CUsbDriver driver([&] { return pty.path; });
  int dev = driver.UsbFindDevice();
  int in = driver.UsbOpenPipe(dev, 0, kUsbReadPipe);
  ASSERT_GE(in, 0);
  ASSERT_EQ(write(pty.master, "late", 4), 4);
  usleep(20000);
  driver.UsbResetPipe(in, 7);  // any other value does nothing
  char buf[64];
  ASSERT_EQ(driver.UsbStartRead(in), kUsbPending);
  EXPECT_EQ(driver.UsbPollRead(in, buf, sizeof buf, 200), 4);
  ASSERT_EQ(write(pty.master, "late", 4), 4);
  usleep(20000);
  driver.UsbResetPipe(in, kUsbResetFlush);
  ASSERT_EQ(driver.UsbStartRead(in), kUsbPending);
  EXPECT_EQ(driver.UsbPollRead(in, buf, sizeof buf, 50), kUsbPending);
  // Bytes of the other direction are not touched by a read-pipe reset.
  int out = driver.UsbOpenPipe(dev, 0, kUsbWritePipe);
  ASSERT_EQ(driver.UsbStartWrite(out, "sent", 4), kUsbPending);
  ASSERT_EQ(driver.UsbPollWrite(out, 100), kUsbDone);
  driver.UsbResetPipe(in, kUsbResetFlush);
  EXPECT_EQ(pty.ReadMaster(), "sent");
}

TEST(UsbLink, OpenResults) {
  std::string path;
  CUsbLink link([&] { return path; }, SystemClock());
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.Open(), kUsbNoDevice);
  EXPECT_GE(ElapsedMs(start), 400) << "five finds, 100 ms apart";
  path = TempFile("usb-file");
  EXPECT_EQ(link.Open(), kUsbNotUsable);
  EXPECT_FALSE(link.IsOpen());
  std::remove(path.c_str());
  Pty pty;
  path = pty.path;
  EXPECT_EQ(link.Open(), kUsbOpened);
  EXPECT_TRUE(link.IsOpen());
}

TEST(UsbLink, FramesGoOutWithCodeAndAnswersComeBack) {
  Pty pty;
  CUsbLink link([&] { return pty.path; }, SystemClock());
  std::string frame = "%01#RDD0000000001";
  // Not yet open: the send opens the device.
  ASSERT_EQ(link.Send(frame, kUsbSendWithCode), kOk);
  EXPECT_EQ(frame, "%01#RDD0000000001") << "the caller's frame is unchanged";
  EXPECT_EQ(pty.ReadMaster(), plcframe::CompleteFrame(frame));
  ASSERT_EQ(write(pty.master, "%01$RD", 6), 6);
  char buf[64];
  EXPECT_EQ(link.Read(buf, sizeof buf, 500), 6);
  EXPECT_EQ(link.Read(buf, sizeof buf, 20), 0) << "nothing more within the wait";
  // Unplugged while reading: the read fails, and so does the next send.
  pty.CloseMaster();
  EXPECT_EQ(link.Read(buf, sizeof buf, 500), -1);
  EXPECT_EQ(link.Send(frame, kUsbSendWithCode), kErrWrite);
}

TEST(UsbLink, AWriteThePeerDoesNotTakeTimesOut) {
  Pty pty;
  CUsbLink link([&] { return pty.path; }, SystemClock());
  ASSERT_EQ(link.Open(), kUsbOpened);
  link.SetTimeoutMs(300);
  const std::string big(1 << 20, 'x');
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.Send(big, 0), kErrWriteTimeout);
  EXPECT_GE(ElapsedMs(start), 300);
  EXPECT_LT(ElapsedMs(start), 5000);
  EXPECT_TRUE(link.IsOpen()) << "a time-out keeps the device";
}

}  // namespace
