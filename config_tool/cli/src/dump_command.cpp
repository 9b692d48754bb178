// axcfg dump: the whole document of a setting file as JSON, keys always in
// the same order (see README.md, "axcfg dump").
#include <cstdio>
#include <string>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "file_support.h"
#include "json_line.h"
#include "platform/json_text.h"

namespace axcfg::cli {

const char* const kDumpHelp =
    "Usage: axcfg dump FILE\n"
    "Prints the document of a setting file (opened as the configuration tool opens it)\n"
    "as JSON: format version, family, creator, comment, axis layout, synchronous groups,\n"
    "every parameter of every axis by number with its record bytes, every table row with\n"
    "all 8 axis elements, and the extra-data list. README.md describes the keys.\n";

namespace {

std::string Hex(const uint8_t* bytes, size_t n) { return platform::HexBytes(bytes, n); }

std::string Num(long long v) { return std::to_string(v); }

void DumpLayout(std::string& o, const CAxisLayout& layout) {
  o += "  \"layout\": [";
  for (int i = 0; i < layout.GetAxisEntryCount(); ++i) {
    const uint32_t e = layout.GetAxisEntry(i);
    char entry[16];
    std::snprintf(entry, sizeof entry, "0x%08X", e);
    o += i ? ",\n" : "\n";
    o += "    {\"entry\": " + JsonString(entry) + ", \"group\": ";
    o += IsGroupEntry(e) ? JsonString(std::string(1, GroupLetter(EntryGroupNo(e)))) : "null";
    o += ", \"axes\": [";
    AxisList axes = AxesOfMask(EntryMask(e));
    for (int m = 0; m < axes.count; ++m) o += (m ? ", " : "") + Num(axes.axes[m] + 1);
    o += "]}";
  }
  o += "\n  ],\n";
}

void DumpSync(std::string& o, const SyncGroups& groups) {
  o += "  \"syncGroups\": [";
  for (size_t g = 0; g < groups.size(); ++g) {
    const CSyncGroupRecord& r = groups[g];
    o += g ? ",\n" : "\n";
    o += "    {\"operation\": " + Num(r.operation) + ", \"mode\": " + Num(r.mode) + ", \"masterMask\": " +
         Num(r.masterMask) + ", \"slaveMask\": " + Num(r.slaveMask) + ", \"difference\": " + Num(r.difference) +
         ", \"differenceBehavior\": " + Num(r.differenceBehavior) + "}";
  }
  o += "\n  ],\n";
}

void DumpParams(std::string& o, const CParamBlock& params) {
  o += "  \"parameters\": [";
  for (int axis = 0; axis < kAxisCount; ++axis) {
    o += axis ? ",\n" : "\n";
    o += "    {\"axis\": " + Num(axis + 1) + ", \"values\": [";
    for (int no = 0; no < kParamCount; ++no) o += (no ? ", " : "") + Num(params.GetParamValue(no, axis));
    o += "],\n     \"record\": " + JsonString(Hex(params.RecordBytes(axis), kParamRecordBytes)) + "}";
  }
  o += "\n  ],\n";
}

void DumpRows(std::string& o, const CAxisCfgDoc& doc) {
  o += "  \"rows\": [";
  for (int k = 0; k < doc.GetRowCount(); ++k) {
    const CPosData* row = doc.GetPosData(k);
    o += k ? ",\n" : "\n";
    o += "    {\"table\": " + Num(k + 1) + ", \"elements\": [";
    for (int axis = 0; row && axis < CPosData::kAxes; ++axis) {
      const PosElement& e = row->Element(axis);
      o += axis ? ",\n      " : "\n      ";
      o += "{\"axis\": " + Num(axis + 1) + ", \"controlMethod\": " + Num(e.controlMethod) +
           ", \"jumpNo\": " + Num(e.jumpNo) + ", \"interpPattern\": " + Num(e.interpPattern) +
           ", \"positionMode\": " + Num(e.positionMode) + ", \"moveAmount\": " + Num(e.moveAmount) +
           ", \"auxPoint\": " + Num(e.auxPoint) + ", \"accelPattern\": " + Num(e.accelPattern) +
           ", \"accelTime\": " + Num(e.accelTime) + ", \"decelTime\": " + Num(e.decelTime) +
           ", \"targetSpeed\": " + Num(e.targetSpeed) + ", \"dwellTime\": " + Num(e.dwellTime) +
           ", \"auxCode\": " + Num(e.auxCode) + ", \"comment\": " + JsonString(e.comment) + "}";
    }
    o += "]}";
  }
  o += "\n  ],\n";
}

}  // namespace

int RunDump(const Args& args) {
  ParsedArgs a;
  if (int rc = ParseArgs("dump", args, {}, {}, a)) return rc;
  if (a.positional.size() != 1) return UsageError("dump", "expected FILE");
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(a.positional[0], doc)) return rc;

  std::string o = "{\n";
  o += "  \"family\": " + Num(doc.GetUnitFamily()) + ",\n";
  o += "  \"creator\": " + JsonString(doc.GetCreator()) + ",\n";
  o += "  \"comment\": " + JsonString(doc.GetComment()) + ",\n";
  DumpLayout(o, doc.GetLayout());
  DumpSync(o, doc.GetSyncGroups());
  DumpParams(o, doc.GetParamBlock());
  DumpRows(o, doc);
  o += "  \"extraData\": [";
  for (size_t i = 0; i < doc.ExtraData().size(); ++i) o += (i ? ", " : "") + Num(doc.ExtraData()[i]);
  o += "]\n}\n";
  std::fwrite(o.data(), 1, o.size(), stdout);
  return kExitOk;
}

}  // namespace axcfg::cli
