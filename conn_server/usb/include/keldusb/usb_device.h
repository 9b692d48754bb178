#pragma once
// The USB layer under the USB link: a PLC's two bulk pipes as the kernel
// shows them, a tty device (/dev/ttyACMn from the CDC-ACM driver, or
// /dev/ttyUSBn from the generic usb-serial driver). The calls keep the roles
// of a driver library with a device number and two pipe handles; its
// overlapped transfers become start, poll and cancel calls that never block
// longer than the caller's wait. No Qt, no threads.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace keldusb {

// Device status values.
enum UsbStatus { kUsbUsable = 0, kUsbGone = 1, kUsbNotCharacterDevice = 2, kUsbNoPermission = 3 };
// Pipe numbers of UsbOpenPipe.
enum UsbPipe { kUsbWritePipe = 0, kUsbReadPipe = 1 };
// The pipe reset value that flushes the pipe's direction.
constexpr int kUsbResetFlush = 200;
// The most one read hands back.
constexpr size_t kUsbReadChunk = 2048;

// Poll results of a transfer.
enum UsbPoll { kUsbPending = 0, kUsbDone = 1, kUsbFailed = -1 };

class CUsbDriver {
 public:
  // finder gives the device path to use (empty: no device configured).
  explicit CUsbDriver(std::function<std::string()> finder) : finder_(std::move(finder)) {}
  ~CUsbDriver();
  CUsbDriver(const CUsbDriver&) = delete;
  CUsbDriver& operator=(const CUsbDriver&) = delete;

  // [2] A device number, or -1 when no device node is present.
  int UsbFindDevice();
  // [6] kUsbUsable, kUsbGone (node missing, hang-up or I/O error seen),
  // kUsbNotCharacterDevice or kUsbNoPermission.
  int UsbDeviceStatus(int device);
  // [12] A pipe handle, or -1. The first pipe opens the device exclusively
  // with raw settings and empty queues; both pipes share the descriptor.
  int UsbOpenPipe(int device, int reserved, int pipe);
  // [16] Flushes the pipe's direction for kUsbResetFlush; other values do nothing.
  void UsbResetPipe(int pipeHandle, int how);
  // [3] Closes the device (which unlocks it) and forgets its pipes.
  void UsbReleaseDevice(int device);

  // A write of all bytes: start, then poll until kUsbDone or kUsbFailed.
  // Done means every byte is with the driver. Cancel drops the rest and
  // flushes the output queue.
  int UsbStartWrite(int pipeHandle, const char* bytes, size_t length);
  int UsbPollWrite(int pipeHandle, int waitMs);
  void UsbCancelWrite(int pipeHandle);

  // A read of up to kUsbReadChunk bytes of what has arrived: start, then poll
  // until bytes come (their count), kUsbPending, or kUsbFailed.
  int UsbStartRead(int pipeHandle);
  int UsbPollRead(int pipeHandle, char* buffer, size_t capacity, int waitMs);
  void UsbCancelRead(int pipeHandle);

  // The descriptor of an open device (for tests), -1 when none.
  int DescriptorOf(int device) const;

 private:
  struct Device {
    std::string path;
    int fd = -1;
    bool hungUp = false;
    bool inUse = false;
    unsigned pipesOpen = 0;  // bit per pipe
    std::vector<char> pendingWrite;
    size_t written = 0;
    bool writing = false;
    bool reading = false;
  };
  Device* DeviceOf(int device);
  Device* DeviceOfPipe(int pipeHandle, int pipe);
  bool OpenDescriptor(Device& d);
  void NoteFailure(Device& d, int error);

  std::function<std::string()> finder_;
  std::vector<Device> devices_;
};

}  // namespace keldusb
