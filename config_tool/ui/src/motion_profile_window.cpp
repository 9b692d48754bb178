#include "motion_profile_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/position_units.h"
#include "dialog_util.h"
#include "help_window.h"
#include "profile_plot.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

constexpr int kHelpContext = 9800;

QString Seconds(double s) { return QString::number(s, 'f', 3); }

QChar MethodLetter(uint8_t method) {
  switch (method) {
    case axcfg::kCtrlEnd: return QLatin1Char('E');
    case axcfg::kCtrlPass: return QLatin1Char('P');
    case axcfg::kCtrlContinue: return QLatin1Char('C');
    default: return QLatin1Char('J');
  }
}

}  // namespace

CMotionProfileWindow::CMotionProfileWindow(QWidget* parent, const std::string& helpFile)
    : QDialog(parent), m_helpFile(helpFile) {
  setObjectName(QStringLiteral("MotionProfileWindow"));
  setWindowTitle(UiQText(kIdsProfileTitle));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setSizeGripEnabled(true);

  m_sheet = new QComboBox(this);
  m_table = new QSpinBox(this);
  m_table->setRange(1, axcfg::kTableRowCount);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(UiQText(kIdsProfileSheet), this));
  top->addWidget(m_sheet, 1);
  top->addSpacing(12);
  top->addWidget(new QLabel(UiQText(kIdsProfileStartTable), this));
  top->addWidget(m_table);
  top->addStretch(1);

  m_chain = new QTableWidget(this);
  m_chain->setObjectName(QStringLiteral("ProfileChain"));
  m_chain->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_chain->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_chain->verticalHeader()->hide();
  m_end = new QLabel(this);
  m_end->setObjectName(QStringLiteral("ProfileEnd"));
  m_end->setWordWrap(true);
  m_end->setTextInteractionFlags(Qt::TextSelectableByMouse);

  m_timePlot = new CProfileTimePlot(this);
  m_pathPlot = new CProfilePathPlot(this);
  auto* plots = new QSplitter(Qt::Horizontal, this);
  plots->addWidget(m_timePlot);
  plots->addWidget(m_pathPlot);
  plots->setStretchFactor(0, 3);
  plots->setStretchFactor(1, 2);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(plots);
  split->addWidget(m_chain);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* help = buttons->addButton(UiQText(kIdsHelpButton), QDialogButtonBox::HelpRole);
  QPushButton* close = buttons->addButton(UiQText(kIdsCloseButton), QDialogButtonBox::RejectRole);
  connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, m_helpFile, kHelpContext); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(split, 1);
  layout->addWidget(m_end);
  layout->addWidget(buttons);
  resize(1000, 680);

  connect(m_sheet, &QComboBox::currentIndexChanged, this, [this] { if (!m_filling) Refresh(); });
  connect(m_table, &QSpinBox::valueChanged, this, [this] { if (!m_filling) Refresh(); });
}

CMotionProfileWindow::~CMotionProfileWindow() {
  // The charts point into the profile.
  m_timePlot->SetProfile(nullptr);
  m_pathPlot->SetProfile(nullptr);
}

axcfg::CAxisCfgDoc* CMotionProfileWindow::Document() const {
  return dynamic_cast<axcfg::CAxisCfgDoc*>(GetDocument());
}

void CMotionProfileWindow::ShowFrom(axcfg::CAxisCfgDoc& doc, uint32_t entry, int tableNo) {
  doc.AddView(this);
  m_filling = true;
  FillSheets(entry);
  m_table->setValue(tableNo);
  m_filling = false;
  Refresh();
  show();
  raise();
  activateWindow();
}

void CMotionProfileWindow::FillSheets(uint32_t entry) {
  const axcfg::CAxisCfgDoc* doc = Document();
  const uint32_t keep = entry ? entry : m_sheet->currentData().toUInt();
  m_sheet->clear();
  if (!doc) return;
  for (uint32_t e : axcfg::GetSheetEntries(doc->GetLayout()))
    m_sheet->addItem(QString::fromStdString(axcfg::GetSheetName(e)), e);
  const int at = m_sheet->findData(keep);
  m_sheet->setCurrentIndex(at >= 0 ? at : 0);
}

