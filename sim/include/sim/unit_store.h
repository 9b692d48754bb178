#pragma once
// Keeps the simulated unit's working memory and FROM image in the data
// folder between runs, one file each:
//   8 bytes "KELDSIMU", uint16 format version (1), uint16 model code,
//   uint32 word count, then the words; all little-endian.
// A file is written to a temporary name and renamed over the old one.
#include <string>

#include "sim/unit_model.h"

namespace sim {

enum class StoreLoad { Loaded, Missing, Damaged };

class CUnitStore {
 public:
  // folder: where the files live; name: the files' base name.
  CUnitStore(std::string folder, std::string name);

  // The base name used for a PLC station, slot and unit model
  // ("station01-slot00-model5154"): each configuration keeps its own unit.
  static std::string NameFor(int station, int slot, uint16_t model);

  std::string WorkingPath() const;
  std::string FromPath() const;

  bool Save(const CUnitModel& unit, std::string& error) const;
  // Loaded: both files read and restored. Missing: no files (the unit keeps
  // its factory state). Damaged: a file could not be used (message in error;
  // the unit keeps its factory state); the files are renamed with the suffix
  // ".damaged" so that the next save does not overwrite them.
  StoreLoad Load(CUnitModel& unit, std::string& error) const;

 private:
  std::string folder_;
  std::string name_;
};

}  // namespace sim
