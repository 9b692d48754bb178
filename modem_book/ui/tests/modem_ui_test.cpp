// The phone book's window offscreen, message boxes recorded and answered:
// adding, editing, deleting and sorting entries, the entry dialog's
// questions, port settings, re-initialising, closing, the read-only copy,
// stored column widths and printing on a small page.
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "book_printer.h"
#include "entry_dialog.h"
#include "message_box_recorder.h"
#include "modem_book/modem_strings.h"
#include "modem_book/phone_book_file.h"
#include "modem_book/start_up.h"
#include "modem_frame.h"
#include "modem_ui.h"
#include "platform/registry.h"
#include "tel_connect_view.h"
#include "file_bytes.h"
#include "test_home.h"

using namespace modembook;

namespace {

struct FakeDialUp : IDialUp {
  bool Available() const override { return true; }
  bool Connected() const override { return connected; }
  void Connect(const CPhoneBookEntry& e, int port) override {
    dialled.push_back(e);
    ports.push_back(port);
  }
  void Disconnect() override { connected = false; }
  bool connected = false;
  std::vector<CPhoneBookEntry> dialled;
  std::vector<int> ports;
};

// Types into a field as a user does (the field knows it was edited).
void Type(QWidget* parent, int id, const QString& text) {
  auto* edit = FindControl<QLineEdit>(parent, id);
  ASSERT_NE(edit, nullptr) << id;
  edit->selectAll();
  // insert() validates as typing does and reports the edit; it also takes
  // characters the test library has no key for.
  edit->insert(text);
  edit->setModified(true);
  emit edit->textEdited(edit->text());
}

void Click(QWidget* parent, int id) {
  auto* b = FindControl<QAbstractButton>(parent, id);
  ASSERT_NE(b, nullptr) << id;
  ASSERT_TRUE(b->isEnabled()) << id;
  b->click();
}

CPhoneBookEntry Entry(const std::string& title, const std::string& phone) {
  CPhoneBookEntry e;
  e.SetTitle(title);
  e.SetPhone(phone);
  return e;
}

class ModemWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.SetPath(dir + "/book.dat");
    ASSERT_EQ(doc.Load(), 0);
    doc.ReadPortSettings();
  }
  void Open() {
    frame = std::make_unique<CModemFrame>(doc, &dial, dir, false);
    frame->View()->InitialUpdate();
    frame->show();
  }
  CTelConnectView* View() { return frame->View(); }
  QTreeWidget* List() { return FindControl<QTreeWidget>(View(), kIdBookList); }
  // The entry dialog answers through a script instead of waiting for a user.
  void Answer(std::function<void(CEntryDialog&)> script) {
    View()->runDialog = [script](CEntryDialog& d) {
      d.setResult(kEntryClose);
      d.show();
      script(d);
      return d.result();
    };
  }

  std::string dir = keldtest::FreshDir("window");
  CTelConnectDoc doc;
  FakeDialUp dial;
  keldtest::MessageBoxRecorder boxes;
  std::unique_ptr<CModemFrame> frame;
};

}  // namespace

