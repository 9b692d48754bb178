// Settings of the application sections, the paths the library reports, the
// texts of the result codes and the ordinal table.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <set>

#include "library_settings.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "tavinter/connection_record.h"
#include "tavinter/ethernet_links.h"
#include "tavinter/ordinals.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

TEST(Settings, AFreshSectionIsTheSimulationAtStationOne) {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> rec{};
  ASSERT_EQ(TavReadSection(rec.data(), "Axis Configurator"), 0);
  CConnectionRecord r(rec.data());
  EXPECT_EQ(r.Kind(), kKindSimulation);
  EXPECT_EQ(r.Station(), 1);
  EXPECT_EQ(r.Name(), "Axis Configurator");
  EXPECT_EQ(TavPortNumberOfRecord(rec.data()), 326);
}

TEST(Settings, SectionsKeepTheirDestination) {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> rec{};
  CConnectionRecord r(rec.data());
  r.SetKind(kKindSerial);
  r.SetPort(2);
  r.SetBaudIndex(7);
  r.SetParity(2);
  r.SetTimeout(4);
  r.SetStation(12);
  ASSERT_EQ(TavWriteSection(rec.data(), "AppA"), 0);
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> back{}, other{};
  ASSERT_EQ(TavReadSection(back.data(), "AppA"), 0);
  ASSERT_EQ(TavReadSection(other.data(), "AppB"), 0);
  CConnectionRecord b(back.data());
  EXPECT_EQ(b.Kind(), kKindSerial);
  EXPECT_EQ(b.Port(), 2);
  EXPECT_EQ(b.BaudIndex(), 7);
  EXPECT_EQ(b.Parity(), 2);
  EXPECT_EQ(b.Timeout(), 4);
  EXPECT_EQ(b.Station(), 12);
  EXPECT_EQ(TavPortNumberOfRecord(back.data()), 70);
  EXPECT_EQ(CConnectionRecord(other.data()).Kind(), kKindSimulation);
  EXPECT_EQ(TavReadSection(back.data(), ""), TAV_E_SETTINGS);
  EXPECT_EQ(TavReadSection(back.data(), "bad]name"), TAV_E_SETTINGS);
  EXPECT_EQ(TavReadSection(nullptr, "AppA"), TAV_E_BAD_RECORD);
}

TEST(Settings, ModemPortRecordsHaveDefaults) {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> rec{};
  ASSERT_EQ(TavReadPortRecord(rec.data(), 503), 0);
  CConnectionRecord r(rec.data());
  EXPECT_EQ(r.Kind(), kKindModem);
  EXPECT_EQ(r.Port(), 3);
  EXPECT_EQ(r.Timeout(), 10);
  EXPECT_EQ(r.LineTimeout(), 60);
  EXPECT_EQ(r.InitCommand(), "ATV1E0S0=1S2=43");
  r.SetInitCommand("ATZ");
  ASSERT_EQ(TavWritePortRecord(rec.data(), 503), 0);
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> back{};
  ASSERT_EQ(TavReadPortRecord(back.data(), 503), 0);
  EXPECT_EQ(CConnectionRecord(back.data()).InitCommand(), "ATZ");
  EXPECT_EQ(TavGetModemPortCount(), 15);
  platform::Profile(LibrarySettingsPath()).WriteString("TAVMODEM", "PORTS", "1,3,x,300");
  EXPECT_EQ(TavGetModemPortCount(), 2);
}

TEST(Paths, FilesFoldersAndComPorts) {
  char path[512];
  ASSERT_EQ(TavGetFilePath("KELD_TAVCOMM.INI", path, sizeof path), 0);
  EXPECT_EQ(std::string(path), platform::SettingsRoot() + "/KELD_TAVCOMM.INI");
  ASSERT_EQ(TavGetFilePath("KELD_TavModem.dat", path, sizeof path), 0);
  EXPECT_EQ(std::string(path), platform::DataDir() + "/KELD_TavModem.dat");
  EXPECT_EQ(TavGetFilePath("../x.ini", path, sizeof path), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavGetFilePath("KELD_TAVCOMM.INI", path, 8), TAV_E_BUFFER_SMALL);
  EXPECT_EQ(path[0], 0);  // never a cut path
  ASSERT_EQ(TavGetResourceFolder(path, sizeof path), 0);
  EXPECT_EQ(std::string(path), platform::LangDir());
  ASSERT_EQ(TavGetCommonFolder(path, sizeof path), 0);

  ASSERT_EQ(TavGetComDevicePath(3, path, sizeof path), 0);
  EXPECT_STREQ(path, "/dev/ttyS2");
  platform::Profile(LibrarySettingsPath()).WriteString("PORTMAP", "COM3", "/dev/ttyUSB0");
  ASSERT_EQ(TavGetComDevicePath(3, path, sizeof path), 0);
  EXPECT_STREQ(path, "/dev/ttyUSB0");
  setenv("KELD_COM3", "/dev/pts/7", 1);
  ASSERT_EQ(TavGetComDevicePath(3, path, sizeof path), 0);
  EXPECT_STREQ(path, "/dev/pts/7");
  unsetenv("KELD_COM3");
  EXPECT_EQ(TavGetComDevicePath(0, path, sizeof path), TAV_E_BAD_ARGUMENT);
}

