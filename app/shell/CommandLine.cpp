#include "app/shell/CommandLine.h"

namespace shell {

namespace {

void TrimRight(std::string& s, char c) {
  while (!s.empty() && s.back() == c) s.pop_back();
}

void TrimLeft(std::string& s, char c) {
  const std::size_t first = s.find_first_not_of(c);
  s.erase(0, first == std::string::npos ? s.size() : first);
}

}  // namespace

std::string ExtractCapturePath(std::string_view rawCommandLine) {
  const std::size_t at = rawCommandLine.find(kFromIeSwitch);
  if (at == std::string_view::npos) return {};
  std::string path(rawCommandLine.substr(at + kFromIeSwitch.size()));
  TrimRight(path, '"');
  TrimLeft(path, '"');
  TrimRight(path, ' ');
  TrimLeft(path, ' ');
  return path;
}

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

}  // namespace shell
