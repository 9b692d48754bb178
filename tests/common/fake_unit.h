#pragma once
// A scripted unit behind the link's outside calls (transport and dialogs):
// word memory by word address, open and check results, and a FROM handshake
// partner.
#include <map>
#include <string>
#include <vector>

#include "axcfg_unit/link_dialogs.h"
#include "axcfg_unit/link_library.h"
#include "axcfg_unit/link_ui.h"

namespace axcfg_test {

class FakeUnit : public axcfg::ILinkLibrary, public axcfg::ILinkDialogs {
 public:
  int SetProductNo(uint8_t*, int n) override {
    productNo = n;
    return 0;
  }
  int ReadSection(uint8_t*, const std::string& s) override {
    calls.push_back("section " + s);
    return sectionResult;
  }
  int SetLanguage(uint8_t*, int english) override {
    this->english = english;
    return 0;
  }
  int SetApplicationName(uint8_t*, const std::string& n) override {
    calls.push_back("name " + n);
    return 0;
  }
  int Open(void*, uint8_t* context) override {
    calls.push_back("open");
    nameInContext = reinterpret_cast<const char*>(context + 2);
    return openResult;
  }
  int Close(uint8_t*) override {
    calls.push_back("close");
    return 0;
  }
  std::string ErrorText(const uint8_t*, int code) override { return "library error " + std::to_string(code); }
  int ReadWords(uint8_t*, int station, int slot, long address, long count, uint16_t* words) override {
    lastStation = station;
    lastSlot = slot;
    if (failAddress >= 0 && address <= failAddress && failAddress < address + count) return failCode;
    for (long i = 0; i < count; ++i) words[i] = Peek(static_cast<uint32_t>(address + i));
    if (address == 0x81) HandshakeRead();
    return 0;
  }
  int WriteWords(uint8_t*, int station, int slot, long address, long count, const uint16_t* words) override {
    lastStation = station;
    lastSlot = slot;
    if (failAddress >= 0 && address <= failAddress && failAddress < address + count) return failCode;
    for (long i = 0; i < count; ++i) {
      memory[static_cast<uint32_t>(address + i)] = words[i];
      writes.push_back({static_cast<uint32_t>(address + i), words[i]});
    }
    return 0;
  }
  int CommunicationSettings(uint8_t* c, const std::string&, void*, uint16_t& n, std::string& name) override {
    settingsContext = c;
    if (settingsResult == 1) {
      n = 12;
      name = "chosen";
    }
    return settingsResult;
  }
  int SpecifyStation(uint8_t*, void*, const std::string&, uint16_t& n, std::string&) override {
    n = 34;
    return 1;
  }
  std::string DestinationText(const uint8_t*, uint16_t n, const std::string&) override {
    return "Simulation Station No." + std::to_string(n);
  }
  int CheckProgrammingTool(uint8_t*, uint16_t, const std::string&, const std::string&) override {
    calls.push_back("check");
    return checkResult;
  }

  uint16_t Peek(uint32_t word) const {
    auto it = memory.find(word);
    return it == memory.end() ? 0 : it->second;
  }
  void Poke(uint32_t word, uint16_t v) { memory[word] = v; }

  // The unit's side of the FROM handshake: after ackAfterReads reads of the
  // handshake word that see 0x5555, it answers ackValue.
  void HandshakeRead() {
    if (Peek(0x81) == 0x5555 && ++handshakeReads >= ackAfterReads && ackAfterReads > 0) Poke(0x81, ackValue);
  }

  std::map<uint32_t, uint16_t> memory;
  std::vector<std::pair<uint32_t, uint16_t>> writes;
  std::vector<std::string> calls;
  std::string nameInContext;
  int productNo = 0, english = -1, sectionResult = 0, openResult = 0, checkResult = 0, settingsResult = 1;
  int lastStation = -1, lastSlot = -1;
  long failAddress = -1;
  int failCode = -10012;
  int handshakeReads = 0, ackAfterReads = 3;
  uint16_t ackValue = 0x6666;
  uint8_t* settingsContext = nullptr;
};

class RecordingUi : public axcfg::ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override {
    dialogs.push_back(text);
    return dialogAnswer;
  }
  int MessageBox(const std::string& text, unsigned) override {
    boxes.push_back(text);
    return 1;
  }
  std::vector<std::string> dialogs, boxes;
  int dialogAnswer = 2;
};

}  // namespace axcfg_test
