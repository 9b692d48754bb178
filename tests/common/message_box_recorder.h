#pragma once
// Records every message box a test causes and answers it from a script.
#include <deque>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace keldtest {

class MessageBoxRecorder {
 public:
  MessageBoxRecorder() {
    previous_ = platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
      boxes.push_back(r);
      if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
      }
      return platform::DefaultButton(r.type);
    });
  }
  ~MessageBoxRecorder() { platform::SetMessageBoxHandler(previous_); }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (auto& b : boxes) t.push_back(b.text);
    return t;
  }

  std::vector<platform::MessageBoxRequest> boxes;
  std::deque<int> answers;  // answered in order; the default button when empty

 private:
  platform::MessageBoxHandler previous_;
};

}  // namespace keldtest
