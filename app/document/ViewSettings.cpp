#include "app/document/ViewSettings.h"

#include <string>

#include "platform/Profile.h"
#include "platform/TextConv.h"

namespace scrapfiles {
namespace {

constexpr const char* kViewMode = "ViewMode";
constexpr const char* kIsShowGif = "IsShowGif";
// Values are read into a 10-byte buffer: at most 9 characters.
constexpr std::size_t kValueBuffer = 10;
// Never a real value: tells a missing key from an empty one.
constexpr const char* kMissing = "\x01missing";

}  // namespace

void ReadViewSettings(const std::filesystem::path& file, ViewSettings& settings) {
  namespace profile = platform::profile;
  const std::string mode = profile::GetString(file, kViewMode, kViewMode, kMissing, kValueBuffer);
  if (mode != std::string(kMissing).substr(0, kValueBuffer - 1)) {
    settings.viewMode = static_cast<int>(platform::text::ParseDecimalPrefix(mode));
  }
  const std::string gif = profile::GetString(file, kIsShowGif, kIsShowGif, kMissing, kValueBuffer);
  if (gif != std::string(kMissing).substr(0, kValueBuffer - 1)) {
    settings.showGif = platform::text::ParseDecimalPrefix(gif) != 0;
  }
}

bool WriteViewSettings(const std::filesystem::path& file, const ViewSettings& settings) {
  namespace profile = platform::profile;
  const std::string mode = std::to_string(settings.viewMode);
  const std::string gif = settings.showGif ? "1" : "0";
  const bool a = profile::WriteString(file, kViewMode, kViewMode, mode);
  const bool b = profile::WriteString(file, kIsShowGif, kIsShowGif, gif);
  return a && b;
}

}  // namespace scrapfiles
