// The miss, have and dupes reports and the have database, written from set
// counters, and read back by the next run of the built program.

#include "reports/reports.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "naming/info_config.h"
#include "run/run_state.h"
#include "run_fixture.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class ReportsTest : public FreshRunTest {
 protected:
  void SetUp() override {
    FreshRunTest::SetUp();
    db_prepare();
  }
  std::int32_t& have(int index) { return rom_database().have[index]; }
  std::string write_reports() {
    CaptureStdout();
    write_miss_report();
    write_have_report();
    return GetCapturedStdout();
  }
};

std::vector<unsigned char> big_endian(std::uint32_t value) {
  return {static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
          static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
}

std::string names_except(const std::vector<int>& left_out) {
  std::string names;
  for (int index = 0; index < db_count(); ++index) {
    if (std::find(left_out.begin(), left_out.end(), index) == left_out.end()) {
      names += std::string(db_name(index)) + "\n";
    }
  }
  return names;
}

TEST_F(ReportsTest, NothingOwnedWritesOnlyTheMissReport) {
  EXPECT_EQ(write_reports(), "You are missing 1544 of 1544 known Atari 2600 ROMS\n\n");
  EXPECT_EQ(read_text(in_start("2600Miss.txt")),
            " You are missing 1544 of 1544 known Atari 2600 ROMS\n\n" + names_except({}));
  EXPECT_EQ(list_names(start_dir()), std::vector<std::string>{"2600Miss.txt"});
  EXPECT_TRUE(list_names(program_dir()).empty());
}

TEST_F(ReportsTest, HaveListDatabaseAndDupesFromTheCounters) {
  have(5) = 1;
  have(10) = 3;
  have(1543) = 2;
  const std::string out = write_reports();
  const std::string name10 = db_name(10);
  const std::string name1543 = db_name(1543);
  EXPECT_EQ(out,
            "You are missing 1541 of 1544 known Atari 2600 ROMS\n\n"
            "You have 3 of 1544 known Atari 2600 ROMS\n\n"
            "Multiple copies of the following were found:\n" +
                name10 + " [3 copies]\n" + name1543 + " [2 copies]\n");
  EXPECT_EQ(read_text(in_start("2600Have.txt")), " You have 3 of 1544 known Atari 2600 ROMS\n\n" +
                                                     std::string(db_name(5)) + "\n" + name10 +
                                                     "\n" + name1543 + "\n");
  EXPECT_EQ(
      read_text(in_start("2600Miss.txt")),
      " You are missing 1541 of 1544 known Atari 2600 ROMS\n\n" + names_except({5, 10, 1543}));
  EXPECT_EQ(read_text(in_start("2600Dupes.txt")),
            name10 + " [3 copies]\n" + name1543 + " [2 copies]\n");

  std::vector<unsigned char> expected = {'V', 'A', 'L', 'D', 0, 0, 0, 1};
  for (const int index : {5, 10, 1543}) {
    const auto crc = big_endian(rom_database().crcs[index]);
    expected.insert(expected.end(), crc.begin(), crc.end());
  }
  EXPECT_EQ(read_bytes(in_program("Vald2600.db")), expected);
  EXPECT_EQ(list_names(program_dir()), std::vector<std::string>{"Vald2600.db"});
}

TEST_F(ReportsTest, DupesListGrowsFromRunToRun) {
  have(7) = 2;
  write_reports();
  write_reports();
  const std::string line = std::string(db_name(7)) + " [2 copies]\n";
  EXPECT_EQ(read_text(in_start("2600Dupes.txt")), line + line);
}

TEST_F(ReportsTest, UnwantedGroupsAreLeftOutOfTheMissReportAndCounted) {
  write_text(in_program("ValdInfo.cfg"), "[A2600]\n(PAL):PAL;;N\n(NTSC):NTSC\n");
  CaptureStdout();
  load_info_config();
  GetCapturedStdout();
  std::vector<int> pal;
  int not_pal = -1;
  for (int index = 0; index < db_count(); ++index) {
    if (std::string(db_name(index)).find("(PAL)") != std::string::npos) {
      pal.push_back(index);
    } else if (not_pal < 0) {
      not_pal = index;
    }
  }
  ASSERT_GT(pal.size(), 2u);
  have(pal[0]) = 1;  // had: neither missing nor excluded
  have(not_pal) = 1;
  const int excluded = static_cast<int>(pal.size()) - 1;
  const int missing = db_count() - 1 - static_cast<int>(pal.size());
  const std::string headline = "You are missing " + std::to_string(missing) +
                               " of 1544 known Atari 2600 ROMS (" + std::to_string(excluded) +
                               " excluded)\n\n";
  std::vector<int> left_out = pal;
  left_out.push_back(not_pal);
  EXPECT_EQ(write_reports().substr(0, headline.size()), headline);
  EXPECT_EQ(read_text(in_start("2600Miss.txt")), " " + headline + names_except(left_out));
}

TEST_F(ReportsTest, FailedDatabaseWriteKeepsThePreviousDatabase) {
  const std::vector<unsigned char> previous = {'V', 'A', 'L',  'D',  0,    0,
                                               0,   1,   0x12, 0x34, 0x56, 0x78};
  write_bytes(in_program("Vald2600.db"), previous);
  for (int index = 0; index < 500; ++index) have(index) = 1;
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no file size limit to make writes fail as on a full disk";
#else
  std::fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Writes past 256 bytes fail, as on a full disk.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(1);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {256, 256};
    setrlimit(RLIMIT_FSIZE, &limit);
    write_have_report();
    std::fflush(nullptr);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(read_bytes(in_program("Vald2600.db")), previous);
  EXPECT_EQ(list_names(program_dir()), std::vector<std::string>{"Vald2600.db"});
#endif
}

// The next run of the program starts from what these reports wrote.
class ReportsCarryOverTest : public ReportsTest {
 protected:
  void SetUp() override {
    ReportsTest::SetUp();
    run_state().directories.program = sandbox_.program_dir() + PATH_SEPARATOR;
    run_state().directories.start = sandbox_.work_dir();
    have(3) = 1;
    have(40) = 2;
    have(900) = 1;
    write_reports();
  }
  ValdSandbox sandbox_;
  const std::string headline_ = "You have 3 of 1544 known Atari 2600 ROMS\n";
};

TEST_F(ReportsCarryOverTest, NextRunSeedsFromTheDatabase) {
  ASSERT_TRUE(file_exists(sandbox_.program("Vald2600.db")));
  const ProgramResult result = sandbox_.run({"list"});
  EXPECT_NE(result.out.find("Found Vald2600.db, Ignoring 2600Have.txt\n"), std::string::npos);
  EXPECT_NE(result.out.find(headline_), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("You are missing 1541 of 1544"), std::string::npos);
}

TEST_F(ReportsCarryOverTest, WithoutTheDatabaseTheHaveListSeedsTheNextRun) {
  std::remove(sandbox_.program("Vald2600.db").c_str());
  const ProgramResult result = sandbox_.run({"list"});
  EXPECT_EQ(result.out.find("Found Vald2600.db"), std::string::npos);
  EXPECT_NE(result.out.find(headline_), std::string::npos) << result.out;
  // ... and writes the database again for the run after it.
  EXPECT_EQ(read_bytes(sandbox_.program("Vald2600.db")).size(), 8u + 3 * 4);
}

}  // namespace
