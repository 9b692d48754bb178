#pragma once
// Gives a program with windows its icon and desktop entry name, so window
// managers and task bars show the same icon as the menu entry.
#include <QIcon>
#include <QString>

namespace platform {
// The icon NAME from the hicolor theme folder beside the program
// (<prefix>/share/icons/hicolor/<size>/apps/NAME.png), else from the
// desktop's theme; null when neither has it.
QIcon ProgramIcon(const QString& name);
// Sets the application's window icon (when found) and desktop file name.
void SetProgramIdentity(const QString& desktopFileName, const QString& iconName);
}  // namespace platform
