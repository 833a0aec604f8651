#include "app/store/PickerFolders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

TEST(PickerFolders, ListsFoldersInTextOrderAndLeavesOutScrapsAndPictures) {
  testsupport::TempDir dir;
  const fs::path home = dir / "home";
  for (const char* name : {"b", "A", "a", "c", "Images", "images", "scrap/inner", "Scrap2"})
    fs::create_directories(home / name);
  testsupport::WriteFile(home / "scrap/Main.jpg", "j");
  fs::create_directories(home / "Scrap2/MAIN.JPG");  // any entry of that name, in any case
  // Custom order written by the tree is not the picker's business.
  testsupport::WriteFile(home / "c/Scrap.ini", "[CustomSortID]\nCustomSortID=1\n");
  testsupport::WriteFile(home / "Scrap.ini", "[SortType]\nSortType=3\n");
  fs::create_directory_symlink(home, home / "loop");

  std::vector<std::string> names;
  for (const auto& p : store::PickerChildFolders(home.string()))
    names.push_back(fs::path(p).filename().string());
  EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "b", "c"}));
  EXPECT_TRUE(store::PickerChildFolders((dir / "missing").string()).empty());
}
