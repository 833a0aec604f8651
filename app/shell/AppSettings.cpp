#include "app/shell/AppSettings.h"

#include <algorithm>
#include <utility>

namespace shell {

AppSettings::AppSettings(platform::Registry registry) : m_registry(std::move(registry)) {}

std::string AppSettings::KeyFor(std::string_view section) {
  std::string key(kSettingsRoot);
  key += '\\';
  key += section;
  return key;
}

std::string AppSettings::GetString(std::string_view section, std::string_view name,
                                   std::string_view defaultValue) const {
  if (auto value = m_registry.GetString(KeyFor(section), name)) return *value;
  return std::string(defaultValue);
}

int AppSettings::GetInt(std::string_view section, std::string_view name, int defaultValue) const {
  // Integers are DWORDs; negative window positions come back through the two's complement.
  if (auto value = m_registry.GetDword(KeyFor(section), name)) return static_cast<int>(*value);
  return defaultValue;
}

bool AppSettings::WriteString(std::string_view section, std::string_view name,
                              std::string_view value) {
  return m_registry.SetString(KeyFor(section), name, value);
}

bool AppSettings::WriteInt(std::string_view section, std::string_view name, int value) {
  return m_registry.SetDword(KeyFor(section), name, static_cast<std::uint32_t>(value));
}

std::string AppSettings::ReadHomeDir(std::string_view documentsFolder) const {
  // An empty value names no folder (the scrapbook would land in the working folder): the
  // default save folder stands in for it, as for a missing value.
  std::string folder = GetString(kSectionSettings, kHomeDir, documentsFolder);
  if (folder.empty()) folder = documentsFolder;
  return folder;
}

bool AppSettings::WriteHomeDir(std::string_view saveFolder) {
  return WriteString(kSectionSettings, kHomeDir, saveFolder);
}

std::string DefaultEvernotePath(std::string_view programFiles) {
  if (programFiles.empty()) return {};
  return std::string(programFiles) + "/Evernote/Evernote/Evernote.exe";
}

EvernoteSettings AppSettings::ReadEvernote(std::string_view programFiles) const {
  EvernoteSettings s;
  s.exePath = GetString(kSectionSettings, kEverNoteExePath, DefaultEvernotePath(programFiles));
  s.sendText = GetInt(kSectionSettings, kSendText2EverNote, 0);
  s.fileNameType = GetInt(kSectionSettings, kFileNameType, 0);
  s.userDefinedName = GetString(kSectionSettings, kUserDefinedName, "");
  return s;
}

bool AppSettings::WriteEvernotePath(const EvernoteSettings& s) {
  const bool a = WriteString(kSectionSettings, kEverNoteExePath, s.exePath);
  const bool b = WriteInt(kSectionSettings, kSendText2EverNote, s.sendText);
  return a && b;
}

bool AppSettings::WriteEvernoteFileName(const EvernoteSettings& s) {
  const bool a = WriteInt(kSectionSettings, kFileNameType, s.fileNameType);
  const bool b = WriteString(kSectionSettings, kUserDefinedName, s.userDefinedName);
  return a && b;
}

WindowPlacement AppSettings::ReadPlacement() const {
  WindowPlacement p;
  const std::string key = KeyFor(kSectionWindow);
  const auto read = [&](std::string_view name) -> std::optional<int> {
    if (auto v = m_registry.GetDword(key, name)) return static_cast<int>(*v);
    return std::nullopt;
  };
  p.x = read(kX);
  p.y = read(kY);
  p.cx = read(kCx);
  p.cy = read(kCy);
  // A negative width would put the divider that far from the right edge instead.
  p.leftPanWidth = std::max(0, read(kLeftPanWidth).value_or(kDefaultLeftPanWidth));
  p.showCmd = read(kShowCmd);
  return p;
}

bool AppSettings::WritePlacement(const WindowPlacement& p) {
  bool ok = true;
  if (p.x) ok = WriteInt(kSectionWindow, kX, *p.x) && ok;
  if (p.y) ok = WriteInt(kSectionWindow, kY, *p.y) && ok;
  if (p.cx) ok = WriteInt(kSectionWindow, kCx, *p.cx) && ok;
  if (p.cy) ok = WriteInt(kSectionWindow, kCy, *p.cy) && ok;
  ok = WriteInt(kSectionWindow, kLeftPanWidth, p.leftPanWidth) && ok;
  if (p.showCmd) ok = WriteInt(kSectionWindow, kShowCmd, *p.showCmd) && ok;
  return ok;
}

StartShow StartShowFor(std::optional<int> showCmd) {
  switch (showCmd.value_or(kShowNormal)) {
    case kShowMaximized: return StartShow::Maximized;
    case kShowNoActivate:
    case kShowNa: return StartShow::NoActivate;
    default: return StartShow::Normal;
  }
}

int AppSettings::ReadIsExpandAll() const {
  return GetInt(kSectionTree, kIsExpandAll, kDefaultIsExpandAll);
}

bool AppSettings::WriteIsExpandAll(int value) {
  return WriteInt(kSectionTree, kIsExpandAll, value);
}

}  // namespace shell