TEST_F(ModemWindow, AddEditAndDeleteEntries) {
  Open();
  Answer([](CEntryDialog& d) {
    Type(&d, kIdTitle, "本社");
    Type(&d, kIdPhone, "0612345678");
    Click(&d, kIdRegister);
  });
  Click(View(), kIdAdd);
  ASSERT_EQ(doc.Count(), 1u);
  EXPECT_EQ(doc.Entries()[0].Title(), "本社");
  EXPECT_EQ(List()->topLevelItem(0)->text(2), "  9600-8-1-N");
  EXPECT_TRUE(doc.BookModified());

  // Closing the dialog adds nothing.
  Answer([](CEntryDialog& d) {
    Type(&d, kIdTitle, "ignored");
    Click(&d, kIdClose);
  });
  Click(View(), kIdAdd);
  EXPECT_EQ(doc.Count(), 1u);

  // Enter on the selected entry edits it.
  Answer([](CEntryDialog& d) {
    Type(&d, kIdPhone, "0699");
    FindControl<QComboBox>(&d, kIdBaud)->setCurrentIndex(7);
    Click(&d, kIdParityEven);
    Click(&d, kIdRegister);
  });
  List()->setCurrentItem(List()->topLevelItem(0));
  QTest::keyClick(List(), Qt::Key_Return);
  EXPECT_EQ(doc.Entries()[0].Phone(), "0699");
  EXPECT_EQ(doc.Entries()[0].Title(), "本社");
  EXPECT_EQ(List()->topLevelItem(0)->text(2), "115200-8-1-E");

  // Delete removes the selected entry without asking; with nothing selected, 1011.
  doc.Add(Entry("second", "2"));
  View()->RefreshList(1);
  Click(View(), kIdDelete);
  ASSERT_EQ(doc.Count(), 1u);
  EXPECT_EQ(doc.Entries()[0].Title(), "本社");
  EXPECT_TRUE(boxes.boxes.empty());
  List()->clearSelection();
  Click(View(), kIdDelete);
  EXPECT_EQ(doc.Count(), 1u);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, ModemText(kIdsNothingToDelete));
  EXPECT_EQ(boxes.boxes[0].caption, ModemText(kIdsCaption));
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_ICONMASK, platform::MB_ICONSTOP);
}

TEST_F(ModemWindow, ColumnClickSortsTheEntriesAndTheSelectionFollows) {
  for (const char* t : {"c", "a", "b"}) doc.Add(Entry(t, "1"));
  Open();
  List()->setCurrentItem(List()->topLevelItem(0));  // "c"
  List()->header()->sectionClicked(0);
  EXPECT_EQ(doc.Entries()[0].Title(), "a");
  EXPECT_EQ(List()->topLevelItem(0)->text(0), "a");
  EXPECT_EQ(View()->SelectedIndex(), 2);
  Click(View(), kIdDelete);
  EXPECT_EQ(doc.Entries().back().Title(), "b");
}

TEST_F(ModemWindow, ConnectNeedsAPhoneNumber) {
  Open();
  Answer([](CEntryDialog& d) {
    Type(&d, kIdTitle, "no number");
    Click(&d, kIdConnect);
    EXPECT_EQ(d.focusWidget(), FindControl<QWidget>(&d, kIdPhone));
    EXPECT_EQ(d.result(), kEntryClose);  // still open
    Type(&d, kIdPhone, "123");
    Click(&d, kIdConnect);
  });
  Click(View(), kIdAdd);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, ModemText(kIdsNoPhoneNumber));
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_ICONMASK, platform::MB_ICONEXCLAMATION);
  // Connect adds the entry and hands it to the dial-up with the current port.
  ASSERT_EQ(doc.Count(), 1u);
  ASSERT_EQ(dial.dialled.size(), 1u);
  EXPECT_EQ(dial.dialled[0].Phone(), "123");
  EXPECT_EQ(dial.ports[0], 1);
}

TEST_F(ModemWindow, WithoutADialUpConnectingIsDisabled) {
  frame = std::make_unique<CModemFrame>(doc, nullptr, dir, false);
  frame->View()->InitialUpdate();
  EXPECT_FALSE(frame->Action(kCmdConnect)->isEnabled());
  EXPECT_FALSE(frame->Action(kCmdDisconnect)->isEnabled());
  CEntryDialog d(CPhoneBookEntry(), false, false, dir);
  EXPECT_FALSE(FindControl<QWidget>(&d, kIdConnect)->isEnabled());
}

TEST_F(ModemWindow, InitialiseInTheDialogAsksAndKeepsUnknownValuesUntilPicked) {
  CPhoneBookEntry odd = Entry("odd", "1");
  odd.SetBaudIndex(9);
  odd.SetParity(7);
  {
    CEntryDialog d(odd, false, true, dir);
    EXPECT_EQ(FindControl<QComboBox>(&d, kIdBaud)->currentIndex(), -1);
    Click(&d, kIdRegister);
    EXPECT_EQ(d.result(), kEntryRegister);
    EXPECT_EQ(d.Entry(), odd);  // written back as it was
  }
  {
    CEntryDialog d(odd, false, true, dir);
    boxes.answers = {platform::IDCANCEL};
    Click(&d, kIdInitialise);
    Click(&d, kIdRegister);
    EXPECT_EQ(d.Entry().BaudIndex(), 9);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, ModemText(kIdsAskResetEntry));
    EXPECT_EQ(boxes.boxes[0].type & platform::MB_TYPEMASK, platform::MB_OKCANCEL);
  }
  {
    CEntryDialog d(odd, false, true, dir);
    boxes.answers = {platform::IDOK};
    Click(&d, kIdInitialise);
    Click(&d, kIdRegister);
    EXPECT_EQ(PropertyText(d.Entry(), false), "9600-8-1-N");
    EXPECT_EQ(d.Entry().Title(), "odd");
  }
  {
    CEntryDialog d(odd, false, true, dir);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.result(), kEntryClose);
  }
}

