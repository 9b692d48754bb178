#pragma once
// One positioning-table row: the table of one number for all 8 axes.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace axcfg {

// Control method codes.
enum : uint8_t { kCtrlEnd = 0, kCtrlPass = 1, kCtrlContinue = 2, kCtrlJog = 3 };
// Position mode codes.
enum : uint8_t { kPosIncrement = 0, kPosAbsolute = 1 };

// The longest comment a row keeps, in bytes. The data check allows 100; the
// cap only guarantees that any comment still fits the setting file's 16-bit
// length field.
inline constexpr size_t kMaxStoredCommentBytes = 65535;
inline constexpr size_t kMaxCommentBytes = 100;  // valid comment length (code page 932 bytes)

// The element of one axis. Positions are in the least unit of the axis's
// unit of position, the speed in its least speed unit, times in ms.
struct PosElement {
  uint8_t controlMethod = kCtrlEnd;
  int16_t jumpNo = 0;  // 0 = next table, 1..600
  uint8_t interpPattern = 0;
  uint8_t positionMode = kPosIncrement;
  int64_t moveAmount = 0;
  int64_t auxPoint = 0;
  uint8_t accelPattern = 0;  // 0 linear, 1 S-shaped
  int32_t accelTime = 100;
  int32_t decelTime = 100;
  int64_t targetSpeed = 1000;
  int32_t dwellTime = 0;
  int32_t auxCode = 0;
  std::string comment;  // UTF-8

  bool operator==(const PosElement&) const = default;
};

class CPosData {
 public:
  static constexpr int kAxes = 8;

  CPosData() = default;

  // The element of an axis; an axis outside 0..7 reads as a reset element.
  const PosElement& Element(int axis) const;
  // Replaces an element (its comment capped); false for an axis outside 0..7.
  bool SetElement(int axis, const PosElement& element);

  uint8_t GetControlMethod(int axis) const { return Element(axis).controlMethod; }
  int16_t GetJumpNo(int axis) const { return Element(axis).jumpNo; }
  uint8_t GetInterpPattern(int axis) const { return Element(axis).interpPattern; }
  uint8_t GetPositionMode(int axis) const { return Element(axis).positionMode; }
  int64_t GetMoveAmount(int axis) const { return Element(axis).moveAmount; }
  int64_t GetAuxPoint(int axis) const { return Element(axis).auxPoint; }
  uint8_t GetAccelPattern(int axis) const { return Element(axis).accelPattern; }
  int32_t GetAccelTime(int axis) const { return Element(axis).accelTime; }
  int32_t GetDecelTime(int axis) const { return Element(axis).decelTime; }
  int64_t GetTargetSpeed(int axis) const { return Element(axis).targetSpeed; }
  int32_t GetDwellTime(int axis) const { return Element(axis).dwellTime; }
  int32_t GetAuxCode(int axis) const { return Element(axis).auxCode; }
  const std::string& GetComment(int axis) const { return Element(axis).comment; }

  // Setters ignore an axis outside 0..7.
  void SetControlMethod(int axis, uint8_t v) { if (auto* e = Mut(axis)) e->controlMethod = v; }
  void SetJumpNo(int axis, int16_t v) { if (auto* e = Mut(axis)) e->jumpNo = v; }
  void SetInterpPattern(int axis, uint8_t v) { if (auto* e = Mut(axis)) e->interpPattern = v; }
  void SetPositionMode(int axis, uint8_t v) { if (auto* e = Mut(axis)) e->positionMode = v; }
  void SetMoveAmount(int axis, int64_t v) { if (auto* e = Mut(axis)) e->moveAmount = v; }
  void SetAuxPoint(int axis, int64_t v) { if (auto* e = Mut(axis)) e->auxPoint = v; }
  void SetAccelPattern(int axis, uint8_t v) { if (auto* e = Mut(axis)) e->accelPattern = v; }
  void SetAccelTime(int axis, int32_t v) { if (auto* e = Mut(axis)) e->accelTime = v; }
  void SetDecelTime(int axis, int32_t v) { if (auto* e = Mut(axis)) e->decelTime = v; }
  void SetTargetSpeed(int axis, int64_t v) { if (auto* e = Mut(axis)) e->targetSpeed = v; }
  void SetDwellTime(int axis, int32_t v) { if (auto* e = Mut(axis)) e->dwellTime = v; }
  void SetAuxCode(int axis, int32_t v) { if (auto* e = Mut(axis)) e->auxCode = v; }
  // Stores the comment up to its first line break, capped at
  // kMaxStoredCommentBytes; false when it had to be shortened.
  bool SetComment(int axis, std::string_view comment);

  void ResetAxis(int axis);
  void ResetAll();

  bool operator==(const CPosData&) const = default;

 private:
  PosElement* Mut(int axis) { return (axis >= 0 && axis < kAxes) ? &elements_[axis] : nullptr; }

  std::array<PosElement, kAxes> elements_{};
};

}  // namespace axcfg
