// Naming and preparing the files a scrap is shared through, and the mail program's
// arguments.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/document/MailRequest.h"
#include "app/document/PictureExport.h"
#include "app/document/ShareNames.h"
#include "app/document/ShareTempFile.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using scrapfiles::PageInfo;
using testsupport::ReadFile;
using testsupport::WriteFile;

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct LabelCase {
  const char* address;
  const char* label;
};
void PrintTo(const LabelCase& c, std::ostream* os) { *os << '"' << c.address << '"'; }
class DomainLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(DomainLabelTest, TakesTheLabelBeforeTheFirstKnownSuffix) {
  EXPECT_EQ(share::DomainLabel(GetParam().address), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, DomainLabelTest,
    ::testing::Values(
        // Three labels ending in .co.jp: the label before .co.jp, not "co".
        LabelCase{"http://www.example.co.jp/news/today.html", "example"},
        LabelCase{"https://example.com/a.jp/x", "example"},
        // Found in any case, returned as written.
        LabelCase{"HTTP://WWW.Example.COM/", "Example"},
        // The earliest suffix wins, even inside a label.
        LabelCase{"http://www.networld.com/", "www"},
        LabelCase{"example.org", "example"},
        LabelCase{"http://ac.uk.edu", "uk"},
        LabelCase{"http://localhost:8080/index.html", "noname"},
        LabelCase{"", "noname"}));

TEST(BaseName, RulesFromTheScrapsAddressAndTitle) {
  const PageInfo info{"http://www.example.co.jp/news/my page.v2.html", "今日の a/b: c?"};
  EXPECT_EQ(share::BaseName(share::kRuleTitle, "", info), "scrap_今日の_a_b_c");
  EXPECT_EQ(share::BaseName(share::kRuleDomain, "", info), "scrap_example");
  // Host dots, the slashes and the file name's blank and dots all become "_".
  EXPECT_EQ(share::BaseName(share::kRuleFullAddress, "", info),
            "scrap_www_example_co_jp_news_my_page_v2_html");
  EXPECT_EQ(share::BaseName(share::kRuleFullAddress, "", PageInfo{"www.a.jp/x y.z", ""}),
            "scrap_www_a_jp_x_y_z");
  // The user's name does not need info.txt.
  EXPECT_EQ(share::BaseName(share::kRuleUserDefined, "my: note?", std::nullopt),
            "scrap_my_note");
  EXPECT_EQ(share::BaseName(share::kRuleUserDefined, "", info), "scrap_noname");
  EXPECT_EQ(share::BaseName(7, "x", info), "scrap_");
}

TEST(BaseName, WithoutInfoTextTheScrapIsNoname) {
  testsupport::TempDir dir;
  for (int rule : {0, 1, 2})
    EXPECT_EQ(share::BaseNameForScrap(rule, "mine", dir / "info.txt"), "scrap_noname") << rule;
  EXPECT_EQ(share::BaseNameForScrap(3, "mine", dir / "info.txt"), "scrap_mine");
  WriteFile(dir / "info.txt", "https://news.example.com/a\r\nタイトル\r\n");
  EXPECT_EQ(share::BaseNameForScrap(0, "", dir / "info.txt"), "scrap_タイトル");
  EXPECT_EQ(share::BaseNameForScrap(1, "", dir / "info.txt"), "scrap_example");
}

TEST(BaseName, AddressAndTitleNamesAreCutTo60BytesUserNamesOnlyByCleaning) {
  // 7 bytes, then three-byte characters: 60 would split the 18th, so 58 bytes remain.
  const PageInfo title{"", "a" + Repeat("あ", 40)};
  const std::string cut = share::BaseName(share::kRuleTitle, "", title);
  EXPECT_EQ(cut, "scrap_a" + Repeat("あ", 17));
  const PageInfo address{"https://" + Repeat("w", 100) + ".com/", ""};
  EXPECT_EQ(share::BaseName(share::kRuleFullAddress, "", address).size(), 60u);
  EXPECT_EQ(share::BaseName(share::kRuleDomain, "", address).size(), 60u);
  EXPECT_EQ(share::BaseName(share::kRuleUserDefined, Repeat("u", 200), std::nullopt),
            "scrap_" + Repeat("u", 128));
}

TEST(ExportName, TitleIsCutTo128BytesWithoutSplittingACharacter) {
  EXPECT_EQ(share::ProposedExportPath("/home/u/Documents", Repeat("t", 200)),
            "/home/u/Documents/" + Repeat("t", 128));
  // 43 three-byte characters are 129 bytes: the last one does not fit.
  EXPECT_EQ(share::ProposedExportPath("/d/", Repeat("写", 43)), "/d/" + Repeat("写", 42));
  EXPECT_EQ(share::ProposedExportPath("/d", "短い"), "/d/短い");
}

TEST(ExportTypes, BmpThenJpegWithJpegProposed) {
  EXPECT_EQ(share::ExportWildcard(),
            "24 ﾋﾞｯﾄ ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|JPEG (*.JPG)|*.jpg;*.jpeg");
  EXPECT_EQ(share::ExportFilterIndex(share::kDefaultExportType), 1);
  EXPECT_EQ(share::ExportFilterIndex(1), 0);
  EXPECT_EQ(share::ExportFilterIndex(2), 0) << "a type not offered selects the first entry";
  EXPECT_EQ(share::ExportTypeAt(5).type, 3u);
}

TEST(ExportTypes, ANameThePictureCannotBeSavedAsGetsTheFiltersExtension) {
  EXPECT_EQ(share::CompleteExportPath("/d/page", 1), "/d/page.jpg");
  EXPECT_EQ(share::CompleteExportPath("/d/page", 0), "/d/page.bmp");
  EXPECT_EQ(share::CompleteExportPath("/d/page.", 0), "/d/page.bmp");
  EXPECT_EQ(share::CompleteExportPath("/d/page.png", 1), "/d/page.png.jpg");
  EXPECT_EQ(share::CompleteExportPath("/d.v2/page", 1), "/d.v2/page.jpg");
  for (const char* kept : {"/d/page.JPEG", "/d/page.jpg", "/d/page.Bmp", "/d/page.gif"})
    EXPECT_EQ(share::CompleteExportPath(kept, 1), kept);
  // The extension decides the format, not the filter.
  EXPECT_EQ(share::CompleteExportPath("/d/page.bmp", 1), "/d/page.bmp");
}

class TempFileTest : public ::testing::Test {
 protected:
  fs::path Candidate(int n) const { return share::TempCandidate(m_dir.path(), "scrap_x", n, "jpg"); }
  testsupport::TempDir m_dir;
};

TEST_F(TempFileTest, CandidatesAreNumberedAfterTheFirst) {
  EXPECT_EQ(Candidate(0), m_dir / "scrap_x.jpg");
  EXPECT_EQ(Candidate(1), m_dir / "scrap_x1.jpg");
  EXPECT_EQ(share::TempCandidate(m_dir.path(), "s", 9999, "txt"), m_dir / "s9999.txt");
}

TEST_F(TempFileTest, AnExistingWritableFileIsReusedAndEmptied) {
  const share::TempFileChoice first = share::ChooseTempFile(m_dir.path(), "scrap_x", "jpg");
  ASSERT_TRUE(first.usable);
  EXPECT_EQ(first.path, Candidate(0));
  EXPECT_TRUE(fs::exists(first.path));
  struct stat st {};
  ASSERT_EQ(stat(first.path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "a new file is private to the user";
  WriteFile(first.path, "old picture");
  const share::TempFileChoice again = share::ChooseTempFile(m_dir.path(), "scrap_x", "jpg");
  EXPECT_EQ(again.path, first.path);
  EXPECT_EQ(ReadFile(again.path), "");
}

TEST_F(TempFileTest, ALockedFileMovesToTheNextNumber) {
  WriteFile(Candidate(0), "held by the note program");
  const int fd = open(Candidate(0).c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_SH), 0);
  const share::TempFileChoice choice = share::ChooseTempFile(m_dir.path(), "scrap_x", "jpg");
  EXPECT_EQ(choice.path, Candidate(1));
  EXPECT_EQ(ReadFile(Candidate(0)), "held by the note program");
  close(fd);
  EXPECT_EQ(share::ChooseTempFile(m_dir.path(), "scrap_x", "jpg").path, Candidate(0))
      << "once the lock is gone the first name is used again";
}

TEST_F(TempFileTest, LinksFoldersAndUnwritableFilesAreSkipped) {
  WriteFile(m_dir / "victim.txt", "keep me");
  fs::create_symlink(m_dir / "victim.txt", Candidate(0));
  fs::create_directory(Candidate(1));
  WriteFile(Candidate(2), "read only");
  fs::permissions(Candidate(2), fs::perms::owner_read);
  const int expected = geteuid() == 0 ? 2 : 3;  // the superuser may write any file
  EXPECT_EQ(share::ChooseTempFile(m_dir.path(), "scrap_x", "jpg").path, Candidate(expected));
  EXPECT_EQ(ReadFile(m_dir / "victim.txt"), "keep me");
}

TEST_F(TempFileTest, WhenNothingIsUsableTheLastCandidateIsReturned) {
  const fs::path gone = m_dir / "missing-folder";
  const share::TempFileChoice choice = share::ChooseTempFile(gone, "b", "txt");
  EXPECT_FALSE(choice.usable);
  EXPECT_EQ(choice.path, gone / "b9999.txt");
}

TEST(MailRequest, AttachmentAndBodyWithNothingElse) {
  using V = std::vector<std::string>;
  EXPECT_EQ(share::MailArguments("/tmp/scrap_a.jpg", "本文"),
            (V{"--utf8", "--attach", "/tmp/scrap_a.jpg", "--body", "本文"}));
  // xdg-email refuses "--body" with an empty text: an empty body is no body.
  EXPECT_EQ(share::MailArguments("/tmp/a b.jpg", ""), (V{"--utf8", "--attach", "/tmp/a b.jpg"}));
  EXPECT_EQ(share::MailArguments("/tmp/a.jpg", std::string("\0", 1)).size(), 3u);
}

TEST(MailRequest, LineBreaksAndNulsAreMadeFitForOneArgument) {
  EXPECT_EQ(share::MailBody(std::string("a\r\nb\rc\nd\0e", 11)), "a\nb\nc\nde");
  EXPECT_EQ(share::EncodedBodyLength("aZ9@.-\\/"), 8u);
  EXPECT_EQ(share::EncodedBodyLength("a b\n"), 1u + 3u + 1u + 6u);
  EXPECT_EQ(share::EncodedBodyLength("あ"), 9u);
}

TEST(MailRequest, ALongBodyIsCutToTheArgumentLimitAtACharacter) {
  const std::string text = "x" + Repeat("日本語", 10000);  // 90,001 bytes, 810,009 encoded
  const std::string body = share::MailBody(text);
  EXPECT_LE(share::EncodedBodyLength(body), share::kMaxEncodedBodyBytes);
  EXPECT_GT(share::EncodedBodyLength(body), share::kMaxEncodedBodyBytes - 9);
  EXPECT_EQ((body.size() - 1) % 3, 0u) << "no character is split";
  EXPECT_EQ(text.compare(0, body.size(), body), 0);
  const std::string shortText = Repeat("abc ", 100);
  EXPECT_EQ(share::MailBody(shortText), shortText);
}

TEST(MailRequest, OnlyAMissingMailProgramIsToldToTheUser) {
  EXPECT_EQ(share::MailOutcomeForExit(0), share::MailOutcome::kDone);
  EXPECT_EQ(share::MailOutcomeForExit(3), share::MailOutcome::kNoMailProgram);
  for (int code : {1, 2, 4, 5, 127})
    EXPECT_EQ(share::MailOutcomeForExit(code), share::MailOutcome::kFailed) << code;
}

}  // namespace
