// The unit link's transport calls on this installation's communication
// library and its widget-free settings tools.
#include "axcfg_unit/link_library.h"
#include "tavinter/tavinter.h"
#include "tavtools/tavtools.h"

namespace axcfg {

namespace {

class CTavLinkLibrary : public ILinkLibrary {
 public:
  int SetProductNo(uint8_t* c, int productNo) override { return TavSetProductNo(c, productNo); }
  int ReadSection(uint8_t* c, const std::string& section) override { return TavReadSection(c, section.c_str()); }
  int SetLanguage(uint8_t* c, int english) override { return TavSetLanguage(c, english); }
  int SetApplicationName(uint8_t* c, const std::string& name) override {
    return TavSetApplicationName(c, name.c_str());
  }
  int Open(void* owner, uint8_t* c) override { return TavOpen(owner, c); }
  int Close(uint8_t* c) override { return TavClose(c); }
  std::string ErrorText(const uint8_t* c, int code) override {
    char text[256] = {};
    TavGetErrorTextOfRecord(c, code, text, sizeof text);
    return text;
  }
  int ReadWords(uint8_t* c, int station, int slot, long address, long count, uint16_t* words) override {
    return TavReadUnitWords(c, station, TAV_MEMORY_UNIT, slot, address, count, words);
  }
  int WriteWords(uint8_t* c, int station, int slot, long address, long count, const uint16_t* words) override {
    return TavWriteUnitWords(c, station, TAV_MEMORY_UNIT, slot, address, count, words);
  }
  std::string DestinationText(const uint8_t* c, uint16_t number, const std::string& name) override {
    char text[TAVTOOLS_TEXT_SIZE] = {};
    TavDestinationText(c, number, name.c_str(), text);
    return text;
  }
  int CheckProgrammingTool(uint8_t* c, uint16_t number, const std::string& name,
                           const std::string& applicationName) override {
    int32_t scratch = 0;
    return TavCheckProgrammingTool(c, number, &scratch, name.c_str(), applicationName.c_str());
  }
};

}  // namespace

ILinkLibrary& TavLinkLibrary() {
  static CTavLinkLibrary library;
  return library;
}

}  // namespace axcfg
