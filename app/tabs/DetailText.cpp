#include "app/tabs/DetailText.h"

#include <cstdio>

namespace tabs {

std::string SizeText(uint64_t bytes) {
  uint64_t kb = bytes / 1024;
  if (kb == 0) kb = 1;
  char text[32];
  std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>(kb));
  return text;
}

std::string TimeText(std::time_t time) {
  std::tm local{};
  if (!localtime_r(&time, &local)) return {};
  char text[64];
  const size_t n = std::strftime(text, sizeof text, "%Y/%m/%d %H:%M", &local);
  return n ? std::string(text, n) : std::string();
}

}  // namespace tabs
