#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "app/res/ArtSvg.h"
#include "app/res/Resource.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Tests run in tests/res of the source tree.
const fs::path kRoot = fs::path("..") / "..";

TEST(PackagingTest, InstalledIconIsTheProgramIcon) {
  const std::string file = testsupport::ReadFile(kRoot / "packaging" / "clipwren.svg");
  EXPECT_EQ(file, res::art::ResourceSvg(res::kIconMain) + "\n")
      << "packaging/clipwren.svg must be regenerated from the program icon";
}

TEST(PackagingTest, DesktopEntry) {
  const std::string entry = testsupport::ReadFile(kRoot / "packaging" / "clipwren.desktop");
  ASSERT_FALSE(entry.empty());
  EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
  for (const char* line : {"Type=Application\n", "Exec=clipwren\n", "Icon=clipwren\n",
                           "Name[ja]=クリップレン帳\n", "Terminal=false\n"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
}

TEST(PackagingTest, HelpPagesExistAndLinkToEachOther) {
  const fs::path help = kRoot / "help";
  const std::string index = testsupport::ReadFile(help / "index.html");
  ASSERT_FALSE(index.empty());
  EXPECT_NE(index.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(index.find("<title>クリップレン帳 ヘルプ</title>"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(help)) {
    if (entry.path().extension() != ".html") continue;
    const std::string page = testsupport::ReadFile(entry.path());
    const std::regex link("href=\"([^\"#:]+)\"");
    for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it)
      EXPECT_TRUE(fs::exists(help / (*it)[1].str()))
          << entry.path().filename() << " links to " << (*it)[1];
  }
}

}  // namespace
