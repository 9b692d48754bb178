#pragma once
// PLC command frames. A frame starts with "%" (or "<" for the long-frame
// header), then the two-character station, then the command and its data, the
// block check code in two upper-case hexadecimal digits, and a carriage return.
// The code is the exclusive-or of every byte from the start character up to
// the last data character. A frame continued by a further frame ends its data
// with "&": the "&" is not part of the code and follows it on the wire.
#include <cstdint>
#include <string>
#include <string_view>

namespace plcframe {

constexpr char kCR = '\r';

// Exclusive-or of the bytes.
uint8_t BlockCheck(std::string_view bytes);

// "%01#RDD00000" -> "%01#RDD0000045\r"; "%01#WD...&" -> "%01#WD..XX&\r".
std::string CompleteFrame(std::string_view commandText);

// The data part of a frame or answer (up to but excluding its code), and its
// code text, found from the end: [CR], optional "&", two code characters.
struct FrameParts {
  std::string_view data;      // start character .. last data character
  std::string_view code;      // the two code characters
  bool continued = false;     // "&" followed the code
};
// False when the text is too short to hold start, station, code and CR.
bool SplitFrame(std::string_view frame, FrameParts& parts);

// True when the code of a complete frame (ending in CR) is right, or is "**".
bool CheckFrameCode(std::string_view frame);

// Two-digit station text: 0 -> "EE", 1..99 -> "01".."99", 255 -> "FF".
std::string StationText(int station);

}  // namespace plcframe
