#pragma once
// "Configuration": current folder, tool-operation time-out and language.
#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;

namespace axcfgui {

// The options: current folder, tool-operation time-out (1..30 s) and
// language (shown only when two languages are registered).
struct OptionValues {
  std::string currentPath;
  int toolOprTimes = 1;
  int language = 0;
};

class COptionsDialog : public QDialog {
  Q_OBJECT

 public:
  COptionsDialog(QWidget* parent, const OptionValues& values, bool offerLanguage);
  OptionValues Values() const;
  std::function<void()> onHelp;

 private:
  QLineEdit* m_folder;
  QComboBox* m_timeout;
  QComboBox* m_language;
};

}  // namespace axcfgui
