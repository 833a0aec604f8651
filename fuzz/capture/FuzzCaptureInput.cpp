// The input is split at NUL bytes: the pieces are a command line, and at the same time
// addresses, titles and picture bytes as a page would hand them over.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/CaptureFolder.h"
#include "capture/CaptureOptions.h"
#include "capture/PictureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> pieces;
  for (size_t start = 0;;) {
    const size_t end = input.find('\0', start);
    pieces.push_back(input.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos || pieces.size() > 64) break;
    start = end + 1;
  }
  (void)capture::ParseCommandLine(pieces);
  capture::PictureNamer namer;
  for (const std::string& piece : pieces) {
    (void)capture::NormaliseAddress(piece);
    (void)capture::DecodeBase64(piece);
    if (auto bytes = capture::DecodeDataUrl(piece)) (void)capture::PictureExtension(*bytes);
    const std::string name = namer.NameFor(piece, capture::PictureExtension(piece));
    if (name.empty() || name.find('/') != std::string::npos || name.size() > 255) __builtin_trap();
    const std::string folder = capture::FolderNameForPage(piece, piece);
    if (folder.empty() || folder.find('/') != std::string::npos || folder.size() > 255 ||
        folder == "." || folder == "..")
      __builtin_trap();
  }
  return 0;
}
