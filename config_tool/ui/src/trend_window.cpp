#include "trend_window.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/text_format.h"
#include "axcfg_unit/monitor_strings.h"
#include "platform/message_box.h"
#include "trend_plot.h"

namespace axcfgui {

using axcfg::TrendChannel;
using axcfg::TrendValue;

namespace {

QString Text(unsigned id) { return QString::fromStdString(axcfg::MonitorText(id)); }

void ShowWriteError(const std::string& reason) {
  axcfg::AxisCfgMessageBox(axcfg::FormatText(axcfg::MonitorText(axcfg::kMonTrendWriteError), {reason}),
                           platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace

CTrendWindow::CTrendWindow(const axcfg::CTrendRecorder& recorder, std::vector<axcfg::MonitorAxis> axes,
                           QWidget* parent)
    : QDialog(parent),
      m_recorder(recorder),
      m_axes(std::move(axes)),
      m_plot(new CTrendPlot(recorder, m_axes, this)),
      m_span(new QSpinBox(this)),
      m_pause(new QPushButton(Text(axcfg::kMonTrendPause), this)),
      m_export(new QPushButton(Text(axcfg::kMonTrendExport), this)),
      m_record(new QPushButton(Text(axcfg::kMonTrendRecord), this)),
      m_state(new QLabel(this)),
      m_readout(new QLabel(this)) {
  setWindowTitle(Text(axcfg::kMonDataTitle) + " - " + Text(axcfg::kMonTrendTitle));
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setSizeGripEnabled(true);

  // The channel chooser: one row per axis in its colour, one column per value.
  auto* chooser = new QGridLayout;
  chooser->addWidget(new QLabel(Text(axcfg::kMonTrendAxis), this), 0, 0);
  for (int v = 0; v < axcfg::kTrendValueCount; ++v)
    chooser->addWidget(new QLabel(QString::fromStdString(axcfg::TrendValueName(static_cast<TrendValue>(v))), this), 0,
                       v + 1, Qt::AlignHCenter);
  int row = 1;
  for (const axcfg::MonitorAxis& a : m_axes) {
    auto* label = new QLabel(QString::fromStdString(a.label), this);
    label->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(TrendAxisColour(a.axis).name()));
    chooser->addWidget(label, row, 0);
    for (int v = 0; v < axcfg::kTrendValueCount; ++v) {
      auto* box = new QCheckBox(this);
      box->setChecked(v == static_cast<int>(TrendValue::CurrentValue));
      box->setToolTip(QString::fromStdString(a.label + " " + axcfg::TrendValueName(static_cast<TrendValue>(v))));
      connect(box, &QCheckBox::toggled, this, &CTrendWindow::ChannelsChanged);
      chooser->addWidget(box, row, v + 1, Qt::AlignHCenter);
      m_boxes[a.axis][v] = box;
    }
    ++row;
  }
  chooser->setRowStretch(row, 1);

  m_span->setRange(10, CTrendTimeWindow::kMaxSpanMs / 1000);
  m_span->setValue(kDefaultSpanSeconds);
  m_span->setSuffix(QStringLiteral(" s"));
  m_span->setAccelerated(true);
  m_plot->Window().SetSpan(int64_t{kDefaultSpanSeconds} * 1000);
  connect(m_span, &QSpinBox::valueChanged, this, [this](int seconds) {
    m_plot->Window().SetSpan(int64_t{seconds} * 1000);
    m_plot->update();
  });
  m_record->setCheckable(true);
  connect(m_pause, &QPushButton::clicked, this, [this] { m_plot->SetLive(!m_plot->Window().IsLive()); });
  connect(m_export, &QPushButton::clicked, this, &CTrendWindow::Export);
  connect(m_record, &QPushButton::toggled, this, &CTrendWindow::SetRecording);
  connect(m_plot, &CTrendPlot::windowChanged, this, &CTrendWindow::ShowState);
  // "Last" follows a zoomed length, in whole seconds; below its least it
  // shows the least.
  connect(m_plot, &CTrendPlot::windowChanged, this, [this] {
    const int64_t seconds = (m_plot->Window().SpanMs() + 500) / 1000;
    QSignalBlocker block(m_span);
    m_span->setValue(static_cast<int>(std::clamp<int64_t>(seconds, m_span->minimum(), m_span->maximum())));
  });
  connect(m_plot, &CTrendPlot::cursorMoved, this, &CTrendWindow::ShowReadout);

  auto* top = new QHBoxLayout;
  auto* spanLabel = new QLabel(Text(axcfg::kMonTrendLast), this);
  spanLabel->setBuddy(m_span);
  top->addWidget(spanLabel);
  top->addWidget(m_span);
  top->addWidget(m_pause);
  top->addSpacing(12);
  top->addWidget(m_export);
  top->addWidget(m_record);
  top->addSpacing(12);
  top->addWidget(m_state, 1);

  auto* close = new QPushButton(Text(axcfg::kMonClose), this);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  auto* bottom = new QHBoxLayout;
  auto* hint = new QLabel(Text(axcfg::kMonTrendHint), this);
  hint->setEnabled(false);
  bottom->addWidget(hint, 1);
  bottom->addWidget(close);

  m_readout->setTextFormat(Qt::RichText);
  m_readout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_readout->setMinimumWidth(260);
  m_readout->setWordWrap(true);
  auto* side = new QVBoxLayout;
  side->addLayout(chooser);
  side->addWidget(m_readout, 1);

  auto* middle = new QHBoxLayout;
  middle->addLayout(side);
  middle->addWidget(m_plot, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);
  resize(1100, 680);

  ChannelsChanged();
  m_plot->Refresh();
  ShowState();
}

CTrendWindow::~CTrendWindow() = default;

QCheckBox* CTrendWindow::ChannelBox(int axis, TrendValue value) const {
  if (axis < 0 || axis >= axcfg::kAxisCount) return nullptr;
  return m_boxes[axis][static_cast<int>(value)];
}

std::vector<TrendChannel> CTrendWindow::ChosenChannels() const {
  std::vector<TrendChannel> channels;
  for (const axcfg::MonitorAxis& a : m_axes)
    for (int v = 0; v < axcfg::kTrendValueCount; ++v)
      if (m_boxes[a.axis][v] && m_boxes[a.axis][v]->isChecked()) channels.push_back({a.axis, static_cast<TrendValue>(v)});
  return channels;
}

std::vector<TrendChannel> CTrendWindow::WrittenChannels() const {
  std::vector<TrendChannel> channels = ChosenChannels();
  if (!channels.empty()) return channels;
  for (const axcfg::MonitorAxis& a : m_axes)
    for (int v = 0; v < axcfg::kTrendValueCount; ++v) channels.push_back({a.axis, static_cast<TrendValue>(v)});
  return channels;
}

void CTrendWindow::ChannelsChanged() { m_plot->SetChannels(ChosenChannels()); }

void CTrendWindow::SampleAdded(const axcfg::TrendSample& sample) {
  m_plot->Refresh();
  if (m_stream && !m_stream->Write(sample)) {
    // The recording ends; what was written stays in the file.
    const std::string reason = m_stream->Error();
    m_stream.reset();
    {
      QSignalBlocker block(m_record);
      m_record->setChecked(false);
    }
    ShowState();
    ShowWriteError(reason);
  }
}

QString CTrendWindow::ChooseFile(const QString& title) {
  if (m_chooser) return m_chooser(title);
  return QFileDialog::getSaveFileName(this, title, QString(), Text(axcfg::kMonTrendCsvFilter));
}

void CTrendWindow::Export() {
  if (m_recorder.Empty()) {
    axcfg::AxisCfgMessageBox(axcfg::MonitorText(axcfg::kMonTrendNoSamples), platform::MB_OK | platform::MB_ICONINFORMATION);
    return;
  }
  const QString path = ChooseFile(Text(axcfg::kMonTrendExportTitle));
  if (path.isEmpty()) return;
  std::string error;
  if (!axcfg::ExportTrendCsv(m_recorder, axcfg::CTrendCsvColumns(WrittenChannels(), m_axes), path.toStdString(), error))
    ShowWriteError(error);
}

void CTrendWindow::SetRecording(bool on) {
  if (!on) {
    if (m_stream) {
      const bool ok = m_stream->Close();
      const std::string reason = m_stream->Error();
      m_stream.reset();
      if (!ok) ShowWriteError(reason);
    }
    ShowState();
    return;
  }
  if (m_stream) return;
  const QString path = ChooseFile(Text(axcfg::kMonTrendRecordTitle));
  auto stream = std::make_unique<axcfg::CTrendCsvStream>(axcfg::CTrendCsvColumns(WrittenChannels(), m_axes),
                                                         m_recorder.Empty() ? axcfg::CTrendCsvStream::kFromFirstSample
                                                                            : m_recorder.OriginMs());
  if (path.isEmpty() || !stream->Open(path.toStdString())) {
    const std::string reason = path.isEmpty() ? std::string() : stream->Error();
    QSignalBlocker block(m_record);
    m_record->setChecked(false);
    if (!reason.empty()) ShowWriteError(reason);
    ShowState();
    return;
  }
  m_stream = std::move(stream);
  ShowState();
}

void CTrendWindow::ShowState() {
  const bool live = m_plot->Window().IsLive();
  m_pause->setText(Text(live ? axcfg::kMonTrendPause : axcfg::kMonTrendResume));
  QString state = Text(live ? axcfg::kMonTrendLive : axcfg::kMonTrendPaused);
  if (m_stream)
    state += QStringLiteral("   ") +
             QString::fromStdString(axcfg::FormatText(axcfg::MonitorText(axcfg::kMonTrendRecording), {m_stream->Path()}));
  m_state->setText(state);
}

void CTrendWindow::ShowReadout() {
  const std::vector<std::string> lines = m_plot->Readout();
  QString html;
  for (size_t i = 0; i < lines.size(); ++i) {
    const QString line = QString::fromStdString(lines[i]).toHtmlEscaped();
    if (i == 0) {
      html += QStringLiteral("<b>%1</b>").arg(line);
    } else {
      const TrendChannel& c = m_plot->Channels()[i - 1];
      html += QStringLiteral("<br><span style=\"color:%1\">%2</span>").arg(TrendAxisColour(c.axis).name(), line);
    }
  }
  m_readout->setText(html);
}

void CTrendWindow::done(int result) {
  m_record->setChecked(false);  // a recording ends with the window
  QDialog::done(result);
}

}  // namespace axcfgui
