// Starting programs with an argument vector: arguments arrive unchanged, missing programs are
// told apart from other failures, and paths written on a case-insensitive system still work.
#include "platform/ProgramLaunch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

// A script that writes each of its arguments on a line of `record` and exits with `code`.
void MakeRecorder(const fs::path& script, const fs::path& record, int code = 0) {
  WriteFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                        record.string() + "'\nexit " + std::to_string(code) + "\n");
  fs::permissions(script, fs::perms::owner_all);
}

TEST(ProgramLaunch, ArgumentsArriveAsTheyAreAndTheExitCodeComesBack) {
  testsupport::TempDir dir;
  MakeRecorder(dir / "prog", dir / "args", 3);
  const platform::LaunchResult r =
      platform::StartProgram((dir / "prog").string(), {"a b", "$HOME", "'q\"", "-n"});
  ASSERT_EQ(r.status, platform::LaunchStatus::kStarted);
  EXPECT_EQ(platform::WaitForExit(r.pid), 3);
  EXPECT_EQ(ReadFile(dir / "args"), "a b\n$HOME\n'q\"\n-n\n");
}

TEST(ProgramLaunch, NothingToRunIsNotFound) {
  testsupport::TempDir dir;
  WriteFile(dir / "data.exe", "not a program");
  fs::permissions(dir / "data.exe", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_directory(dir / "folder.exe");
  for (const std::string& p : {(dir / "missing.exe").string(), (dir / "data.exe").string(),
                               (dir / "folder.exe").string(), std::string(),
                               std::string("clipwren-no-such-program")}) {
    const platform::LaunchResult r = platform::StartProgram(p, {});
    EXPECT_EQ(r.status, platform::LaunchStatus::kNotFound) << p;
    EXPECT_EQ(r.pid, 0) << p;
  }
}

TEST(ProgramLaunch, NamesAreLookedUpOnThePathAndPathsInAnyCase) {
  testsupport::TempDir dir;
  MakeRecorder(dir / "Evernote" / "Evernote" / "Evernote.exe", dir / "args");
  const std::string written = (dir / "EVERNOTE" / "evernote" / "evernote.EXE").string();
  EXPECT_EQ(platform::FindPathIgnoringCase(written),
            (dir / "Evernote" / "Evernote" / "Evernote.exe").string());
  EXPECT_EQ(platform::FindPathIgnoringCase((dir / "Evernote" / "none").string()), std::nullopt);
  platform::LaunchResult r = platform::StartProgram(written, {"x"});
  ASSERT_EQ(r.status, platform::LaunchStatus::kStarted);
  EXPECT_EQ(platform::WaitForExit(r.pid), 0);
  EXPECT_EQ(ReadFile(dir / "args"), "x\n");

  // With only another case on disk, the exact name still wins when it exists.
  MakeRecorder(dir / "evernote" / "Evernote" / "Evernote.exe", dir / "exact");
  EXPECT_EQ(platform::FindPathIgnoringCase((dir / "evernote" / "Evernote" / "Evernote.exe").string()),
            (dir / "evernote" / "Evernote" / "Evernote.exe").string());

  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  MakeRecorder(dir / "bin" / "note-stub", dir / "path-args");
  setenv("PATH", ((dir / "bin").string() + ":" + oldPath).c_str(), 1);
  r = platform::StartProgram("note-stub", {"p"});
  setenv("PATH", oldPath.c_str(), 1);
  ASSERT_EQ(r.status, platform::LaunchStatus::kStarted);
  EXPECT_EQ(platform::WaitForExit(r.pid), 0);
  EXPECT_EQ(ReadFile(dir / "path-args"), "p\n");
}

TEST(ProgramLaunch, ReapingInTheBackgroundReportsTheExit) {
  testsupport::TempDir dir;
  MakeRecorder(dir / "prog", dir / "args", 4);
  const platform::LaunchResult r = platform::StartProgram((dir / "prog").string(), {});
  ASSERT_EQ(r.status, platform::LaunchStatus::kStarted);
  std::atomic<int> code{-1};
  platform::ReapWhenDone(r.pid, [&](std::optional<int> c) { code = c.value_or(-2); });
  for (int i = 0; i < 1000 && code == -1; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(code, 4);
}

}  // namespace
