#include "app/store/TreeOrder.h"

#include "app/store/ScrapStore.h"

namespace store {

int CompareCreationTimes(std::int64_t a, std::int64_t b) {
  // Unsigned subtraction wraps like the host's 32-bit arithmetic without signed overflow.
  const auto diff = static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b);
  const auto signedDiff = static_cast<std::int32_t>(diff);
  return signedDiff < 0 ? -1 : (signedDiff > 0 ? 1 : 0);
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SortsBefore(int sortType, const FolderRecord& a, const FolderRecord& b) {
  switch (sortType) {
    case kSortDateAscending:
      return CompareCreationTimes(a.creationTime, b.creationTime) < 0;
    case kSortName:
      return CompareNoCase(a.path, b.path) < 0;
    case kSortCustom:
      return a.customSortId < b.customSortId;
    default:
      return CompareCreationTimes(b.creationTime, a.creationTime) < 0;
  }
}

}  // namespace store
