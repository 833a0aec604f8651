#include "capture/CaptureOptions.h"

#include <charconv>
#include <filesystem>
#include <system_error>

namespace capture {
namespace {

bool ParseNumber(std::string_view text, uint64_t low, uint64_t high, uint64_t& out) {
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return false;
  out = value;
  return true;
}

bool HasScheme(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  for (size_t i = 0; i < colon; ++i) {
    const char c = text[i];
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                    (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
    if (!ok) return false;
  }
  // "localhost:8080/x" has a port, not a scheme.
  return !(colon + 1 < text.size() && text[colon + 1] >= '0' && text[colon + 1] <= '9');
}

// A file's address with every byte escaped that an address would read otherwise: "#" and "?"
// start a fragment or a query, "%" an escape, and blanks and non-ASCII bytes are not allowed.
std::string FileAddress(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string address = "file://";
  for (const char c : path) {
    const auto u = static_cast<unsigned char>(c);
    const bool keep = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                      std::string_view("/-._~!$&'()*+,;=:@").find(c) != std::string_view::npos;
    if (keep) {
      address += c;
    } else {
      address += '%';
      address += kHex[u >> 4];
      address += kHex[u & 15];
    }
  }
  return address;
}

}  // namespace

std::string NormaliseAddress(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' ||
                           text.back() == '\r'))
    text.remove_suffix(1);
  if (text.empty()) return {};
  if (text.front() == '/') return FileAddress(text);
  if (HasScheme(text)) return std::string(text);
  // "page.html" or "pages/today.html" typed in the folder that holds it is that file, not a
  // host of that name.
  std::error_code ec;
  const std::filesystem::path local(text);
  if (std::filesystem::is_regular_file(local, ec)) {
    const std::filesystem::path full = std::filesystem::absolute(local, ec);
    if (!ec) return FileAddress(full.lexically_normal().string());
  }
  return "http://" + std::string(text);
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CaptureOptions options;
  const auto fail = [&](std::string text) {
    parsed.error = std::move(text);
    return parsed;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool hasValue = false;
    if (arg.starts_with("--")) {
      if (const size_t eq = arg.find('='); eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg.resize(eq);
        hasValue = true;
      }
    }
    const auto takeValue = [&]() -> bool {
      if (hasValue) return true;
      if (i + 1 >= args.size()) return false;
      value = args[++i];
      return true;
    };
    uint64_t number = 0;
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return parsed;
    } else if (arg == "--no-import") {
      options.import = false;
    } else if (arg == "--ask") {
      options.ask = true;
    } else if (arg == "--width") {
      if (!takeValue() || !ParseNumber(value, 200, 10000, number))
        return fail("--width needs a number of CSS pixels from 200 to 10000");
      options.width = uint32_t(number);
    } else if (arg == "--timeout") {
      if (!takeValue() || !ParseNumber(value, 1, 3600, number))
        return fail("--timeout needs a number of seconds from 1 to 3600");
      options.timeoutSeconds = uint32_t(number);
    } else if (arg == "--max-height") {
      if (!takeValue() || !ParseNumber(value, 100, 1000000, number))
        return fail("--max-height needs a number of pixels from 100 to 1000000");
      options.maxHeight = uint32_t(number);
    } else if (arg == "--max-pictures") {
      if (!takeValue() || !ParseNumber(value, 0, 100000, number))
        return fail("--max-pictures needs a number from 0 to 100000");
      options.maxPictures = uint32_t(number);
    } else if (arg == "--max-picture-mb") {
      if (!takeValue() || !ParseNumber(value, 0, 4096, number))
        return fail("--max-picture-mb needs a number of megabytes from 0 to 4096");
      options.maxPictureBytes = number * 1024 * 1024;
    } else if (arg == "--output") {
      if (!takeValue() || value.empty()) return fail("--output needs a folder");
      options.outputDir = value;
    } else if (arg == "--browser") {
      if (!takeValue() || value.empty()) return fail("--browser needs a program");
      options.browser = value;
    } else if (arg.starts_with("-") && arg != "-") {
      return fail("unknown option " + arg);
    } else if (!options.url.empty()) {
      return fail("only one address can be captured at a time");
    } else {
      options.url = NormaliseAddress(arg);
      if (options.url.empty()) return fail("the address is empty");
    }
  }
  if (options.url.empty() && !options.ask) return fail("no address given");
  parsed.options = std::move(options);
  return parsed;
}

std::string HelpText() {
  return R"(Usage: clipwren-capture [options] URL
       clipwren-capture --ask [options]

Loads a web page in headless Chromium (chromium-headless-shell) and writes a capture
folder for Clipwren: the whole page as Main.jpg, its text with its address in Content.txt,
its address and title in info.txt and its pictures in Images/. Then starts
clipwren "/FromIE <folder>", which asks for the scrap's name and destination.

Options:
  --width N            page width in CSS pixels (default 1280)
  --timeout S          seconds to wait for the page to load (default 30)
  --max-height N       cut pages taller than N pixels, with a note in the text
                       (default 100000; pages are also cut where Clipwren could not
                       open the picture any more, about 69,900 pixels at 1280 wide)
  --max-pictures N     keep at most N pictures (default 500)
  --max-picture-mb N   keep at most N MB of pictures (default 50)
  --output DIR         write the capture below DIR instead of
                       $XDG_CACHE_HOME/clipwren/captures
  --no-import          print the capture folder instead of starting Clipwren
  --ask                ask for the address in a window and show errors there
  --browser PROGRAM    the Chromium program (default chromium-headless-shell)
  -h, --help           show this text

Exit codes:
  0    the page was captured (and handed to Clipwren)
  1    bad command line
  2    Chromium is missing or did not start
  3    the page did not load (the network error is printed)
  4    the page did not finish loading within the time-out
  5    the capture folder could not be written
  6    the page was captured but Clipwren could not be started (the folder is kept)
  130  interrupted
Nothing is left behind when a capture fails.
)";
}

}  // namespace capture
