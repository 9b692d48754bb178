#include "connsrv/serial_port.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace connsrv {

namespace {

speed_t SpeedFor(int bps) {
  switch (bps) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
  }
}

constexpr int kParitySpaceAlias = 4;

}  // namespace

int CSerialPort::Open(const std::string& devicePath, const SerialSettings& settings) {
  Close();
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(500));
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    // No sharing: a second opener of the same device is refused.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
      ::close(fd);
      continue;
    }
    fd_ = fd;
    path_ = devicePath;
    break;
  }
  if (fd_ < 0) return kSerialOpenFailed;
  int rc = Configure(settings);
  if (rc != 0) {
    Close();
    return rc;
  }
  // Raise DTR; a pseudo-terminal has no modem lines, which is fine.
  int dtr = TIOCM_DTR;
  ::ioctl(fd_, TIOCMBIS, &dtr);
  return 0;
}

int ApplySerialSettings(const SerialSettings& s, termios& t) {
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR | CSIZE | CSTOPB | CRTSCTS);
  switch (s.dataBits) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: return kSerialSetFailed;
  }
  switch (s.parity) {
    case tavinter::kParityNone: break;
    case tavinter::kParityOdd: t.c_cflag |= PARENB | PARODD; break;
    case tavinter::kParityEven: t.c_cflag |= PARENB; break;
    case tavinter::kParitySpace:
    case kParitySpaceAlias: t.c_cflag |= PARENB | CMSPAR; break;
    default: return kSerialSetFailed;
  }
  // Parity checking on the input when the frame has a parity bit.
  if (s.parity != 0) t.c_iflag |= INPCK;
  if (s.stopBits != 1) t.c_cflag |= CSTOPB;
  if (s.flowControl) t.c_cflag |= CRTSCTS;
  if (speed_t sp = SpeedFor(tavinter::BaudRateOfIndex(s.baudIndex)); sp != B0) {
    ::cfsetispeed(&t, sp);
    ::cfsetospeed(&t, sp);
  }
  // Reads are polled with their own waits; the driver returns what is there.
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  return 0;
}

int CSerialPort::Configure(const SerialSettings& s) {
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) return kSerialGetFailed;
  if (int rc = ApplySerialSettings(s, t); rc != 0) return rc;
  if (::tcsetattr(fd_, TCSANOW, &t) != 0) return kSerialSetFailed;
  return 0;
}

bool CSerialPort::SetFlowControl(bool on) {
  termios t{};
  if (fd_ < 0 || ::tcgetattr(fd_, &t) != 0) return false;
  if (on) t.c_cflag |= CRTSCTS;
  else t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  return ::tcsetattr(fd_, TCSANOW, &t) == 0;
}

void CSerialPort::SetDtr(bool raised) {
  if (fd_ < 0) return;
  int dtr = TIOCM_DTR;
  ::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &dtr);
}

void CSerialPort::Close() {
  if (fd_ < 0) return;
  int dtr = TIOCM_DTR;
  ::ioctl(fd_, TIOCMBIC, &dtr);
  ::tcflush(fd_, TCIOFLUSH);
  ::close(fd_);
  fd_ = -1;
}

void CSerialPort::Purge() {
  if (fd_ >= 0) ::tcflush(fd_, TCIOFLUSH);
}

int CSerialPort::QueuedOutput() const {
  int queued = 0;
  return ::ioctl(fd_, TIOCOUTQ, &queued) == 0 ? queued : -1;
}

bool CSerialPort::WaitOutputSent(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const int queued = QueuedOutput();
    if (queued == 0) return true;
    if (queued < 0) return ::tcdrain(fd_) == 0;  // the device cannot tell: let the driver wait
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // About the time the queued bytes need at the slowest rate, within bounds.
    ::poll(nullptr, 0, std::clamp(queued / 10, 5, 100));
  }
}

bool CSerialPort::Write(const char* bytes, size_t length) {
  if (fd_ < 0) return false;
  // The frame must have left the port within the write limit; only then does
  // the caller's answer time-out start, and a purge can no longer cut it.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(writeLimitMs_);
  size_t done = 0;
  while (done < length) {
    ssize_t n = ::write(fd_, bytes + done, length - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd_, POLLOUT, 0};
    ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
  }
  return WaitOutputSent(deadline);
}

int CSerialPort::Read(char* buffer, size_t capacity, int waitMs) {
  if (fd_ < 0) return -1;
  pollfd p{fd_, POLLIN, 0};
  int rc;
  do {
    rc = ::poll(&p, 1, waitMs);
  } while (rc < 0 && errno == EINTR);
  if (rc < 0) return -1;
  if (rc == 0) return 0;
  if (p.revents & POLLIN) {
    ssize_t n = ::read(fd_, buffer, capacity);
    if (n > 0) return static_cast<int>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return -1;
  }
  // POLLHUP/POLLERR: the other end of a pseudo-terminal went away, or the device failed.
  return -1;
}

}  // namespace connsrv
