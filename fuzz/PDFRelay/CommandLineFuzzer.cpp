// PDFRelay's command line: any text parses without a fault, and every field it gives is a
// non-empty piece of the text after the marker, without line feeds, within its limit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "PDFRelay/RelayCommandLine.h"

namespace {

std::size_t Characters(std::string_view s) {
  std::size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

void Check(const std::string& field, std::string_view after, std::size_t limit, bool mayBeEmpty) {
  if (field.empty() && !mayBeEmpty) abort();
  if (field.find('\n') != std::string::npos) abort();
  if (after.find(field) == std::string_view::npos) abort();
  if (Characters(field) > limit) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const auto fields = pdfrelay::ParseCommandLine(line);
  const auto marker = line.find(pdfrelay::kMarker);
  if (marker == std::string_view::npos) {
    if (fields) abort();
    return 0;
  }
  if (!fields) return 0;
  const std::string_view after = line.substr(marker + pdfrelay::kMarker.size());
  Check(fields->section, after, pdfrelay::kSectionLimit, false);
  Check(fields->jobKey, after, pdfrelay::kJobKeyLimit, false);
  Check(fields->iniPath, after, pdfrelay::kIniPathLimit, false);
  Check(fields->proposedName, after, pdfrelay::kProposedNameLimit, true);
  return 0;
}
