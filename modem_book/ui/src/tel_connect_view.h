#pragma once
// The phone book's form: the modem settings of the current COM port and the
// list of destinations, with add, edit, delete and sorting. Edits go to the
// document at once; the frame saves it.
#include <QWidget>
#include <deque>
#include <functional>
#include <string>

#include "modem_book/dial_up.h"
#include "modem_book/tel_connect_doc.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace modembook {

class CEntryDialog;

enum ViewControl {
  kIdPortList = 30010, kIdPulse = 30020, kIdTone = 30040, kIdOther = 30041, kIdDialCommand = 1000,
  kIdInitCommand = 30060, kIdCommandDefault = 30050, kIdPlcTimeout = 30011, kIdLineTimeout = 30012,
  kIdBookList = 30070, kIdAdd = 1004, kIdDelete = 1005, kIdStatusList = 30080,
};

// Registry key of the list's column widths ("Data0".."Data2").
constexpr const char* kSettingsKey = "SOFTWARE\\KELD\\KELD_TavModem\\Settings";

class CTelConnectView : public QWidget {
  Q_OBJECT
 public:
  CTelConnectView(CTelConnectDoc& doc, IDialUp* dialUp, std::string helpFolder, bool english,
                  QWidget* parent = nullptr);
  ~CTelConnectView() override;

  // Builds the port controls and the list from the document.
  void InitialUpdate();
  // The whole list again (after loading, importing or re-initialising).
  void RefreshList(int select);
  // Takes over the command fields being edited.
  void CommitEdits();

  void AddEntry();
  void EditEntry(int index);
  void DeleteEntry();
  void SortByColumn(int column);
  // Opens the selected entry (or a new one on an empty list) to connect it.
  void ConnectSelection();
  int SelectedIndex() const;
  // The dial-up's status lines, the last one selected.
  void ShowStatus(const std::deque<std::string>& lines);
  // While a line is up the settings, the port list and the book are locked.
  void SetConnected(bool connected);

  // How an entry dialog is run; tests replace it. Default: exec().
  std::function<int(CEntryDialog&)> runDialog;

 signals:
  void ModifiedChanged();

 private:
  void ShowPort(int com);
  void TakePort();
  void EnableControls();
  void OpenEntry(int index);
  void UpdateDialCommandField();

  CTelConnectDoc& doc_;
  IDialUp* dialUp_;
  std::string helpFolder_;
  bool english_;
  bool showing_ = false;
  bool connected_ = false;
  QComboBox* portList_ = nullptr;
  QButtonGroup* dialMode_ = nullptr;
  QLineEdit* dialCommand_ = nullptr;
  QLineEdit* initCommand_ = nullptr;
  QPushButton* commandDefault_ = nullptr;
  QComboBox* plcTimeout_ = nullptr;
  QComboBox* lineTimeout_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* delete_ = nullptr;
  QListWidget* status_ = nullptr;
};

}  // namespace modembook
