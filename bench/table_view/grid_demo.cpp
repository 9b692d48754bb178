// Shows the grid with 8 sheets of 600 lines and 28 columns in a main window,
// with a docked bar below it.
//   axview_grid_demo [--screenshot FILE] [--english] [--edit | --choice | --find] [--bar left|right|top|bottom]
// --edit starts editing a numeric cell, --choice opens a choice list, --find
// opens the find dialog. With --screenshot the screen is saved to FILE a
// moment after the window shows, and the program ends.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

#include "axview/control_bar_ex.h"
#include "axview/helpers.h"
#include "axview/table_view.h"
#include "demo_table.h"

namespace {

void Key(QWidget* target, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
}

Qt::DockWidgetArea AreaOf(const QString& name) {
  if (name == "left") return Qt::LeftDockWidgetArea;
  if (name == "right") return Qt::RightDockWidgetArea;
  if (name == "top") return Qt::TopDockWidgetArea;
  return Qt::BottomDockWidgetArea;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  SetAppName("Grid demo");
  QString screenshot, mode, side = "bottom";
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--screenshot" && i + 1 < args.size()) screenshot = args[++i];
    else if (args[i] == "--bar" && i + 1 < args.size()) side = args[++i];
    else if (args[i] == "--english") KELDExSetLanguage(0);
    else if (args[i] == "--edit" || args[i] == "--choice" || args[i] == "--find") mode = args[i];
  }

  QMainWindow frame;
  frame.setWindowTitle("AxView grid demo");
  auto* view = new CTableView;
  axview_demo::FillDemoTable(*view);
  view->SetWindowTextA("No.");
  frame.setCentralWidget(view);

  CControlBarEx bar;
  bar.Create(&frame, 0xE810, "Axis monitor", CSize(260, 150));
  auto* list = new QListWidget;
  for (int axis = 1; axis <= 8; ++axis)
    list->addItem(QString("Axis %1    position %2    speed %3").arg(axis).arg(axis * 1250.5, 0, 'f', 3).arg(axis * 100));
  bar.SetClientWidget(list);
  frame.addDockWidget(AreaOf(side), &bar);

  view->OnInitialUpdate();
  view->SetSel(CRect(2, 3, 4, 6), CPoint(2, 3));
  frame.resize(1200, 760);
  frame.show();
  view->setFocus();

  QTimer::singleShot(300, [&] {
    if (mode == "--edit") {
      view->SetSel(CRect(5, 4, 5, 4), CPoint(5, 4));  // positioning address, 3 decimals
      Key(view, Qt::Key_F2);
      if (QWidget* edit = view->GetActiveCellEditor()) {
        Key(edit, Qt::Key_End);
        for (QChar c : QString("25")) Key(edit, Qt::Key_0 + c.digitValue(), QString(c));
      }
    } else if (mode == "--choice") {
      view->SetSel(CRect(1, 4, 1, 6), CPoint(1, 4));
      Key(view, Qt::Key_F2);
      if (auto* combo = qobject_cast<QComboBox*>(view->GetActiveCellEditor())) combo->showPopup();
    } else if (mode == "--find") {
      view->SetSel(CRect(14, 2, 14, 2), CPoint(14, 2));
      view->OnEditReplace();  // modal: runs until the dialog closes
    }
  });

  if (!screenshot.isEmpty()) {
    QTimer::singleShot(1200, [&] {
      QPixmap shot = frame.screen()->grabWindow(0);
      if (shot.isNull()) shot = frame.grab();
      shot.save(screenshot);
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      app.quit();
    });
  }
  return app.exec();
}
