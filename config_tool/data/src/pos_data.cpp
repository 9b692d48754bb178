#include "axcfg_data/pos_data.h"

namespace axcfg {

namespace {

const PosElement kResetElement{};

// Cuts a UTF-8 text to at most max bytes without splitting a character.
std::string_view CutUtf8(std::string_view s, size_t max) {
  if (s.size() <= max) return s;
  size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}

}  // namespace

const PosElement& CPosData::Element(int axis) const {
  return (axis >= 0 && axis < kAxes) ? elements_[axis] : kResetElement;
}

bool CPosData::SetElement(int axis, const PosElement& element) {
  PosElement* e = Mut(axis);
  if (!e) return false;
  *e = element;
  if (e->comment.size() > kMaxStoredCommentBytes) SetComment(axis, element.comment);
  return true;
}

bool CPosData::SetComment(int axis, std::string_view comment) {
  PosElement* e = Mut(axis);
  if (!e) return false;
  size_t lineEnd = comment.find_first_of("\r\n");
  std::string_view line = comment.substr(0, lineEnd);
  std::string_view kept = CutUtf8(line, kMaxStoredCommentBytes);
  e->comment.assign(kept.data(), kept.size());
  return kept.size() == comment.size();
}

void CPosData::ResetAxis(int axis) {
  if (PosElement* e = Mut(axis)) *e = kResetElement;
}

void CPosData::ResetAll() { elements_.fill(kResetElement); }

}  // namespace axcfg
