#include "PDFRelay/RelayRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/Profile.h"
#include "tests/support/TempDir.h"

namespace pdfrelay {
namespace {

namespace profile = platform::profile;
using namespace std::chrono_literals;

// Answers the dialog as a script says and remembers what the relay showed it.
class ScriptedUi : public RelayUi {
 public:
  std::optional<std::string> answer;  // nullopt: cancel
  std::optional<int> setFlag;         // the user's click on the check box
  int asked = 0;
  std::string shownName, shownFolder;
  int shownFlag = -1;
  std::vector<std::string> opened;

  std::optional<std::string> AskSavePath(const std::string& proposedName,
                                         const std::string& startFolder,
                                         int& openAfterSave) override {
    ++asked;
    shownName = proposedName;
    shownFolder = startFolder;
    shownFlag = openAfterSave;
    if (answer && setFlag) openAfterSave = *setFlag;
    return answer;
  }
  void OpenDocument(const std::string& path) override { opened.push_back(path); }
};

class RelayRunTest : public ::testing::Test {
 protected:
  testsupport::TempDir m_dir;
  std::filesystem::path m_ini = m_dir / "ZarboPDF.ini";
  std::vector<std::pair<std::string, std::string>> m_writes;

  std::string CommandLine(const std::string& job = "Job1") const {
    return "/? Sect\n" + job + "\n" + m_ini.string() + "\nreport.pdf";
  }
  std::string Get(const std::string& key) const {
    return profile::GetString(m_ini, "Sect", key, "<none>");
  }
  // Records every write in order and passes it on to the INI file.
  RelayOptions Recording() {
    RelayOptions options;
    options.writer = [this](std::string_view key, std::string_view value) {
      m_writes.emplace_back(key, value);
      return profile::WriteString(m_ini, "Sect", key, value);
    };
    return options;
  }
};

TEST_F(RelayRunTest, WithoutMarkerNothingHappens) {
  ScriptedUi ui;
  ui.answer = (m_dir / "a.pdf").string();
  EXPECT_EQ(RunRelay("Sect\nJob1\n" + m_ini.string() + "\nreport.pdf", ui), kExitDone);
  EXPECT_EQ(ui.asked, 0);
  EXPECT_FALSE(std::filesystem::exists(m_ini));
}

TEST_F(RelayRunTest, CancelWritesOnlyTheTwoJobKeys) {
  ASSERT_TRUE(profile::WriteString(m_ini, "Sect", "LastOpenFolder", "/kept/"));
  ASSERT_TRUE(profile::WriteString(m_ini, "Sect", "OpenAfterSave", "0"));
  ScriptedUi ui;
  ui.setFlag = 1;  // clicking the box and then cancelling changes nothing
  EXPECT_EQ(RunRelay(CommandLine(), ui, Recording()), kExitCanceled);
  EXPECT_EQ(ui.shownName, "report.pdf");
  EXPECT_EQ(ui.shownFolder, "/kept/");
  EXPECT_EQ(ui.shownFlag, 0);
  const decltype(m_writes) expected = {{"Job1_Canceled", "1"},
                                       {"Job1_RequestWritePrivateProfile", "1"}};
  EXPECT_EQ(m_writes, expected);
  EXPECT_EQ(Get("LastOpenFolder"), "/kept/");
  EXPECT_EQ(Get("OpenAfterSave"), "0");
  EXPECT_EQ(Get("Job1_PathName"), "<none>");
}

TEST_F(RelayRunTest, SaveWritesSevenKeysRequestLast) {
  const std::string chosen = (m_dir / "out" / "report.pdf").string();
  std::filesystem::create_directories(m_dir / "out");
  ScriptedUi ui;
  ui.answer = chosen;
  ui.setFlag = 0;
  EXPECT_EQ(RunRelay(CommandLine(), ui, Recording()), kExitDone);
  const std::string user = CurrentUserName();
  decltype(m_writes) expected = {{"Job1_PathName", chosen},
                                 {"Job1_Preview", "0"},
                                 {"Job1_Canceled", "0"},
                                 {"OpenAfterSave", "0"}};
  if (!user.empty()) expected.emplace_back("Job1_UserName", user);
  expected.emplace_back("LastOpenFolder", (m_dir / "out").string() + "/");
  expected.emplace_back("Job1_RequestWritePrivateProfile", "1");
  EXPECT_EQ(m_writes, expected);
  // The real writer puts the same into the INI file.
  EXPECT_EQ(RunRelay(CommandLine("Job2"), ui), kExitDone);
  EXPECT_EQ(Get("Job2_PathName"), chosen);
  EXPECT_EQ(Get("Job2_RequestWritePrivateProfile"), "1");
  EXPECT_EQ(Get("Job2_Canceled"), "0");
}

TEST_F(RelayRunTest, MissingOpenAfterSaveStartsCheckedAndUncheckingDoesNotWait) {
  ScriptedUi ui;
  ui.answer = (m_dir / "never-written.pdf").string();
  ui.setFlag = 0;
  RelayOptions options;
  options.waitLimit = 600000ms;  // a wait would hang the test
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunRelay(CommandLine(), ui, options), kExitDone);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_EQ(ui.shownFlag, 1);
  EXPECT_EQ(Get("OpenAfterSave"), "0");
  EXPECT_EQ(Get("Job1_Preview"), "0");
  EXPECT_TRUE(ui.opened.empty());
}

TEST_F(RelayRunTest, NextDialogStartsInTheFolderLastSavedTo) {
  std::filesystem::create_directories(m_dir / "first");
  ScriptedUi ui;
  ui.answer = (m_dir / "first" / "a.pdf").string();
  ui.setFlag = 0;
  ASSERT_EQ(RunRelay(CommandLine("Job1"), ui), kExitDone);
  EXPECT_EQ(Get("LastOpenFolder"), (m_dir / "first").string() + "/");
  ui.answer.reset();
  ASSERT_EQ(RunRelay(CommandLine("Job2"), ui), kExitCanceled);
  EXPECT_EQ(ui.shownFolder, (m_dir / "first").string() + "/");
  EXPECT_EQ(ui.shownFlag, 0);

  // A stored folder longer than can be read is not cut into some other folder.
  ASSERT_TRUE(profile::WriteString(m_ini, "Sect", "LastOpenFolder", "/" + std::string(600, 'd')));
  ASSERT_EQ(RunRelay(CommandLine("Job3"), ui), kExitCanceled);
  EXPECT_EQ(ui.shownFolder, "");
}

TEST_F(RelayRunTest, OpensThePdfOnceItAppears) {
  const auto pdf = m_dir / "late.pdf";
  ScriptedUi ui;
  ui.answer = pdf.string();  // flag stays 1: no OpenAfterSave stored
  RelayOptions options;
  options.pollInterval = 20ms;
  options.waitLimit = 10000ms;
  std::jthread writer([&] {
    std::this_thread::sleep_for(150ms);
    testsupport::WriteFile(pdf, "%PDF-1.5\n");
  });
  EXPECT_EQ(RunRelay(CommandLine(), ui, options), kExitDone);
  ASSERT_EQ(ui.opened.size(), 1u);
  EXPECT_EQ(ui.opened[0], pdf.string());
  EXPECT_EQ(Get("Job1_Preview"), "1");
}

TEST_F(RelayRunTest, GivesUpSilentlyWhenThePdfNeverComes) {
  ScriptedUi ui;
  ui.answer = (m_dir / "never.pdf").string();
  RelayOptions options;
  options.pollInterval = 10ms;
  options.waitLimit = 100ms;
  EXPECT_EQ(RunRelay(CommandLine(), ui, options), kExitDone);
  EXPECT_TRUE(ui.opened.empty());

  // The limit is measured from the start; the clock advances only while sleeping.
  auto now = std::chrono::steady_clock::time_point{};
  std::vector<std::chrono::milliseconds> sleeps;
  WaitClock clock{[&] { return now; },
                  [&](std::chrono::milliseconds d) {
                    sleeps.push_back(d);
                    now += d;
                  }};
  EXPECT_FALSE(WaitUntilReadable(m_dir / "never.pdf", kPollInterval, kWaitLimit, clock));
  EXPECT_EQ(sleeps.size(), 3001u);  // 600,000 ms is not yet "more than" the limit
  EXPECT_EQ(sleeps.front(), 200ms);
}

}  // namespace
}  // namespace pdfrelay
