#include "window_placement.h"

#include "platform/registry.h"
#include "startup_rules.h"

using platform::Hive;
using platform::Registry;

namespace axcfgui {

namespace {

constexpr const char* kSection = "WindowPlacement";
constexpr const char* kBarSection = "Ax";

bool ToolKeyExists() { return Registry::KeyExists(Hive::CurrentUser, AppKeyPath()); }

int ReadInt(const char* name, int fallback) {
  auto v = Registry::ReadDword(Hive::CurrentUser, AppSectionKey(kSection), name);
  return v ? static_cast<int32_t>(*v) : fallback;
}

void WriteInt(const char* name, int value) {
  Registry::WriteDword(Hive::CurrentUser, AppSectionKey(kSection), name, static_cast<uint32_t>(value));
}

}  // namespace

PlacementRect DefaultNormalRect(const PlacementRect& desktop) {
  const int width = static_cast<int>(desktop.Width() * 0.8);
  const int height = static_cast<int>(desktop.Height() * 0.8);
  const int centreX = desktop.left + desktop.Width() / 2;
  const int centreY = desktop.top + desktop.Height() / 2;
  PlacementRect r;
  r.left = centreX - width / 2;
  r.top = centreY - height / 2;
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

bool LoadWindowPlacement(WindowPlacementRecord& record, const PlacementRect& desktop) {
  if (!ToolKeyExists()) {
    record = WindowPlacementRecord{};
    record.showCmd = 0;
    record.minX = record.minY = record.maxX = record.maxY = 0;
    return false;
  }
  const PlacementRect def = DefaultNormalRect(desktop);
  record.flags = ReadInt("flags", 0);
  record.showCmd = ReadInt("showCmd", 1);
  record.minX = ReadInt("MinPositionX", -1);
  record.minY = ReadInt("MinPositionY", -1);
  record.maxX = ReadInt("MaxPositionX", -1);
  record.maxY = ReadInt("MaxPositionY", -1);
  record.normal.top = ReadInt("NormalPositionTop", def.top);
  record.normal.bottom = ReadInt("NormalPositionBottom", def.bottom);
  record.normal.left = ReadInt("NormalPositionLeft", def.left);
  record.normal.right = ReadInt("NormalPositionRight", def.right);
  return true;
}

bool SaveWindowPlacement(const WindowPlacementRecord& record) {
  if (!ToolKeyExists()) return false;
  WriteInt("flags", record.flags);
  WriteInt("showCmd", record.showCmd);
  WriteInt("MinPositionX", record.minX);
  WriteInt("MinPositionY", record.minY);
  WriteInt("MaxPositionX", record.maxX);
  WriteInt("MaxPositionY", record.maxY);
  WriteInt("NormalPositionTop", record.normal.top);
  WriteInt("NormalPositionBottom", record.normal.bottom);
  WriteInt("NormalPositionLeft", record.normal.left);
  WriteInt("NormalPositionRight", record.normal.right);
  return true;
}

bool LoadBarState(std::string& state) {
  if (!ToolKeyExists()) return false;
  auto v = Registry::ReadString(Hive::CurrentUser, AppSectionKey(kBarSection), "State");
  if (!v) return false;
  state = *v;
  return true;
}

bool SaveBarState(const std::string& state) {
  if (!ToolKeyExists()) return false;
  return Registry::WriteString(Hive::CurrentUser, AppSectionKey(kBarSection), "State", state);
}

}  // namespace axcfgui
