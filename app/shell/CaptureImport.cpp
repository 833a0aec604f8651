#include "app/shell/CaptureImport.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "app/store/ScrapStore.h"
#include "platform/TextConv.h"

namespace shell {

namespace fs = std::filesystem;

namespace {

bool IsFolder(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() == fs::file_type::directory;
}

std::vector<fs::path> Entries(const fs::path& dir) {
  std::vector<fs::path> out;
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  if (ec) return out;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    out.push_back(it->path());
  }
  return out;
}

// Length of the UTF-8 character that starts with byte c (1 for a stray continuation byte).
std::size_t CharLength(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

// One captured file to target. A rename keeps the data where it is; only between file
// systems is it copied, and the source goes only once the copy is complete. Only plain files
// are page files: a link (which could point anywhere on the machine), a pipe or a device stays
// in the capture folder and counts as not moved.
bool MoveFile(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(source, ec)) || ec) return false;
  if (std::rename(source.c_str(), target.c_str()) == 0) return true;
  if (errno != EXDEV) return false;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(target, ignored);  // a half-written copy is no use to anyone
    return false;
  }
  return fs::remove(source, ec) && !ec;
}

}  // namespace

std::string CaptureLongForm(const std::string& capturePath) {
  if (capturePath.empty()) return {};
  std::error_code ec;
  const fs::path absolute = fs::absolute(fs::path(capturePath), ec);
  if (ec || !fs::is_directory(absolute, ec)) return {};
  fs::path normal = absolute.lexically_normal();
  if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
  return normal.string();
}

std::optional<std::string> ProposedScrapName(std::string_view capturePath) {
  const std::size_t at = capturePath.find(store::kHomeFolderName);
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t start = at + store::kHomeFolderName.size();
  if (start < capturePath.size()) {
    start += CharLength(static_cast<unsigned char>(capturePath[start]));
  }
  if (start >= capturePath.size()) return std::string();
  return std::string(capturePath.substr(start));
}

fs::path FindPicturesSubfolder(const fs::path& capture) {
  const fs::path exact = capture / std::string(store::kPicturesFolder);
  if (IsFolder(exact)) return exact;
  for (const fs::path& entry : Entries(capture)) {
    if (IsFolder(entry) && store::IsPicturesFolder(entry.filename().string())) return entry;
  }
  return {};
}

CaptureMoveResult MoveCaptureInto(const fs::path& capture, const fs::path& scrap) {
  CaptureMoveResult result;
  const fs::path pictures = FindPicturesSubfolder(capture);
  std::error_code ec;
  for (const fs::path& entry : Entries(capture)) {
    if (IsFolder(entry)) {
      if (entry != pictures) continue;  // another sub-folder stays with the capture
      const fs::path targetDir = scrap / std::string(store::kPicturesFolder);
      fs::create_directory(targetDir, ec);
      for (const fs::path& picture : Entries(entry)) {
        if (IsFolder(picture)) continue;
        if (!MoveFile(picture, targetDir / picture.filename())) result.notMoved.push_back(picture);
      }
      fs::remove(entry, ec);  // fails while anything is left in it
      continue;
    }
    if (!MoveFile(entry, scrap / entry.filename())) result.notMoved.push_back(entry);
  }
  result.captureRemoved = fs::remove(capture, ec) && !ec;
  return result;
}

void DiscardCapture(const fs::path& capture) {
  std::error_code ec;
  const fs::path pictures = FindPicturesSubfolder(capture);
  if (!pictures.empty()) {
    for (const fs::path& picture : Entries(pictures)) {
      if (!IsFolder(picture)) fs::remove(picture, ec);
    }
    fs::remove(pictures, ec);
  }
  for (const fs::path& entry : Entries(capture)) {
    if (!IsFolder(entry)) fs::remove(entry, ec);
  }
  fs::remove(capture, ec);
}

std::string CaptureLeftBehindMessage(const fs::path& capture, std::size_t fileCount) {
  return std::to_string(fileCount) +
         " 個のファイルをスクラップに移動できませんでした。ファイルは次のフォルダに残っています:"
         "\n" +
         capture.string();
}

ImportResult RunCaptureImport(const std::string& capturePath, const AskScrapFolder& ask) {
  ImportResult result;
  const std::string longForm = CaptureLongForm(capturePath);
  if (longForm.empty()) return result;  // nothing there: nothing to select either
  const std::optional<std::string> proposed = ProposedScrapName(longForm);
  if (!proposed) {
    result.pendingImportPath = capturePath;
    return result;
  }
  const std::optional<fs::path> scrap = ask(*proposed);
  if (!scrap) {
    DiscardCapture(longForm);
    result.outcome = ImportOutcome::Cancelled;
    return result;
  }
  const CaptureMoveResult moved = MoveCaptureInto(longForm, *scrap);
  if (!moved.complete()) result.message = CaptureLeftBehindMessage(longForm, moved.notMoved.size());
  result.outcome = ImportOutcome::Accepted;
  result.pendingImportPath = scrap->string();
  return result;
}

}  // namespace shell
