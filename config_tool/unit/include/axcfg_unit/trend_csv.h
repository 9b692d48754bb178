#pragma once
// Trend samples as comma-separated text: one row per sample time, one column
// per channel, the unit of each channel in its column title. Lines end in
// CR LF and fields are quoted where a reader needs it. The same rows serve
// the export of the recorded samples, the recording to a file while
// monitoring and the command line's stream.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "axcfg_unit/trend_channels.h"

namespace axcfg {

// The columns of a trend CSV: the channels with the labels of their axes and
// the unit each column is written in (fixed by the first sample).
class CTrendCsvColumns {
 public:
  CTrendCsvColumns(std::vector<TrendChannel> channels, const std::vector<MonitorAxis>& axes);
  // Takes the units of the current value columns from `first` (a unit code
  // is kept from the first sample that has the axis).
  void TakeUnits(const TrendSample& first);
  // Fixes the units of the columns before the header is written: an axis no
  // sample had so far is written in pulses from then on.
  void FixUnits();
  // "Time [s]", "Clock", then one title per channel.
  std::string HeaderLine() const;
  // The time in seconds since `originMs` with milliseconds, the local clock
  // time, then each channel's value. A current value whose unit differs from
  // its column's is left empty rather than written under the wrong unit.
  std::string RowLine(const TrendSample& sample, int64_t originMs) const;
  const std::vector<TrendChannel>& Channels() const { return channels_; }

 private:
  std::vector<TrendChannel> channels_;
  std::vector<std::string> labels_;                // by channel
  std::array<int, kAxisCount> unitCodes_;          // -1 until known
};

// "2026-12-08 07:45:12.400", local time.
std::string TrendClockText(int64_t timeMs);

// Writes every kept sample of `recorder` (times from its origin) to `path`,
// through a temporary file renamed over the target only when complete.
// Returns false with the system's reason in `error`.
bool ExportTrendCsv(const CTrendRecorder& recorder, const CTrendCsvColumns& columns, const std::string& path,
                    std::string& error);

// Streams rows to a file as samples arrive: the header goes with the first
// sample, each row is flushed at once so that a crash loses nothing written.
class CTrendCsvStream {
 public:
  // Times count from `originMs`; kFromFirstSample: from the first sample written.
  static constexpr int64_t kFromFirstSample = INT64_MIN;
  CTrendCsvStream(CTrendCsvColumns columns, int64_t originMs);
  ~CTrendCsvStream();
  CTrendCsvStream(const CTrendCsvStream&) = delete;
  CTrendCsvStream& operator=(const CTrendCsvStream&) = delete;

  // Creates (or empties) the file. False with the reason in Error().
  bool Open(const std::string& path);
  // Streams to a file the caller opened and keeps (standard output).
  void Attach(std::FILE* file);
  // Writes one row (the header first). False once a write failed; the
  // stream then stays failed and writes nothing more.
  bool Write(const TrendSample& sample);
  bool Close();
  bool IsOpen() const { return file_ != nullptr; }
  const std::string& Path() const { return path_; }
  const std::string& Error() const { return error_; }
  long long Rows() const { return rows_; }

 private:
  bool Put(const std::string& line);

  CTrendCsvColumns columns_;
  int64_t origin_;
  std::FILE* file_ = nullptr;
  bool owned_ = false;
  std::string path_;
  std::string error_;
  bool headerDone_ = false;
  long long rows_ = 0;
};

}  // namespace axcfg
