#include "tests/store/TreeFixture.h"

#include "app/store/ScrapStore.h"

namespace fs = std::filesystem;

namespace treetest {

platform::ShellUi::Answer ScriptedShellUi::ConfirmDelete(const std::vector<fs::path>& items,
                                                         bool toTrash) {
  questions.push_back((toTrash ? "trash " : "delete ") + std::to_string(items.size()));
  return deleteAnswer;
}

platform::ShellUi::Answer ScriptedShellUi::ConfirmReplace(const fs::path& source,
                                                          const fs::path&) {
  questions.push_back("replace " + source.filename().string());
  return replaceAnswer;
}

Scrapbook::Scrapbook() : m_home((m_dir.path() / std::string(store::kHomeFolderName)).string()) {
  fs::create_directories(m_home);
}

void Scrapbook::Folder(const std::string& relative) const { fs::create_directories(Path(relative)); }

void Scrapbook::Scrap(const std::string& relative) const {
  testsupport::WriteFile(Path(relative) + "/Main.jpg", "jpeg");
}

void Scrapbook::Ini(const std::string& relative, int sortType, int customSortId) const {
  const std::string dir = relative.empty() ? m_home : Path(relative);
  testsupport::WriteFile(dir + "/Scrap.ini", "[SortType]\nSortType=" + std::to_string(sortType) +
                                                 "\n[CustomSortID]\nCustomSortID=" +
                                                 std::to_string(customSortId) + "\n");
}

std::string Scrapbook::IniText(const std::string& relative) const {
  const std::string dir = relative.empty() ? m_home : Path(relative);
  return testsupport::ReadFile(dir + "/Scrap.ini");
}

bool Scrapbook::Exists(const std::string& relative) const {
  std::error_code ec;
  return fs::exists(Path(relative), ec);
}

std::string Children(const store::TreeItem* item) {
  std::string texts;
  if (!item) return "<none>";
  for (const auto& child : item->children) {
    if (!texts.empty()) texts += ",";
    texts += child->text;
  }
  return texts;
}

store::TreeItem* Item(const store::FolderTreeModel& model, const std::string& texts) {
  store::TreeItem* item = model.Home();
  std::size_t start = 0;
  while (item && start < texts.size()) {
    const std::size_t slash = texts.find('/', start);
    const std::string name =
        texts.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    item = model.FindChild(item, name);
    start = slash == std::string::npos ? texts.size() : slash + 1;
  }
  return item;
}

std::string Listed(const store::FolderTreeModel& model) {
  std::string texts;
  for (const store::TreeItem* item : model.Selection()) {
    if (!texts.empty()) texts += ",";
    texts += item->text;
  }
  return texts;
}

}  // namespace treetest
