#include "PDFRelay/RelayCommandLine.h"

#include <gtest/gtest.h>

#include "PDFRelay/RelayProtocol.h"

namespace pdfrelay {
namespace {

TEST(RelayCommandLine, FourFieldsAfterTheMarker) {
  const auto f = ParseCommandLine("/? Sect\nJob1\n/tmp/x/ZarboPDF.ini\nreport.pdf");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->section, "Sect");
  EXPECT_EQ(f->jobKey, "Job1");
  EXPECT_EQ(f->iniPath, "/tmp/x/ZarboPDF.ini");
  EXPECT_EQ(f->proposedName, "report.pdf");
}

TEST(RelayCommandLine, MarkerAnywhereAndSeparatorRuns) {
  // The program name before the marker, doubled line feeds, a trailing one and a fifth field.
  const auto f =
      ParseCommandLine("PDFRelay.exe /? \n\nSect\n\nJob 1\n/a b/c.ini\n\n名前.pdf\n\nextra");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->section, "Sect");
  EXPECT_EQ(f->jobKey, "Job 1");
  EXPECT_EQ(f->iniPath, "/a b/c.ini");
  EXPECT_EQ(f->proposedName, "名前.pdf");
}

TEST(RelayCommandLine, NothingToDoWithoutMarkerOrAnswerPlace) {
  EXPECT_FALSE(ParseCommandLine(""));
  EXPECT_FALSE(ParseCommandLine("Sect\nJob1\n/x.ini\nreport.pdf"));
  EXPECT_FALSE(ParseCommandLine("/?Sect\nJob1\n/x.ini\nreport.pdf"));  // no space after "?"
  EXPECT_FALSE(ParseCommandLine("/? Sect\nJob1"));
  // Without a proposed name the dialog simply starts empty.
  const auto f = ParseCommandLine("/? Sect\nJob1\n/x.ini");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->proposedName, "");
}

TEST(RelayCommandLine, ArgumentsJoinedLikeOneCommandLine) {
  const char* argv[] = {"PDFRelay", "/?", "Sect\nJob1\n/x.ini\nr.pdf"};
  const auto f = ParseCommandLine(JoinArguments(3, argv));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->section, "Sect");
  EXPECT_EQ(f->proposedName, "r.pdf");
}

TEST(RelayCommandLine, FieldsCutToTheirLimitsInCharacters) {
  const std::string longAscii(2000, 's');
  std::string longJapanese;
  for (int i = 0; i < 300; ++i) longJapanese += "帳";  // three bytes each
  const auto f = ParseCommandLine("/? " + longAscii + "\n" + longJapanese + "\n" + longAscii +
                                  "\n" + longJapanese + ".pdf");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->section.size(), kSectionLimit);
  EXPECT_EQ(f->jobKey.size(), kJobKeyLimit * 3);
  EXPECT_EQ(f->iniPath.size(), kIniPathLimit);
  EXPECT_EQ(f->proposedName.size(), kProposedNameLimit * 3);
  // A sequence cut short by the end of the text is one character and is kept whole.
  EXPECT_EQ(CutToCharacters("ab\xE5\xB8", 3), "ab\xE5\xB8");
  EXPECT_EQ(CutToCharacters("ab\xE5\xB8", 2), "ab");
}

TEST(RelayCommandLine, OpenAfterSaveReading) {
  const std::pair<const char*, int> cases[] = {
      {"", 1},    {"0", 0},  {"1", 1},  {"7", 7},   {"a", 'a' - '0'},  // one character: code - '0'
      {"10", 10}, {"0x", 0}, {"01", 1}, {"abc", 1}, {"12abc", 12},     // longer: leading number
      {"-1", 1},
  };
  for (const auto& [stored, flag] : cases) EXPECT_EQ(OpenAfterSaveFlag(stored), flag) << stored;
}

TEST(RelayCommandLine, FolderKeepsItsTrailingSeparator) {
  EXPECT_EQ(FolderOf("/home/u/PDF/report.pdf"), "/home/u/PDF/");
  EXPECT_EQ(FolderOf("/report.pdf"), "/");
  EXPECT_EQ(FolderOf("report.pdf"), "");
  EXPECT_EQ(JobKeyName("Job1", kPathName), "Job1_PathName");
}

}  // namespace
}  // namespace pdfrelay
