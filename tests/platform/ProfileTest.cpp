#include "platform/Profile.h"

#include <gtest/gtest.h>

#include "platform/TextConv.h"
#include "tests/support/TempDir.h"

namespace platform::profile {
namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

class ProfileTest : public ::testing::Test {
 protected:
  testsupport::TempDir m_dir;
  std::filesystem::path m_ini = m_dir / "Scrap.ini";
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesDefault) {
  EXPECT_EQ(GetString(m_ini, "SortType", "SortType", "dflt"), "dflt");
  EXPECT_EQ(GetInt(m_ini, "SortType", "SortType", 1), 1);
  WriteFile(m_ini, "[Other]\nSortType=3\n[SortType]\nOther=4\n");
  EXPECT_EQ(GetInt(m_ini, "SortType", "SortType", 1), 1);
  EXPECT_EQ(GetString(m_ini, "SortType", "SortType", "d  "), "d");  // default trimmed too
  EXPECT_FALSE(std::filesystem::exists(m_dir / "none.ini"));
}

TEST_F(ProfileTest, LookupIsCaseInsensitiveAndFirstMatchWins) {
  WriteFile(m_ini,
            "; sort settings\n"
            "stray=0\n"
            "[sorttype]\n"
            "  SORTTYPE = 2 \n"
            "SortType=3\n"
            "[SortType]\n"
            "SortType=4\n");
  EXPECT_EQ(GetString(m_ini, "SortType", "sortType", ""), "2");
  EXPECT_EQ(GetString(m_ini, "", "stray", "none"), "none");  // no section before the first
}

struct IntCase {
  std::string value;
  int expected;
};
class ProfileInt : public ProfileTest, public ::testing::WithParamInterface<IntCase> {};
TEST_P(ProfileInt, ReadsDecimalPrefix) {
  WriteFile(m_ini, "[S]\nK=" + GetParam().value + "\n");
  EXPECT_EQ(GetInt(m_ini, "S", "K", 99), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Profile, ProfileInt,
                         ::testing::Values(IntCase{"7", 7}, IntCase{"2abc", 2}, IntCase{"-5", -5},
                                           IntCase{"abc", 0}, IntCase{"", 99},
                                           IntCase{"99999999999", 2147483647}));

TEST_F(ProfileTest, WriteCreatesFileSectionAndKey) {
  ASSERT_TRUE(WriteString(m_ini, "SortType", "SortType", "1"));
  ASSERT_TRUE(WriteString(m_ini, "CustomSortID", "CustomSortID", "0"));
  ASSERT_TRUE(WriteString(m_ini, "SortType", "Extra", "x"));
  EXPECT_EQ(ReadFile(m_ini), "[SortType]\nSortType=1\nExtra=x\n[CustomSortID]\nCustomSortID=0\n");
}

TEST_F(ProfileTest, WriteStringsSetsSeveralKeysInOneReplacement) {
  WriteFile(m_ini, "; note\n[SortType]\nSortType=9\n");
  ASSERT_TRUE(WriteStrings(m_ini, {{"SortType", "SortType", "2"}, {"CustomSortID", "CustomSortID", "4"}},
                           false));
  EXPECT_EQ(ReadFile(m_ini), "; note\n[SortType]\nSortType=2\n[CustomSortID]\nCustomSortID=4\n");
  // Like a single write, it never brings back a folder that is gone.
  EXPECT_FALSE(WriteStrings(m_dir / "gone" / "Scrap.ini", {{"S", "K", "1"}}));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "gone"));
}

TEST_F(ProfileTest, WriteKeepsEveryOtherLineAndLineEndings) {
  WriteFile(m_ini,
            "; kept\r\n[A]\r\nkey = old\r\nodd line\r\n\r\n[B]\r\n;comment\r\nb=1");
  ASSERT_TRUE(WriteString(m_ini, "a", "KEY", "new value"));
  ASSERT_TRUE(WriteString(m_ini, "A", "added", "2"));
  ASSERT_TRUE(WriteString(m_ini, "B", "c", "3"));
  EXPECT_EQ(ReadFile(m_ini),
            "; kept\r\n[A]\r\nkey=new value\r\nodd line\r\nadded=2\r\n\r\n[B]\r\n;comment\r\n"
            "b=1\r\nc=3\r\n");
  EXPECT_EQ(GetString(m_ini, "A", "key", ""), "new value");
}

