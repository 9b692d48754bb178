#pragma once
// The small dialogs of the application: the start dialog, "Configuration"
// (options) and "File property".
#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;

namespace axcfgui {

// What the start dialog asks: create, open, upload or leave.
enum class StartChoice { Closed, New, Open, Upload, Exit };

class CStartDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CStartDialog(QWidget* parent);
  StartChoice Choice() const { return m_choice; }
  // Upload is offered only while the transfer command is available.
  void EnableUpload(bool enable);

 private:
  StartChoice m_choice = StartChoice::Closed;
};

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

class CFilePropertyDialog : public QDialog {
  Q_OBJECT

 public:
  CFilePropertyDialog(QWidget* parent, const std::string& fileName, const std::string& creator,
                      const std::string& comment, const std::string& date);
  std::string Creator() const;
  std::string Comment() const;
  std::function<void()> onHelp;
  // Judges OK with the creator and the comment; false keeps the dialog open.
  std::function<bool(const std::string& creator, const std::string& comment)> onAccept;
  void accept() override;

 private:
  QLineEdit* m_creator;
  QLineEdit* m_comment;
};

// "%Y/%m/%d" of the file's last write, empty when the file does not exist.
std::string FileDateText(const std::string& path);

}  // namespace axcfgui
