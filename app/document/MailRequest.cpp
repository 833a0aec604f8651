#include "app/document/MailRequest.h"

#include "platform/TextConv.h"

namespace share {
namespace {

// Bytes the address carries as they are; everything else is written as %XX.
bool IsPlain(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '@' || c == '.' || c == '-' || c == '\\' || c == '/';
}

std::size_t EncodedLength(unsigned char c) {
  if (c == '\n') return 6;  // %0D%0A
  return IsPlain(c) ? 1 : 3;
}

// xdg-email fails with exit code 3 when no program can open the mailto address.
constexpr int kExitOperationImpossible = 3;

}  // namespace

std::size_t EncodedBodyLength(std::string_view body) {
  std::size_t n = 0;
  for (const char c : body) n += EncodedLength(static_cast<unsigned char>(c));
  return n;
}

std::string MailBody(std::string_view text) {
  std::string body;
  body.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\0') continue;
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') continue;
      body += '\n';
      continue;
    }
    body += c;
  }
  std::size_t encoded = 0, keep = 0;
  for (; keep < body.size(); ++keep) {
    encoded += EncodedLength(static_cast<unsigned char>(body[keep]));
    if (encoded > kMaxEncodedBodyBytes) break;
  }
  if (keep < body.size()) body.resize(platform::text::Utf8PrefixLength(body, keep));
  return body;
}

std::vector<std::string> MailArguments(const std::string& attachment, std::string_view text) {
  std::vector<std::string> args{"--utf8", "--attach", attachment};
  std::string body = MailBody(text);
  if (!body.empty()) {
    args.emplace_back("--body");
    args.push_back(std::move(body));
  }
  return args;
}

MailOutcome MailOutcomeForExit(int exitCode) {
  if (exitCode == 0) return MailOutcome::kDone;
  if (exitCode == kExitOperationImpossible) return MailOutcome::kNoMailProgram;
  return MailOutcome::kFailed;
}

}  // namespace share
