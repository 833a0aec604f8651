#include "app/shell/AppSettings.h"

#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "tests/support/TempDir.h"

namespace {

using platform::Registry;

TEST(AppSettings, DefaultsOfAnEmptyHive) {
  testsupport::TempDir dir;
  shell::AppSettings settings(Registry(dir / "HKCU.reg"));
  EXPECT_EQ(settings.ReadHomeDir("/home/u/Documents"), "/home/u/Documents");
  const shell::EvernoteSettings ev = settings.ReadEvernote("/opt");
  EXPECT_EQ(ev.exePath, "/opt/Evernote/Evernote/Evernote.exe");
  EXPECT_EQ(ev.sendText, 0);
  EXPECT_EQ(ev.fileNameType, 0);
  EXPECT_EQ(ev.userDefinedName, "");
  EXPECT_EQ(settings.ReadEvernote("").exePath, "");
  const shell::WindowPlacement p = settings.ReadPlacement();
  EXPECT_FALSE(p.x.has_value()) << "the window manager places a first window";
  EXPECT_FALSE(p.y.has_value());
  EXPECT_FALSE(p.cx.has_value());
  EXPECT_FALSE(p.cy.has_value());
  EXPECT_EQ(p.leftPanWidth, 250);
  EXPECT_FALSE(p.showCmd.has_value());
  EXPECT_EQ(settings.ReadIsExpandAll(), 1);
}

// Every value lands under the exact key and value names other tools and older versions read.
TEST(AppSettings, RoundTripThroughTheHiveFileWithExactNames) {
  testsupport::TempDir dir;
  const auto file = dir / "HKCU.reg";
  {
    shell::AppSettings settings{Registry(file)};
    ASSERT_TRUE(settings.WriteHomeDir("/data/保存先"));
    ASSERT_TRUE(settings.WriteEvernotePath({"/opt/ev/Evernote.exe", 1, 0, ""}));
    ASSERT_TRUE(settings.WriteEvernoteFileName({"", 0, 3, "名前"}));
    ASSERT_TRUE(settings.WritePlacement({-8, 20, 1024, 700, 310, 3}));
    ASSERT_TRUE(settings.WriteIsExpandAll(0));
  }
  Registry hive(file);
  const std::string root = "Software\\タルンウィック\\クリップレン帳";
  EXPECT_EQ(hive.GetString(root + "\\Settings", "home_dir"), "/data/保存先");
  EXPECT_EQ(hive.GetString(root + "\\Settings", "EverNoteExePath"), "/opt/ev/Evernote.exe");
  EXPECT_EQ(hive.GetDword(root + "\\Settings", "SendText2EverNote"), 1u);
  EXPECT_EQ(hive.GetDword(root + "\\Settings", "FileNameType"), 3u);
  EXPECT_EQ(hive.GetString(root + "\\Settings", "UserDefinedName"), "名前");
  EXPECT_EQ(hive.GetDword(root + "\\SETTING", "x"), 0xFFFFFFF8u);
  EXPECT_EQ(hive.GetDword(root + "\\SETTING", "y"), 20u);
  EXPECT_EQ(hive.GetDword(root + "\\SETTING", "cx"), 1024u);
  EXPECT_EQ(hive.GetDword(root + "\\SETTING", "cy"), 700u);
  EXPECT_EQ(hive.GetDword(root + "\\SETTING", "LeftPanWidth"), 310u);
  EXPECT_EQ(hive.GetDword(root + "\\SETTING", "nShowCmd"), 3u);
  EXPECT_EQ(hive.GetDword(root + "\\SETTING\\TREECTRL", "IsExpandAll"), 0u);

  shell::AppSettings again{Registry(file)};
  const shell::WindowPlacement p = again.ReadPlacement();
  EXPECT_EQ(p.x, -8);  // negative positions survive the DWORD
  EXPECT_EQ(p.cx, 1024);
  EXPECT_EQ(p.showCmd, 3);
  EXPECT_EQ(again.ReadHomeDir("/default"), "/data/保存先");
  EXPECT_EQ(again.ReadEvernote("/opt").exePath, "/opt/ev/Evernote.exe");
  EXPECT_EQ(again.ReadIsExpandAll(), 0);
}

// Values other programs or hand edits left behind: an empty save folder is the default one,
// a negative left pane width is no width.
TEST(AppSettings, EmptySaveFolderAndNegativePaneWidthFallBack) {
  testsupport::TempDir dir;
  shell::AppSettings settings{Registry(dir / "HKCU.reg")};
  ASSERT_TRUE(settings.WriteHomeDir(""));
  EXPECT_EQ(settings.ReadHomeDir("/home/u/Documents"), "/home/u/Documents");
  ASSERT_TRUE(settings.WriteInt(shell::kSectionWindow, shell::kLeftPanWidth, -40));
  EXPECT_EQ(settings.ReadPlacement().leftPanWidth, 0);
  ASSERT_TRUE(settings.WriteInt(shell::kSectionWindow, shell::kLeftPanWidth, 0));
  EXPECT_EQ(settings.ReadPlacement().leftPanWidth, 0);
}

TEST(AppSettings, EveryStoredShowStateThatShowsTheWindowIsHonoured) {
  using shell::StartShow;
  EXPECT_EQ(shell::StartShowFor(std::nullopt), StartShow::Normal);
  EXPECT_EQ(shell::StartShowFor(3), StartShow::Maximized);
  EXPECT_EQ(shell::StartShowFor(4), StartShow::NoActivate);
  EXPECT_EQ(shell::StartShowFor(8), StartShow::NoActivate);
  for (int state : {1, 5, 9, 10}) EXPECT_EQ(shell::StartShowFor(state), StartShow::Normal) << state;
  // Hidden, minimised and unknown states never keep the window out of sight.
  for (int state : {0, 2, 6, 7, 11, -1, 12, 1000})
    EXPECT_EQ(shell::StartShowFor(state), StartShow::Normal) << state;
}

TEST(AppSettings, SettingsLiveInTheUsersHive) {
  shell::AppSettings settings{Registry(platform::Hive::CurrentUser)};
  ASSERT_TRUE(settings.WriteHomeDir("/x"));
  // The sandbox's XDG_CONFIG_HOME holds the per-user hive.
  EXPECT_EQ(Registry::HiveFile(platform::Hive::CurrentUser).filename(), "HKCU.reg");
  EXPECT_TRUE(std::filesystem::exists(Registry::HiveFile(platform::Hive::CurrentUser)));
}

}  // namespace