TEST_F(ModemWindow, DialCommandFieldFollowsTheModeAndEditsMarkThePort) {
  Open();
  auto* command = FindControl<QLineEdit>(View(), kIdDialCommand);
  EXPECT_EQ(command->text(), "ATDT");
  EXPECT_FALSE(command->isEnabled());
  EXPECT_FALSE(doc.PortModified(1));
  Click(View(), kIdPulse);
  EXPECT_EQ(command->text(), "ATDP");
  EXPECT_TRUE(doc.PortModified(1));
  EXPECT_EQ(doc.Port(1).dialMode, kDialPulse);
  Click(View(), kIdOther);
  EXPECT_TRUE(command->isEnabled());
  EXPECT_EQ(command->text(), "AT");
  Type(View(), kIdDialCommand, "ATX4DT");
  EXPECT_EQ(doc.Port(1).dialCommand, "ATX4DT");
  EXPECT_EQ(doc.Port(1).DialPrefix(), "ATX4DT");
  Type(View(), kIdInitCommand, "ATZ");
  EXPECT_EQ(doc.Port(1).initCommand, "ATZ");
  Click(View(), kIdCommandDefault);
  EXPECT_EQ(doc.Port(1).initCommand, "ATV1E0S0=1S2=43");
  auto* plc = FindControl<QComboBox>(View(), kIdPlcTimeout);
  plc->setCurrentIndex(plc->findData(45));
  plc->activated(plc->currentIndex());
  EXPECT_EQ(doc.Port(1).plcTimeout, 45);

  // Another port shows its own settings; port 1 keeps its edits.
  auto* ports = FindControl<QComboBox>(View(), kIdPortList);
  EXPECT_TRUE(ports->isEnabled());
  ports->setCurrentIndex(2);
  ports->activated(2);
  EXPECT_EQ(doc.CurrentPort(), 3);
  EXPECT_EQ(command->text(), "ATDT");
  EXPECT_FALSE(doc.PortModified(3));
  ASSERT_TRUE(frame->Save());
  CTelConnectDoc again;
  again.ReadPortSettings();
  EXPECT_EQ(again.Port(1).plcTimeout, 45);
  EXPECT_EQ(again.Port(1).dialCommand, "ATX4DT");
}

TEST_F(ModemWindow, ASinglePortDisablesThePortList) {
  doc.SetPortList({2});
  doc.SetCurrentPort(2);
  Open();
  EXPECT_FALSE(FindControl<QComboBox>(View(), kIdPortList)->isEnabled());
  EXPECT_EQ(FindControl<QComboBox>(View(), kIdPortList)->currentText(), "COM2");
}

TEST_F(ModemWindow, ReinitialisingAsksWithNoAsDefault) {
  doc.Add(Entry("a", "1"));
  Open();
  frame->Action(kCmdInitialiseAll)->trigger();  // the default answer: No
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, ModemText(kIdsAskInitialiseAll));
  EXPECT_EQ(boxes.boxes[0].type & (platform::MB_TYPEMASK | platform::MB_DEFMASK),
            platform::MB_YESNO | platform::MB_DEFBUTTON2);
  EXPECT_EQ(doc.Count(), 1u);
  boxes.answers = {platform::IDYES};
  frame->Action(kCmdInitialiseAll)->trigger();
  EXPECT_EQ(doc.Count(), 0u);
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_TRUE(doc.PortModified(15));
}

