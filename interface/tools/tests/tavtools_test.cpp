// tavtools: the destination text, the two dialogs as the configuration tool
// calls them, and the programming-tool check against a scripted server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

#include <array>
#include <cstring>
#include <functional>

#include "destination.h"
#include "fake_server.h"
#include "library_settings.h"
#include "message_box_recorder.h"
#include "platform/profile.h"
#include "settings_dialogs.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "tavtools/tavtools_dialogs.h"

using namespace tavtools;
using tavinter::CConnectionRecord;

namespace {

using Record = std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE>;

// Runs `act` on the modal dialog of type D once it is shown.
template <typename D>
void WhenShown(std::function<void(D*)> act) {
  QTimer::singleShot(0, [act] {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!d) {
      WhenShown<D>(act);  // not up yet
      return;
    }
    act(d);
  });
}

Record Section(const char* name) {
  Record r{};
  TavReadSection(r.data(), name);
  return r;
}

}  // namespace

TEST(DestinationText, NamesTheChannelAndTheStation) {
  Record r{};
  CConnectionRecord rec(r.data());
  rec.SetLanguage(1);
  rec.SetKind(tavinter::kKindSimulation);
  char text[TAVTOOLS_TEXT_SIZE];
  ASSERT_EQ(TavDestinationText(r.data(), 1, "", text), 0);
  EXPECT_STREQ(text, "PLC simulation Station No.1");
  rec.SetKind(tavinter::kKindSerial);
  rec.SetPort(1);
  rec.SetBaudIndex(3);
  ASSERT_EQ(TavDestinationText(r.data(), 0, "", text), 0);
  EXPECT_STREQ(text, "COM1 9600bps Local station");
  rec.SetKind(tavinter::kKindEthernet);
  rec.SetInitCommand(std::string(39, '1'));
  rec.SetTcpPort(65535);
  ASSERT_EQ(TavDestinationText(r.data(), 99, "", text), 0);
  EXPECT_LT(std::strlen(text), sizeof text);  // a long address is cut, never overrun
  EXPECT_EQ(std::string(text).rfind("Ethernet 111", 0), 0u);
  rec.SetLanguage(0);
  rec.SetKind(tavinter::kKindSimulation);
  ASSERT_EQ(TavDestinationText(r.data(), 2, "", text), 0);
  EXPECT_STRNE(text, "PLC simulation Station No.2");
  EXPECT_NE(std::string(text).find("2"), std::string::npos);
  EXPECT_EQ(TavDestinationText(nullptr, 1, "", text), TAV_E_BAD_RECORD);
}

TEST(CommSettings, AcceptedSettingsAreStoredInTheApplicationsSection) {
  Record r{};
  CConnectionRecord rec(r.data());
  rec.SetLanguage(1);
  ASSERT_EQ(TavReadSection(r.data(), "Axis Configurator"), 0);
  rec.SetName("Axis Configurator");
  bool freshDefaults = false;
  WhenShown<CCommSettingsDialog>([&](CCommSettingsDialog* d) {
    freshDefaults = d->kindBox()->currentIndex() == 0 && d->stationBox()->value() == 1 &&
                    !d->comPortBox()->isEnabled();
    d->kindBox()->setCurrentIndex(1);  // serial port
    d->comPortBox()->setValue(2);
    d->baudBox()->setCurrentIndex(7);
    d->parityBox()->setCurrentIndex(2);
    d->timeoutBox()->setValue(5);
    d->stationBox()->setValue(5);
    d->accept();
  });
  uint16_t destinationNo = 0;
  int32_t output = 0;
  char name[TAVTOOLS_NAME_SIZE] = "old";
  const int16_t options[5] = {1, 0, 0, 0, 1};
  ASSERT_EQ(TavCommunicationSettings(r.data(), "Axis Configurator", nullptr, 0, "", 0, 0, options, 5,
                                     &destinationNo, &output, name, 1, 0),
            1);
  EXPECT_TRUE(freshDefaults);
  EXPECT_EQ(destinationNo, 5);
  EXPECT_STREQ(name, "COM2 115200bps");
  // The record that is not open takes the destination at once, keeping its name.
  EXPECT_EQ(TavPortNumberOfRecord(r.data()), 70);
  EXPECT_EQ(rec.Name(), "Axis Configurator");
  Record stored = Section("Axis Configurator");
  CConnectionRecord s(stored.data());
  EXPECT_EQ(s.Kind(), tavinter::kKindSerial);
  EXPECT_EQ(s.Port(), 2);
  EXPECT_EQ(s.BaudIndex(), 7);
  EXPECT_EQ(s.Parity(), 2);
  EXPECT_EQ(s.Timeout(), 5);
  EXPECT_EQ(s.Station(), 5);
  EXPECT_EQ(CConnectionRecord(Section("Other Program").data()).Kind(), tavinter::kKindSimulation);
}

