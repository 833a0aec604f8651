// Filing a capture folder: the proposed name, which files move where, cancel, and what stays
// behind when a file cannot be moved.
#include "app/shell/CaptureImport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

TEST(CaptureImportName, IsTheTextAfterTheShortNameAndOneSeparator) {
  EXPECT_EQ(shell::ProposedScrapName("/c/クリップレン/Daily news! today?"), "Daily news! today?");
  EXPECT_EQ(shell::ProposedScrapName("/c/クリップレン_ページ"), "ページ");
  // Only the first occurrence counts; what follows is kept whole, separators included.
  EXPECT_EQ(shell::ProposedScrapName("/a/クリップレン/クリップレン/b"), "クリップレン/b");
  // A separator that is itself a multibyte character is skipped whole.
  EXPECT_EQ(shell::ProposedScrapName("/a/クリップレン・題"), "題");
  EXPECT_EQ(shell::ProposedScrapName("/a/クリップレン"), "");
  EXPECT_EQ(shell::ProposedScrapName("/a/クリップレン/"), "");
  EXPECT_EQ(shell::ProposedScrapName("/a/クリップ/b"), std::nullopt);
  EXPECT_EQ(shell::ProposedScrapName(""), std::nullopt);
}

TEST(CaptureImportLongForm, IsAbsoluteForFoldersAndEmptyOtherwise) {
  testsupport::TempDir dir;
  fs::create_directories(dir / "cap");
  WriteFile(dir / "file", "x");
  EXPECT_EQ(shell::CaptureLongForm((dir / "cap/").string()), (dir / "cap").string());
  EXPECT_EQ(shell::CaptureLongForm((dir / "cap/../cap").string()), (dir / "cap").string());
  EXPECT_EQ(shell::CaptureLongForm((dir / "missing").string()), "");
  EXPECT_EQ(shell::CaptureLongForm((dir / "file").string()), "");
  EXPECT_EQ(shell::CaptureLongForm(""), "");
}

class CaptureImportRun : public ::testing::Test {
 protected:
  void SetUp() override {
    capture = dir / "captures/クリップレン/Daily news! today?";
    scrap = dir / "home/scrap";
    fs::create_directories(scrap);
    WriteFile(capture / "Main.jpg", "jpeg");
    WriteFile(capture / "Content.txt", "text");
    WriteFile(capture / "info.txt", "info");
  }
  // Answers the add dialog with the scrap folder (or cancels) and records the proposal.
  shell::ImportResult Run(bool accept) {
    return shell::RunCaptureImport(capture.string(), [&](const std::string& name) {
      proposed = name;
      return accept ? std::optional<fs::path>(scrap) : std::nullopt;
    });
  }

  testsupport::TempDir dir;
  fs::path capture;
  fs::path scrap;
  std::optional<std::string> proposed;
};

