#include "platform/SpecialFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class SpecialFoldersTest : public ::testing::Test {
 protected:
  fs::path m_home = std::getenv("HOME");
  fs::path m_dirsFile = fs::path(std::getenv("XDG_CONFIG_HOME")) / "user-dirs.dirs";
  void TearDown() override { fs::remove(m_dirsFile); }
};

TEST_F(SpecialFoldersTest, FallbacksWhenNoUserDirsFile) {
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::Documents), m_home / "Documents");
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::Desktop), m_home / "Desktop");
  EXPECT_FALSE(fs::exists(m_home / "Documents"));  // only made when asked
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::Documents, true), m_home / "Documents");
  EXPECT_TRUE(fs::is_directory(m_home / "Documents"));
}

struct UserDirsCase {
  std::string line;
  std::string expectedBelowHome;  // "" = the home folder itself; "/x" = absolute
};
class UserDirs : public SpecialFoldersTest, public ::testing::WithParamInterface<UserDirsCase> {};
TEST_P(UserDirs, DocumentsFolder) {
  testsupport::WriteFile(m_dirsFile, "# written by xdg-user-dirs-update\n"
                                     "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n" +
                                         GetParam().line + "\n");
  const std::string& e = GetParam().expectedBelowHome;
  const fs::path expected = e.empty() ? m_home : e[0] == '/' ? fs::path(e) : m_home / e;
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::Documents), expected);
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::Desktop), m_home / "デスクトップ");
}
INSTANTIATE_TEST_SUITE_P(
    SpecialFolders, UserDirs,
    ::testing::Values(UserDirsCase{"XDG_DOCUMENTS_DIR=\"$HOME/ドキュメント\"", "ドキュメント"},
                      UserDirsCase{"XDG_DOCUMENTS_DIR=\"/srv/docs\"", "/srv/docs"},
                      UserDirsCase{"XDG_DOCUMENTS_DIR=\"$HOME/\"", ""},
                      UserDirsCase{"XDG_DOCUMENTS_DIR=\"$HOME/my \\\"docs\\\"\"", "my \"docs\""},
                      UserDirsCase{"#XDG_DOCUMENTS_DIR=\"/commented\"", "Documents"},
                      UserDirsCase{"XDG_DOCUMENTS_DIR=relative", "Documents"},
                      UserDirsCase{"XDG_DOCUMENTS_DIRX=\"/other\"", "Documents"}));

TEST_F(SpecialFoldersTest, TempProgramFilesAndProgramDir) {
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::Temp), fs::path(std::getenv("TMPDIR")));
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::ProgramFiles), fs::path("/opt"));
  const auto programDir = GetSpecialFolder(SpecialFolder::ProgramDir);
  ASSERT_TRUE(programDir);
  EXPECT_TRUE(fs::exists(*programDir / "platform_tests"));
}

TEST_F(SpecialFoldersTest, CreateFailsWhenAFileIsInTheWay) {
  testsupport::WriteFile(m_home / "Desktop", "not a folder");
  EXPECT_EQ(GetSpecialFolder(SpecialFolder::Desktop, true), std::nullopt);
  fs::remove(m_home / "Desktop");
}

}  // namespace
}  // namespace platform
