#include "PDFRelay/RelayProtocol.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "platform/Profile.h"

namespace pdfrelay {

namespace profile = platform::profile;

KeyWriter ProfileWriter(const RelayFields& fields) {
  return [ini = std::filesystem::path(fields.iniPath), section = fields.section](
             std::string_view key, std::string_view value) {
    return profile::WriteString(ini, section, key, value);
  };
}

std::string JobKeyName(std::string_view jobKey, std::string_view key) {
  std::string name(jobKey);
  name += '_';
  name += key;
  return name;
}

int OpenAfterSaveFlag(std::string_view stored) {
  if (stored.empty()) return 1;
  if (stored.size() == 1) return static_cast<unsigned char>(stored[0]) - '0';
  int value = 0;
  std::size_t digits = 0;
  for (char c : stored) {
    if (c < '0' || c > '9') break;
    // Capped well below overflow; any value above 1 already means "open".
    if (value < 100000000) value = value * 10 + (c - '0');
    ++digits;
  }
  return digits == 0 ? 1 : value;
}

RelaySettings ReadSettings(const RelayFields& fields) {
  const std::filesystem::path ini(fields.iniPath);
  RelaySettings settings;
  std::string folder = profile::GetString(ini, fields.section, kLastOpenFolder, "");
  if (CutToCharacters(folder, kLastOpenFolderReadLimit).size() == folder.size())
    settings.lastOpenFolder = std::move(folder);
  const std::string open = CutToCharacters(
      profile::GetString(ini, fields.section, kOpenAfterSave, ""), kOpenAfterSaveReadLimit);
  settings.openAfterSave = OpenAfterSaveFlag(open);
  return settings;
}

std::string FolderOf(std::string_view chosenPath) {
  const auto slash = chosenPath.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(chosenPath.substr(0, slash + 1));
}

void WriteCanceled(const KeyWriter& write, std::string_view jobKey) {
  (void)write(JobKeyName(jobKey, kCanceled), "1");
  (void)write(JobKeyName(jobKey, kRequestWrite), "1");
}

void WriteSaved(const KeyWriter& write, std::string_view jobKey, std::string_view chosenPath,
                int openAfterSave, std::string_view userName) {
  const std::string flag = std::to_string(openAfterSave);
  (void)write(JobKeyName(jobKey, kPathName), chosenPath);
  (void)write(JobKeyName(jobKey, kPreview), flag);
  (void)write(JobKeyName(jobKey, kCanceled), "0");
  (void)write(kOpenAfterSave, flag);
  if (!userName.empty()) (void)write(JobKeyName(jobKey, kUserName), userName);
  (void)write(kLastOpenFolder, FolderOf(chosenPath));
  (void)write(JobKeyName(jobKey, kRequestWrite), "1");
}

std::string CurrentUserName() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  if (size <= 0) size = 16384;
  std::vector<char> buffer(static_cast<std::size_t>(size));
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_name)
    return {};
  return CutToCharacters(found->pw_name, kUserNameLimit);
}

}  // namespace pdfrelay
