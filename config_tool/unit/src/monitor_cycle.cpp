#include "axcfg_unit/monitor_cycle.h"

#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/word_reader.h"

namespace axcfg {

namespace ua = unitaddr;

namespace {

uint32_t Block(int axis, uint32_t offset) { return ua::MonitorState(axis) + offset; }

IdentText ReadIdent(const CWordReader& r, uint32_t address) {
  IdentText text{};
  for (uint32_t i = 0; i < ua::kIdentTextWords; ++i) {
    const uint16_t w = r.Word(address + 2 * i);
    text[2 * i] = static_cast<uint8_t>(w >> 8);
    text[2 * i + 1] = static_cast<uint8_t>(w & 0xFF);
  }
  return text;
}

}  // namespace

std::array<SyncGroupState, 2> SyncGroupsRead(const CWordReader& r) {
  std::array<SyncGroupState, 2> sync{};
  for (uint32_t g = 0; g < 2; ++g) {
    sync[g].mode = r.Word(ua::kSyncGroups + 6 * g);
    sync[g].master = r.Word(ua::kSyncGroups + 6 * g + 2);
    sync[g].slave = r.Word(ua::kSyncGroups + 6 * g + 4);
    sync[g].condition = r.Word(ua::kSyncCondition + 2 * g);
  }
  return sync;
}

uint16_t ErrorWarningRead(const CWordReader& r) {
  return static_cast<uint16_t>(((r.Word(ua::kErrorFlags) & 0xFF) << 8) | (r.Word(ua::kWarningFlags) & 0xFF));
}

void CMonitorCycle::Count(const CWordReader& reader) {
  frames_ = reader.Frames();
  words_ = reader.WordsRead();
}

int CDataMonitorCycle::Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, DataMonitorSnapshot& snap) {
  CWordReader r(link, merge_);
  // Unit-wide values; the connection word decides which monitor blocks exist.
  if (merge_) {
    r.Add(ua::kStatusFrom, 2);  // connection and busy words
    r.Add(ua::kSyncGroups, ua::kSyncGroupWords);
    r.Add(ua::kSyncCondition, 2);
  } else {
    r.Add(ua::kSyncGroups, ua::kSyncGroupWords);
    r.Add(ua::kSyncCondition, 2);
    r.Add(ua::kStatusFrom, 1);
  }
  int rc = r.Run();
  const uint16_t connection = static_cast<uint16_t>(~r.Word(ua::kStatusFrom));
  auto connected = [&](int axis) { return (connection >> (8 + axis)) & 1; };

  for (const MonitorAxis& a : axes) {
    if (rc) break;
    const int n = a.axis;
    if (connected(n)) {
      r.Add(ua::MonitorState(n), ua::kMonitorBlockWords);
      r.Add(ua::UnitCode(n), 1);
    } else if (merge_) {
      r.Add(Block(n, ua::mon::kDeviation), 4);  // deviation and pulse input
    }
    r.Add(ua::ErrorCode(n), 2);
    r.Add(ua::WarningCode(n), 2);
    if (!merge_) {
      r.Add(Block(n, ua::mon::kPulseInput), 2);
      r.Add(Block(n, ua::mon::kDeviation), 2);
    }
  }
  if (!rc) rc = r.Run();
  if (!rc) {
    r.Add(ua::kErrorFlags, 1);
    r.Add(ua::kWarningFlags, 1);
    if (!merge_) r.Add(ua::kStatusBusy, 1);
    rc = r.Run();
  }
  Count(r);
  if (rc) return rc;

  DataMonitorSnapshot s;
  s.valid = true;
  s.sync = SyncGroupsRead(r);
  s.connection = connection;
  s.busy = static_cast<uint16_t>(~r.Word(ua::kStatusBusy));
  s.errorWarning = ErrorWarningRead(r);
  for (const MonitorAxis& a : axes) {
    const int n = a.axis;
    DataAxisValues& v = s.axes[n];
    if (connected(n)) {
      v.unitCode = r.Word(ua::UnitCode(n));
      v.currentPulse = r.S32(Block(n, ua::mon::kPulses));
      v.currentValue = r.S32(Block(n, ua::mon::kPosition));
      v.torque = r.S16(Block(n, ua::mon::kTorque));
      v.speed = r.S16(Block(n, ua::mon::kSpeed));
      v.activeTable = r.Word(Block(n, ua::mon::kTable));
      v.auxCode = r.Word(Block(n, ua::mon::kAuxCode));
    }
    v.pulseInput = r.S32(Block(n, ua::mon::kPulseInput));
    v.deviation = r.S32(Block(n, ua::mon::kDeviation));
    v.errorCode = r.U32(ua::ErrorCode(n));
    v.warningCode = r.U32(ua::WarningCode(n));
  }
  snap = s;
  return 0;
}

