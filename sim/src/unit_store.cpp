#include "sim/unit_store.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace sim {

namespace {
constexpr char kMagic[8] = {'K', 'E', 'L', 'D', 'S', 'I', 'M', 'U'};
constexpr uint16_t kVersion = 1;

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}
uint16_t Get16(const std::string& in, size_t pos) {
  return static_cast<uint16_t>(static_cast<uint8_t>(in[pos]) | (static_cast<uint8_t>(in[pos + 1]) << 8));
}
uint32_t Get32(const std::string& in, size_t pos) { return Get16(in, pos) | (static_cast<uint32_t>(Get16(in, pos + 2)) << 16); }

bool WriteImage(const std::string& path, uint16_t model, const std::vector<uint16_t>& words, std::string& error) {
  std::string bytes(kMagic, sizeof kMagic);
  Put16(bytes, kVersion);
  Put16(bytes, model);
  Put32(bytes, static_cast<uint32_t>(words.size()));
  bytes.reserve(bytes.size() + 2 * words.size());
  for (uint16_t w : words) Put16(bytes, w);
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      error = "cannot write " + temp;
      std::remove(temp.c_str());
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    error = "cannot replace " + path + ": " + ec.message();
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

// Reads one image; false with a message when the file is not a whole image
// of the expected model and size.
bool ReadImage(const std::string& path, uint16_t model, size_t wordCount, std::vector<uint16_t>& words,
               std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  constexpr size_t kHeader = sizeof kMagic + 8;
  if (bytes.size() < kHeader || bytes.compare(0, sizeof kMagic, kMagic, sizeof kMagic) != 0) {
    error = path + " is not a simulated unit image";
    return false;
  }
  if (Get16(bytes, 8) != kVersion) {
    error = path + " has an unknown format version";
    return false;
  }
  if (Get16(bytes, 10) != model) {
    error = path + " holds a unit of model " + std::to_string(Get16(bytes, 10));
    return false;
  }
  const uint32_t count = Get32(bytes, 12);
  if (count != wordCount || bytes.size() != kHeader + 2 * static_cast<size_t>(count)) {
    error = path + " is damaged (size does not match)";
    return false;
  }
  words.resize(count);
  for (size_t i = 0; i < count; ++i) words[i] = Get16(bytes, kHeader + 2 * i);
  return true;
}
}  // namespace

CUnitStore::CUnitStore(std::string folder, std::string name) : folder_(std::move(folder)), name_(std::move(name)) {}

std::string CUnitStore::NameFor(int station, int slot, uint16_t model) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "station%02d-slot%02d-model%u", station, slot, model);
  return buf;
}

std::string CUnitStore::WorkingPath() const { return folder_ + "/" + name_ + ".working"; }
std::string CUnitStore::FromPath() const { return folder_ + "/" + name_ + ".from"; }

bool CUnitStore::Save(const CUnitModel& unit, std::string& error) const {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (ec) {
    error = "cannot create " + folder_ + ": " + ec.message();
    return false;
  }
  const uint16_t model = unit.Model().code;
  return WriteImage(WorkingPath(), model, unit.Memory().Words(), error) &&
         WriteImage(FromPath(), model, unit.FromImage(), error);
}

StoreLoad CUnitStore::Load(CUnitModel& unit, std::string& error) const {
  std::error_code ec;
  const bool haveWorking = std::filesystem::exists(WorkingPath(), ec);
  const bool haveFrom = std::filesystem::exists(FromPath(), ec);
  if (!haveWorking && !haveFrom) return StoreLoad::Missing;
  const uint16_t model = unit.Model().code;
  const size_t size = unit.Memory().Size();
  std::vector<uint16_t> working, from;
  bool ok = ReadImage(WorkingPath(), model, size, working, error) && ReadImage(FromPath(), model, size, from, error);
  if (ok && !unit.Restore(working, from)) {
    error = "the saved unit does not fit this unit";
    ok = false;
  }
  if (ok) return StoreLoad::Loaded;
  for (const std::string& path : {WorkingPath(), FromPath()}) {
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) std::filesystem::rename(path, path + ".damaged", ignored);
  }
  error += " (kept as .damaged)";
  return StoreLoad::Damaged;
}

}  // namespace sim
