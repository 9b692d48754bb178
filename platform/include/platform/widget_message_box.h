#pragma once
// Installs the message-box handler of programs with windows: a modal
// QMessageBox with the original platform's buttons, icon and default button.
namespace platform {
void InstallWidgetMessageBox();
}