TEST(CommSettings, CancelChangesNothing) {
  WhenShown<CCommSettingsDialog>([](CCommSettingsDialog* d) {
    d->kindBox()->setCurrentIndex(3);
    d->reject();
  });
  uint16_t destinationNo = 7;
  char name[TAVTOOLS_NAME_SIZE] = "old";
  EXPECT_EQ(TavCommunicationSettings(nullptr, "App", nullptr, 0, "", 0, 0, nullptr, 0, &destinationNo, nullptr,
                                     name, 1, 0),
            2);
  EXPECT_EQ(destinationNo, 7);
  EXPECT_STREQ(name, "old");
  EXPECT_EQ(CConnectionRecord(Section("App").data()).Kind(), tavinter::kKindSimulation);
  EXPECT_EQ(TavCommunicationSettings(nullptr, nullptr, nullptr, 0, "", 0, 0, nullptr, 0, nullptr, nullptr, nullptr,
                                     1, 0),
            TAV_E_BAD_ARGUMENT);
}

TEST(CommSettings, EthernetNeedsAnAddress) {
  keldtest::MessageBoxRecorder boxes;
  int attempts = 0;
  WhenShown<CCommSettingsDialog>([&](CCommSettingsDialog* d) {
    d->kindBox()->setCurrentIndex(2);
    EXPECT_TRUE(d->addressEdit()->isEnabled());
    EXPECT_FALSE(d->baudBox()->isEnabled());
    d->accept();  // refused: no address
    ++attempts;
    EXPECT_TRUE(d->isVisible());
    d->addressEdit()->setText("192.168.3.39");
    d->tcpPortBox()->setValue(1025);
    d->accept();
    ++attempts;
  });
  uint16_t destinationNo = 0;
  char name[TAVTOOLS_NAME_SIZE];
  ASSERT_EQ(TavCommunicationSettings(nullptr, "EthApp", nullptr, 0, "", 0, 0, nullptr, 0, &destinationNo, nullptr,
                                     name, 1, 0),
            1);
  EXPECT_EQ(attempts, 2);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Enter the IP address of the destination.");
  EXPECT_STREQ(name, "Ethernet 192.168.3.39:1025");
  Record stored = Section("EthApp");
  EXPECT_EQ(CConnectionRecord(stored.data()).InitCommand(), "192.168.3.39");
  EXPECT_EQ(TavPortNumberOfRecord(stored.data()), 5);
}

// Stores a destination for the application as another tool would have.
void StoreSection(const char* app, const std::function<void(CConnectionRecord&)>& fill) {
  Record r = Section(app);
  CConnectionRecord rec(r.data());
  fill(rec);
  ASSERT_EQ(TavWriteSection(r.data(), app), 0);
}

// A network board: a kind the dialog cannot edit.
void StoreBoard(const char* app) {
  StoreSection(app, [](CConnectionRecord& rec) {
    rec.SetKind(tavinter::kKindBoardH);
    rec.SetPort(1);
    rec.SetInitCommand("10.0.0.7");
    rec.SetTcpPort(5010);
    rec.SetTimeout(7);
    rec.SetBaudIndex(9);  // not a serial destination: whatever the field holds stays
    rec.SetStation(4);
  });
}

int RunSettings(const char* app, char* name) {
  uint16_t destinationNo = 0;
  return TavCommunicationSettings(nullptr, app, nullptr, 0, "", 0, 0, nullptr, 0, &destinationNo, nullptr, name, 1,
                                  0);
}

TEST(CommSettings, AStoredDestinationItCannotEditSurvivesOk) {
  StoreBoard("KeepApp");
  const Record before = Section("KeepApp");
  bool shownAsItIs = false;
  WhenShown<CCommSettingsDialog>([&](CCommSettingsDialog* d) {
    shownAsItIs = d->KeepsStoredDestination() && d->kindBox()->currentText() == "TAVNET-H(1)" &&
                  !d->addressEdit()->isEnabled() && !d->tcpPortBox()->isEnabled() &&
                  !d->timeoutBox()->isEnabled() && d->stationBox()->value() == 4 &&
                  d->findChild<QLabel*>("keptHint")->isVisibleTo(d);
    d->accept();
  });
  char name[TAVTOOLS_NAME_SIZE] = "";
  ASSERT_EQ(RunSettings("KeepApp", name), 1);
  EXPECT_TRUE(shownAsItIs);
  EXPECT_STREQ(name, "TAVNET-H(1)");
  EXPECT_EQ(Section("KeepApp"), before);  // not one byte of the stored destination changed

  // A modem line with its alarm: the station may change, the line stays.
  StoreSection("KeepModem", [](CConnectionRecord& rec) {
    rec.SetKind(tavinter::kKindModemAlarm);
    rec.SetPort(4);
    rec.SetBaudIndex(5);
    rec.SetParity(tavinter::kParityEven);
    rec.SetInitCommand("ATZ");
  });
  WhenShown<CCommSettingsDialog>([&](CCommSettingsDialog* d) {
    EXPECT_EQ(d->comPortBox()->value(), 4);
    EXPECT_EQ(d->baudBox()->currentText(), "38400");
    EXPECT_FALSE(d->comPortBox()->isEnabled());
    d->stationBox()->setValue(9);
    d->accept();
  });
  ASSERT_EQ(RunSettings("KeepModem", name), 1);
  Record stored = Section("KeepModem");
  CConnectionRecord s(stored.data());
  EXPECT_EQ(s.Kind(), tavinter::kKindModemAlarm);
  EXPECT_EQ(s.Port(), 4);
  EXPECT_EQ(s.InitCommand(), "ATZ");
  EXPECT_EQ(s.Station(), 9);
}

