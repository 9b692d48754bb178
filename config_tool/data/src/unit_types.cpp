#include "axcfg_data/unit_types.h"

#include "axcfg_data/axcfg_strings.h"

namespace axcfg {

namespace {

struct ModelInfo {
  uint16_t code;
  int axes;
  unsigned nameId;
};

constexpr ModelInfo kModels[] = {
    {5152, 2, 23033}, {5153, 4, 23034}, {5154, 8, 23035}, {5155, 2, 23039}, {5156, 4, 23040},
    {5157, 2, 23041}, {5158, 4, 23042}, {13312, 2, 23036}, {13313, 4, 23037}, {13314, 8, 23038},
};

const ModelInfo* FindModel(uint16_t code) {
  for (const ModelInfo& m : kModels)
    if (m.code == code) return &m;
  return nullptr;
}

}  // namespace

unsigned GetFamilyNameId(uint32_t family) {
  switch (family) {
    case kFamilySrlx: return 10111;
    case kFamilyInterp: return 10112;
    default: return 0;
  }
}

std::string GetFamilyName(uint32_t family) {
  unsigned id = GetFamilyNameId(family);
  return id ? AxisCfgText(id) : std::string();
}

bool IsKnownModel(uint16_t modelCode) { return FindModel(modelCode) != nullptr; }

int GetModelAxisCount(uint16_t modelCode) {
  const ModelInfo* m = FindModel(modelCode);
  return m ? m->axes : 0;
}

unsigned GetModelNameId(uint16_t modelCode) {
  const ModelInfo* m = FindModel(modelCode);
  return m ? m->nameId : 0;
}

std::string GetModelName(uint16_t modelCode) {
  unsigned id = GetModelNameId(modelCode);
  return id ? AxisCfgText(id) : std::string();
}

uint32_t GetModelFamily(uint16_t modelCode) {
  return (modelCode >= 5155 && modelCode <= 5158) ? kFamilyInterp : kFamilySrlx;
}

}  // namespace axcfg
