// Shows one window of the transfer commands and saves a picture of it, for
// looking at the windows: --window confirm-upload | confirm-download |
// choice | progress-download | progress-upload | comm-error, --screenshot
// FILE (default transfer.png), --japanese for the Japanese texts.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/transfer_commands.h"
#include "axcfg_unit/unit_link.h"
#include "comm_error_dialog.h"
#include "platform/strings.h"
#include "tavinter/connection_record.h"
#include "transfer_dialogs.h"
#include "ui_strings.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  std::string window = "progress-upload", file = "transfer.png";
  bool japanese = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--window") && i + 1 < argc) window = argv[++i];
    else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) file = argv[++i];
    else if (!std::strcmp(argv[i], "--japanese")) japanese = true;
  }
  axcfgui::RegisterAxisCfgUiStrings();
  axcfg::TransferText(0);
  if (japanese) {
    auto table = std::make_shared<platform::StringTable>();
    std::string error;
    if (table->LoadFile(KELD_LANG_DIR "/AxisCfg.jpn.txt", error)) platform::Strings::SetActive("AxisCfg", table);
    else std::fprintf(stderr, "%s\n", error.c_str());
  }
  std::array<uint8_t, axcfg::kLinkContextSize> sim{};
  tavinter::CConnectionRecord(sim.data()).SetKind(tavinter::kKindSimulation);
  axcfg::CFixedDestinationLibrary library(sim);
  axcfgui::CWidgetLinkUi ui("Axis Configurator");
  axcfg::CUnitLink link("Axis Configurator", library, ui);
  link.SetApplicationLanguage(japanese ? 1 : 0);
  link.Open(nullptr, false, false, true);  // the library's texts in the language chosen

  std::unique_ptr<QDialog> dialog;
  if (window == "confirm-upload" || window == "confirm-download") {
    dialog = std::make_unique<axcfgui::CConnectConfirmDialog>(link, window == "confirm-download" ? 1 : 0, nullptr);
  } else if (window == "choice") {
    dialog = std::make_unique<axcfgui::CDownloadChoiceDialog>(axcfg::DownloadSelection{2, 4, 80}, nullptr);
  } else if (window == "progress-download" || window == "progress-upload") {
    const int mode = window == "progress-download" ? axcfg::kModeDownload : axcfg::kModeUpload;
    dialog = std::make_unique<axcfgui::CTransferProgressDialog>(mode, [](axcfg::ITransferProgress& p) {
      p.SetRange(100);
      for (int i = 0; i < 100 && !p.Cancelled(); ++i) {
        p.Step(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
      }
      return 0;
    }, nullptr);
  } else if (window == "comm-error") {
    dialog = std::make_unique<axcfgui::CCommErrorDialog>(
        QString::fromStdString(link.GetErrorString(-10012)), nullptr);
  } else {
    std::fprintf(stderr, "unknown window %s\n", window.c_str());
    return 2;
  }
  dialog->show();
  QTimer::singleShot(1500, [&] {
    const bool saved = dialog->grab().save(QString::fromStdString(file));
    std::printf("%s %s\n", saved ? "saved" : "could not save", file.c_str());
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
