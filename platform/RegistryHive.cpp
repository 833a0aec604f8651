#include "platform/RegistryHive.h"

#include <cstdio>

#include "platform/TextConv.h"

namespace platform {
namespace {

void AppendQuoted(std::string& out, std::string_view s) {
  out += '"';
  for (const char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  out += '"';
}

// Reads a quoted string starting at s[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> ReadQuoted(std::string_view s, std::size_t& pos) {
  if (pos >= s.size() || s[pos] != '"') return std::nullopt;
  std::string out;
  for (++pos; pos < s.size(); ++pos) {
    char c = s[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\') {
      if (++pos >= s.size()) return std::nullopt;
      c = s[pos];
      if (c == 'n') c = '\n';
      else if (c == 'r') c = '\r';
    }
    out += c;
  }
  return std::nullopt;  // no closing quote
}

std::optional<std::uint32_t> ParseHex32(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (const char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  return v;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool ValidKeyName(std::string_view name) {
  return !name.empty() && name.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

RegistryHive::RegistryHive(std::string rootName) : m_rootName(std::move(rootName)) {}

std::vector<std::string_view> RegistryHive::SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const std::size_t sep = path.find('\\');
    const std::string_view part = path.substr(0, sep);
    if (!part.empty()) parts.push_back(part);
    if (sep == std::string_view::npos) break;
    path.remove_prefix(sep + 1);
  }
  return parts;
}

const RegistryHive::Key* RegistryHive::Find(std::string_view path) const {
  const Key* key = &m_root;
  for (const std::string_view part : SplitPath(path)) {
    const Key* next = nullptr;
    for (const auto& child : key->children) {
      if (text::AsciiIEquals(child->name, part)) {
        next = child.get();
        break;
      }
    }
    if (!next) return nullptr;
    key = next;
  }
  return key;
}

RegistryHive::Key* RegistryHive::Create(std::string_view path) {
  const auto parts = SplitPath(path);
  // The host's own limit; it also bounds the recursion of writing and freeing the tree.
  if (parts.size() > kMaxDepth) return nullptr;
  for (const std::string_view part : parts) {
    if (!ValidKeyName(part)) return nullptr;
  }
  Key* key = &m_root;
  for (const std::string_view part : parts) {
    Key* next = nullptr;
    for (const auto& child : key->children) {
      if (text::AsciiIEquals(child->name, part)) {
        next = child.get();
        break;
      }
    }
    if (!next) {
      key->children.push_back(std::make_unique<Key>());
      next = key->children.back().get();
      next->name = part;
    }
    key = next;
  }
  return key;
}

bool RegistryHive::Remove(std::string_view path) {
  auto parts = SplitPath(path);
  if (parts.empty()) return false;
  const std::string_view last = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const auto part : parts) (parentPath += part) += '\\';
  Key* parent = const_cast<Key*>(Find(parentPath));
  if (!parent) return false;
  for (auto it = parent->children.begin(); it != parent->children.end(); ++it) {
    if (text::AsciiIEquals((*it)->name, last)) {
      parent->children.erase(it);
      return true;
    }
  }
  return false;
}

const RegistryHive::Value* RegistryHive::FindValue(const Key& key, std::string_view name) {
  for (const auto& [n, v] : key.values) {
    if (text::AsciiIEquals(n, name)) return &v;
  }
  return nullptr;
}

void RegistryHive::SetValue(Key& key, std::string_view name, Value value) {
  for (auto& [n, v] : key.values) {
    if (text::AsciiIEquals(n, name)) {
      v = std::move(value);
      return;
    }
  }
  key.values.emplace_back(std::string(name), std::move(value));
}

bool RegistryHive::RemoveValue(Key& key, std::string_view name) {
  for (auto it = key.values.begin(); it != key.values.end(); ++it) {
    if (text::AsciiIEquals(it->first, name)) {
      key.values.erase(it);
      return true;
    }
  }
  return false;
}

RegistryHive RegistryHive::Parse(std::string_view text, std::string rootName) {
  RegistryHive hive(std::move(rootName));
  Key* current = nullptr;  // values before the first header have no key and are skipped
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    const std::string_view line = TrimBlanks(text.substr(0, nl));
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      current = nullptr;
      const std::size_t close = line.rfind(']');
      if (close == std::string_view::npos || close == 0) continue;
      std::string_view path = line.substr(1, close - 1);
      // The first component names the hive; any hive name is accepted.
      const std::size_t sep = path.find('\\');
      const std::string_view first = path.substr(0, sep);
      if (first.size() >= 5 && text::AsciiIEquals(first.substr(0, 5), "HKEY_")) {
        path.remove_prefix(sep == std::string_view::npos ? path.size() : sep + 1);
      }
      current = hive.Create(path);
      continue;
    }
    if (!current) continue;
    std::size_t pos = 0;
    std::string name;
    if (line.front() == '@') {
      pos = 1;
    } else {
      auto quoted = ReadQuoted(line, pos);
      if (!quoted) continue;
      name = std::move(*quoted);
    }
    if (pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    const std::string_view rest = line.substr(pos);
    if (rest.size() >= 6 && text::AsciiIEquals(rest.substr(0, 6), "dword:")) {
      if (const auto v = ParseHex32(rest.substr(6))) SetValue(*current, name, *v);
    } else if (auto s = ReadQuoted(line, pos); s && pos == line.size()) {
      SetValue(*current, name, std::move(*s));
    }
  }
  return hive;
}

void RegistryHive::SerializeKey(const Key& key, const std::string& path, std::string& out) const {
  out += "\n[" + path + "]\n";
  for (const auto& [name, value] : key.values) {
    if (name.empty()) out += '@';
    else AppendQuoted(out, name);
    out += '=';
    if (const auto* s = std::get_if<std::string>(&value)) {
      AppendQuoted(out, *s);
    } else {
      char hex[16];
      std::snprintf(hex, sizeof hex, "dword:%08x", std::get<std::uint32_t>(value));
      out += hex;
    }
    out += '\n';
  }
  for (const auto& child : key.children) SerializeKey(*child, path + "\\" + child->name, out);
}

std::string RegistryHive::Serialize() const {
  std::string out = "; Clipwren registry hive, UTF-8\n";
  SerializeKey(m_root, m_rootName, out);
  return out;
}

}  // namespace platform
