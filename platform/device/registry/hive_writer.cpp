#include <cstdio>

#include "registry/hive_format.h"
#include "registry/key_path.h"
#include "strings/utf.h"

namespace handheld::device::registry {
namespace {

// Hex lines stay within this many columns, the continuation backslash included.
constexpr std::size_t kLineWidth = 80;

void appendQuoted(std::string& out, std::string_view text) {
  out.push_back('"');
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
}

// The text of REG_SZ data that can be written as a string and read back to the same bytes.
std::optional<std::string> writableString(std::span<const uint8_t> data) {
  if (data.size() < sizeof(char16_t) || data.size() % sizeof(char16_t) != 0) return std::nullopt;
  std::u16string text;
  for (std::size_t i = 0; i + sizeof(char16_t) < data.size(); i += sizeof(char16_t)) {
    const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit < 0x20) return std::nullopt;  // also an early terminator
    text.push_back(unit);
  }
  if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0) return std::nullopt;
  return strings::toUtf8Strict(text);
}

void appendHex(std::string& out, std::size_t column, std::span<const uint8_t> data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < data.size(); ++i) {
    const bool last = i + 1 == data.size();
    const std::size_t width = last ? 2 : 3;
    if (column + width >= kLineWidth) {
      out += "\\\n  ";
      column = 2;
    }
    out.push_back(kDigits[data[i] >> 4]);
    out.push_back(kDigits[data[i] & 0xF]);
    if (!last) out.push_back(',');
    column += width;
  }
}

void appendValue(std::string& out, const RegistryValue& value) {
  const std::size_t lineStart = out.size();
  if (value.name.empty()) {
    out.push_back('@');
  } else {
    appendQuoted(out, strings::toUtf8(value.name));
  }
  out.push_back('=');

  if (value.type == REG_SZ) {
    if (auto text = writableString(value.data)) {
      appendQuoted(out, *text);
      out.push_back('\n');
      return;
    }
  }
  if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
    const DWORD number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                         (static_cast<DWORD>(value.data[3]) << 24);
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x\n", number);
    out += digits;
    return;
  }
  if (value.type == REG_BINARY) {
    out += "hex:";
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    out += prefix;
  }
  appendHex(out, out.size() - lineStart, value.data);
  out.push_back('\n');
}

void appendKey(std::string& out, std::string& path, const RegistryKey& key, bool isRoot) {
  if (!isRoot || !key.values().empty()) {
    out += "\n[" + path + "]\n";
    for (const RegistryValue& value : key.values()) appendValue(out, value);
  }
  for (const auto& subkey : key.subkeys()) {
    const std::size_t mark = path.size();
    path += '\\';
    path += strings::toUtf8(subkey->name());
    appendKey(out, path, *subkey, false);
    path.resize(mark);
  }
}

void appendEnd(std::string& out) {
  out += '\n';
  out += kHiveEndMarker;
  out += '\n';
}

}  // namespace

std::string writeHive(const RegistryStore& store) {
  std::string out(kHiveHeader);
  out.push_back('\n');
  for (Root root : kAllRoots) {
    std::string path(rootName(root));
    appendKey(out, path, store.rootKey(root), true);
  }
  appendEnd(out);
  return out;
}

HiveExport exportKey(const RegistryStore& store, Root root, std::u16string_view path) {
  const SplitKeyPath split = splitKeyPath(path, store.limits());
  if (split.status != ERROR_SUCCESS) return {split.status};
  const RegistryKey* key = &store.rootKey(root);
  std::string keyPath(rootName(root));
  for (std::u16string_view component : split.components) {
    key = key->findSubkey(component);
    if (!key) return {ERROR_FILE_NOT_FOUND};
    keyPath += '\\';
    keyPath += strings::toUtf8(key->name());
  }
  HiveExport result{ERROR_SUCCESS, std::string(kHiveHeader) + "\n"};
  appendKey(result.text, keyPath, *key, split.components.empty());
  appendEnd(result.text);
  return result;
}

}  // namespace handheld::device::registry