TEST_F(CaptureImportRun, AcceptMovesEveryFileAndRemovesTheCapture) {
  WriteFile(capture / "images/a.png", "png");  // lower case: still the pictures folder
  WriteFile(capture / "images/deeper/b.png", "deep");
  struct stat before {};
  ASSERT_EQ(stat((capture / "Main.jpg").c_str(), &before), 0);

  const shell::ImportResult result = Run(true);
  EXPECT_EQ(proposed, "Daily news! today?");
  EXPECT_EQ(result.outcome, shell::ImportOutcome::Accepted);
  EXPECT_EQ(result.pendingImportPath, scrap.string());
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(ReadFile(scrap / "Main.jpg"), "jpeg");
  EXPECT_EQ(ReadFile(scrap / "Content.txt"), "text");
  EXPECT_EQ(ReadFile(scrap / "info.txt"), "info");
  EXPECT_EQ(ReadFile(scrap / "Images/a.png"), "png");
  // Within one file system the file is renamed, not copied.
  struct stat after {};
  ASSERT_EQ(stat((scrap / "Main.jpg").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  // The pictures folder's own sub-folder is not moved, so it keeps the capture alive.
  EXPECT_FALSE(fs::exists(scrap / "Images/deeper"));
  EXPECT_EQ(ReadFile(capture / "images/deeper/b.png"), "deep");
  EXPECT_FALSE(fs::exists(capture / "Main.jpg"));
}

TEST_F(CaptureImportRun, AnEmptiedCaptureFolderIsRemovedAndOtherSubfoldersKeepItAlive) {
  WriteFile(capture / "Images/a.gif", "gif");
  EXPECT_EQ(Run(true).outcome, shell::ImportOutcome::Accepted);
  EXPECT_FALSE(fs::exists(capture));
  EXPECT_EQ(ReadFile(scrap / "Images/a.gif"), "gif");

  fs::create_directories(dir / "home/scrap2");
  scrap = dir / "home/scrap2";
  WriteFile(capture / "Main.jpg", "jpeg");
  WriteFile(capture / "extra/notes.txt", "notes");
  EXPECT_EQ(Run(true).message, "");
  EXPECT_EQ(ReadFile(capture / "extra/notes.txt"), "notes");
  EXPECT_FALSE(fs::exists(capture / "Main.jpg"));
  EXPECT_FALSE(fs::exists(scrap / "extra"));
}

TEST_F(CaptureImportRun, ExactImagesWinsOverAnotherLetterCase) {
  WriteFile(capture / "Images/a.png", "A");
  WriteFile(capture / "IMAGES/b.png", "B");
  (void)Run(true);
  EXPECT_EQ(ReadFile(scrap / "Images/a.png"), "A");
  EXPECT_FALSE(fs::exists(scrap / "Images/b.png"));
  EXPECT_EQ(ReadFile(capture / "IMAGES/b.png"), "B");  // another folder, left in place
}

TEST_F(CaptureImportRun, AFileThatCannotMoveStaysAndIsReportedWithItsFolder) {
  fs::create_directories(scrap / "info.txt/occupied");  // a folder where the file must go
  const shell::ImportResult result = Run(true);
  EXPECT_EQ(result.outcome, shell::ImportOutcome::Accepted);
  EXPECT_EQ(ReadFile(capture / "info.txt"), "info");
  EXPECT_TRUE(fs::exists(capture));
  EXPECT_NE(result.message.find(capture.string()), std::string::npos) << result.message;
  EXPECT_NE(result.message.find("1 個"), std::string::npos) << result.message;
  EXPECT_EQ(ReadFile(scrap / "Main.jpg"), "jpeg");
}

TEST_F(CaptureImportRun, LinksAreNotTakenIntoTheScrapbook) {
  WriteFile(dir / "secret.txt", "secret");
  fs::create_symlink(dir / "secret.txt", capture / "Content.txt.lnk");
  fs::create_directories(capture / "Images");
  fs::create_symlink(dir / "secret.txt", capture / "Images/a.png");
  const shell::ImportResult result = Run(true);
  EXPECT_FALSE(fs::exists(fs::symlink_status(scrap / "Content.txt.lnk")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(scrap / "Images/a.png")));
  EXPECT_TRUE(fs::is_symlink(capture / "Content.txt.lnk"));
  EXPECT_NE(result.message.find("2 個"), std::string::npos) << result.message;
  EXPECT_EQ(ReadFile(scrap / "Main.jpg"), "jpeg");
}

TEST_F(CaptureImportRun, MovingToAnotherFileSystemCopiesAndDeletesTheSource) {
  // /dev/shm is a separate in-memory file system on most machines.
  std::error_code ec;
  const fs::path other = fs::path("/dev/shm") / ("clipwren-import-" + std::to_string(getpid()));
  fs::create_directories(other, ec);
  struct stat a {
  }, b{};
  if (ec || stat(other.c_str(), &a) != 0 || stat(scrap.c_str(), &b) != 0 || a.st_dev == b.st_dev) {
    fs::remove_all(other, ec);
    GTEST_SKIP() << "no second file system";
  }
  scrap = other;
  WriteFile(capture / "Images/p.png", "png");
  const shell::ImportResult result = Run(true);
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(ReadFile(other / "Main.jpg"), "jpeg");
  EXPECT_EQ(ReadFile(other / "Images/p.png"), "png");
  EXPECT_FALSE(fs::exists(capture));
  fs::remove_all(other, ec);
}

TEST_F(CaptureImportRun, CancelDeletesTheCapturesFilesButNotOtherSubfolders) {
  WriteFile(capture / "iMaGeS/a.png", "png");
  const shell::ImportResult result = Run(false);
  EXPECT_EQ(result.outcome, shell::ImportOutcome::Cancelled);
  EXPECT_FALSE(fs::exists(capture / "Main.jpg"));
  EXPECT_FALSE(fs::exists(capture / "iMaGeS"));
  EXPECT_FALSE(fs::exists(capture));
  EXPECT_TRUE(fs::is_empty(scrap));

  WriteFile(capture / "Main.jpg", "jpeg");
  WriteFile(capture / "keep/x.txt", "x");
  EXPECT_EQ(Run(false).outcome, shell::ImportOutcome::Cancelled);
  EXPECT_FALSE(fs::exists(capture / "Main.jpg"));
  EXPECT_EQ(ReadFile(capture / "keep/x.txt"), "x");
}

TEST_F(CaptureImportRun, CancelRemovesLinksNotWhatTheyPointTo) {
  WriteFile(dir / "precious/file.txt", "mine");
  fs::create_directory_symlink(dir / "precious", capture / "link");
  fs::create_directory_symlink(dir / "precious", capture / "Images");
  (void)Run(false);
  EXPECT_EQ(ReadFile(dir / "precious/file.txt"), "mine");
  EXPECT_FALSE(fs::exists(fs::symlink_status(capture / "link")));
}

TEST(CaptureImportPaths, WithoutTheShortNameOrFolderNoDialogIsShown) {
  testsupport::TempDir dir;
  fs::create_directories(dir / "plain capture");
  WriteFile(dir / "plain capture/Main.jpg", "jpeg");
  bool asked = false;
  const auto ask = [&](const std::string&) {
    asked = true;
    return std::optional<fs::path>();
  };
  const std::string plain = (dir / "plain capture").string();
  shell::ImportResult result = shell::RunCaptureImport(plain, ask);
  EXPECT_EQ(result.outcome, shell::ImportOutcome::NotApplicable);
  EXPECT_EQ(result.pendingImportPath, plain);
  EXPECT_TRUE(fs::exists(dir / "plain capture/Main.jpg"));

  result = shell::RunCaptureImport((dir / "クリップレン/missing").string(), ask);
  EXPECT_EQ(result.outcome, shell::ImportOutcome::NotApplicable);
  EXPECT_EQ(result.pendingImportPath, "");
  EXPECT_FALSE(asked);
}

}  // namespace