TEST(Texts, EveryCodeHasATextInBothLanguages) {
  const int codes[] = {-10000, -10001, -10002, -10007, -10010, -10011, -10012, -10013, -10015, -10020, -10021,
                       -10030, -10031, -10033, -10035, -10036, -10037, -10038, -10039, -10040, -10041, -10042,
                       -10043, -10044, -10047, -10048, -10049, -10054, -10060, -10062, -10063, -10064, -10065,
                       -10066, -10067, -10068, -10080, -10900, -10500, -10501, -10502, -10503, -10504, -10505,
                       -10506, -10507, -10508, -10509, -10510, -10511, -10512, -10513, -10514, -10515, -10516,
                       -10517, -10518, -11040, -11041, -11042, -11060, -11061};
  // The transport codes above, and the library's whole code table.
  std::vector<int> all(std::begin(codes), std::end(codes));
  all.insert(all.end(), std::begin(kTavLibraryErrorCodes), std::end(kTavLibraryErrorCodes));
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> en{}, ja{};
  TavSetLanguage(en.data(), 1);
  TavSetLanguage(ja.data(), 0);
  for (int code : all) {
    char e[256], j[256];
    ASSERT_EQ(TavGetErrorTextOfRecord(en.data(), code, e, sizeof e), 0);
    ASSERT_EQ(TavGetErrorTextOfRecord(ja.data(), code, j, sizeof j), 0);
    EXPECT_EQ(std::string(e).find("Communication error ["), std::string::npos) << code;
    EXPECT_STRNE(e, j) << code;  // the Japanese table was found and has the code
    EXPECT_LT(std::strlen(e), 80u) << code;
    EXPECT_LT(std::strlen(j), 80u) << code;
  }
}

TEST(Texts, UnknownCodesAndPlcAnswersAreNamed) {
  char text[80];
  TavSetLanguage(nullptr, 1);
  TavGetErrorText(-12345, text, sizeof text);
  EXPECT_STREQ(text, "Communication error [-12345]");
  TavGetErrorText(-11033, text, sizeof text);
  EXPECT_STREQ(text, "The PLC answered with error 33.");
  TavGetErrorText(-11007, text, sizeof text);
  EXPECT_STREQ(text, "The PLC answered with error 07.");
  EXPECT_EQ(TavGetErrorText(-10012, nullptr, 80), TAV_E_BAD_ARGUMENT);
}

TEST(Texts, CutOnACharacterBoundary) {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> ja{};
  TavSetLanguage(ja.data(), 0);
  char full[256], cut[10];
  TavGetErrorTextOfRecord(ja.data(), -10012, full, sizeof full);
  TavGetErrorTextOfRecord(ja.data(), -10012, cut, sizeof cut);
  EXPECT_EQ(std::strlen(cut), 9u);  // three whole three-byte characters
  EXPECT_EQ(std::string(full).substr(0, 9), cut);
  TavGetErrorTextOfRecord(ja.data(), -10012, cut, 8);
  EXPECT_EQ(std::strlen(cut), 6u);
  TavSetLanguage(nullptr, 1);
}

TEST(Ordinals, EveryOrdinalOfTheCallersIsInTheTable) {
  const int used[] = {204, 41, 42, 206, 153, 8, 150, 14, 188, 70, 321, 322, 264, 205, 128, 151, 159, 160, 179,
                      129, 161, 338, 256, 255, 280, 169, 172, 193, 4, 170, 194, 281, 123, 2, 21, 284, 286, 138,
                      134, 80, 285, 135, 202, 5, 6, 263, 49, 57, 58, 267, 137, 195, 200, 220, 196, 197, 48, 72,
                      163, 131, 313, 46, 297, 347, 82, 1, 287, 282, 203, 74, 166, 75, 167, 81, 173, 79, 175,
                      133, 176, 189, 190, 76, 168};
  for (int o : used) EXPECT_NE(TavFindOrdinal(o), nullptr) << o;
  int count = 0;
  const TavOrdinal* table = TavOrdinalTable(&count);
  std::set<int> seen;
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      EXPECT_LT(table[i - 1].ordinal, table[i].ordinal);
    }
    seen.insert(table[i].ordinal);
  }
  EXPECT_EQ(seen.size(), std::set<int>(std::begin(used), std::end(used)).size());
  EXPECT_EQ(TavFindOrdinal(9999), nullptr);
  // The table calls the functions it names.
  auto read = reinterpret_cast<int (*)(unsigned char*, int, int, int, long, long, uint16_t*)>(
      TavFindOrdinal(321)->function);
  EXPECT_EQ(read, &TavReadUnitWords);
  EXPECT_STREQ(TavFindOrdinal(8)->name, "TavOpen");
  EXPECT_EQ(reinterpret_cast<int (*)(int, char*, int)>(TavFindOrdinal(267)->function), &TavGetRoute);
  EXPECT_EQ(TavFindOrdinal(46)->function, nullptr);
}
