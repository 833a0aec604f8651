#include "pdfprinter/RelayProtocol.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/PrintAdmin.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/TextConv.h"

extern char** environ;

namespace pdfprinter {

namespace fs = std::filesystem;
namespace profile = platform::profile;

namespace {

constexpr const char* kMonitorName = "Zarbo PDF Port Monitor";
constexpr std::size_t kSectionLimit = 103;
constexpr std::size_t kFieldLimit = 255;
constexpr const char* kPerJobKeys[] = {"PathName", "Preview", "Canceled", "UserName",
                                       "RequestWritePrivateProfile"};

std::string JobValue(const RelayRequest& r, const char* name) {
  return profile::GetString(r.ini, r.section, r.jobKey + "_" + name, "");
}

bool Executable(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec) && access(p.c_str(), X_OK) == 0;
}

}  // namespace

std::string SectionFor(const std::string& user) {
  std::string s;
  for (char c : user) {
    // Brackets and line breaks would end the section header.
    if (c != '[' && c != ']' && c != '\n' && c != '\r') s += c;
  }
  if (s.empty()) return "ZarboPDF";
  return s.substr(0, platform::text::Utf8PrefixLength(s, kSectionLimit));
}

std::string ProposedName(const std::string& title) {
  std::string name;
  for (unsigned char c : title) {
    if (c < 0x20 || c == 0x7f) {
      name += ' ';
    } else if (std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) !=
               std::string_view::npos) {
      name += '_';
    } else {
      name += static_cast<char>(c);
    }
  }
  const auto first = name.find_first_not_of(' ');
  name = first == std::string::npos ? std::string() : name.substr(first);
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  if (name.empty()) name = "Document";
  name = name.substr(0, platform::text::Utf8PrefixLength(name, kFieldLimit - 4));
  return name + ".pdf";
}

std::string FreshJobKey(const fs::path& ini, const std::string& section, std::uint32_t jobId) {
  const std::string base = "Job" + std::to_string(jobId);
  std::string key = base;
  for (int n = 2; n < 100000; ++n) {
    if (profile::GetString(ini, section, key + "_RequestWritePrivateProfile", "").empty()) {
      return key;
    }
    key = base + "_" + std::to_string(n);
  }
  return key;
}

std::string RelayArgument(const RelayRequest& r) {
  return "/? " + r.section + "\n" + r.jobKey + "\n" + r.ini.string() + "\n" + r.proposedName;
}

fs::path SharedIni() {
  platform::Registry machine(platform::Hive::LocalMachine);
  const auto value = machine.GetString(std::string(platform::print::kMonitorsKey) + "\\" +
                                           kMonitorName,
                                       kMonitorKeyIniValue);
  if (value && !value->empty()) return *value;
  return platform::Registry::HiveFile(platform::Hive::CurrentUser).parent_path() / kIniFileName;
}

std::optional<fs::path> FindRelay(const std::string& clientDir) {
  if (const char* env = std::getenv("CLIPWREN_PDFRELAY"); env && *env) {
    if (Executable(env)) return fs::path(env);
  }
  if (!clientDir.empty()) {
    const fs::path dir = clientDir;
    for (const fs::path& p : {dir / "PDFRelay", dir.parent_path() / "PDFRelay" / "PDFRelay"}) {
      if (Executable(p)) return p;
    }
  }
  if (const char* path = std::getenv("PATH"); path && *path) {
    std::string_view rest = path;
    while (!rest.empty()) {
      const auto colon = rest.find(':');
      const std::string_view dir = rest.substr(0, colon);
      rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
      if (!dir.empty() && Executable(fs::path(dir) / "PDFRelay")) return fs::path(dir) / "PDFRelay";
    }
  }
  return std::nullopt;
}

std::optional<RelayAnswer> AskRelay(const fs::path& relay, const RelayRequest& request,
                                    std::chrono::milliseconds pollInterval) {
  std::string arg0 = relay.string();
  std::string arg1 = RelayArgument(request);
  char* argv[] = {arg0.data(), arg1.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, arg0.c_str(), nullptr, nullptr, argv, environ) != 0) return std::nullopt;

  bool relayEnded = false;
  for (;;) {
    if (JobValue(request, "RequestWritePrivateProfile") == "1") break;
    if (relayEnded) {
      // It ended without completing the answer: nothing may be written for it.
      return RelayAnswer{};
    }
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno == ECHILD)) {
      relayEnded = true;  // read the INI once more: the answer may have come just before
      continue;
    }
    std::this_thread::sleep_for(pollInterval);
  }
  RelayAnswer answer;
  answer.canceled = JobValue(request, "Canceled") == "1";
  answer.pathName = JobValue(request, "PathName");
  if (!relayEnded) {
    // The relay may still wait to open the file; it is left to finish on its own.
    int status = 0;
    waitpid(pid, &status, WNOHANG);
  }
  return answer;
}

void ForgetJob(const RelayRequest& request) {
  for (const char* name : kPerJobKeys) {
    (void)profile::WriteString(request.ini, request.section, request.jobKey + "_" + name,
                               std::nullopt);
  }
}

}  // namespace pdfprinter
