// Shows the grid with 8 sheets of 600 lines and 28 columns.
//   axview_grid_demo [--screenshot FILE] [--english]
// With --screenshot the screen is saved to FILE a moment after the window
// shows, and the program ends.
#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "axview/helpers.h"
#include "axview/table_view.h"
#include "demo_table.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  SetAppName("Grid demo");
  QString screenshot;
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--screenshot" && i + 1 < args.size()) screenshot = args[++i];
    if (args[i] == "--english") KELDExSetLanguage(0);
  }

  CTableView view;
  axview_demo::FillDemoTable(view);
  view.SetWindowTextA("No.");
  view.OnInitialUpdate();
  view.SetSel(CRect(2, 3, 4, 6), CPoint(2, 3));
  view.setWindowTitle("AxView grid demo");
  view.resize(1200, 700);
  view.show();

  if (!screenshot.isEmpty()) {
    QTimer::singleShot(800, [&] {
      QPixmap shot = view.screen()->grabWindow(0);
      if (shot.isNull()) shot = view.grab();
      shot.save(screenshot);
      app.quit();
    });
  }
  return app.exec();
}
