#include "axcfg_unit/trend_csv.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "axcfg_data/csv_field.h"
#include "axcfg_data/fixed_point.h"
#include "axcfg_data/position_units.h"
#include "axcfg_unit/monitor_strings.h"
#include "platform/file_util.h"

namespace axcfg {

namespace {

constexpr const char* kLineEnd = "\r\n";

}  // namespace

CTrendCsvColumns::CTrendCsvColumns(std::vector<TrendChannel> channels, const std::vector<MonitorAxis>& axes)
    : channels_(std::move(channels)) {
  unitCodes_.fill(-1);
  for (const TrendChannel& c : channels_) labels_.push_back(TrendAxisLabel(axes, c.axis));
}

void CTrendCsvColumns::TakeUnits(const TrendSample& first) {
  for (int a = 0; a < kAxisCount; ++a)
    if (unitCodes_[a] < 0 && first.axes[a].present) unitCodes_[a] = first.axes[a].unitCode;
}

void CTrendCsvColumns::FixUnits() {
  for (int& code : unitCodes_)
    if (code < 0) code = kUnitPulse;
}

std::string CTrendCsvColumns::HeaderLine() const {
  std::string line;
  AppendCsvField(line, MonitorText(kMonTrendTime) + " [s]");
  line += ',';
  AppendCsvField(line, MonitorText(kMonTrendClock));
  for (size_t i = 0; i < channels_.size(); ++i) {
    const int code = unitCodes_[channels_[i].axis];
    line += ',';
    AppendCsvField(line, TrendChannelTitle(channels_[i], labels_[i], static_cast<uint16_t>(code < 0 ? 0 : code)));
  }
  return line + kLineEnd;
}

std::string CTrendCsvColumns::RowLine(const TrendSample& sample, int64_t originMs) const {
  std::string line = FormatFixed(3, sample.timeMs - originMs);
  line += ',';
  AppendCsvField(line, TrendClockText(sample.timeMs));
  for (const TrendChannel& c : channels_) {
    line += ',';
    const TrendAxisSample& a = sample.axes[c.axis];
    const int code = unitCodes_[c.axis];
    if (c.value == TrendValue::CurrentValue && code >= 0 && a.unitCode != code) continue;
    AppendCsvField(line, TrendNumberText(a, c.value));
  }
  return line + kLineEnd;
}

std::string TrendClockText(int64_t timeMs) {
  const std::time_t seconds = static_cast<std::time_t>(timeMs / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[48];
  const size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(timeMs % 1000));
  return text;
}

bool ExportTrendCsv(const CTrendRecorder& recorder, const CTrendCsvColumns& columns, const std::string& path,
                    std::string& error) {
  CTrendCsvColumns cols = columns;
  for (size_t i = 0; i < recorder.Size(); ++i) cols.TakeUnits(recorder.At(i));
  cols.FixUnits();
  std::string text = cols.HeaderLine();
  for (size_t i = 0; i < recorder.Size(); ++i) text += cols.RowLine(recorder.At(i), recorder.OriginMs());
  return platform::WriteFileAtomic(path, text, &error);
}

CTrendCsvStream::CTrendCsvStream(CTrendCsvColumns columns, int64_t originMs)
    : columns_(std::move(columns)), origin_(originMs) {}

CTrendCsvStream::~CTrendCsvStream() { Close(); }

bool CTrendCsvStream::Open(const std::string& path) {
  Close();
  path_ = path;
  error_.clear();
  headerDone_ = false;
  rows_ = 0;
  file_ = std::fopen(path.c_str(), "wb");
  owned_ = true;
  if (!file_) error_ = std::strerror(errno);
  return file_ != nullptr;
}

void CTrendCsvStream::Attach(std::FILE* file) {
  Close();
  path_.clear();
  error_.clear();
  headerDone_ = false;
  rows_ = 0;
  file_ = file;
  owned_ = false;
}

bool CTrendCsvStream::Put(const std::string& line) {
  if (!file_ || !error_.empty()) return false;
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

bool CTrendCsvStream::Write(const TrendSample& sample) {
  if (!headerDone_) {
    if (origin_ == kFromFirstSample) origin_ = sample.timeMs;
    columns_.TakeUnits(sample);
    columns_.FixUnits();
    if (!Put(columns_.HeaderLine())) return false;
    headerDone_ = true;
  }
  if (!Put(columns_.RowLine(sample, origin_))) return false;
  ++rows_;
  return true;
}

bool CTrendCsvStream::Close() {
  if (!file_) return error_.empty();
  if (owned_ && std::fclose(file_) != 0 && error_.empty()) error_ = std::strerror(errno);
  file_ = nullptr;
  return error_.empty();
}

}  // namespace axcfg
