#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/store/FolderTreeModel.h"
#include "platform/ShellFileOperation.h"
#include "tests/support/TempDir.h"

namespace treetest {

// Answers the shell's questions from a script and records what was asked.
class ScriptedShellUi : public platform::ShellUi {
 public:
  Answer ConfirmDelete(const std::vector<std::filesystem::path>& items, bool toTrash) override;
  Answer ConfirmReplace(const std::filesystem::path& source,
                        const std::filesystem::path& destination) override;
  void ReportError(const std::string& message) override { errors.push_back(message); }
  bool Progress(const std::filesystem::path&, std::size_t, std::size_t) override { return true; }

  Answer deleteAnswer = Answer::Yes;
  Answer replaceAnswer = Answer::Yes;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
};

// Records what the model tells its view.
class RecordingObserver : public store::TreeObserver {
 public:
  void ItemInserted(store::TreeItem*) override { ++inserted; }
  void ItemRemoving(store::TreeItem*) override { ++removed; }
  void ChildrenReordered(store::TreeItem*) override { ++reordered; }
  void ItemExpanded(store::TreeItem*) override {}
  void ItemChanged(store::TreeItem*) override {}
  void CaretChanged(store::TreeItem* item) override { carets.push_back(item); }
  void MakeVisible(store::TreeItem*) override {}
  void SuspendRedraw(bool suspend) override { depth += suspend ? 1 : -1; }

  int inserted = 0, removed = 0, reordered = 0, depth = 0;
  std::vector<store::TreeItem*> carets;
};

// A scrapbook on disk in a temporary folder: home = <tmp>/クリップレン.
class Scrapbook {
 public:
  Scrapbook();
  const std::string& Home() const { return m_home; }
  std::string Path(const std::string& relative) const { return m_home + "/" + relative; }
  void Folder(const std::string& relative) const;
  void Scrap(const std::string& relative) const;  // a folder with Main.jpg in it
  void Ini(const std::string& relative, int sortType, int customSortId = 0) const;
  // The Scrap.ini text of a directory ("" when there is none).
  std::string IniText(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  testsupport::TempDir m_dir;
  std::string m_home;
};

// Texts of item's children in display order, joined with ",".
std::string Children(const store::TreeItem* item);
// The item at a path of texts below home ("a/b"); null when there is none.
store::TreeItem* Item(const store::FolderTreeModel& model, const std::string& texts);
// Texts of the listed items in list order, joined with ",".
std::string Listed(const store::FolderTreeModel& model);

}  // namespace treetest
