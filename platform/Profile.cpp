#include "platform/Profile.h"

#include <climits>

#include "platform/AtomicFile.h"
#include "platform/ProfileDocument.h"
#include "platform/TextConv.h"

namespace platform::profile {
namespace {

std::optional<std::string> ReadValue(const std::filesystem::path& file, std::string_view section,
                                     std::string_view key) {
  const auto bytes = file::ReadAll(file);
  if (!bytes) return std::nullopt;
  return ProfileDocument::Parse(*bytes).Get(section, key);
}

}  // namespace

std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view defaultValue,
                      std::size_t bufferBytes) {
  std::string value;
  if (auto found = ReadValue(file, section, key)) {
    value = std::move(*found);
  } else {
    // The host trims trailing blanks from the default as well.
    while (!defaultValue.empty() && (defaultValue.back() == ' ' || defaultValue.back() == '\t'))
      defaultValue.remove_suffix(1);
    value = defaultValue;
  }
  if (bufferBytes != 0) value.resize(text::Utf8PrefixLength(value, bufferBytes - 1));
  return value;
}

int GetInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
           int defaultValue) {
  const auto value = ReadValue(file, section, key);
  // An empty value counts as missing, as on the host.
  if (!value || value->empty()) return defaultValue;
  const long long number = text::ParseDecimalPrefix(*value);
  if (number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

bool WriteString(const std::filesystem::path& file, std::string_view section,
                 std::optional<std::string_view> key, std::optional<std::string_view> value) {
  const auto bytes = file::ReadAll(file);
  std::error_code ec;
  if (!bytes && std::filesystem::exists(file, ec)) return false;  // there but unreadable
  ProfileDocument doc = ProfileDocument::Parse(bytes.value_or(std::string()));
  if (!key || !value) {
    // Deleting from a file or section that is not there succeeds without creating anything.
    const bool changed = !key ? doc.RemoveSection(section) : doc.RemoveKey(section, *key);
    if (!changed) return true;
  } else if (!doc.Set(section, *key, *value)) {
    return false;
  }
  return file::WriteAtomically(file, doc.Serialize());
}

bool WriteStrings(const std::filesystem::path& file, std::initializer_list<Entry> entries,
                  bool flushToDisk) {
  const auto bytes = file::ReadAll(file);
  std::error_code ec;
  if (!bytes && std::filesystem::exists(file, ec)) return false;  // there but unreadable
  ProfileDocument doc = ProfileDocument::Parse(bytes.value_or(std::string()));
  for (const Entry& e : entries) {
    if (!doc.Set(e.section, e.key, e.value)) return false;
  }
  return file::WriteAtomically(file, doc.Serialize(), flushToDisk);
}

}  // namespace platform::profile
