// The phone book's command line, run as a script runs it: every command and
// exit code, the export/import round trip, refused input leaving the book
// alone, the second-copy rule and a save cut short by the file size limit.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "modem_book/phone_book_file.h"
#include "platform/named_mutex.h"
#include "file_bytes.h"
#include "shell_run.h"
#include "test_home.h"

namespace fs = std::filesystem;

namespace {

struct Result {
  int exitCode = -1;
  std::string out, err;
};

// Runs KELD_TavModem with the arguments (shell words) and collects its output.
Result Modem(const std::string& arguments, const std::string& prefix = "") {
  static int n = 0;
  const std::string errPath = keldtest::TestHome() + "/stderr-" + std::to_string(++n);
  const std::string command = prefix + keldtest::BinPath("KELD_TavModem") + " " + arguments + " 2>" + errPath;
  const keldtest::ShellResult run = keldtest::RunShell(command);
  Result r;
  r.exitCode = run.exitCode;
  r.out = run.out;
  std::ifstream e(errPath);
  std::stringstream s;
  s << e.rdbuf();
  r.err = s.str();
  return r;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ModemCli : public ::testing::Test {
 protected:
  std::string dir = keldtest::FreshDir("cli");
  std::string book = dir + "/book.dat";
  std::string B() const { return " --book " + book; }
};

}  // namespace

TEST_F(ModemCli, ListOfAMissingBookCreatesItEmpty) {
  Result r = Modem("--list" + B());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "{\"version\": \"2.2015\", \"count\": 0, \"entries\": []}\n");
  EXPECT_EQ(fs::file_size(book), 16u);
}

TEST_F(ModemCli, AddListDeleteAndRefusals) {
  ASSERT_EQ(Modem("--add --title 'Plant 1' --phone 0612345678" + B()).exitCode, 0);
  Result added = Modem("--add --title 東京 --phone 0311 --baud 115200 --data 7 --parity E --stop 2" + B());
  ASSERT_EQ(added.exitCode, 0) << added.err;
  Result list = Modem("--list" + B());
  ASSERT_EQ(list.exitCode, 0);
  EXPECT_TRUE(Has(list.out, "\"count\": 2"));
  EXPECT_TRUE(Has(list.out, "{\"index\": 2, \"title\": \"東京\", \"phone\": \"0311\", \"baudIndex\": 7, \"dataLength\": 1, "
                            "\"parity\": 2, \"stopBits\": 1, \"property\": \"115200-7-2-E\""));
  EXPECT_TRUE(Has(list.out, "\"property\": \"9600-8-1-N\""));

  const std::string before = keldtest::ReadBytes(book);
  for (const char* bad : {"--add --title x --phone 1 --baud 9601", "--add --title x --phone 1 --parity X",
                          "--add --title x", "--add --title 😀 --phone 1", "--add --title x --phone ０",
                          "--delete 3", "--delete 0", "--delete two", "--list --ports", "--frobnicate",
                          "--list --title x", "--set-port 16", "--set-port 1 --plc-timeout 31",
                          "--set-port 1 --line-timeout 65", "--set-port 1 --dial-mode fast"}) {
    Result r = Modem(std::string(bad) + B());
    EXPECT_EQ(r.exitCode, 2) << bad;
    EXPECT_FALSE(r.err.empty()) << bad;
  }
  EXPECT_EQ(keldtest::ReadBytes(book), before);
  EXPECT_TRUE(Has(Modem("--list --bogus" + B()).err, "unknown option --bogus"));
  EXPECT_TRUE(Has(Modem("--list stray" + B()).err, "unknown argument \"stray\""));
  EXPECT_TRUE(Has(Modem("--list --book").err, "--book needs a value"));

  ASSERT_EQ(Modem("--delete 1" + B()).exitCode, 0);
  list = Modem("--list" + B());
  EXPECT_TRUE(Has(list.out, "\"count\": 1"));
  EXPECT_TRUE(Has(list.out, "{\"index\": 1, \"title\": \"東京\""));
}

TEST_F(ModemCli, MessagesFollowTheProductCodesLanguage) {
  Result en = Modem("--delete 1" + B());
  EXPECT_EQ(en.exitCode, 2);
  EXPECT_TRUE(Has(en.err, "There is no data to delete.")) << en.err;
  Result jp = Modem("-10 --delete 1" + B());
  EXPECT_EQ(jp.exitCode, 2);
  EXPECT_TRUE(Has(jp.err, "削除ﾃﾞｰﾀが存在しません｡")) << jp.err;
}

TEST_F(ModemCli, ExportThenImportReplaceGivesTheSameFile) {
  ASSERT_EQ(Modem("--add --title 'a \"quoted\" title' --phone 1" + B()).exitCode, 0);
  ASSERT_EQ(Modem("--add --title ﾓﾃﾞﾑ --phone 2 --baud 1200" + B()).exitCode, 0);
  ASSERT_EQ(Modem("--export " + dir + "/out.json" + B()).exitCode, 0);
  EXPECT_EQ(keldtest::ReadBytes(dir + "/out.json"), Modem("--list" + B()).out);

  const std::string copy = dir + "/copy.dat";
  Result imported = Modem("--import " + dir + "/out.json --replace --book " + copy);
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  EXPECT_EQ(keldtest::ReadBytes(copy), keldtest::ReadBytes(book));
  // Without --replace the entries are appended; a book file imports too.
  ASSERT_EQ(Modem("--import " + book + " --book " + copy).exitCode, 0);
  EXPECT_TRUE(Has(Modem("--list --book " + copy).out, "\"count\": 4"));
}