TEST(CommSettings, ChoosingAnotherKindReplacesTheStoredDestination) {
  StoreBoard("ReplaceApp");
  WhenShown<CCommSettingsDialog>([](CCommSettingsDialog* d) {
    d->kindBox()->setCurrentIndex(1);  // serial port
    EXPECT_FALSE(d->KeepsStoredDestination());
    EXPECT_TRUE(d->comPortBox()->isEnabled());
    EXPECT_FALSE(d->findChild<QLabel*>("keptHint")->isVisibleTo(d));
    d->comPortBox()->setValue(3);
    d->dataBitsBox()->setCurrentText("5");
    d->parityBox()->setCurrentIndex(tavinter::kParitySpace);
    d->accept();
  });
  char name[TAVTOOLS_NAME_SIZE] = "";
  ASSERT_EQ(RunSettings("ReplaceApp", name), 1);
  Record stored = Section("ReplaceApp");
  CConnectionRecord s(stored.data());
  EXPECT_EQ(s.Kind(), tavinter::kKindSerial);
  EXPECT_EQ(s.Port(), 3);
  EXPECT_EQ(s.DataBits(), 5);
  EXPECT_EQ(s.Parity(), tavinter::kParitySpace);
  EXPECT_EQ(s.BaudIndex(), 3);  // the stored index 9 was no rate: the default is shown and saved
}

// Both Ethernet kinds: the fields each needs, and every field through the
// stored record and back; a stored kind 8 stays 8.
TEST(CommSettings, EthernetFieldsFollowTheKindAndSurviveTheRecord) {
  keldtest::MessageBoxRecorder boxes;
  WhenShown<CCommSettingsDialog>([&](CCommSettingsDialog* d) {
    d->kindBox()->setCurrentIndex(3);  // the PLC connects
    EXPECT_TRUE(d->sourcePortBox()->isEnabled());
    EXPECT_FALSE(d->tcpPortBox()->isEnabled());
    EXPECT_TRUE(d->headerBox()->isEnabled());  // either side may frame with the header
    EXPECT_FALSE(d->connectLimitBox()->isEnabled());
    d->accept();  // refused: no port for the PLC to connect to
    EXPECT_TRUE(d->isVisible());
    d->sourcePortBox()->setValue(6001);
    d->ethernetPortBox()->setValue(12);
    d->addressEdit()->setText("192.168.0.9");  // only this PLC is accepted
    d->useLocalAddressBox()->setChecked(true);
    EXPECT_FALSE(d->sourceAddressEdit()->isEnabled());
    d->accept();
  });
  char name[TAVTOOLS_NAME_SIZE] = "";
  ASSERT_EQ(RunSettings("ListenApp", name), 1);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Enter this PC's port number the PLC connects to.");
  EXPECT_STREQ(name, "Ethernet (PLC connects to port 6001)");
  Record stored = Section("ListenApp");
  EXPECT_EQ(TavPortNumberOfRecord(stored.data()), 16);
  CDestination back = CDestination::FromRecord(CConnectionRecord(stored.data()));
  EXPECT_EQ(back.kind, tavinter::kKindEthernetListen);
  EXPECT_EQ(back.sourcePort, 6001);
  EXPECT_EQ(back.address, "192.168.0.9");
  EXPECT_TRUE(back.useLocalAddress);

  StoreSection("Kind8App", [](CConnectionRecord& rec) {
    CDestination d;
    d.kind = tavinter::kKindEthernet8;
    d.address = "plc7";
    d.tcpPort = 9000;
    d.ethernetPort = 64;
    d.sourceAddress = "10.1.1.1";
    d.sourcePort = 7000;
    d.sourceStation = 200;
    d.header = true;
    d.connectLimit = 30;
    d.station = 5;
    d.ToRecord(rec);
  });
  WhenShown<CCommSettingsDialog>([&](CCommSettingsDialog* d) {
    EXPECT_EQ(d->kindBox()->currentIndex(), 2);  // shown as "Ethernet"
    EXPECT_FALSE(d->KeepsStoredDestination());
    EXPECT_EQ(d->ethernetPortBox()->value(), 64);
    EXPECT_EQ(d->sourceAddressEdit()->text(), "10.1.1.1");
    EXPECT_EQ(d->sourceStationBox()->value(), 200);
    EXPECT_TRUE(d->headerBox()->isChecked());
    EXPECT_EQ(d->connectLimitBox()->value(), 30);
    d->accept();
  });
  ASSERT_EQ(RunSettings("Kind8App", name), 1);
  stored = Section("Kind8App");
  back = CDestination::FromRecord(CConnectionRecord(stored.data()));
  EXPECT_EQ(back.kind, tavinter::kKindEthernet8);
  EXPECT_EQ(back.address, "plc7");
  EXPECT_EQ(back.tcpPort, 9000);
  EXPECT_EQ(back.ethernetPort, 64);
  EXPECT_EQ(back.sourcePort, 7000);
  EXPECT_EQ(back.sourceStation, 200);
  EXPECT_TRUE(back.header);
  EXPECT_EQ(back.connectLimit, 30);
  EXPECT_EQ(TavPortNumberOfRecord(stored.data()), 68);
}

