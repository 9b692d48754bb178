#include "platform/program_icon.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "platform/folders.h"

namespace platform {

QIcon ProgramIcon(const QString& name) {
  // Beside the program first: the installed tree runs from any prefix, which
  // the desktop's icon theme search path need not contain.
  const QDir hicolor(QString::fromStdString(ProgramDir()) + "/../share/icons/hicolor");
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString file = hicolor.filePath(QString("%1x%1/apps/%2.png").arg(size).arg(name));
    if (QFileInfo::exists(file)) icon.addFile(file, QSize(size, size));
  }
  if (icon.isNull()) icon = QIcon::fromTheme(name);
  return icon;
}

void SetProgramIdentity(const QString& desktopFileName, const QString& iconName) {
  QGuiApplication::setDesktopFileName(desktopFileName);
  const QIcon icon = ProgramIcon(iconName);
  if (!icon.isNull()) QGuiApplication::setWindowIcon(icon);
}

}  // namespace platform
