#include "keldusb/usb_device.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace keldusb {

namespace {

bool IsGoneError(int error) { return error == EIO || error == ENODEV || error == ENXIO || error == EBADF; }

// The wait of one poll step: a negative wait polls without waiting.
int PollWait(int waitMs) { return waitMs < 0 ? 0 : waitMs; }

}  // namespace

CUsbDriver::~CUsbDriver() {
  for (size_t i = 0; i < devices_.size(); ++i) UsbReleaseDevice(static_cast<int>(i));
}

CUsbDriver::Device* CUsbDriver::DeviceOf(int device) {
  if (device < 0 || static_cast<size_t>(device) >= devices_.size() || !devices_[device].inUse) return nullptr;
  return &devices_[device];
}

CUsbDriver::Device* CUsbDriver::DeviceOfPipe(int pipeHandle, int pipe) {
  if (pipeHandle < 0 || pipeHandle % 2 != pipe) return nullptr;
  Device* d = DeviceOf(pipeHandle / 2);
  if (!d || d->fd < 0 || !(d->pipesOpen & (1u << pipe))) return nullptr;
  return d;
}

int CUsbDriver::UsbFindDevice() {
  const std::string path = finder_ ? finder_() : std::string();
  if (path.empty()) return -1;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  for (size_t i = 0; i < devices_.size(); ++i) {
    if (devices_[i].inUse && devices_[i].path == path) return static_cast<int>(i);
  }
  for (size_t i = 0; i < devices_.size(); ++i) {
    if (!devices_[i].inUse) {
      devices_[i] = Device{};
      devices_[i].path = path;
      devices_[i].inUse = true;
      return static_cast<int>(i);
    }
  }
  Device d;
  d.path = path;
  d.inUse = true;
  devices_.push_back(std::move(d));
  return static_cast<int>(devices_.size() - 1);
}

int CUsbDriver::UsbDeviceStatus(int device) {
  Device* d = DeviceOf(device);
  if (!d || d->hungUp) return kUsbGone;
  struct stat st {};
  // The node goes when the device is unplugged (or its stand-in stops).
  if (::stat(d->path.c_str(), &st) != 0) return kUsbGone;
  if (!S_ISCHR(st.st_mode)) return kUsbNotCharacterDevice;
  if (d->fd < 0) return ::access(d->path.c_str(), R_OK | W_OK) == 0 ? kUsbUsable : kUsbNoPermission;
  pollfd p{d->fd, 0, 0};
  if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
    d->hungUp = true;
    return kUsbGone;
  }
  return kUsbUsable;
}

bool CUsbDriver::OpenDescriptor(Device& d) {
  int fd = ::open(d.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  // No sharing: a second program opening the same device is refused.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
    ::close(fd);
    return false;
  }
  termios t{};
  if (::tcgetattr(fd, &t) != 0) {
    ::close(fd);
    return false;
  }
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    ::close(fd);
    return false;
  }
  ::tcflush(fd, TCIOFLUSH);
  d.fd = fd;
  d.hungUp = false;
  return true;
}

int CUsbDriver::UsbOpenPipe(int device, int /*reserved*/, int pipe) {
  Device* d = DeviceOf(device);
  if (!d || (pipe != kUsbWritePipe && pipe != kUsbReadPipe)) return -1;
  if (d->fd < 0 && !OpenDescriptor(*d)) return -1;
  d->pipesOpen |= 1u << pipe;
  return device * 2 + pipe;
}

void CUsbDriver::UsbResetPipe(int pipeHandle, int how) {
  if (how != kUsbResetFlush || pipeHandle < 0) return;
  Device* d = DeviceOfPipe(pipeHandle, pipeHandle % 2);
  if (!d) return;
  ::tcflush(d->fd, pipeHandle % 2 == kUsbWritePipe ? TCOFLUSH : TCIFLUSH);
}

