#pragma once
// "Trend": the data monitor's recorded samples plotted against time. The
// channel chooser picks values per axis, "Last" sets how much time the plot
// shows, "Pause" holds the plot while recording goes on, "Export..." writes
// the recorded samples as CSV and "Record to file" writes each new sample to
// a CSV file as it arrives, until it is switched off or the window closes.
#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "axcfg_unit/trend_csv.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace axcfgui {

class CTrendPlot;

class CTrendWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDefaultSpanSeconds = 60;
  // Asks for a file to write (title of the question); empty: cancelled.
  using FileChooser = std::function<QString(const QString& title)>;

  CTrendWindow(const axcfg::CTrendRecorder& recorder, std::vector<axcfg::MonitorAxis> axes, QWidget* parent);
  ~CTrendWindow() override;

  CTrendPlot* Plot() const { return m_plot; }
  // The chooser's box of an axis's value; null for an axis not monitored.
  QCheckBox* ChannelBox(int axis, axcfg::TrendValue value) const;
  QSpinBox* SpanBox() const { return m_span; }
  QPushButton* PauseButton() const { return m_pause; }
  QPushButton* ExportButton() const { return m_export; }
  QPushButton* RecordButton() const { return m_record; }
  QLabel* ReadoutLabel() const { return m_readout; }
  QLabel* StateLabel() const { return m_state; }
  void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

  // The recorder took a sample: the plot follows it and a recording writes it.
  void SampleAdded(const axcfg::TrendSample& sample);
  bool IsRecording() const { return m_stream != nullptr; }
  // The channels chosen, in axis order; what an export and a recording write
  // (every channel when none is chosen).
  std::vector<axcfg::TrendChannel> ChosenChannels() const;

  void done(int result) override;

 private:
  void ChannelsChanged();
  void Export();
  void SetRecording(bool on);
  void ShowState();
  void ShowReadout();
  std::vector<axcfg::TrendChannel> WrittenChannels() const;
  QString ChooseFile(const QString& title);

  const axcfg::CTrendRecorder& m_recorder;
  std::vector<axcfg::MonitorAxis> m_axes;
  CTrendPlot* m_plot;
  std::array<std::array<QCheckBox*, axcfg::kTrendValueCount>, axcfg::kAxisCount> m_boxes{};
  QSpinBox* m_span;
  QPushButton* m_pause;
  QPushButton* m_export;
  QPushButton* m_record;
  QLabel* m_state;
  QLabel* m_readout;
  FileChooser m_chooser;
  std::unique_ptr<axcfg::CTrendCsvStream> m_stream;
};

}  // namespace axcfgui
