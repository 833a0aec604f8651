#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "PDFRelay/RelayCommandLine.h"

// The answer PDFRelay gives the printer's port monitor through the shared INI file. The
// monitor waits for the job's "RequestWritePrivateProfile" key, so it is always written last;
// until then the other keys of the job may be half written.
namespace pdfrelay {

inline constexpr std::string_view kLastOpenFolder = "LastOpenFolder";
inline constexpr std::string_view kOpenAfterSave = "OpenAfterSave";
inline constexpr std::string_view kPathName = "PathName";
inline constexpr std::string_view kPreview = "Preview";
inline constexpr std::string_view kCanceled = "Canceled";
inline constexpr std::string_view kUserName = "UserName";
inline constexpr std::string_view kRequestWrite = "RequestWritePrivateProfile";

inline constexpr std::size_t kLastOpenFolderReadLimit = 523;
inline constexpr std::size_t kOpenAfterSaveReadLimit = 511;
inline constexpr std::size_t kUserNameLimit = 400;

// One key write into the relay's section; false when the write failed (the relay does not
// report it, but tests see every call in order).
using KeyWriter = std::function<bool(std::string_view key, std::string_view value)>;

// Writes through the private-profile functions into fields.iniPath, section fields.section.
[[nodiscard]] KeyWriter ProfileWriter(const RelayFields& fields);

// "Job1" and "PathName" give "Job1_PathName".
[[nodiscard]] std::string JobKeyName(std::string_view jobKey, std::string_view key);

// The remembered check box state: empty or missing gives 1; one character gives its code
// minus the code of "0"; a longer value gives its leading decimal number, 1 when it has none.
[[nodiscard]] int OpenAfterSaveFlag(std::string_view stored);

struct RelaySettings {
  std::string lastOpenFolder;  // empty: let the dialog choose its usual folder
  int openAfterSave = 1;
};

// Reads LastOpenFolder and OpenAfterSave from the relay's section. A stored folder longer
// than the read limit is ignored rather than cut, so the dialog never starts in a folder
// nobody chose.
[[nodiscard]] RelaySettings ReadSettings(const RelayFields& fields);

// The folder remembered for the next dialog: the chosen file's folder with a trailing
// separator ("/home/u/report.pdf" gives "/home/u/").
[[nodiscard]] std::string FolderOf(std::string_view chosenPath);

// The user's cancel (or a dialog that failed): Canceled = 1, then RequestWritePrivateProfile.
void WriteCanceled(const KeyWriter& write, std::string_view jobKey);

// A save, in the order the monitor relies on: PathName, Preview, Canceled = 0, OpenAfterSave,
// UserName (skipped when userName is empty), LastOpenFolder, RequestWritePrivateProfile.
void WriteSaved(const KeyWriter& write, std::string_view jobKey, std::string_view chosenPath,
                int openAfterSave, std::string_view userName);

// The name of the user the relay runs as, at most 400 characters; empty when unknown.
[[nodiscard]] std::string CurrentUserName();

}  // namespace pdfrelay
