#include "app/document/ShareNames.h"

#include <algorithm>
#include <array>

#include "app/store/ScrapStore.h"
#include "platform/TextConv.h"

namespace share {
namespace {

std::string CutUtf8(std::string s, std::size_t maxBytes) {
  if (s.size() > maxBytes) s.resize(platform::text::Utf8PrefixLength(s, maxBytes));
  return s;
}

}  // namespace

std::string DomainLabel(std::string_view address) {
  static constexpr std::array<std::string_view, 6> kSuffixes = {".com", ".co.jp", ".org",
                                                                ".net", ".jp",    ".edu"};
  const std::string lower = platform::text::AsciiLower(address);
  std::size_t p = std::string::npos;
  for (std::string_view suffix : kSuffixes) p = std::min(p, lower.find(suffix));
  if (p == std::string::npos) return std::string(store::kEmptyCleanName);
  const std::size_t before = p == 0 ? std::string::npos : address.find_last_of("./", p - 1);
  const std::size_t start = before == std::string::npos ? 0 : before + 1;
  return std::string(address.substr(start, p - start));
}

std::string BaseName(int rule, std::string_view userName,
                     const std::optional<scrapfiles::PageInfo>& info) {
  std::string name(kBaseNamePrefix);
  if (rule == kRuleUserDefined) {
    // An empty name and a name that cleans to nothing both give "noname".
    return name + store::CleanName(userName);
  }
  if (!info) return name + std::string(store::kEmptyCleanName);
  switch (rule) {
    case kRuleTitle:
      name += store::CleanName(info->title);
      break;
    case kRuleDomain:
      name += DomainLabel(info->url);
      break;
    case kRuleFullAddress: {
      std::string address = info->url;
      if (const std::size_t scheme = address.find("://"); scheme != std::string::npos)
        address.erase(0, scheme + 3);
      std::replace(address.begin(), address.end(), '.', '_');
      name += store::CleanName(address);
      break;
    }
    default:
      break;
  }
  return CutUtf8(std::move(name), kMaxBaseNameBytes);
}

std::string BaseNameForScrap(int rule, std::string_view userName,
                             const std::filesystem::path& infoPath) {
  if (rule == kRuleUserDefined) return BaseName(rule, userName, std::nullopt);
  return BaseName(rule, userName,
                  infoPath.empty() ? std::nullopt : scrapfiles::ReadInfoText(infoPath));
}

std::string ProposedExportPath(std::string_view saveFolder, std::string_view title) {
  std::string path(saveFolder);
  if (path.empty() || path.back() != '/') path += '/';
  return path + CutUtf8(std::string(title), kMaxExportTitleBytes);
}

}  // namespace share
