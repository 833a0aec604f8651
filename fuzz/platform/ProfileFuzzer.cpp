// Private-profile parser: any bytes parse, UTF-8 files come back byte for byte, and a value
// written is the value read.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ProfileDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto doc = platform::ProfileDocument::Parse(bytes);
  const std::string once = doc.Serialize();
  if (doc.encoding() != platform::ProfileDocument::Encoding::Utf16le && once != bytes) abort();

  // The first line names the section, key and value to write into the rest.
  const std::size_t cut = bytes.find('\n');
  if (cut == std::string_view::npos) return 0;
  const std::string_view line = bytes.substr(0, cut);
  const std::size_t a = line.size() / 3;
  const std::string_view section = line.substr(0, a);
  const std::string_view key = line.substr(a, a);
  const std::string_view value = line.substr(2 * a);
  auto edited = platform::ProfileDocument::Parse(bytes.substr(cut + 1));
  if (edited.Set(section, key, value)) {
    std::string_view trimmed = value;
    while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t'))
      trimmed.remove_prefix(1);
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t'))
      trimmed.remove_suffix(1);
    const auto back = platform::ProfileDocument::Parse(edited.Serialize()).Get(section, key);
    // UTF-16 files carry only what UTF-16 can: broken UTF-8 in the value becomes U+FFFD.
    if (edited.encoding() != platform::ProfileDocument::Encoding::Utf16le &&
        (!back || *back != trimmed)) {
      abort();
    }
  }
  edited.RemoveKey(section, key);
  edited.RemoveSection(section);
  (void)edited.Serialize();
  return 0;
}