void CUsbDriver::UsbReleaseDevice(int device) {
  Device* d = DeviceOf(device);
  if (!d) return;
  if (d->fd >= 0) ::close(d->fd);  // closing also drops the lock
  *d = Device{};
}

int CUsbDriver::DescriptorOf(int device) const {
  if (device < 0 || static_cast<size_t>(device) >= devices_.size()) return -1;
  return devices_[device].fd;
}

void CUsbDriver::NoteFailure(Device& d, int error) {
  if (IsGoneError(error)) d.hungUp = true;
}

int CUsbDriver::UsbStartWrite(int pipeHandle, const char* bytes, size_t length) {
  Device* d = DeviceOfPipe(pipeHandle, kUsbWritePipe);
  if (!d || d->hungUp) return kUsbFailed;
  d->pendingWrite.assign(bytes, bytes + length);
  d->written = 0;
  d->writing = true;
  return kUsbPending;
}

int CUsbDriver::UsbPollWrite(int pipeHandle, int waitMs) {
  Device* d = DeviceOfPipe(pipeHandle, kUsbWritePipe);
  if (!d || !d->writing) return kUsbFailed;
  for (int round = 0; round < 2; ++round) {
    while (d->written < d->pendingWrite.size()) {
      ssize_t n = ::write(d->fd, d->pendingWrite.data() + d->written, d->pendingWrite.size() - d->written);
      if (n > 0) {
        d->written += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
      NoteFailure(*d, n < 0 ? errno : EIO);
      d->writing = false;
      return kUsbFailed;
    }
    if (d->written == d->pendingWrite.size()) {
      d->writing = false;
      return kUsbDone;
    }
    if (round > 0) break;
    // The driver's queue is full: wait for room, at most the caller's wait.
    pollfd p{d->fd, POLLOUT, 0};
    int rc = ::poll(&p, 1, PollWait(waitMs));
    if (rc > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
      d->hungUp = true;
      d->writing = false;
      return kUsbFailed;
    }
    if (rc <= 0) break;
  }
  return kUsbPending;
}

void CUsbDriver::UsbCancelWrite(int pipeHandle) {
  Device* d = DeviceOfPipe(pipeHandle, kUsbWritePipe);
  if (!d) return;
  d->writing = false;
  d->pendingWrite.clear();
  d->written = 0;
  ::tcflush(d->fd, TCOFLUSH);
}

int CUsbDriver::UsbStartRead(int pipeHandle) {
  Device* d = DeviceOfPipe(pipeHandle, kUsbReadPipe);
  if (!d || d->hungUp) return kUsbFailed;
  d->reading = true;
  return kUsbPending;
}

int CUsbDriver::UsbPollRead(int pipeHandle, char* buffer, size_t capacity, int waitMs) {
  Device* d = DeviceOfPipe(pipeHandle, kUsbReadPipe);
  if (!d || !d->reading || capacity == 0) return kUsbFailed;
  pollfd p{d->fd, POLLIN, 0};
  int rc;
  do {
    rc = ::poll(&p, 1, PollWait(waitMs));
  } while (rc < 0 && errno == EINTR);
  if (rc < 0) {
    NoteFailure(*d, errno);
    d->reading = false;
    return kUsbFailed;
  }
  if (rc == 0) return kUsbPending;
  if (p.revents & POLLIN) {
    ssize_t n = ::read(d->fd, buffer, capacity < kUsbReadChunk ? capacity : kUsbReadChunk);
    if (n > 0) {
      d->reading = false;
      return static_cast<int>(n);
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return kUsbPending;
    NoteFailure(*d, n < 0 ? errno : EIO);
    d->hungUp = true;
    d->reading = false;
    return kUsbFailed;
  }
  // Hang-up or error without data: the device went away.
  d->hungUp = true;
  d->reading = false;
  return kUsbFailed;
}

void CUsbDriver::UsbCancelRead(int pipeHandle) {
  Device* d = DeviceOfPipe(pipeHandle, kUsbReadPipe);
  if (d) d->reading = false;
}

}  // namespace keldusb
