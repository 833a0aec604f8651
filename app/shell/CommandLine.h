#pragma once

#include <string>
#include <string_view>

namespace shell {

// The switch a browser add-on puts in front of a capture folder. The trailing blank is part
// of it: "/FromIE" alone is not recognised.
inline constexpr std::string_view kFromIeSwitch = "/FromIE ";

// The capture folder named on the command line, or empty. Everything after "/FromIE " counts;
// trailing then leading double quotes are removed, then trailing then leading blanks.
[[nodiscard]] std::string ExtractCapturePath(std::string_view rawCommandLine);

// The raw command line as the host would hand it over: the arguments after the program name
// joined by single blanks.
[[nodiscard]] std::string JoinArguments(int argc, const char* const* argv);

}  // namespace shell
