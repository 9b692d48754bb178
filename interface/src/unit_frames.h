#pragma once
// The PLC commands by which the library reads and writes a unit's shared
// memory, and the reading of their answers:
//   read   %SS#UR slot(2 dec) address(5 hex) count(3 hex)          -> $UR words
//   write  %SS#UW slot(2 dec) address(5 hex) count(3 hex) words    -> $UW
//   error  !nn (40 block check, 41 format, 42 unknown command, 60 no unit, 61 address range)
// Station "EE" is station 0, otherwise two decimal digits. The answers are
// those the server delivers: from the "$" or "!" on, with the block check
// code and carriage return the PLC sent.
#include <cstdint>
#include <string>
#include <vector>

namespace tavinter {

constexpr long kMaxWordsPerFrame = 500;
constexpr long kUnitAddressLimit = 0x100000;

struct CFramePiece {
  long address;
  long count;
};

// The frames of a transfer, ascending, each at most 500 words.
std::vector<CFramePiece> SplitTransfer(long address, long count);

// 0 when the arguments name a valid transfer, else TAV_E_BAD_ARGUMENT.
int CheckTransfer(int station, int slot, long address, long count);

std::string StationText(int station);
std::string BuildReadFrame(int station, int slot, long address, long count);
std::string BuildWriteFrame(int station, int slot, long address, long count, const uint16_t* words);

// The code of an error answer "!nn", TAV_E_BAD_ANSWER when malformed, 1 when
// the text is not an error answer at all.
int ErrorAnswerCode(const std::vector<uint8_t>& answer);
// Reads the words of a "$UR" answer; 0, an error answer's code or TAV_E_BAD_ANSWER.
int ParseReadAnswer(const std::vector<uint8_t>& answer, long count, uint16_t* words);
int ParseWriteAnswer(const std::vector<uint8_t>& answer);

}  // namespace tavinter
