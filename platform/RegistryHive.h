#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

// The in-memory tree of one registry hive and its text form:
//
//   [HKEY_CURRENT_USER\Software\タルンウィック\クリップレン帳\Settings]
//   "home_dir"="/home/a/Documents"
//   "LeftPanWidth"=dword:000000fa
//   @="the key's unnamed value"
//
// Strings are UTF-8 in double quotes with \\, \", \n and \r escaped. Keys are written
// depth first with children in creation order, so reading the file back gives the same
// enumeration order. Lines that cannot be parsed are skipped.
class RegistryHive {
 public:
  using Value = std::variant<std::string, std::uint32_t>;
  struct Key {
    std::string name;
    std::vector<std::pair<std::string, Value>> values;  // in creation order
    std::vector<std::unique_ptr<Key>> children;         // in creation order
  };

  static constexpr std::size_t kMaxDepth = 512;  // key levels below the root

  explicit RegistryHive(std::string rootName = "HKEY_CURRENT_USER");

  static RegistryHive Parse(std::string_view text, std::string rootName);
  [[nodiscard]] std::string Serialize() const;

  // Key paths are relative to the hive root, components joined with "\"; empty components
  // are ignored, so "" is the root. Names compare without regard to ASCII letter case.
  [[nodiscard]] const Key* Find(std::string_view path) const;
  // Finds or creates the key and its parents. nullptr for a name a key cannot have (empty
  // or with a line break) or a path deeper than kMaxDepth.
  Key* Create(std::string_view path);
  // Removes the key with everything below it; false when it does not exist or is the root.
  bool Remove(std::string_view path);

  static const Value* FindValue(const Key& key, std::string_view name);
  static void SetValue(Key& key, std::string_view name, Value value);
  static bool RemoveValue(Key& key, std::string_view name);

  const Key& root() const { return m_root; }

 private:
  static std::vector<std::string_view> SplitPath(std::string_view path);
  void SerializeKey(const Key& key, const std::string& path, std::string& out) const;

  std::string m_rootName;
  Key m_root;
};

}  // namespace platform
