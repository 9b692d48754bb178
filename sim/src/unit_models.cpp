#include "sim/unit_models.h"

namespace sim {

namespace {
constexpr UnitModelInfo kModels[] = {
    {5152, 2, 0}, {5153, 4, 0}, {5154, 8, 0}, {5155, 2, 1}, {5156, 4, 1},
    {5157, 2, 1}, {5158, 4, 1}, {13312, 2, 0}, {13313, 4, 0}, {13314, 8, 0},
};
}  // namespace

const UnitModelInfo* FindUnitModel(uint16_t code) {
  for (const auto& m : kModels)
    if (m.code == code) return &m;
  return nullptr;
}

}  // namespace sim
