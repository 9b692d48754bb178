// Shows a tool operation window on the simulated unit (through a started
// connection server) and saves a picture of it. Options:
//   --window dialog|jog|homing|positioning|teaching|servo|value   which one (default dialog)
//   --screenshot FILE  where the picture goes (default tool.png)
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <memory>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/link_library.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "platform/message_box.h"
#include "servo_onoff_dlg.h"
#include "tool_opr_dlg.h"
#include "tool_opr_wnd.h"
#include "ui_strings.h"
#include "value_input_dlg.h"

namespace {

class PrintingUi : public axcfg::ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override { return std::fprintf(stderr, "%s\n", text.c_str()), 2; }
  int MessageBox(const std::string& text, unsigned) override { return std::fprintf(stderr, "%s\n", text.c_str()), 1; }
};

bool Save(QWidget& window, const QString& path) {
  if (!window.grab().save(path)) return std::fprintf(stderr, "cannot write %s\n", qPrintable(path)), false;
  std::printf("%s\n", qPrintable(path));
  return true;
}

// Shows a window until its first values are drawn, saves it and closes it.
template <typename Window>
bool ShowAndSave(Window& window, const QString& path) {
  window.show();
  (void)QTest::qWaitFor([&] { return window.DrawnCycles() >= 2; }, 20000);
  const bool saved = Save(window, path);
  window.reject();
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  axcfg::RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  axcfg::RegisterToolOprStrings();
  const QStringList args = app.arguments();
  auto value = [&](const QString& name, const QString& fallback) {
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
  };
  const QString shot = value("--screenshot", "tool.png");
  const QString which = value("--window", "dialog");
  // Every question is answered Yes, every message printed.
  platform::SetMessageBoxHandler([](const platform::MessageBoxRequest& r) {
    std::fprintf(stderr, "%s\n", r.text.c_str());
    return (r.type & 0x0F) == platform::MB_YESNO ? platform::IDYES : platform::IDOK;
  });
  if (which == "value") {
    axcfgui::CValueInputDlg dialog(axcfg::ValueInputRules(2, "1 axis"), -12345, nullptr);
    dialog.show();
    QTest::qWait(200);
    return Save(dialog, shot) ? 0 : 1;
  }

  PrintingUi ui;
  axcfg::CUnitLink link("Axis Configurator", axcfg::TavLinkLibrary(), ui);
  if (link.Open(nullptr, true, true, false) != 0) return 1;
  axcfg::CUnitAxisConfig config;
  if (axcfg::ReadUnitAxisConfig(link, config) != 0) return 1;
  bool saved = false;
  if (which == "dialog") {
    axcfgui::CToolOprDlg dialog(config.layout, link, nullptr, config.family, 5, nullptr);
    dialog.show();
    dialog.Enter();
    QTest::qWait(200);
    saved = Save(dialog, shot);
    dialog.reject();
  } else {
    try {
      link.RequestToolMode();
    } catch (...) {
    }
    axcfg::CAxisCfgDoc doc;
    std::unique_ptr<axcfgui::CMonitorDialog> window;
    if (which == "servo") {
      axcfgui::CServoOnOffDlg servo(config.layout, link, config.family, nullptr);
      saved = ShowAndSave(servo, shot);
    } else if (which == "homing") {
      axcfgui::CHomingWnd wnd(config.layout, link, config.family, nullptr);
      saved = ShowAndSave(wnd, shot);
    } else if (which == "positioning") {
      axcfgui::CPositioningWnd wnd(config.layout, link, config.family, nullptr);
      saved = ShowAndSave(wnd, shot);
    } else {
      axcfgui::CJogWnd wnd(config.layout, link, config.family, which == "teaching" ? &doc : nullptr, nullptr);
      saved = ShowAndSave(wnd, shot);
    }
    link.CancelToolMode();
  }
  link.Close();
  return saved ? 0 : 1;
}
