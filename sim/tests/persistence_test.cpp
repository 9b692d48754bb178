// The unit's memory across runs and power cycles.
#include <filesystem>
#include <fstream>

#include "test_home.h"
#include "unit_fixture.h"

namespace {

using namespace sim;
using simtest::UnitFixture;

class PersistenceTest : public UnitFixture {
 protected:
  std::string folder = keldtest::FreshDir("plcsim-store");

  void WriteToFrom() {
    C().SetWord(addr::kHandshake, 0x5555);
    Wait(100);
    ASSERT_EQ(C().Word(addr::kHandshake), 0x6666);
    C().SetWord(addr::kHandshake, 0xAAAA);
    Wait(1200);
    ASSERT_EQ(C().Word(addr::kHandshake), 0);
  }
  void SaveAndRestart() {
    std::string error;
    ASSERT_TRUE(plc_->Save(folder, error)) << error;
    Restart();
    std::string message;
    ASSERT_EQ(plc_->Load(folder, message), StoreLoad::Loaded) << message;
  }
};

TEST_F(PersistenceTest, WorkingMemorySurvivesARestart) {
  C().Write(addr::kLayout, {0x03, 0, 0, 0, 0x0C});
  SetTable(1, 42, 0, 123456, true, 7777);
  C().SetLong(addr::NewCurrentValue(1), 4321);
  C().SetWord(addr::kCurrentValueRequest, 0x0002);
  EnterToolMode();
  Wait(10);
  SaveAndRestart();
  EXPECT_EQ(C().Read(addr::kLayout, 5), (std::vector<uint16_t>{0x03, 0, 0, 0, 0x0C}));
  EXPECT_EQ(C().Long(addr::Table(1, 42) + addr::table::kAmount), 123456);
  EXPECT_EQ(Position(1), 4321);  // the axis stands where it stood
  EXPECT_EQ(C().Word(addr::kToolMode), 0);  // the run-time state starts afresh
  EXPECT_EQ(C().Word(addr::kModelCode), 5154);
}

TEST_F(PersistenceTest, PowerCycleReloadsTheFromImage) {
  C().Write(addr::kLayout, {0, 0, 0, 0, 0x01});
  WriteToFrom();
  C().Write(addr::kLayout, {0, 0, 0, 0, 0x02});
  SetTable(0, 3, 0, 99, true, 1000);
  SaveAndRestart();
  EXPECT_EQ(C().Word(addr::kLayout + 4), 0x02);  // a restart keeps the working memory
  plc_->Unit().PowerCycle();
  EXPECT_EQ(C().Word(addr::kLayout + 4), 0x01);  // what was written to FROM
  EXPECT_EQ(C().Long(addr::Table(0, 3) + addr::table::kAmount), 0);
  EXPECT_EQ(C().Word(addr::kFromWriteCount), 1);
  // the FROM image itself was kept across the restart
  SaveAndRestart();
  plc_->Unit().PowerCycle();
  EXPECT_EQ(C().Word(addr::kLayout + 4), 0x01);
}

TEST_F(PersistenceTest, FromWriteInProgressIsCompletedBeforeSaving) {
  C().SetWord(addr::kLayout + 4, 0x05);
  C().SetWord(addr::kHandshake, 0x5555);
  Wait(100);
  C().SetWord(addr::kHandshake, 0xAAAA);
  SaveAndRestart();
  EXPECT_EQ(C().Word(addr::kFromWriteCount), 1);
  EXPECT_EQ(C().Word(addr::kHandshake), 0);
  plc_->Unit().PowerCycle();
  EXPECT_EQ(C().Word(addr::kLayout + 4), 0x05);
}

TEST_F(PersistenceTest, DamagedFilesAreSetAsideNotUsed) {
  C().SetWord(addr::kLayout + 4, 0x07);
  std::string error;
  ASSERT_TRUE(plc_->Save(folder, error));
  const CUnitStore store(folder, CUnitStore::NameFor(1, 0, 5154));
  std::filesystem::resize_file(store.WorkingPath(), 1000);  // cut short
  Restart();
  std::string message;
  EXPECT_EQ(plc_->Load(folder, message), StoreLoad::Damaged);
  EXPECT_NE(message.find(store.WorkingPath()), std::string::npos);
  EXPECT_EQ(C().Word(addr::kLayout + 4), 0xFF);  // factory settings
  // the damaged files stay for inspection; a save does not overwrite them
  EXPECT_TRUE(std::filesystem::exists(store.WorkingPath() + ".damaged"));
  EXPECT_TRUE(std::filesystem::exists(store.FromPath() + ".damaged"));
  ASSERT_TRUE(plc_->Save(folder, error));
  EXPECT_EQ(std::filesystem::file_size(store.WorkingPath() + ".damaged"), 1000u);
  // a file of another model under this name is not loaded either
  std::filesystem::copy_file(store.WorkingPath(), folder + "/other.working");
  std::fstream f(store.FromPath(), std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(10);
  f.put(0x21);  // model code 5153 in the header
  f.close();
  Restart();
  EXPECT_EQ(plc_->Load(folder, message), StoreLoad::Damaged);
  EXPECT_NE(message.find("model"), std::string::npos);
}

TEST_F(PersistenceTest, EachModelAndStationKeepsItsOwnUnit) {
  C().SetWord(addr::kLayout + 4, 0x07);
  std::string error, message;
  ASSERT_TRUE(plc_->Save(folder, error));
  config_.unit.model = 5153;
  Restart();
  EXPECT_EQ(plc_->Load(folder, message), StoreLoad::Missing);
  EXPECT_EQ(C().Word(addr::kModelCode), 5153);
  EXPECT_EQ(C().Word(addr::kLayout + 4), 0x0F);
  config_.unit.model = 5154;
  config_.station = 5;
  Restart();
  EXPECT_EQ(plc_->Load(folder, message), StoreLoad::Missing);
  config_.station = 1;
  Restart();
  EXPECT_EQ(plc_->Load(folder, message), StoreLoad::Loaded);
  EXPECT_EQ(C().Word(addr::kLayout + 4), 0x07);
}

TEST_F(PersistenceTest, SaveReplacesTheFilesWhole) {
  std::string error;
  ASSERT_TRUE(plc_->Save(folder, error));
  ASSERT_TRUE(plc_->Save(folder, error));
  size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(folder)) {
    ++files;
    EXPECT_EQ(e.path().extension() == ".tmp", false) << e.path();
    EXPECT_EQ(std::filesystem::file_size(e.path()), 16u + 2u * addr::kMemoryWords);
  }
  EXPECT_EQ(files, 2u);
}

}  // namespace