TEST_F(ModemWindow, ClosingAsksToSaveChanges) {
  Open();
  const std::string before = keldtest::ReadBytes(doc.Path());
  doc.Add(Entry("new", "1"));
  boxes.answers = {platform::IDCANCEL};
  EXPECT_FALSE(frame->close());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, ModemText(kIdsAskSave));
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_TYPEMASK, platform::MB_YESNOCANCEL);
  boxes.answers = {platform::IDNO};
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(keldtest::ReadBytes(doc.Path()), before);
  frame->show();
  boxes.answers = {platform::IDYES};
  EXPECT_TRUE(frame->close());
  CTelConnectDoc saved;
  saved.SetPath(doc.Path());
  ASSERT_EQ(saved.Load(), 0);
  EXPECT_EQ(saved.Count(), 1u);
  // An unchanged document closes without a question.
  frame->show();
  boxes.boxes.clear();
  EXPECT_TRUE(frame->close());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ModemWindow, AFailedSaveOnClosingKeepsTheWindowOpen) {
  Open();
  doc.Add(Entry("new", "1"));
  std::filesystem::remove(doc.Path());
  std::filesystem::create_directory(doc.Path());
  boxes.answers = {platform::IDYES};
  EXPECT_FALSE(frame->close());
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, ModemText(kIdsWriteFailed));
  EXPECT_TRUE(doc.BookModified());
}

TEST_F(ModemWindow, TheReadOnlyCopyShowsButChangesNothing) {
  doc.Add(Entry("a", "1"));
  doc.SetBookModified(false);
  doc.SetReadOnly(true);
  Open();
  for (int id : {kIdPulse, kIdTone, kIdOther, kIdDialCommand, kIdInitCommand, kIdCommandDefault, kIdPlcTimeout,
                 kIdLineTimeout, kIdAdd, kIdDelete})
    EXPECT_FALSE(FindControl<QWidget>(View(), id)->isEnabled()) << id;
  EXPECT_TRUE(FindControl<QWidget>(View(), kIdPortList)->isEnabled());
  EXPECT_TRUE(List()->isEnabled());
  EXPECT_FALSE(frame->Action(kCmdSave)->isEnabled());
  EXPECT_FALSE(frame->Action(kCmdInitialiseAll)->isEnabled());
  EXPECT_TRUE(frame->Action(kCmdConnect)->isEnabled());

  bool opened = false;
  Answer([&](CEntryDialog& d) {
    opened = true;
    for (int id : {kIdTitle, kIdPhone, kIdBaud, kIdData8, kIdParityOdd, kIdStop2, kIdInitialise, kIdRegister})
      EXPECT_FALSE(FindControl<QWidget>(&d, id)->isEnabled()) << id;
    Click(&d, kIdConnect);
  });
  View()->EditEntry(0);
  EXPECT_TRUE(opened);
  EXPECT_EQ(dial.dialled.size(), 1u);  // it can still dial
  View()->SortByColumn(1);
  EXPECT_TRUE(frame->close());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ModemWindow, ColumnWidthsAreStoredWhenTheViewGoes) {
  Open();
  EXPECT_EQ(List()->columnWidth(0), 248);
  EXPECT_EQ(List()->columnWidth(1), 192);
  EXPECT_EQ(List()->columnWidth(2), 86);
  List()->setColumnWidth(1, 150);
  frame.reset();
  EXPECT_EQ(platform::Registry::ReadDword(platform::Hive::CurrentUser, kSettingsKey, "Data1").value_or(0), 150u);
  Open();
  EXPECT_EQ(List()->columnWidth(1), 150);
}

TEST_F(ModemWindow, DroppedBookFilesAreAppended) {
  doc.Add(Entry("mine", "1"));
  Open();
  const std::string other = dir + "/other.dat";
  std::ofstream(other, std::ios::binary) << BookImageBytes({Entry("theirs", "2")});
  ASSERT_TRUE(frame->ImportFile(other));
  ASSERT_EQ(doc.Count(), 2u);
  EXPECT_EQ(List()->topLevelItem(1)->text(0), "theirs");
  std::ofstream(dir + "/bad.dat", std::ios::binary) << "short";
  EXPECT_FALSE(frame->ImportFile(dir + "/bad.dat"));
  EXPECT_EQ(doc.Count(), 2u);
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(ModemWindow, AddingToAFullBookShows1010) {
  for (int i = 0; i < 4096; ++i) doc.Add(Entry("e", "1"));
  Open();
  bool opened = false;
  Answer([&](CEntryDialog&) { opened = true; });
  Click(View(), kIdAdd);
  EXPECT_FALSE(opened);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, ModemText(kIdsBookFull));
}

