#pragma once
// A pseudo-terminal pair standing for a serial or USB device in tests: the
// test holds the master (the device's far end), the code under test opens
// the slave by its path.
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace keldtest {

struct PseudoTerminal {
  int master = -1, slave = -1;
  std::string path;
  // keepSlave false: only the code under test holds the slave open, as with a
  // real device, so closing the master hangs it up.
  explicit PseudoTerminal(bool keepSlave = true) {
    char name[256];
    if (openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
    if (!keepSlave && slave >= 0) {
      close(slave);
      slave = -1;
    }
  }
  ~PseudoTerminal() {
    CloseMaster();
    if (slave >= 0) close(slave);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  void CloseMaster() {
    if (master >= 0) close(master);
    master = -1;
  }
  termios Attr() const {
    termios t{};
    tcgetattr(slave, &t);
    return t;
  }
};

}  // namespace keldtest
