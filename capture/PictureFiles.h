#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

// The page's pictures as files of the capture's Images folder: their bytes from data: URLs,
// their real type read from the bytes, and clean, unique file names.
namespace capture {

// Standard or URL-safe base64, blanks ignored; none for other characters or a bad length.
[[nodiscard]] std::optional<std::string> DecodeBase64(std::string_view text);

// The bytes a data: URL holds (base64 or percent-encoded); none when it is not one or is
// malformed.
[[nodiscard]] std::optional<std::string> DecodeDataUrl(std::string_view url);

// The file extension (without dot) of the picture format the bytes are in, read from their
// signature; empty when they are no picture format a browser shows.
[[nodiscard]] std::string PictureExtension(std::string_view bytes);

// Picks names for the pictures of one capture: the last part of the address without query,
// percent escapes decoded, cleaned like a typed folder name, the extension replaced by the
// real type's, and made unique (ignoring single-byte case, so the folder can be copied to a
// case-insensitive disk) with "_1", "_2"…
class PictureNamer {
 public:
  [[nodiscard]] std::string NameFor(std::string_view url, std::string_view extension);

 private:
  std::set<std::string> m_taken;  // lower-cased
};

}  // namespace capture