TEST_F(ModemWindow, PrintingOnASmallPageSpreadsOverPages) {
  for (int i = 0; i < 3; ++i) doc.Add(Entry("e" + std::to_string(i), "1"));
  const std::string pdf = dir + "/book.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  printer.setPageSize(QPageSize(QSizeF(100, 30), QPageSize::Millimeter));
  printer.setPageMargins(QMarginsF(2, 2, 2, 2), QPageLayout::Millimeter);
  PrintBook(doc, printer);
  const std::string bytes = keldtest::ReadBytes(pdf);
  ASSERT_FALSE(bytes.empty());
  size_t pages = 0;
  for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos; at = bytes.find("/Type /Page\n", at + 1))
    ++pages;
  for (size_t at = bytes.find("/Type /Page/"); at != std::string::npos; at = bytes.find("/Type /Page/", at + 1))
    ++pages;
  EXPECT_GT(pages, 3u);
}

TEST_F(ModemWindow, HelpOpensTheEntryDialogsPage) {
  const std::string help = keldtest::FreshDir("help");
  std::ofstream(help + "/1130.html") << "<html><body>entry dialog</body></html>";
  CEntryDialog d(CPhoneBookEntry(), false, false, help);
  Click(&d, kIdHelp);
  QTextBrowser* shown = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->isVisible()) shown = b;
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->source().toLocalFile().endsWith("1130.html"));
  shown->close();
}

TEST_F(ModemWindow, EnglishGivesTheDialogFontToLabelsAndButtonsOnly) {
  CTelConnectView english(doc, nullptr, dir, true);
  const double expected = EnglishFontTenths(QFontMetrics(QApplication::font()).averageCharWidth()) / 10.0;
  EXPECT_DOUBLE_EQ(FindControl<QPushButton>(&english, kIdAdd)->font().pointSizeF(), expected);
  EXPECT_DOUBLE_EQ(FindControl<QRadioButton>(&english, kIdTone)->font().pointSizeF(), expected);
  EXPECT_EQ(FindControl<QWidget>(&english, kIdBookList)->font(), QApplication::font());
  EXPECT_EQ(FindControl<QWidget>(&english, kIdInitCommand)->font(), QApplication::font());
  CEntryDialog d(CPhoneBookEntry(), false, false, dir, true);
  EXPECT_DOUBLE_EQ(FindControl<QPushButton>(&d, kIdRegister)->font().pointSizeF(), expected);
  EXPECT_EQ(FindControl<QWidget>(&d, kIdTitle)->font(), QApplication::font());
}

TEST_F(ModemWindow, TheTitleFieldRefusesWhatTheFileCannotHoldButLetsALongStoredTitleShrink) {
  CEntryDialog d(CPhoneBookEntry(), false, false, dir);
  auto* title = FindControl<QLineEdit>(&d, kIdTitle);
  title->insert(QString(40, 'a'));
  title->insert("b");
  EXPECT_EQ(title->text(), QString(40, 'a'));
  title->clear();
  title->insert(QString::fromUtf8("株式会社 \xF0\x9F\x98\x80"));  // no Shift_JIS form: refused
  EXPECT_TRUE(title->text().isEmpty());

  uint8_t raw[96] = {};
  std::memset(raw, 'X', 42);  // a title without NUL, as another program may write it
  CEntryDialog longOne(CPhoneBookEntry::FromBytes(raw), false, false, dir);
  auto* stored = FindControl<QLineEdit>(&longOne, kIdTitle);
  EXPECT_EQ(stored->text(), QString(42, 'X'));
  stored->end(false);
  stored->backspace();
  EXPECT_EQ(stored->text(), QString(41, 'X'));
  stored->insert("YY");
  EXPECT_EQ(stored->text(), QString(41, 'X'));
}
