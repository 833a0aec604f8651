#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// Questions the file operation asks while it works. The program answers with dialogs owned
// by the main window; tests answer with scripts.
class ShellUi {
 public:
  enum class Answer { Yes, YesToAll, No, Cancel };
  virtual ~ShellUi() = default;
  // "Really delete / move to the Trash these items?" (not asked with kNoConfirmation).
  virtual Answer ConfirmDelete(const std::vector<std::filesystem::path>& items, bool toTrash) = 0;
  // The destination already exists: replace it? (Yes, YesToAll, No = skip, Cancel = abort).
  virtual Answer ConfirmReplace(const std::filesystem::path& source,
                                const std::filesystem::path& destination) = 0;
  // A failure the user should hear about (also with kSilent, which only hides the progress);
  // the error is returned in the result code as well.
  virtual void ReportError(const std::string& message) = 0;
  // Progress: called per item; returning false cancels the rest.
  virtual bool Progress(const std::filesystem::path& current, std::size_t done,
                        std::size_t total) = 0;
  // The destination folder of a move or copy does not exist: create it? (not asked with
  // kNoConfirmation or kNoConfirmMkdir; No and Cancel abort the operation).
  virtual Answer ConfirmCreateFolder(const std::filesystem::path& folder) { return Answer::Yes; }
};

// Result codes: the host's error numbers, so callers and messages can tell them apart.
enum FileOpError : int {
  kFileOpFileNotFound = 2,        // a source does not exist
  kFileOpAccessDenied = 5,        // no permission (or a read-only file system)
  kFileOpGeneralFailure = 31,     // anything not listed here
  kFileOpNotSupported = 50,       // e.g. no Trash on the source's file system
  kFileOpInvalidParameter = 87,   // rename without exactly one source, empty destination
  kFileOpDiskFull = 112,
  kFileOpSameFile = 0x71,         // moving or copying an item onto itself
  kFileOpDestIsSubtree = 0x76,    // moving or copying a folder into itself or below it
  kFileOpInvalidName = 123,       // a new name that is empty, "." / "..", or holds "/"
  kFileOpAlreadyExists = 183,     // rename onto an existing name; file/folder clash on replace
  kFileOpNameTooLong = 206,
  kFileOpNotAFolder = 267,        // the destination of a move or copy is a file
  kFileOpCancelled = 1223,        // the user said No/Cancel at a question or in the progress
};

enum class FileOp { Move, Copy, Delete, Rename };

enum FileOpFlags : unsigned {
  kAllowUndo = 0x40,             // delete goes to the Trash
  kNoConfirmation = 0x10,        // answer "yes to all" to every question
  kNoConfirmMkdir = 0x200,       // create missing destination folders without asking
  kSilent = 0x4,                 // no progress window (errors are still reported)
};

struct FileOperation {
  FileOp op = FileOp::Move;
  std::vector<std::filesystem::path> from;
  std::filesystem::path to;  // destination folder (move/copy) or new full path (rename)
  unsigned flags = 0;
};

struct FileOpResult {
  int code = 0;          // 0 success, else a FileOpError number
  // Something was left undone at the user's word: Cancel anywhere (code kFileOpCancelled),
  // or No to a replace question (that item is skipped, code stays 0).
  bool aborted = false;
  [[nodiscard]] bool ok() const { return code == 0 && !aborted; }
};

// The message shown for a result code, naming the item as the user knows it.
[[nodiscard]] std::string FileOpErrorMessage(int code, const std::string& itemName);

// Moves, copies, deletes or renames folders and files the way the desktop shell does:
// delete with kAllowUndo goes to the freedesktop Trash (restorable from file managers);
// conflicts are asked, never silently overwritten.
[[nodiscard]] FileOpResult ShellFileOperation(const FileOperation& op, ShellUi& ui);

}  // namespace platform