void CMotionProfileWindow::OnUpdate(axcfg::CView*, long hint, void*) {
  // A new layout may bring other sheets.
  if (hint == axcfg::kHintRebuildAll) {
    m_filling = true;
    FillSheets(0);
    m_filling = false;
  }
  Refresh();
}

void CMotionProfileWindow::Refresh() {
  m_timePlot->SetProfile(nullptr);
  m_pathPlot->SetProfile(nullptr);
  m_profile.reset();
  const axcfg::CAxisCfgDoc* doc = Document();
  if (!doc || m_sheet->currentIndex() < 0) {
    m_chain->setRowCount(0);
    m_end->clear();
    return;
  }
  const uint32_t entry = m_sheet->currentData().toUInt();
  m_profile = std::make_unique<axcfg::CMotionProfile>(*doc, entry, m_table->value());
  m_timePlot->SetProfile(m_profile.get());
  m_pathPlot->SetProfile(m_profile.get());
  m_pathPlot->setVisible(m_profile->Axes().size() >= 2);
  FillChain();

  QString end;
  switch (m_profile->End()) {
    case axcfg::ProfileEnd::Ended:
      end = QString::fromStdString(UiFormat(kIdsProfileEndsAt, std::to_string(m_profile->Moves().back().tableNo)));
      break;
    case axcfg::ProfileEnd::Repeats:
      end = QString::fromStdString(UiFormat(kIdsProfileRepeatsFrom, std::to_string(m_profile->RepeatsFrom())));
      break;
    case axcfg::ProfileEnd::Invalid:
      end = QString::fromStdString(m_profile->Message()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      break;
  }
  const bool invalid = m_profile->End() == axcfg::ProfileEnd::Invalid;
  m_end->setStyleSheet(invalid ? QStringLiteral("color: #b00000;") : QString());
  if (!m_profile->Moves().empty())
    end += QStringLiteral("\n") + QString::fromStdString(UiFormat(kIdsProfileTotalTime, Seconds(m_profile->Duration()).toStdString()));
  m_end->setText(end);
}

void CMotionProfileWindow::FillChain() {
  const auto& axes = m_profile->Axes();
  const uint16_t unit = axes.empty() ? 0 : axes[0].unitCode;
  const QString speedUnit = QString::fromStdString(axcfg::UnitSpeedText(unit)) + QStringLiteral("/s");
  QStringList headers{UiQText(kIdsProfileTableNo), UiQText(kIdsProfilePattern), UiQText(kIdsProfileStart),
                      UiQText(kIdsProfileAccel),   UiQText(kIdsProfileConstant), UiQText(kIdsProfileDecel),
                      UiQText(kIdsProfileDwell),   UiQText(kIdsProfilePeakSpeed) + " [" + speedUnit + "]"};
  for (const auto& a : axes) headers << UiQText(kIdsProfileEndPosition) + QStringLiteral(" %1").arg(QChar(a.letter));
  m_chain->setColumnCount(static_cast<int>(headers.size()));
  m_chain->setHorizontalHeaderLabels(headers);
  const auto& moves = m_profile->Moves();
  m_chain->setRowCount(static_cast<int>(moves.size()));
  const int speedDecimals = axcfg::UnitSpeedDecimals(unit);
  for (int r = 0; r < static_cast<int>(moves.size()); ++r) {
    const axcfg::ProfileMove& m = moves[static_cast<size_t>(r)];
    QStringList cells{QString::number(m.tableNo), MethodLetter(m.controlMethod), Seconds(m.startTime),
                      Seconds(m.plan.rampUp), Seconds(m.plan.constant), Seconds(m.plan.rampDown), Seconds(m.dwell),
                      QString::number(m.plan.peakSpeed, 'f', speedDecimals)};
    for (size_t a = 0; a < axes.size(); ++a) cells << QString::number(m.path.End()[a], 'f', axes[a].decimals);
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment(c == 1 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
      m_chain->setItem(r, c, item);
    }
  }
  m_chain->resizeColumnsToContents();
}

}  // namespace axcfgui
