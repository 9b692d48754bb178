#include "modem_app.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "entry_dialog.h"
#include "modem_book/modem_strings.h"
#include "modem_book/tel_connect_doc.h"
#include "modem_frame.h"
#include "modem_ui.h"
#include "platform/named_mutex.h"
#include "platform/program_icon.h"
#include "platform/widget_message_box.h"
#include "raise_window.h"
#include "tel_connect_view.h"
#include "window_dial_up.h"

namespace modembook {

namespace {

struct WindowOptions {
  std::string book, screenshot, screenshotEntry, screenshotDial;
};

WindowOptions ReadWindowOptions(const std::vector<std::string>& rest) {
  WindowOptions o;
  for (size_t i = 0; i + 1 < rest.size(); ++i) {
    if (rest[i] == "--book") o.book = rest[++i];
    else if (rest[i] == "--screenshot") o.screenshot = rest[++i];
    else if (rest[i] == "--screenshot-entry") o.screenshotEntry = rest[++i];
    else if (rest[i] == "--screenshot-dial") o.screenshotDial = rest[++i];
  }
  return o;
}

// Saves pictures of the main window and of the entry dialog of the selected
// entry, then ends the program.
void TakeScreenshots(CModemFrame& frame, const WindowOptions& o) {
  if (!o.screenshot.empty()) frame.grab().save(QString::fromStdString(o.screenshot));
  if (!o.screenshotEntry.empty()) {
    frame.View()->runDialog = [&](CEntryDialog& d) {
      d.show();
      QApplication::processEvents();
      d.grab().save(QString::fromStdString(o.screenshotEntry));
      return static_cast<int>(kEntryClose);
    };
    frame.View()->EditEntry(std::max(0, frame.View()->SelectedIndex()));
  }
  frame.hide();
  QApplication::quit();
}

// Connects the selected entry on the current port and hangs up again,
// saving each dial-up window a moment after it shows (FOLDER/window-<id>.png)
// and the form while connected; the confirmation is answered by itself.
void TakeDialScreenshots(CModemFrame& frame, CTelConnectDoc& doc, CWindowDialUp& dialUp, const std::string& folder) {
  const QString dir = QString::fromStdString(folder);
  dialUp.runDialog = [dir](QDialog& d) {
    QTimer::singleShot(1500, &d, [&d, dir] {
      d.grab().save(dir + "/window-" + d.objectName() + ".png");
      if (d.objectName().toInt() == kConnectedWindow) d.accept();
    });
    return d.exec();
  };
  const int index = std::max(0, frame.View()->SelectedIndex());
  if (index < static_cast<int>(doc.Entries().size())) {
    dialUp.Connect(doc.Entries()[static_cast<size_t>(index)], doc.CurrentPort());
    if (dialUp.Connected()) {
      // Two seconds as connected (form minimised, the "-h" window in front).
      QEventLoop wait;
      QTimer::singleShot(2000, &wait, &QEventLoop::quit);
      wait.exec();
      frame.showNormal();
      QApplication::processEvents();
      frame.grab().save(dir + "/form-connected.png");
      dialUp.Disconnect();
    }
  }
  frame.hide();
  QApplication::quit();
}

}  // namespace

bool IsWindowOption(const std::string& arg) {
  return arg == "--book" || arg == "--screenshot" || arg == "--screenshot-entry" || arg == "--screenshot-dial";
}

int RunModemWindow(int argc, char** argv, const StartArguments& start, int language, int productNumber) {
  QApplication app(argc, argv);
  platform::InstallWidgetMessageBox();
  platform::SetProgramIdentity("KELD_TavModem", "keld-tavmodem");
  std::string missing;
  if (!LoadLanguageTable(language, productNumber, missing))
    platform::ShowMessageBox("Can't find Resource DLL [" + missing + "] !!!", platform::MB_OK | platform::MB_ICONSTOP,
                             "KELD_TavModem");
  const WindowOptions options = ReadWindowOptions(start.rest);

  // The first copy owns the settings; a second one shows them read-only.
  platform::NamedMutex mutex("KELDTAVMODEM");
  CTelConnectDoc doc;
  doc.SetReadOnly(!mutex.TryLock());
  if (!options.book.empty()) doc.SetPath(options.book);
  if (int rc = doc.Load()) {
    ModemMessage(static_cast<unsigned>(rc));
    return 1;
  }
  doc.ReadPortSettings();

  const bool english = language == 1;
  const std::string helpFolder = HelpFolderFor(language, productNumber);
  CWindowDialUp dialUp(doc, TavDialLibrary(), SteadySessionClock(), english, productNumber);
  CModemFrame frame(doc, &dialUp, helpFolder, english);
  dialUp.SetWindow(&frame);
  dialUp.showStatus = [&frame](const std::deque<std::string>& lines) { frame.View()->ShowStatus(lines); };
  dialUp.connectedChanged = [&frame](bool connected) {
    frame.View()->SetConnected(connected);
    frame.UpdateCommands();
  };
  dialUp.raiseNamedWindow = RaiseAfterConnecting(start.raiseWindow);
  frame.View()->InitialUpdate();
  frame.show();
  if (!options.screenshot.empty() || !options.screenshotEntry.empty())
    QTimer::singleShot(300, &frame, [&] { TakeScreenshots(frame, options); });
  else if (!options.screenshotDial.empty())
    QTimer::singleShot(300, &frame, [&] { TakeDialScreenshots(frame, doc, dialUp, options.screenshotDial); });
  return app.exec();
}

}  // namespace modembook
