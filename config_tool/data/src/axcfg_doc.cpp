#include "axcfg_data/axcfg_doc.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "axcfg_data/cp932_text.h"
#include "axcfg_data/pos_row_text.h"

namespace axcfg {

namespace {

// Bytes of a fixed text field up to its first NUL, decoded.
template <size_t N>
std::string FieldText(const std::array<uint8_t, N>& field) {
  size_t n = 0;
  while (n < N && field[n] != 0) ++n;
  return Utf8FromCp932(std::string_view(reinterpret_cast<const char*>(field.data()), n));
}

template <size_t N>
bool EncodeField(std::string_view utf8, size_t maxBytes, std::array<uint8_t, N>& out) {
  std::string bytes = Cp932FromUtf8(utf8);
  if (bytes.size() > maxBytes) return false;
  out.fill(0);
  std::memcpy(out.data(), bytes.data(), bytes.size());
  return true;
}

}  // namespace

CAxisCfgDoc::CAxisCfgDoc() {
  ResetDocument();
  CreateDefaultRows();
}

CAxisCfgDoc::~CAxisCfgDoc() = default;

void CAxisCfgDoc::SetUnitFamily(uint32_t family) {
  family_ = family;
  params_.SetFamily(family);
}

CParamBlock& CAxisCfgDoc::GetParamBlock() {
  params_.SetFamily(family_);
  return params_;
}

CPosData* CAxisCfgDoc::GetPosData(int k) {
  return (k >= 0 && k < GetRowCount()) ? rows_[k].get() : nullptr;
}

const CPosData* CAxisCfgDoc::GetPosData(int k) const {
  return (k >= 0 && k < GetRowCount()) ? rows_[k].get() : nullptr;
}

void CAxisCfgDoc::CreateDefaultRows() {
  rows_.clear();
  rows_.reserve(kTableRowCount);
  for (int k = 0; k < kTableRowCount; ++k) {
    try {
      rows_.push_back(std::make_unique<CPosData>());
    } catch (const std::bad_alloc&) {
      // Out of memory: the row is left out; later steps report missing rows.
    }
  }
}

std::string CAxisCfgDoc::BuildRowText(uint32_t entry, int k) const {
  const CPosData* row = GetPosData(k);
  return row ? axcfg::BuildRowText(*row, params_, entry) : std::string();
}

bool CAxisCfgDoc::ParseRowText(uint32_t entry, int k, std::string_view text) {
  CPosData* row = GetPosData(k);
  return row && axcfg::ParseRowText(*row, params_, entry, text);
}

std::string CAxisCfgDoc::GetCreator() const { return FieldText(creator_); }
std::string CAxisCfgDoc::GetComment() const { return FieldText(comment_); }

bool CAxisCfgDoc::SetCreator(std::string_view utf8) { return EncodeField(utf8, kCreatorMaxBytes, creator_); }
bool CAxisCfgDoc::SetComment(std::string_view utf8) { return EncodeField(utf8, kCommentMaxBytes, comment_); }

void CAxisCfgDoc::SetCreatorField(const uint8_t* bytes, size_t size) {
  creator_.fill(0);
  if (bytes) std::memcpy(creator_.data(), bytes, std::min(size, kCreatorMaxBytes));
}

void CAxisCfgDoc::SetCommentField(const uint8_t* bytes, size_t size) {
  comment_.fill(0);
  if (bytes) std::memcpy(comment_.data(), bytes, std::min(size, kCommentFieldBytes));
}

bool CAxisCfgDoc::ApplyFileProperties(std::string_view creator, std::string_view comment) {
  std::array<uint8_t, kCreatorFieldBytes> newCreator{};
  std::array<uint8_t, kCommentFieldBytes> newComment{};
  if (!EncodeField(creator, kCreatorMaxBytes, newCreator) || !EncodeField(comment, kCommentMaxBytes, newComment))
    return false;
  if (newCreator != creator_ || newComment != comment_) SetModifiedFlag(true);
  creator_ = newCreator;
  comment_ = newComment;
  return true;
}

std::string CAxisCfgDoc::GetPropertyFileName() const {
  return GetPathName().empty() ? GetTitle() : GetPathName();
}

void CAxisCfgDoc::SetStoredFields(const CAxisCfgDocFields& fields) {
  const DownloadSelection kept = download_;
  Fields() = fields;
  download_ = kept;
}

void CAxisCfgDoc::ResetDocument() {
  reserved_ = 0;
  SetUnitFamily(0);
  layout_.Reset();
  params_.ResetAxes(0xFFFF);
  rows_.clear();
  creator_.fill(0);
  comment_.fill(0);
  flag_ = 0;
  loadError_ = 0;
  extraData_.clear();
  download_ = DownloadSelection();
  for (CSyncGroupRecord& g : sync_) g.Reset();
}

}  // namespace axcfg
