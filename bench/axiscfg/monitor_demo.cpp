// Shows a monitor window on the simulated unit (through a started connection
// server) and saves a picture of it: for looking at the windows and for the
// documentation. Options:
//   --status           the status monitor instead of the data monitor
//   --error-axis N     first runs axis N into its JOG software limit, so the unit flags an error
//   --scroll N         scrolls the grid to its column N
//   --from             the FROM writing status window during a real write
//   --verify BITS      the verification result window with these mismatch bits
//   --differences FILE --against OTHER
//                      the list "Details..." shows after verifying FILE with OTHER
//   --screenshot FILE  where the picture goes (default monitor.png)
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "data_monitor_dlg.h"
#include "difference_list_dlg.h"
#include "from_status_dialog.h"
#include "monitor_grid.h"
#include "status_monitor_dlg.h"
#include "ui_strings.h"
#include "verify_result_dialog.h"

namespace {

class PrintingUi : public axcfg::ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override { return std::fprintf(stderr, "%s\n", text.c_str()), 2; }
  int MessageBox(const std::string& text, unsigned) override { return std::fprintf(stderr, "%s\n", text.c_str()), 1; }
};

void RunIntoSoftLimit(axcfg::CUnitLink& link, int axis) {
  const uint32_t params = 0x1000 + 0x5000u * static_cast<uint32_t>(axis);
  const uint16_t flags = 0x0004, upper[2] = {0xFFFF, 0xFFFF};
  link.Write(params + 22, 1, &flags, axcfg::kReportNone);
  link.Write(params + 24, 2, upper, axcfg::kReportNone);
  link.RequestToolMode();
  link.ServoOnOff(axis, true);
  (void)QTest::qWaitFor([&] {
    uint16_t state = 0;
    return link.Read(0x860 + 0x80u * static_cast<uint32_t>(axis), 1, &state, axcfg::kReportNone) == 0 &&
           (state & 0x0080);
  }, 5000);
  link.StartJog(axis, true);
  QTest::qWait(100);
  link.StopJog(axis, true);
  link.CancelToolMode();
}

bool Save(QWidget& window, const QString& path) {
  if (!window.grab().save(path)) return std::fprintf(stderr, "cannot write %s\n", qPrintable(path)), false;
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  axcfg::RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  QStringList args = app.arguments();
  auto value = [&](const QString& name, const QString& fallback) {
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
  };
  const QString shot = value("--screenshot", "monitor.png");
  if (args.contains("--verify")) {
    axcfgui::CVerifyResultDialog dialog(nullptr);
    axcfg::VerifyResult result;
    result.target = "Simulation Station No.1 - Slot No. 0";
    result.mismatch = value("--verify", "4").toUInt();
    result.showCommentNote = true;
    dialog.SetResult(result);
    dialog.show();
    QTest::qWait(200);
    return Save(dialog, shot) ? 0 : 1;
  }

  if (args.contains("--differences")) {
    axcfg::CAxisCfgDoc doc;
    const std::string file = value("--differences", "").toStdString();
    if (!axcfg::OpenDocumentFile(doc, file).Succeeded()) return std::fprintf(stderr, "cannot open %s\n", file.c_str()), 1;
    const axcfg::VerifyFileOutcome outcome = axcfg::VerifyWithFile(doc, value("--against", "").toStdString());
    if (!outcome.Completed()) return std::fprintf(stderr, "%s\n", outcome.FailureText().c_str()), 1;
    axcfgui::CVerifyResultDialog dialog(nullptr);
    dialog.SetResult(outcome.result);
    dialog.show();
    dialog.DetailsButton()->click();
    if (!dialog.DetailsDialog()) return std::fprintf(stderr, "no differences\n"), 1;
    QTest::qWait(200);
    return Save(*dialog.DetailsDialog(), shot) ? 0 : 1;
  }

  PrintingUi ui;
  axcfg::CUnitLink link("Axis Configurator", axcfg::TavLinkLibrary(), ui);
  if (link.Open(nullptr, true, true, false) != 0) return 1;
  axcfg::CUnitAxisConfig config;
  if (axcfg::ReadUnitAxisConfig(link, config) != 0) return 1;
  if (args.contains("--from")) {
    if (link.RequestWriteFROM() != 0) return 1;
    axcfgui::CFromStatusDialog dialog(&link, nullptr);
    QTimer::singleShot(300, &dialog, [&] { Save(dialog, shot); });
    std::printf("result %d\n", dialog.exec());
    link.Close();
    return 0;
  }
  const int errorAxis = value("--error-axis", "0").toInt();
  if (errorAxis >= 1 && errorAxis <= 8) RunIntoSoftLimit(link, errorAxis - 1);
  std::unique_ptr<axcfgui::CMonitorDialog> dialog;
  if (args.contains("--status"))
    dialog = std::make_unique<axcfgui::CStatusMonitorDlg>(config.layout, link, nullptr);
  else
    dialog = std::make_unique<axcfgui::CDataMonitorDlg>(config.layout, link, config.family, nullptr);
  dialog->show();
  dialog->Grid()->ScrollTo(value("--scroll", "0").toInt());
  (void)QTest::qWaitFor([&] { return dialog->DrawnCycles() >= 2; }, 20000);
  const bool saved = Save(*dialog, shot);
  dialog->reject();
  link.Close();
  return saved ? 0 : 1;
}
