// The unit link's settings dialogs on this installation's settings tools.
#include <vector>

#include "axcfg_unit/link_dialogs.h"
#include "tavtools/tavtools_dialogs.h"

namespace axcfg {

namespace {

class CTavLinkDialogs : public ILinkDialogs {
 public:
  int CommunicationSettings(uint8_t* c, const std::string& applicationName, void* owner, uint16_t& number,
                            std::string& name) override {
    // The option list and the reserved values are what the tool has always passed.
    static const int16_t kOptions[5] = {1, 0, 0, 0, 1};
    std::vector<char> buffer(TAVTOOLS_NAME_SIZE, '\0');
    name.copy(buffer.data(), TAVTOOLS_NAME_SIZE - 1);
    uint16_t copy = number;
    int32_t output = 0;
    int rc = TavCommunicationSettings(c, applicationName.c_str(), owner, 0, "", 0, 0, kOptions, 5, &copy, &output,
                                      buffer.data(), 1, 0);
    if (rc == 1) {
      number = copy;
      name = buffer.data();
    }
    return rc;
  }
  int SpecifyStation(uint8_t* c, void* owner, const std::string& applicationName, uint16_t& number,
                     std::string& name) override {
    std::vector<char> buffer(TAVTOOLS_NAME_SIZE, '\0');
    name.copy(buffer.data(), TAVTOOLS_NAME_SIZE - 1);
    int rc = TavSpecifyStation(c, owner, applicationName.c_str(), 0, 1, &number, buffer.data(), 0);
    name = buffer.data();
    return rc;
  }
};

}  // namespace

ILinkDialogs& TavLinkDialogs() {
  static CTavLinkDialogs dialogs;
  return dialogs;
}

}  // namespace axcfg
