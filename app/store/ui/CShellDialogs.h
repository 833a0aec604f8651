#pragma once

#include <wx/window.h>

#include "platform/ShellFileOperation.h"

// The shell file operation's questions as message boxes owned by a window: confirm delete,
// replace an existing folder, and errors. Progress is not shown (tree operations are quick).
class CShellDialogs : public platform::ShellUi {
 public:
  explicit CShellDialogs(wxWindow* owner) : m_owner(owner) {}
  Answer ConfirmDelete(const std::vector<std::filesystem::path>& items, bool toTrash) override;
  Answer ConfirmReplace(const std::filesystem::path& source,
                        const std::filesystem::path& destination) override;
  void ReportError(const std::string& message) override;
  bool Progress(const std::filesystem::path&, std::size_t, std::size_t) override { return true; }

 private:
  wxWindow* m_owner;
};
