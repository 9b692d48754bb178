#pragma once
// The definition of the 61 parameters: where each is stored in the record,
// its editor rows, range, reset value and texts.
#include <cstdint>

namespace axcfg::detail {

// How a parameter is kept in the record.
enum class Store : uint8_t {
  None,        // defined, but no field (parameter 35)
  UnitCode,    // 16-bit unit code, read and written as a choice index
  U8,
  U16,
  U32,
  S32,
  Bit,         // one flag bit
  Bits2,       // 0/1/2 as 00/01/10
  Judge2,      // 0/1/2 as 00/01/11
  HomeCode,    // 16-bit code; family 1 maps index 6 to code 8
  DirectionBit // bit 1 at offset 40 (family 0) or 42 (family 1)
};

enum class Guide : uint8_t { None, List, Range, RangeBlank, Plain, HomeCode };

struct ParamDef {
  Store store;
  uint8_t offset;
  uint8_t shift;
  int8_t rowS;  // editor row in family 0, -1 when not listed
  int8_t rowI;  // editor row in family 1
  int64_t minimum;  // numbers only; choices use their count
  int64_t maximum;
  int64_t reset;    // as GetParam returns it
  unsigned nameId;
  Guide guide;
  unsigned guideId;
  unsigned guideIdInterp;  // 0 = same as guideId
};

const ParamDef& Def(int no);

// Choice text ids of a parameter for a family; count 0 for numbers.
const unsigned* ChoiceIds(int no, uint32_t family, int& count);

}  // namespace axcfg::detail
