#pragma once
// The transport calls of the unit link: the communication library (set-up,
// open, close, unit memory, error texts) and the widget-free settings tools
// (destination text, programming-tool check). The settings dialogs are a
// separate interface (link_dialogs.h), so that a program without windows
// links no widget library. The tool uses the real calls; tests put a
// scripted unit in their place.
#include <cstdint>
#include <string>

namespace axcfg {

constexpr size_t kLinkContextSize = 304;

class ILinkLibrary {
 public:
  virtual ~ILinkLibrary() = default;
  // Library set-up for the link's context: product number, the application's
  // section, language (english != 0), application name of an open connection.
  virtual int SetProductNo(uint8_t* context, int productNo) = 0;
  virtual int ReadSection(uint8_t* context, const std::string& section) = 0;
  virtual int SetLanguage(uint8_t* context, int english) = 0;
  virtual int SetApplicationName(uint8_t* context, const std::string& name) = 0;
  virtual int Open(void* owner, uint8_t* context) = 0;
  virtual int Close(uint8_t* context) = 0;
  virtual std::string ErrorText(const uint8_t* context, int code) = 0;
  virtual int ReadWords(uint8_t* context, int station, int slot, long wordAddress, long count, uint16_t* words) = 0;
  virtual int WriteWords(uint8_t* context, int station, int slot, long wordAddress, long count,
                         const uint16_t* words) = 0;

  virtual std::string DestinationText(const uint8_t* context, uint16_t destinationNo,
                                      const std::string& destinationName) = 0;
  virtual int CheckProgrammingTool(uint8_t* context, uint16_t destinationNo, const std::string& destinationName,
                                   const std::string& applicationName) = 0;
};

// The communication library and settings tools of this installation.
ILinkLibrary& TavLinkLibrary();

}  // namespace axcfg