int CStatusMonitorCycle::Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, StatusMonitorSnapshot& snap) {
  CWordReader r(link, merge_);
  r.Add(ua::kModelCode, 1);
  if (merge_) {
    r.Add(ua::kFirmwareVersion, 1);
    r.Add(ua::kHardwareVersion, 1);
    r.Add(ua::kFromWriteCount, 1);
    r.Add(ua::kStatusFrom, 4);  // connection, busy, spare and home input words
  } else {
    r.Add(ua::kStatusFrom, 1);
    r.Add(ua::kStatusBusy, 3);
  }
  int rc = r.Run();
  const uint16_t connection = static_cast<uint16_t>(~r.Word(ua::kStatusFrom));
  auto connected = [&](int axis) { return (connection >> (8 + axis)) & 1; };
  for (const MonitorAxis& a : axes) {
    if (rc || !connected(a.axis)) continue;
    r.Add(ua::BrandName(a.axis), ua::kIdentTextWords);
    r.Add(ua::AmpModel(a.axis), ua::kIdentTextWords);
    r.Add(ua::MotorModel(a.axis), ua::kIdentTextWords);
    r.Add(ua::MonitorState(a.axis), 2);
  }
  if (!merge_) {
    r.Add(ua::kFromWriteCount, 1);
    r.Add(ua::kFirmwareVersion, 1);
    r.Add(ua::kHardwareVersion, 1);
  }
  if (!rc) rc = r.Run();
  if (rc) {
    Count(r);
    return rc;
  }

  StatusMonitorSnapshot s;
  s.modelCode = r.Word(ua::kModelCode);
  s.fromWrites = r.Word(ua::kFromWriteCount);
  s.firmware = r.Word(ua::kFirmwareVersion);
  s.hardware = r.Word(ua::kHardwareVersion);
  const uint16_t busy = static_cast<uint16_t>(~r.Word(ua::kStatusBusy));
  const uint16_t spare = static_cast<uint16_t>(~r.Word(ua::kStatusSpare));
  for (const MonitorAxis& a : axes) {
    const int n = a.axis;
    StatusAxisValues& v = s.axes[n];
    if (connected(n)) v.flags |= kStatConnected;
    if ((busy >> (8 + n)) & 1) v.flags |= kStatRunning;
    if ((spare >> (8 + n)) & 1) v.flags |= kStatSpare;
    if (!connected(n)) continue;
    const uint16_t state = r.Word(ua::MonitorState(n) + ua::mon::kState);
    const uint16_t inputs = r.Word(ua::MonitorState(n) + ua::mon::kInputs);
    if (state & 0x0001) v.flags |= kStatInPosition;
    if (state & 0x0080) v.flags |= kStatServoLocked;
    if (inputs & 0x0004) v.flags |= kStatHomeProximity;
    if (inputs & 0x0001) v.flags |= kStatLimitPlus;
    if (inputs & 0x0002) v.flags |= kStatLimitMinus;
    v.brand = ReadIdent(r, ua::BrandName(n));
    v.ampModel = ReadIdent(r, ua::AmpModel(n));
    v.motorModel = ReadIdent(r, ua::MotorModel(n));
  }
  // What has been read so far stands even when the home input read fails.
  s.homeInput = snap.homeInput;
  s.valid = true;
  snap = s;
  if (!merge_) {
    r.Add(ua::kStatusHome, 1);
    rc = r.Run();
  }
  Count(r);
  if (rc) return rc;
  snap.homeInput = r.Word(ua::kStatusHome);
  return 0;
}

}  // namespace axcfg