TEST_F(ProfileTest, DeleteKeyAndSection) {
  WriteFile(m_ini, "[A]\nx=1\ny=2\n[B]\nz=3\n[C]\nw=4\n");
  ASSERT_TRUE(WriteString(m_ini, "A", "X", std::nullopt));
  ASSERT_TRUE(WriteString(m_ini, "b", std::nullopt, std::nullopt));
  EXPECT_EQ(ReadFile(m_ini), "[A]\ny=2\n[C]\nw=4\n");
  // Deleting what is not there changes nothing and creates no file.
  ASSERT_TRUE(WriteString(m_dir / "absent.ini", "A", std::nullopt, std::nullopt));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "absent.ini"));
}

TEST_F(ProfileTest, RefusesTextALineCannotHold) {
  EXPECT_FALSE(WriteString(m_ini, "S", "a=b", "1"));
  EXPECT_FALSE(WriteString(m_ini, "S", "k", "two\nlines"));
  EXPECT_FALSE(WriteString(m_ini, "S]", "k", "1"));
  EXPECT_FALSE(WriteString(m_ini, "S", "", "1"));
  EXPECT_FALSE(std::filesystem::exists(m_ini));
}

TEST_F(ProfileTest, ValuesReadBackAsWrittenWithinTheBuffer) {
  ASSERT_TRUE(WriteString(m_ini, "P", "path", "  /home/a/クリップレン; x=y  "));
  EXPECT_EQ(GetString(m_ini, "P", "path", ""), "/home/a/クリップレン; x=y");
  ASSERT_TRUE(WriteString(m_ini, "P", "n", "123456789012"));
  EXPECT_EQ(GetString(m_ini, "P", "n", "", 10), "123456789");  // 10-byte buffer
  ASSERT_TRUE(WriteString(m_ini, "P", "jp", "abあい"));
  EXPECT_EQ(GetString(m_ini, "P", "jp", "", 6), "abあ");
  EXPECT_EQ(GetString(m_ini, "P", "jp", "", 5), "ab");
  EXPECT_EQ(GetString(m_ini, "P", "jp", "", 1), "");
}

TEST_F(ProfileTest, Utf16FileIsReadAndStaysUtf16WhenWritten) {
  const std::string text = "[Relay]\r\nPath=C:\\出力\\a.pdf\r\n";
  WriteFile(m_ini, "\xFF\xFE" + text::Utf8ToUtf16le(text));
  EXPECT_EQ(GetString(m_ini, "relay", "path", ""), "C:\\出力\\a.pdf");
  ASSERT_TRUE(WriteString(m_ini, "Relay", "Result", "1"));
  EXPECT_EQ(ReadFile(m_ini),
            "\xFF\xFE" + text::Utf8ToUtf16le("[Relay]\r\nPath=C:\\出力\\a.pdf\r\nResult=1\r\n"));
}

TEST_F(ProfileTest, Utf8BomIsSkippedAndKept) {
  WriteFile(m_ini, "\xEF\xBB\xBF[S]\nk=v\n");
  EXPECT_EQ(GetString(m_ini, "S", "k", ""), "v");
  ASSERT_TRUE(WriteString(m_ini, "S", "k", "w"));
  EXPECT_EQ(ReadFile(m_ini), "\xEF\xBB\xBF[S]\nk=w\n");
}

TEST_F(ProfileTest, WriteIntoMissingFolderFailsWithoutRecreatingIt) {
  // A folder record may write its Scrap.ini after the folder was deleted: that must not
  // bring the folder back.
  EXPECT_FALSE(WriteString(m_dir / "gone" / "Scrap.ini", "S", "k", "1"));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "gone"));
}

TEST_F(ProfileTest, RewriteKeepsPermissionsAndLeavesNoTemporaryFile) {
  WriteFile(m_ini, "[S]\nk=1\n");
  std::filesystem::permissions(m_ini, std::filesystem::perms(0600));
  ASSERT_TRUE(WriteString(m_ini, "S", "k", "2"));
  EXPECT_EQ(std::filesystem::status(m_ini).permissions(), std::filesystem::perms(0600));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace platform::profile
