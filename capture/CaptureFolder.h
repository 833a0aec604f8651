#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "capture/PageCapture.h"

// The capture folder Clipwren imports: <captures>/クリップレン/<page title>, holding Main.jpg,
// Content.txt, info.txt and Images/. The import proposes the text after "クリップレン" and one
// separator as the scrap's name, so the title is the folder's own name.
namespace capture {

// $XDG_CACHE_HOME/clipwren/captures, else ~/.cache/clipwren/captures; empty without either.
[[nodiscard]] std::filesystem::path DefaultCapturesDir();

// The folder name for a page: its title on one line, "/" (which a name cannot hold) as "_",
// cut to 200 bytes without splitting a character; the address's host or last part when the
// title is empty, "noname" when that is empty too.
[[nodiscard]] std::string FolderNameForPage(std::string_view title, std::string_view url);

// The page text as Content.txt holds it: the address between "★★★★" markers on the first
// line (ahead of anything from the page, so a marker in the title or text cannot take its
// place), the title, an empty line and the text, with CR LF line ends; a note when the
// picture was cut.
[[nodiscard]] std::string ContentTextFor(const CapturedPage& page);

// One capture folder being written. Unless Keep() is called, the destructor removes it with
// everything in it, and the "クリップレン" folder above it when that is left empty, so a
// failed capture leaves nothing behind.
class CaptureFolder {
 public:
  CaptureFolder() = default;
  ~CaptureFolder();
  CaptureFolder(const CaptureFolder&) = delete;
  CaptureFolder& operator=(const CaptureFolder&) = delete;

  // Makes a fresh folder below base: the page's name, or "<name> (2)"… when an earlier
  // capture of the same name is still waiting to be imported.
  [[nodiscard]] bool Create(const std::filesystem::path& base, std::string_view name,
                            std::string& error);
  // Writes every file of the page into the folder (the picture is encoded at quality 90).
  [[nodiscard]] bool Write(CapturedPage& page, std::string& error);
  void Keep() { m_keep = true; }
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
  bool m_keep = false;
};

}  // namespace capture