TEST_F(ModemCli, RefusedImportsChangeNothing) {
  ASSERT_EQ(Modem("--add --title keep --phone 1" + B()).exitCode, 0);
  const std::string before = keldtest::ReadBytes(book);
  std::ofstream(dir + "/bad.json") << "{\"entries\":[{\"title\":\"ok\",\"phone\":\"1\"},{\"title\":\"x\",\"phone\":\"é\"}]}";
  Result r = Modem("--import " + dir + "/bad.json" + B());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Has(r.err, "entry 2")) << r.err;
  EXPECT_EQ(Modem("--import " + dir + "/missing.json" + B()).exitCode, 2);
  // 4,096 entries from a file plus the one in the book: 1010.
  std::string big = modembook::BookImageBytes(std::vector<modembook::CPhoneBookEntry>(4096));
  std::ofstream(dir + "/big.dat", std::ios::binary) << big;
  Result full = Modem("--import " + dir + "/big.dat" + B());
  EXPECT_EQ(full.exitCode, 2);
  EXPECT_TRUE(Has(full.err, "4096")) << full.err;
  EXPECT_EQ(keldtest::ReadBytes(book), before);
  EXPECT_EQ(Modem("--import " + dir + "/big.dat --replace" + B()).exitCode, 0);
}

TEST_F(ModemCli, DamagedBookExits3AndStaysAsItWas) {
  std::string damaged = std::string("2.2015\0\0", 8) + std::string("\x05\0\0\0\0\0\0\0", 8) + std::string(96, 'x');
  std::ofstream(book, std::ios::binary) << damaged;
  Result r = Modem("--add --title x --phone 1" + B());
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_TRUE(Has(r.err, "Reading the modem connection data failed.")) << r.err;
  EXPECT_EQ(keldtest::ReadBytes(book), damaged);
  EXPECT_EQ(Modem("--list --book " + dir).exitCode, 3);  // a folder: reported, not replaced
}

TEST_F(ModemCli, AWriteCutShortBySizeLimitReports1002AndKeepsTheOldFile) {
  ASSERT_EQ(Modem("--add --title old --phone 1" + B()).exitCode, 0);
  const std::string before = keldtest::ReadBytes(book);
  std::string many = modembook::BookImageBytes(std::vector<modembook::CPhoneBookEntry>(100));
  std::ofstream(dir + "/many.dat", std::ios::binary) << many;
  // The shell lowers the size limit to 4 KiB for the program only.
  Result r = Modem("--import " + dir + "/many.dat" + B(), "ulimit -f 4; ");
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_TRUE(Has(r.err, "Writing the modem connection data failed.")) << r.err;
  EXPECT_EQ(keldtest::ReadBytes(book), before);
  int files = 0;
  for (auto& e : fs::directory_iterator(dir)) files += e.path().filename().string().rfind(".book", 0) == 0;
  EXPECT_EQ(files, 0);
}

TEST_F(ModemCli, PortsSetPortAndResetAll) {
  Result ports = Modem("--ports" + B());
  ASSERT_EQ(ports.exitCode, 0) << ports.err;
  EXPECT_TRUE(Has(ports.out, "{\"lastPort\": 1, \"portList\": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15]"));
  EXPECT_TRUE(Has(ports.out, "{\"port\": 15, \"dialMode\": 1"));

  Result set = Modem("--set-port 4 --dial-mode other --dial-command ATDX --init-command AT\\&F --plc-timeout 55 "
                   "--line-timeout 170" + B());
  ASSERT_EQ(set.exitCode, 0) << set.err;
  ports = Modem("--ports" + B());
  EXPECT_TRUE(Has(ports.out, "\"lastPort\": 4"));
  EXPECT_TRUE(Has(ports.out, "{\"port\": 4, \"dialMode\": 2, \"dialCommand\": \"ATDX\", \"initCommand\": \"AT&F\", "
                             "\"plcTimeout\": 55, \"lineTimeout\": 170, \"dialPrefix\": \"ATDX\"}"));
  EXPECT_EQ(Modem("--set-port 1 --init-command " + std::string(40, 'A') + B()).exitCode, 2);
  ASSERT_EQ(Modem("--set-port 2 --dial-mode pulse" + B()).exitCode, 0);
  ports = Modem("--ports" + B());
  EXPECT_TRUE(Has(ports.out, "\"lastPort\": 2"));
  EXPECT_TRUE(Has(ports.out, "\"dialPrefix\": \"ATDP\""));

  ASSERT_EQ(Modem("--add --title x --phone 1" + B()).exitCode, 0);
  ASSERT_EQ(Modem("--reset-all" + B()).exitCode, 0);
  ports = Modem("--ports" + B());
  EXPECT_TRUE(Has(ports.out, "\"lastPort\": 1"));
  EXPECT_FALSE(Has(ports.out, "ATDX"));
  EXPECT_EQ(keldtest::ReadBytes(book).size(), 16u);
}

TEST_F(ModemCli, ChangingCommandsWaitForNoOtherCopy) {
  platform::NamedMutex held("KELDTAVMODEM");
  ASSERT_TRUE(held.TryLock());
  Result r = Modem("--add --title x --phone 1 --book " + dir + "/other.dat");
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_FALSE(fs::exists(dir + "/other.dat"));
  EXPECT_EQ(Modem("--list" + B()).exitCode, 0);  // reading goes on
  EXPECT_EQ(Modem("--ports" + B()).exitCode, 0);
  held.Unlock();
  EXPECT_EQ(Modem("--add --title x --phone 1" + B()).exitCode, 0);
}
