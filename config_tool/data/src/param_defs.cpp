#include "param_defs.h"

#include <cstddef>

namespace axcfg::detail {

namespace {

constexpr int64_t kLimit = 1073741823;
constexpr int64_t kSpeedMax = 32767000;

// clang-format off
constexpr ParamDef kDefs[61] = {
//  store              off sh  rowS rowI  min      max        reset     name   guide              id     idI
  {Store::UnitCode,     0, 0,   0,   0,   0,       0,         0,        21001, Guide::List,       21211, 0},      // 0
  {Store::U32,          4, 0,   1,   1,   1,       65535,     1,        21002, Guide::RangeBlank, 21212, 0},      // 1
  {Store::U32,          8, 0,   2,   2,   1,       65535,     1,        21003, Guide::Range,      21213, 0},      // 2
  {Store::Bit,         42, 0,  -1,   3,   0,       0,         0,        21600, Guide::Plain,      21272, 0},      // 3
  {Store::DirectionBit, 0, 1,   3,   4,   0,       0,         0,        21007, Guide::List,       21248, 0},      // 4
  {Store::Bit,         40, 0,   4,   5,   0,       0,         1,        21008, Guide::List,       21249, 0},      // 5
  {Store::Bit,         42, 4,  -1,   6,   0,       0,         1,        21601, Guide::Plain,      21273, 0},      // 6
  {Store::Bit,         42, 5,  -1,   7,   0,       0,         1,        21602, Guide::Plain,      21274, 0},      // 7
  {Store::Bit,         40, 2,   5,  -1,   0,       0,         0,        21009, Guide::List,       21250, 0},      // 8
  {Store::Bit,         42, 2,  -1,   8,   0,       0,         0,        21603, Guide::Plain,      21275, 0},      // 9
  {Store::Bit,         42, 3,  -1,   9,   0,       0,         0,        21604, Guide::Plain,      21276, 0},      // 10
  {Store::Bit,         22, 0,   6,  14,   0,       0,         0,        21011, Guide::List,       21214, 0},      // 11
  {Store::Bit,         22, 1,   7,  15,   0,       0,         0,        21012, Guide::List,       21215, 0},      // 12
  {Store::Bit,         22, 2,   8,  16,   0,       0,         0,        21013, Guide::List,       21216, 0},      // 13
  {Store::S32,         24, 0,   9,  17,  -kLimit,  kLimit,    kLimit,   21014, Guide::Range,      21217, 0},      // 14
  {Store::S32,         28, 0,  10,  18,  -kLimit,  kLimit,   -kLimit,   21015, Guide::Range,      21218, 0},      // 15
  {Store::Bits2,       14, 6,  -1,  10,   0,       0,         0,        21605, Guide::List,       21277, 0},      // 16
  {Store::Bit,         14, 0,  -1,  11,   0,       0,         0,        21606, Guide::List,       21278, 0},      // 17
  {Store::Bits2,       14, 2,  -1,  12,   0,       0,         0,        21607, Guide::Plain,      21279, 0},      // 18
  {Store::Bits2,       14, 4,  -1,  13,   0,       0,         2,        21608, Guide::List,       21280, 0},      // 19
  {Store::U8,          36, 0,  11,  19,   0,       0,         0,        21022, Guide::List,       21221, 0},      // 20
  {Store::U8,          37, 0,  12,  20,   0,       255,       10,       21023, Guide::RangeBlank, 21239, 0},      // 21
  {Store::U16,         38, 0,  13,  21,   0,       100,       0,        21024, Guide::RangeBlank, 21263, 0},      // 22
  {Store::U16,         20, 0,  -1,  22,   0,       0,         0,        21615, Guide::List,       21288, 0},      // 23
  {Store::U16,         54, 0,  14,  -1,   0,       32767,     10,       21040, Guide::RangeBlank, 21222, 0},      // 24
  {Store::Judge2,      56, 0,  15,  -1,   0,       0,         0,        21051, Guide::List,       21223, 0},      // 25
  {Store::U16,         58, 0,  16,  -1,   0,       5000,      5000,     21052, Guide::RangeBlank, 21224, 0},      // 26
  {Store::Judge2,      56, 2,  17,  -1,   0,       0,         0,        21053, Guide::List,       21225, 0},      // 27
  {Store::U16,         60, 0,  18,  -1,   0,       5000,      5000,     21054, Guide::RangeBlank, 21226, 0},      // 28
  {Store::U32,         48, 0,  -1,  23,   0,       65535,     10000,    21609, Guide::Range,      21281, 0},      // 29
  {Store::U16,         16, 0,  -1,  24,   1,       32767,     1,        21610, Guide::Range,      21282, 0},      // 30
  {Store::U16,         18, 0,  -1,  25,   1,       32767,     1,        21611, Guide::Range,      21283, 0},      // 31
  {Store::U16,         52, 0,  -1,  26,   0,       32767,     0,        21612, Guide::Range,      21284, 0},      // 32
  {Store::U32,         44, 0,  -1,  27,   0,       kSpeedMax, 0,        21613, Guide::Range,      21285, 0},      // 33
  {Store::HomeCode,    64, 0,  19,  28,   0,       0,         0,        21061, Guide::HomeCode,   21229, 0},      // 34
  {Store::None,         0, 0,  -1,  -1,   1,       0,         0,        21614, Guide::None,       0,     0},      // 35
  {Store::U16,        122, 0,  20,  -1,   0,       5000,      100,      21063, Guide::RangeBlank, 21261, 0},      // 36
  {Store::U16,        124, 0,  21,  -1,   0,       10000,     100,      21064, Guide::RangeBlank, 21262, 0},      // 37
  {Store::U16,         66, 0,  22,  29,   0,       0,         0,        21062, Guide::List,       21230, 0},      // 38
  {Store::U16,         68, 0,  23,  30,   0,       10000,     100,      21069, Guide::RangeBlank, 21231, 0},      // 39
  {Store::U16,         70, 0,  24,  31,   0,       10000,     100,      21070, Guide::RangeBlank, 21232, 0},      // 40
  {Store::U32,         72, 0,  25,  32,   1,       kSpeedMax, 1000,     21071, Guide::Range,      21233, 0},      // 41
  {Store::U32,         76, 0,  26,  33,   1,       kSpeedMax, 100,      21072, Guide::Range,      21234, 0},      // 42
  {Store::S32,        148, 0,  27,  34,  -kLimit,  kLimit,    0,        21073, Guide::RangeBlank, 21264, 0},      // 43
  {Store::U16,         80, 0,  -1,  35,   1,       100,       1,        21619, Guide::RangeBlank, 21295, 0},      // 44
  {Store::Bit,         82, 1,  28,  36,   0,       0,         0,        21084, Guide::List,       21240, 0},      // 45
  {Store::U16,         84, 0,  29,  37,   0,       10000,     100,      21081, Guide::RangeBlank, 21235, 0},      // 46
  {Store::U16,         86, 0,  30,  38,   0,       10000,     100,      21082, Guide::RangeBlank, 21236, 0},      // 47
  {Store::U32,         88, 0,  31,  39,   1,       kSpeedMax, 1000,     21083, Guide::Range,      21237, 0},      // 48
  {Store::U16,        102, 0,  32,  40,   0,       10000,     100,      21093, Guide::RangeBlank, 21242, 0},      // 49
  {Store::U16,        106, 0,  33,  41,   0,       10000,     100,      21094, Guide::RangeBlank, 21243, 0},      // 50
  {Store::U16,        110, 0,  34,  42,   0,       10000,     100,      21095, Guide::RangeBlank, 21294, 0},      // 51
  {Store::U16,        112, 0,  39,  47,   0,       0,         0,        21097, Guide::List,       21245, 21287},  // 52
  {Store::Bit,        130, 1,  35,  43,   0,       0,         0,        21086, Guide::Plain,      21266, 0},      // 53
  {Store::U16,        132, 0,  36,  44,   0,       10000,     100,      21087, Guide::RangeBlank, 21267, 0},      // 54
  {Store::U16,        134, 0,  37,  45,   0,       10000,     100,      21088, Guide::RangeBlank, 21268, 0},      // 55
  {Store::U32,        136, 0,  38,  46,   1,       kSpeedMax, 1000,     21089, Guide::RangeBlank, 21269, 0},      // 56
  {Store::U16,        118, 0,  40,  48,   0,       0,         0,        21616, Guide::List,       21289, 0},      // 57
  {Store::U16,        114, 0,  41,  49,   1,       32767,     1,        21098, Guide::RangeBlank, 21246, 0},      // 58
  {Store::U16,        116, 0,  42,  50,   1,       32767,     1,        21099, Guide::RangeBlank, 21247, 0},      // 59
  {Store::U32,        144, 0,  43,  51,   0,       kSpeedMax, 0,        21617, Guide::RangeBlank, 21290, 0},      // 60
};
// clang-format on

constexpr unsigned kUnits[] = {21116, 21117, 21129, 21118, 21130, 21119, 21131};
constexpr unsigned kPulseOutputMode[] = {21700, 21701};
constexpr unsigned kDirection[] = {21702, 21703};
constexpr unsigned kLimitSwitch[] = {21704, 21705};
constexpr unsigned kLogic[] = {21706, 21707};
constexpr unsigned kConnection[] = {21708, 21709};
constexpr unsigned kNotAvailableFirst[] = {21705, 21704};
constexpr unsigned kInputPurpose[] = {21710, 21711, 21712};
constexpr unsigned kInputDirection[] = {21713, 21714};
constexpr unsigned kInputMode[] = {21715, 21716, 21717};
constexpr unsigned kMultiple[] = {21718, 21719, 21720};
constexpr unsigned kAuxMode[] = {21721, 21722, 21723};
constexpr unsigned kDifference[] = {21724, 21725, 21726};
constexpr unsigned kJudgment[] = {21705, 21727, 21728};
constexpr unsigned kHomeDirection[] = {21729, 21730};
constexpr unsigned kAccelPattern[] = {21731, 21732};
constexpr unsigned kPulser[] = {21733, 21734, 21735, 21736};
constexpr unsigned kPulserMethod[] = {21737, 21738, 21739};
constexpr unsigned kHomeCodesS[] = {21111, 21112, 21113, 21134, 21135, 21136, 21137, 21138, 21139};
constexpr unsigned kHomeCodesI[] = {21111, 21112, 21113, 21134, 21135, 21740, 21139};

template <size_t N>
const unsigned* List(const unsigned (&ids)[N], int& count) {
  count = static_cast<int>(N);
  return ids;
}

}  // namespace

const ParamDef& Def(int no) { return kDefs[no]; }

const unsigned* ChoiceIds(int no, uint32_t family, int& count) {
  switch (no) {
    case 0: return List(kUnits, count);
    case 3: return List(kPulseOutputMode, count);
    case 4: return List(kDirection, count);
    case 5: return List(kLimitSwitch, count);
    case 6: case 7: case 9: case 10: return List(kLogic, count);
    case 8: return List(kConnection, count);
    case 11: case 12: case 13: return List(kNotAvailableFirst, count);
    case 16: return List(kInputPurpose, count);
    case 17: return List(kInputDirection, count);
    case 18: return List(kInputMode, count);
    case 19: return List(kMultiple, count);
    case 20: return List(kAuxMode, count);
    case 23: return List(kDifference, count);
    case 25: case 27: return List(kJudgment, count);
    case 34: return family == 1 ? List(kHomeCodesI, count) : List(kHomeCodesS, count);
    case 38: return List(kHomeDirection, count);
    case 45: case 53: return List(kAccelPattern, count);
    case 52: {
      const unsigned* ids = List(kPulser, count);
      if (family != 1) count = 3;
      return ids;
    }
    case 57: return List(kPulserMethod, count);
    default:
      count = 0;
      return nullptr;
  }
}

}  // namespace axcfg::detail
