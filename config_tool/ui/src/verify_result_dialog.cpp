#include "verify_result_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "difference_list_dlg.h"
#include "dialog_util.h"
#include "help_window.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

constexpr int kHelpVerifyResult = 7200;

QString T(unsigned id) { return QString::fromStdString(UiText(id)); }

}  // namespace

QColor CVerifyResultDialog::AgreeColor() { return QColor(0, 255, 0); }
QColor CVerifyResultDialog::DisagreeColor() { return QColor(255, 0, 0); }

CVerifyResultDialog::CVerifyResultDialog(QWidget* parent)
    : QDialog(parent), m_target(new QLineEdit), m_note(new QLabel(T(kIdsVerifyNote))),
      m_close(new QPushButton(T(kIdsCloseButton))), m_help(new QPushButton(T(kIdsHelpButton))),
      m_details(new QPushButton(T(kIdsDetailsButton))), m_otherName(T(kIdsDiffFile)) {
  setObjectName(QStringLiteral("VerifyResultDialog"));
  setWindowTitle(T(kIdsVerifyResultTitle));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  auto* targetRow = new QHBoxLayout;
  targetRow->addWidget(new QLabel(T(kIdsVerifyTarget)));
  m_target->setObjectName(QStringLiteral("Target"));
  m_target->setReadOnly(true);
  m_target->setMinimumWidth(360);
  targetRow->addWidget(m_target, 1);
  layout->addLayout(targetRow);

  auto* frame = new QGroupBox(T(kIdsVerificationData));
  auto* lines = new QVBoxLayout(frame);
  for (size_t i = 0; i < m_lines.size(); ++i) {
    auto* line = new QLabel;
    line->setObjectName(QStringLiteral("Line%1").arg(i));
    line->setAlignment(Qt::AlignCenter);
    line->setAutoFillBackground(true);
    line->setMinimumHeight(line->fontMetrics().height() + 8);
    m_lines[i] = line;
    lines->addWidget(line);
  }
  layout->addWidget(frame);

  m_note->setObjectName(QStringLiteral("Note"));
  layout->addWidget(m_note);

  auto* buttons = new QHBoxLayout;
  m_details->setObjectName(QStringLiteral("Details"));
  buttons->addWidget(m_details);
  buttons->addStretch(1);
  m_close->setObjectName(QStringLiteral("Close"));
  m_help->setObjectName(QStringLiteral("Help"));
  m_close->setDefault(true);
  buttons->addWidget(m_close);
  buttons->addWidget(m_help);
  layout->addLayout(buttons);

  connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_details, &QPushButton::clicked, this, &CVerifyResultDialog::ShowDetails);
  connect(m_help, &QPushButton::clicked, this, [this] { ShowHelp(this, AppHelpFile(), kHelpVerifyResult); });
  ApplyDialogFont(this, 0, {});
  Refresh();
}

void CVerifyResultDialog::SetResult(const axcfg::VerifyResult& result) {
  m_result = result;
  Refresh();
}

void CVerifyResultDialog::Refresh() {
  m_target->setText(QString::fromStdString(m_result.target));
  const std::vector<std::string> texts = axcfg::VerifyResultLines(m_result);
  const bool anyMismatch = (m_result.mismatch & (axcfg::kDiffAxisInfo | axcfg::kDiffParams | axcfg::kDiffRows)) != 0;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    QLabel* line = m_lines[i];
    const bool compared = i == 3 || axcfg::VerifyLineCompared(m_result, static_cast<int>(i));
    const bool disagrees = i == 3 ? anyMismatch : (m_result.mismatch & (1u << i)) != 0;
    line->setText(QString::fromStdString(i < texts.size() ? texts[i] : std::string()));
    line->setEnabled(compared);
    // A line that was not compared shows its label alone on the dialog's
    // own background; the others are green or red behind the window text.
    QPalette palette = this->palette();
    if (compared) palette.setColor(QPalette::Window, disagrees ? DisagreeColor() : AgreeColor());
    line->setPalette(palette);
    line->setAutoFillBackground(compared);
  }
  m_details->setEnabled(!m_result.items.empty());
  // Hidden, the note gives its room back: the buttons move up.
  m_note->setVisible(m_result.showCommentNote);
  if (layout()) layout()->activate();
}

void CVerifyResultDialog::ShowDetails() {
  delete m_list;
  m_list = new CDifferenceListDlg(m_result.items, m_otherName, this);
  m_list->open();
}

}  // namespace axcfgui
