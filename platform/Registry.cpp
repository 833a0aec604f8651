#include "platform/Registry.h"

#include <cstdlib>

#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/RegistryHive.h"
#include "platform/TextConv.h"

namespace platform {
namespace {

std::filesystem::path EnvPath(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path ConfigHome() {
  if (auto p = EnvPath("XDG_CONFIG_HOME"); !p.empty()) return p;
  return EnvPath("HOME") / ".config";
}

std::filesystem::path DataHome() {
  if (auto p = EnvPath("XDG_DATA_HOME"); !p.empty()) return p;
  return EnvPath("HOME") / ".local" / "share";
}

RegistryHive Load(const std::filesystem::path& file, const std::string& rootName) {
  const auto bytes = file::ReadAll(file);
  return RegistryHive::Parse(bytes.value_or(std::string()), rootName);
}

// A copy of the hive read under the shared lock, so a writer's rename never races the read.
RegistryHive Snapshot(const std::filesystem::path& file, const std::string& rootName) {
  FileLock lock(file, FileLock::Mode::Shared);
  return Load(file, rootName);
}

// Runs change on the hive under the exclusive lock and writes it back when change says so.
// The result of change is returned unless writing fails (access denied).
template <typename Change>
long Modify(const std::filesystem::path& file, const std::string& rootName, Change change) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  FileLock lock(file, FileLock::Mode::Exclusive);
  if (!lock.locked()) return kRegAccessDenied;
  RegistryHive hive = Load(file, rootName);
  bool write = false;
  const long result = change(hive, write);
  if (write && !file::WriteAtomically(file, hive.Serialize())) return kRegAccessDenied;
  return result;
}

}  // namespace

std::filesystem::path Registry::HiveFile(Hive hive) {
  if (hive == Hive::LocalMachine) return MachineRoot() / "HKLM.reg";
  return ConfigHome() / "clipwren" / "HKCU.reg";
}

std::filesystem::path Registry::MachineRoot() {
  if (auto p = EnvPath("CLIPWREN_MACHINE_ROOT"); !p.empty()) return p;
  return DataHome() / "clipwren" / "machine";
}

Registry::Registry(Hive hive)
    : m_file(HiveFile(hive)),
      m_rootName(hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") {}

Registry::Registry(std::filesystem::path file) : m_file(std::move(file)) {
  const bool machine = text::AsciiLower(m_file.filename().string()).find("hklm") != std::string::npos;
  m_rootName = machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}


bool Registry::KeyExists(std::string_view key) const {
  const RegistryHive hive = Snapshot(m_file, m_rootName);
  return hive.Find(key) != nullptr;
}

bool Registry::CreateKey(std::string_view key) {
  return Modify(m_file, m_rootName, [&](RegistryHive& hive, bool& write) -> long {
           if (hive.Find(key)) return kRegSuccess;
           write = hive.Create(key) != nullptr;
           return write ? kRegSuccess : kRegAccessDenied;
         }) == kRegSuccess;
}

bool Registry::DeleteKey(std::string_view key) {
  return Modify(m_file, m_rootName, [&](RegistryHive& hive, bool& write) -> long {
           write = hive.Remove(key);
           return write ? kRegSuccess : kRegFileNotFound;
         }) == kRegSuccess;
}

std::optional<std::string> Registry::GetString(std::string_view key, std::string_view name) const {
  const RegistryHive hive = Snapshot(m_file, m_rootName);
  const auto* k = hive.Find(key);
  const auto* v = k ? RegistryHive::FindValue(*k, name) : nullptr;
  if (const auto* s = v ? std::get_if<std::string>(v) : nullptr) return *s;
  return std::nullopt;
}

std::optional<std::uint32_t> Registry::GetDword(std::string_view key, std::string_view name) const {
  const RegistryHive hive = Snapshot(m_file, m_rootName);
  const auto* k = hive.Find(key);
  const auto* v = k ? RegistryHive::FindValue(*k, name) : nullptr;
  if (const auto* d = v ? std::get_if<std::uint32_t>(v) : nullptr) return *d;
  return std::nullopt;
}

bool Registry::SetString(std::string_view key, std::string_view name, std::string_view value) {
  return Modify(m_file, m_rootName, [&](RegistryHive& hive, bool& write) -> long {
           auto* k = hive.Create(key);
           if (!k) return kRegAccessDenied;
           RegistryHive::SetValue(*k, name, std::string(value));
           write = true;
           return kRegSuccess;
         }) == kRegSuccess;
}

bool Registry::SetDword(std::string_view key, std::string_view name, std::uint32_t value) {
  return Modify(m_file, m_rootName, [&](RegistryHive& hive, bool& write) -> long {
           auto* k = hive.Create(key);
           if (!k) return kRegAccessDenied;
           RegistryHive::SetValue(*k, name, value);
           write = true;
           return kRegSuccess;
         }) == kRegSuccess;
}

bool Registry::DeleteValue(std::string_view key, std::string_view name) {
  return Modify(m_file, m_rootName, [&](RegistryHive& hive, bool& write) -> long {
           const auto* found = hive.Find(key);
           if (!found) return kRegFileNotFound;
           write = RegistryHive::RemoveValue(const_cast<RegistryHive::Key&>(*found), name);
           return write ? kRegSuccess : kRegFileNotFound;
         }) == kRegSuccess;
}

std::vector<std::string> Registry::SubKeys(std::string_view key) const {
  const RegistryHive hive = Snapshot(m_file, m_rootName);
  std::vector<std::string> names;
  if (const auto* k = hive.Find(key)) {
    for (const auto& child : k->children) names.push_back(child->name);
  }
  return names;
}

long Registry::EnumKey(std::string_view key, std::size_t index, std::size_t nameBufferBytes,
                       std::string& name) const {
  const RegistryHive hive = Snapshot(m_file, m_rootName);
  name.clear();
  const auto* k = hive.Find(key);
  if (!k) return kRegFileNotFound;
  if (index >= k->children.size()) return kRegNoMoreItems;
  const std::string& found = k->children[index]->name;
  if (found.size() + 1 > nameBufferBytes) return kRegMoreData;
  name = found;
  return kRegSuccess;
}

}  // namespace platform