TEST(StationDialog, ChosenStationIsKept) {
  Record r = Section("StationApp");
  WhenShown<CStationDialog>([](CStationDialog* d) {
    EXPECT_EQ(d->stationBox()->maximum(), 99);
    EXPECT_EQ(d->stationBox()->value(), 3);
    d->stationBox()->setValue(12);
    d->accept();
  });
  uint16_t destinationNo = 3;
  char name[TAVTOOLS_NAME_SIZE] = "";
  ASSERT_EQ(TavSpecifyStation(r.data(), nullptr, "StationApp", 0, 1, &destinationNo, name, 0), 1);
  EXPECT_EQ(destinationNo, 12);
  EXPECT_EQ(CConnectionRecord(Section("StationApp").data()).Station(), 12);

  WhenShown<CStationDialog>([](CStationDialog* d) {
    d->stationBox()->setValue(40);
    d->reject();
  });
  ASSERT_EQ(TavSpecifyStation(r.data(), nullptr, "StationApp", 0, 1, &destinationNo, name, 0), 2);
  EXPECT_EQ(destinationNo, 12);
  EXPECT_EQ(TavSpecifyStation(r.data(), nullptr, "StationApp", 0, 1, nullptr, name, 0), TAV_E_BAD_ARGUMENT);
}

TEST(ProgrammingToolCheck, ZeroWhenTheDestinationAnswers) {
  platform::Profile(tavinter::LibrarySettingsPath()).WriteString("SERVER", "PROGRAM", "/nonexistent");
  std::string answer = "$RT05**\r";
  int result = 10000;
  std::string lastCommand;
  tavtest::CFakeServer server(326, [&](int32_t code, const tavinter::CRequestRecord& rec) {
    if (code != 10) return tavtest::CFakeAction{};
    lastCommand = rec.CommandText();
    return tavtest::CFakeAction{tavtest::CFakeAction::Reply, result, answer, {}};
  });
  Record r = Section("CheckApp");
  int32_t scratch = 99;
  EXPECT_EQ(TavCheckProgrammingTool(r.data(), 1, &scratch, "", "CheckApp"), TAV_E_NOT_OPEN);
  ASSERT_EQ(TavOpen(nullptr, r.data()), 0);
  EXPECT_EQ(TavCheckProgrammingTool(r.data(), 1, &scratch, "", "CheckApp"), 0);
  EXPECT_EQ(scratch, 0);
  EXPECT_EQ(lastCommand, "%01#RT");
  answer = "!42**\r";  // an error answer still shows the destination is there
  EXPECT_EQ(TavCheckProgrammingTool(r.data(), 0, &scratch, "", "CheckApp"), 0);
  EXPECT_EQ(lastCommand, "%EE#RT");
  answer = "garbage";
  EXPECT_EQ(TavCheckProgrammingTool(r.data(), 1, &scratch, "", "CheckApp"), TAV_E_BAD_ANSWER);
  result = -10012;
  EXPECT_EQ(TavCheckProgrammingTool(r.data(), 1, &scratch, "", "CheckApp"), -10012);
  EXPECT_EQ(TavCheckProgrammingTool(r.data(), 100, &scratch, "", "CheckApp"), TAV_E_BAD_ARGUMENT);
  result = 10000;
  TavClose(r.data());
}
