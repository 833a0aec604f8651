#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Result codes with the host's numbering, so callers can pass them on unchanged.
enum RegResult : long {
  kRegSuccess = 0,
  kRegFileNotFound = 2,     // key or value does not exist
  kRegAccessDenied = 5,     // the hive file cannot be written
  kRegMoreData = 234,       // a name did not fit the caller's buffer
  kRegNoMoreItems = 259,    // enumeration index past the last subkey
};

enum class Hive { CurrentUser, LocalMachine };

// A registry hive kept as a .reg-style text file. Keys are paths joined with "\",
// compared without regard to ASCII letter case; names keep the case they were written with.
// Every call reads the file under an advisory lock; every change rewrites it through a
// temporary file and a rename, so concurrent processes never see half a file.
class Registry {
 public:
  // The hive file of the current user ($XDG_CONFIG_HOME/clipwren/HKCU.reg) or of the
  // machine (<machine root>/HKLM.reg).
  static std::filesystem::path HiveFile(Hive hive);
  // The machine root: $CLIPWREN_MACHINE_ROOT, else $XDG_DATA_HOME/clipwren/machine.
  static std::filesystem::path MachineRoot();

  explicit Registry(Hive hive);
  explicit Registry(std::filesystem::path file);

  [[nodiscard]] bool KeyExists(std::string_view key) const;
  // Creates the key and its missing parents.
  [[nodiscard]] bool CreateKey(std::string_view key);
  // Deletes the key with all its subkeys and values.
  [[nodiscard]] bool DeleteKey(std::string_view key);

  [[nodiscard]] std::optional<std::string> GetString(std::string_view key,
                                                     std::string_view name) const;
  [[nodiscard]] std::optional<std::uint32_t> GetDword(std::string_view key,
                                                      std::string_view name) const;
  // Writing a value creates its key and parents.
  [[nodiscard]] bool SetString(std::string_view key, std::string_view name, std::string_view value);
  [[nodiscard]] bool SetDword(std::string_view key, std::string_view name, std::uint32_t value);
  [[nodiscard]] bool DeleteValue(std::string_view key, std::string_view name);

  // Names of the direct subkeys of key, in stored (creation) order.
  [[nodiscard]] std::vector<std::string> SubKeys(std::string_view key) const;
  // Host-style enumeration: the index-th subkey name of key. nameBufferBytes counts the
  // terminating zero, so a name of nameBufferBytes bytes or more gives kRegMoreData.
  // kRegFileNotFound when key does not exist, kRegNoMoreItems past the end.
  [[nodiscard]] long EnumKey(std::string_view key, std::size_t index, std::size_t nameBufferBytes,
                             std::string& name) const;

  const std::filesystem::path& File() const { return m_file; }

 private:
  std::filesystem::path m_file;
  std::string m_rootName;  // first component of the key headers in the file
};

}  // namespace platform
