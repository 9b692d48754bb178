#pragma once
// The entry dialog: title, phone number and line parameters of one phone
// book entry. It ends with 1 (connect), 0 (register) or -1 (close, Escape,
// the close box). A value outside the lists stays as it was unless the user
// picks another.
#include <QDialog>
#include <string>

#include "modem_book/phone_book_entry.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace modembook {

enum EntryDialogResult { kEntryConnect = 1, kEntryRegister = 0, kEntryClose = -1 };

enum EntryControl {
  kIdTitle = 35010, kIdPhone = 35020, kIdBaud = 35030, kIdData8 = 35040, kIdData7 = 35050,
  kIdParityNone = 35060, kIdParityOdd = 35070, kIdParityEven = 35080, kIdStop1 = 35090, kIdStop2 = 35100,
  kIdInitialise = 35110, kIdConnect = 35111, kIdRegister = 1008, kIdClose = 35120, kIdHelp = 35130,
};
constexpr int kEntryHelpContext = 1130;

class CEntryDialog : public QDialog {
  Q_OBJECT
 public:
  // readOnly: a second copy (nothing can be changed); canConnect: a dial-up is there.
  CEntryDialog(const CPhoneBookEntry& entry, bool readOnly, bool canConnect, std::string helpFolder,
               bool english = false, QWidget* parent = nullptr);

  // The entry with what the dialog shows.
  const CPhoneBookEntry& Entry() const { return entry_; }

 protected:
  void reject() override { done(kEntryClose); }

 private:
  void Show(const CPhoneBookEntry& e);
  void ShowLine(const CPhoneBookEntry& e);
  void Take();
  void OnConnect();
  void OnInitialise();

  CPhoneBookEntry entry_;
  std::string helpFolder_;
  QLineEdit* title_ = nullptr;
  QLineEdit* phone_ = nullptr;
  QComboBox* baud_ = nullptr;
  QButtonGroup* data_ = nullptr;
  QButtonGroup* parity_ = nullptr;
  QButtonGroup* stop_ = nullptr;
};

}  // namespace modembook
