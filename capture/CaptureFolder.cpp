#include "capture/CaptureFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <sys/stat.h>

#include "app/document/ScrapText.h"
#include "app/store/ScrapStore.h"
#include "capture/PictureFiles.h"
#include "platform/AtomicFile.h"
#include "platform/TextConv.h"

namespace capture {
namespace {

constexpr size_t kMaxFolderNameBytes = 200;
constexpr int kMaxNameTries = 1000;

std::string OneLine(std::string_view text) {
  std::string out;
  for (const char c : text) out.push_back((c == '\r' || c == '\n' || c == '\t') ? ' ' : c);
  return out;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The host of an address, or for file: addresses the last part of the path.
std::string AddressName(std::string_view url) {
  const size_t scheme = url.find("://");
  if (scheme == std::string_view::npos) return {};
  std::string_view rest = url.substr(scheme + 3);
  rest = rest.substr(0, rest.find_first_of("?#"));
  const size_t slash = rest.find('/');
  std::string_view host = rest.substr(0, slash);
  if (const size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
  if (!host.empty()) return std::string(host);
  while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  const size_t last = rest.rfind('/');
  return std::string(last == std::string_view::npos ? rest : rest.substr(last + 1));
}

}  // namespace

std::filesystem::path DefaultCapturesDir() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache == '/') return std::filesystem::path(cache) / "clipwren" / "captures";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::filesystem::path(home) / ".cache" / "clipwren" / "captures";
  return {};
}

std::string FolderNameForPage(std::string_view title, std::string_view url) {
  // One line, no "/" (which a name cannot hold), valid UTF-8; blanks around it are layout, and
  // Clipwren's command line strips quotes and blanks from both ends of the folder it is given,
  // so none may be there.
  const auto usable = [](std::string_view text) {
    std::string name = OneLine(text);
    for (char& c : name)
      if (c == '/' || c == '\0') c = '_';
    if (!platform::text::IsValidUtf8(name))
      name = platform::text::Utf16leToUtf8(platform::text::Utf8ToUtf16le(name));
    const size_t first = name.find_first_not_of(" \"");
    name = first == std::string::npos ? std::string() : name.substr(first);
    while (!name.empty() && (name.back() == ' ' || name.back() == '"')) name.pop_back();
    name.resize(platform::text::Utf8PrefixLength(name, kMaxFolderNameBytes));
    while (!name.empty() && (name.back() == ' ' || name.back() == '"')) name.pop_back();
    return name == "." || name == ".." ? std::string() : name;
  };
  std::string name = usable(title);
  if (name.empty()) name = usable(AddressName(url));
  return name.empty() ? std::string(store::kEmptyCleanName) : name;
}

std::string ContentTextFor(const CapturedPage& page) {
  std::string text = "★★★★" + OneLine(page.url) + "★★★★\r\n" + OneLine(page.title) + "\r\n";
  if (page.capturedHeight < page.pageHeight) {
    text += "（ページの高さ " + std::to_string(page.pageHeight) + " ピクセルのうち、先頭の " +
            std::to_string(page.capturedHeight) + " ピクセルだけを画像にしました）\r\n";
  }
  text += "\r\n" + WithCrLf(page.text);
  return text;
}

CaptureFolder::~CaptureFolder() {
  if (m_keep || m_path.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
  // Only an empty parent goes: another capture may be waiting in it.
  rmdir(m_path.parent_path().c_str());
}

bool CaptureFolder::Create(const std::filesystem::path& base, std::string_view name,
                           std::string& error) {
  const std::filesystem::path parent = base / store::kHomeFolderName;
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  if (ec) {
    error = "cannot make the folder " + parent.string() + ": " + ec.message();
    return false;
  }
  for (int n = 1; n <= kMaxNameTries; ++n) {
    const std::string leaf = n == 1 ? std::string(name) : std::string(name) + " (" +
                                                              std::to_string(n) + ")";
    const std::filesystem::path candidate = parent / leaf;
    if (mkdir(candidate.c_str(), 0700) == 0) {
      m_path = candidate;
      return true;
    }
    if (errno != EEXIST) {
      error = "cannot make the folder " + candidate.string() + ": " + std::strerror(errno);
      rmdir(parent.c_str());
      return false;
    }
  }
  error = "too many captures named " + std::string(name) + " are waiting in " + parent.string();
  return false;
}

bool CaptureFolder::Write(CapturedPage& page, std::string& error) {
  CxImage& picture = page.picture;
  picture.SetJpegQuality(90);
  if (!picture.Save((m_path / store::kMainPicture).string(), CXIMAGE_FORMAT_JPG)) {
    error = std::string("cannot write Main.jpg: ") + picture.GetLastError();
    return false;
  }
  if (!scrapfiles::WriteContentText(m_path / store::kContentText, ContentTextFor(page))) {
    error = "cannot write Content.txt";
    return false;
  }
  const std::string info = OneLine(page.url) + "\n" + OneLine(page.title) + "\n";
  if (!platform::file::WriteAtomically(m_path / store::kInfoText, info)) {
    error = "cannot write info.txt";
    return false;
  }
  if (page.pictures.empty()) return true;
  const std::filesystem::path images = m_path / store::kPicturesFolder;
  if (mkdir(images.c_str(), 0700) != 0) {
    error = std::string("cannot make the Images folder: ") + std::strerror(errno);
    return false;
  }
  PictureNamer namer;
  for (const CapturedPicture& picture : page.pictures) {
    const std::string name = namer.NameFor(picture.url, PictureExtension(picture.bytes));
    if (!platform::file::WriteAtomically(images / name, picture.bytes, false)) {
      error = "cannot write the picture " + name;
      return false;
    }
  }
  return true;
}

}  // namespace capture
