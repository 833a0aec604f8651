// Moving the scrapbook: refused targets, move, copy and leave, and what a failed or
// cancelled transfer leaves the program on.
#include "app/store/ScrapbookMove.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

class ScriptedUi : public platform::ShellUi {
 public:
  Answer ConfirmDelete(const std::vector<fs::path>&, bool) override { return Answer::Yes; }
  Answer ConfirmReplace(const fs::path&, const fs::path&) override {
    ++replaceQuestions;
    return replaceAnswer;
  }
  void ReportError(const std::string& message) override { errors.push_back(message); }
  bool Progress(const fs::path&, std::size_t, std::size_t) override {
    ++progressCalls;
    return keepGoing;
  }
  Answer replaceAnswer = Answer::Yes;
  bool keepGoing = true;
  int replaceQuestions = 0;
  int progressCalls = 0;
  std::vector<std::string> errors;
};

class ScrapbookMoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home = dir / "old/クリップレン";
    WriteFile(home / "ニュース/記事/Main.jpg", "jpeg-bytes");
    WriteFile(home / "ニュース/記事/Images/a.png", "png");
    WriteFile(home / "Scrap.ini", "[SortType]\nSortType=2\n");
    fs::create_directories(home / "空のフォルダ");
    fs::create_directories(dir / "new");
  }
  testsupport::TempDir dir;
  fs::path home;
  ScriptedUi ui;
};

TEST_F(ScrapbookMoveTest, ATargetInsideTheHomeFolderIsRefused) {
  EXPECT_NE(store::RefuseSaveFolder(home, home), "");
  EXPECT_NE(store::RefuseSaveFolder(home / "ニュース", home), "");
  EXPECT_NE(store::RefuseSaveFolder(home / "ニュース/../ニュース/記事/", home), "");
  EXPECT_NE(store::RefuseSaveFolder(home / "not-yet/made", home), "");
  EXPECT_EQ(store::RefuseSaveFolder(dir / "old/クリップレンX", home), "");  // a prefix only
  EXPECT_EQ(store::RefuseSaveFolder(dir / "new", home), "");
  EXPECT_EQ(store::RefuseSaveFolder(dir.path(), home), "");
  EXPECT_EQ(store::RefuseSaveFolder(dir / "new", ""), "");
  // Through a link the target is still inside.
  fs::create_directory_symlink(home / "ニュース", dir / "link");
  EXPECT_NE(store::RefuseSaveFolder(dir / "link", home), "");
}

TEST_F(ScrapbookMoveTest, MoveCopyAndLeave) {
  const store::TransferResult copied =
      store::TransferScrapbook(store::ScrapbookTransfer::Copy, home, dir / "new", ui);
  EXPECT_TRUE(copied.switchHome) << copied.message;
  EXPECT_EQ(ReadFile(dir / "new/クリップレン/ニュース/記事/Main.jpg"), "jpeg-bytes");
  EXPECT_TRUE(fs::is_directory(dir / "new/クリップレン/空のフォルダ"));
  EXPECT_EQ(ReadFile(home / "ニュース/記事/Main.jpg"), "jpeg-bytes");

  fs::create_directories(dir / "third");
  const store::TransferResult moved =
      store::TransferScrapbook(store::ScrapbookTransfer::Move, home, dir / "third", ui);
  EXPECT_TRUE(moved.switchHome) << moved.message;
  EXPECT_EQ(ReadFile(dir / "third/クリップレン/ニュース/記事/Images/a.png"), "png");
  EXPECT_FALSE(fs::exists(home));
  EXPECT_GT(ui.progressCalls, 0) << "the transfer shows its progress";

  EXPECT_TRUE(store::TransferScrapbook(store::ScrapbookTransfer::Leave, dir / "third/クリップレン",
                                       dir / "fourth", ui)
                  .switchHome);
  EXPECT_FALSE(fs::exists(dir / "fourth"));
}

TEST_F(ScrapbookMoveTest, AFailedOrCancelledTransferKeepsTheOldHome) {
  WriteFile(dir / "a-file", "x");
  store::TransferResult result =
      store::TransferScrapbook(store::ScrapbookTransfer::Move, home, dir / "a-file", ui);
  EXPECT_FALSE(result.switchHome);
  EXPECT_NE(result.message.find(home.string()), std::string::npos) << result.message;
  EXPECT_EQ(ReadFile(home / "ニュース/記事/Main.jpg"), "jpeg-bytes");

  ui.keepGoing = false;
  result = store::TransferScrapbook(store::ScrapbookTransfer::Copy, home, dir / "new", ui);
  EXPECT_FALSE(result.switchHome);
  EXPECT_NE(result.message.find("中止"), std::string::npos) << result.message;

  // A scrapbook already in the target: "no" to merging keeps the program where it was.
  ui.keepGoing = true;
  WriteFile(dir / "new/クリップレン/other/Main.jpg", "other");
  ui.replaceAnswer = platform::ShellUi::Answer::No;
  result = store::TransferScrapbook(store::ScrapbookTransfer::Move, home, dir / "new", ui);
  EXPECT_EQ(ui.replaceQuestions, 1);
  EXPECT_FALSE(result.switchHome);
  EXPECT_TRUE(fs::exists(home / "ニュース/記事/Main.jpg"));
}

TEST_F(ScrapbookMoveTest, WhatArrivedIsComparedWithWhatWasSent) {
  const store::Manifest sent = store::TakeManifest(home);
  EXPECT_EQ(sent.size(), 7u);  // Scrap.ini, 2 folders + scrap + Images, 2 files
  fs::copy(home, dir / "copy", fs::copy_options::recursive);
  EXPECT_EQ(store::CountMissing(sent, dir / "copy"), 0u);
  WriteFile(dir / "copy/ニュース/記事/Main.jpg", "cut");  // a file cut short
  fs::remove(dir / "copy/Scrap.ini");
  fs::remove(dir / "copy/空のフォルダ");
  EXPECT_EQ(store::CountMissing(sent, dir / "copy"), 3u);
  EXPECT_EQ(store::CountMissing(sent, dir / "nowhere"), sent.size());
}

}  // namespace
