#include "sim/unit_defaults.h"

#include "sim/unit_addresses.h"

namespace sim {

namespace {
// Writes a value at a byte offset of the 152-byte parameter record.
void SetWordAt(CUnitMemory& m, int axis, int byteOffset, uint16_t v) {
  m.SetWord(addr::Params(axis) + byteOffset / 2, v);
}
void SetLongAt(CUnitMemory& m, int axis, int byteOffset, uint32_t v) {
  m.SetLong(addr::Params(axis) + byteOffset / 2, v);
}
}  // namespace

void WriteDefaultParameters(CUnitMemory& m, int axis) {
  m.Fill(addr::Params(axis), addr::kParamWords, 0);
  SetLongAt(m, axis, 4, 1);             // pulse number per rotation
  SetLongAt(m, axis, 8, 1);             // movement amount per rotation
  SetWordAt(m, axis, 14, 0x20);         // pulse input: transfer multiple x 4
  SetWordAt(m, axis, 16, 1);            // moving amount ratio numerator
  SetWordAt(m, axis, 18, 1);            // and denominator
  SetLongAt(m, axis, 24, 1073741823);   // software limit, upper
  SetLongAt(m, axis, 28, static_cast<uint32_t>(-1073741823));  // and lower
  SetWordAt(m, axis, 36, 10 << 8);      // auxiliary output mode 0, ON time 10 ms
  SetWordAt(m, axis, 40, 1);            // limit switch not available
  SetWordAt(m, axis, 42, 0x30);         // limit logics normally closed
  SetLongAt(m, axis, 48, 10000);        // moving amount check value
  SetWordAt(m, axis, 54, 10);           // completion width
  SetWordAt(m, axis, 58, 5000);         // torque judgment value
  SetWordAt(m, axis, 60, 5000);         // actual speed judgment value
  SetWordAt(m, axis, 68, 100);          // home return acceleration time
  SetWordAt(m, axis, 70, 100);          // home return deceleration time
  SetLongAt(m, axis, 72, 1000);         // home return target speed
  SetLongAt(m, axis, 76, 100);          // home return creep speed
  SetWordAt(m, axis, 80, 1);            // deviation counter clear time
  SetWordAt(m, axis, 84, 100);          // JOG acceleration time
  SetWordAt(m, axis, 86, 100);          // JOG deceleration time
  SetLongAt(m, axis, 88, 1000);         // JOG target speed
  SetWordAt(m, axis, 98, 100);
  SetWordAt(m, axis, 102, 100);         // emergency stop deceleration time
  SetWordAt(m, axis, 106, 100);         // limit stop deceleration time
  SetWordAt(m, axis, 110, 100);         // error stop deceleration time
  SetWordAt(m, axis, 114, 1);           // pulser ratio numerator
  SetWordAt(m, axis, 116, 1);           // and denominator
  SetWordAt(m, axis, 122, 100);         // home return torque value
  SetWordAt(m, axis, 124, 100);         // home return judgement time
  SetWordAt(m, axis, 132, 100);         // J point acceleration time
  SetWordAt(m, axis, 134, 100);         // J point deceleration time
  SetLongAt(m, axis, 136, 1000);        // J point target speed
}

void WriteDefaultTable(CUnitMemory& m, int axis, int table) {
  const uint32_t base = addr::Table(axis, table);
  m.Fill(base, addr::kTableWords, 0);
  m.SetWord(base + addr::table::kAccel, 100);
  m.SetWord(base + addr::table::kDecel, 100);
  m.SetLong(base + addr::table::kSpeed, 1000);
}

}  // namespace sim
