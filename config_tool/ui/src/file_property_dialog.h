#pragma once
// "File property": the file's name, creator, comment and date.
#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;

namespace axcfgui {

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
