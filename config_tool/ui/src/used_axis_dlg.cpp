#include "used_axis_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "axcfg_data/axcfg_strings.h"
#include "dialog_util.h"
#include "platform/message_box.h"

namespace axcfgui {

namespace {
constexpr unsigned kIdsTitle = 31220;        // "Setting used axis"
constexpr unsigned kIdsUnitType = 31221;     // "Unit type"
constexpr unsigned kIdsChooseAxes = 31222;   // "Choose the axis to use."
constexpr unsigned kIdsInitTitle = 21201;
constexpr unsigned kIdsInitHint = 21202;
constexpr unsigned kIdsAxisLabel = 10001;
constexpr unsigned kIdsFamilyNames[2] = {10111, 10112};
}  // namespace

CUsedAxisDlg::CUsedAxisDlg(QWidget* parent, axcfg::CUsedAxisChoice& choice)
    : QDialog(parent), m_choice(choice), m_unitType(new QComboBox), m_hint(new QLabel) {
  setObjectName(QStringLiteral("UsedAxisDlg"));
  const bool initialise = choice.Mode() == axcfg::CUsedAxisChoice::kChooseAxesToInitialise;
  setWindowTitle(UiQText(initialise ? kIdsInitTitle : kIdsTitle));
  m_hint->setText(UiQText(initialise ? kIdsInitHint : kIdsChooseAxes));

  m_unitType->setProperty("controlId", kIdUnitType);
  for (unsigned id : kIdsFamilyNames) m_unitType->addItem(UiQText(id));
  m_unitType->setCurrentIndex(choice.Family() == 1 ? 1 : 0);
  m_unitType->setEnabled(!initialise);
  connect(m_unitType, &QComboBox::currentIndexChanged, this, [this](int index) {
    m_choice.SetFamily(index == 1 ? 1u : 0u);
    UpdateBoxes();
  });

  auto* grid = new QGridLayout;
  for (int axis = 0; axis < axcfg::kAxisCount; ++axis) {
    auto* box = new QCheckBox(UiQText(kIdsAxisLabel).replace(QStringLiteral("%d"), QString::number(axis + 1)));
    box->setProperty("controlId", kIdFirstAxis + axis);
    box->setChecked(choice.IsTicked(axis));
    connect(box, &QCheckBox::toggled, this, [this, axis](bool on) { m_choice.SetTicked(axis, on); });
    grid->addWidget(box, axis % 4, axis / 4);
    m_boxes[static_cast<size_t>(axis)] = box;
  }
  UpdateBoxes();

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(UiQText(kIdsUnitType)));
  top->addWidget(m_unitType, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(grid);
  layout->addWidget(m_hint);
  layout->addWidget(buttons);
  ApplyDialogFont(this, 0, {});
}

void CUsedAxisDlg::UpdateBoxes() {
  for (int axis = 0; axis < axcfg::kAxisCount; ++axis) m_boxes[static_cast<size_t>(axis)]->setEnabled(m_choice.IsBoxEnabled(axis));
}

void CUsedAxisDlg::accept() {
  axcfg::DialogOkResult r = m_choice.Ok();
  if (!r.accepted) {
    axcfg::AxisCfgMessageBox(r.message, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return;
  }
  if (!r.message.empty()) axcfg::AxisCfgMessageBox(r.message, platform::MB_OK | platform::MB_ICONEXCLAMATION);
  QDialog::accept();
}

}  // namespace axcfgui
