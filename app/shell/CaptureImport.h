#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Filing a browser capture as a scrap: a capture folder whose path holds the product's short
// name followed by one separator and the page title. The user picks the name and destination
// (a dialog the caller supplies); the captured files then move into the new scrap folder.
namespace shell {

// The capture folder as an absolute path without a trailing separator; empty when it is not
// an existing folder.
[[nodiscard]] std::string CaptureLongForm(const std::string& capturePath);

// The text after the first "クリップレン" and the one character that follows it (normally the
// separator); nullopt when the path does not hold the name.
[[nodiscard]] std::optional<std::string> ProposedScrapName(std::string_view capturePath);

// The capture's pictures sub-folder: "Images" when it exists, else a sub-folder whose name
// differs from it only in single-byte case; empty when there is none.
[[nodiscard]] std::filesystem::path FindPicturesSubfolder(const std::filesystem::path& capture);

struct CaptureMoveResult {
  // Files that are still in the capture folder because moving them failed.
  std::vector<std::filesystem::path> notMoved;
  // The capture folder is gone (nothing was left in it).
  bool captureRemoved = false;
  [[nodiscard]] bool complete() const { return notMoved.empty(); }
};

// Moves the plain files at the top level of capture and those of its pictures sub-folder into
// scrap (and scrap/Images), replacing files of the same name; links and special files stay. A move
// within one file system is a rename; across file systems a file is copied and the source deleted
// only after the copy succeeded. Other sub-folders stay where they are. Then the emptied pictures
// sub-folder and the capture folder are removed when nothing is left in them.
[[nodiscard]] CaptureMoveResult MoveCaptureInto(const std::filesystem::path& capture,
                                                const std::filesystem::path& scrap);

// Cancelling an import: deletes the files of the capture folder and of its pictures
// sub-folder, then those folders when they are empty. Other sub-folders keep their contents.
void DiscardCapture(const std::filesystem::path& capture);

// The message for a capture whose files could not all be moved, naming the folder that still
// holds them.
[[nodiscard]] std::string CaptureLeftBehindMessage(const std::filesystem::path& capture,
                                                   std::size_t fileCount);

enum class ImportOutcome {
  NotApplicable,  // no dialog: the pending import path is the path as given (or empty)
  Accepted,       // the scrap was filed: the pending import path is the new scrap folder
  Cancelled,      // the capture was discarded; the program ends
};

struct ImportResult {
  ImportOutcome outcome = ImportOutcome::NotApplicable;
  std::string pendingImportPath;
  // What to tell the user (files left behind), or empty.
  std::string message;
};

// Asks for the scrap's name and destination, starting from the proposed name; returns the
// scrap folder it created, or nullopt when the user cancelled.
using AskScrapFolder = std::function<std::optional<std::filesystem::path>(const std::string&)>;

// The whole import of one capture named on the command line.
[[nodiscard]] ImportResult RunCaptureImport(const std::string& capturePath,
                                            const AskScrapFolder& ask);

}  // namespace shell
