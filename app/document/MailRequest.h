#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A new mail in the desktop's mail program through xdg-email: one attachment, the scrap's
// text as the body, no recipients and no subject; the user completes it in the mail program.
namespace share {

inline constexpr std::string_view kMailProgram = "xdg-email";

// xdg-email hands the message on as one mailto address, in which every byte of the body other
// than letters, digits and "@.-\/" takes three bytes and a line break six. The system takes no
// single argument longer than 128 KiB, so the body is cut where its encoded form would pass
// this many bytes (the attachment's path and the rest of the address need the remainder).
inline constexpr std::size_t kMaxEncodedBodyBytes = 120 * 1024;

// The body as the mail program should get it: CR LF and lone CR become line breaks (the
// address encodes each one as CR LF itself), NUL characters are dropped (no argument can
// carry them), and the text is cut at a character boundary to kMaxEncodedBodyBytes encoded.
[[nodiscard]] std::string MailBody(std::string_view text);

// How many bytes the body takes inside the mailto address.
[[nodiscard]] std::size_t EncodedBodyLength(std::string_view body);

// The arguments after the program's name: "--utf8" (the texts are UTF-8 whatever the
// locale), "--attach <file>", and "--body <text>" unless the body is empty (xdg-email refuses
// an empty one).
[[nodiscard]] std::vector<std::string> MailArguments(const std::string& attachment,
                                                     std::string_view text);

// What an exit code of xdg-email means for the user.
enum class MailOutcome {
  kDone,          // the mail program has the message (or the user was asked and declined)
  kNoMailProgram, // the desktop names no program that can write a mail
  kFailed,        // anything else: not reported
};
[[nodiscard]] MailOutcome MailOutcomeForExit(int exitCode);

}  // namespace share
