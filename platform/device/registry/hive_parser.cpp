#include <charconv>

#include "registry/hive_format.h"
#include "strings/utf.h"

namespace handheld::device::registry {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view trimLeft(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

std::string_view trim(std::string_view text) {
  text = trimLeft(text);
  return text.substr(0, text.find_last_not_of(kBlanks) + 1);
}

// 1 to 8 hex digits, the whole of `text`.
std::optional<DWORD> parseHexNumber(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  DWORD number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

std::string describeStatus(LONG status) {
  switch (status) {
    case ERROR_INVALID_PARAMETER: return "an invalid name, path or data";
    case ERROR_NOT_ENOUGH_MEMORY: return "more than the registry may hold";
    case ERROR_FILE_NOT_FOUND: return "a missing key";
    default: return "error " + std::to_string(status);
  }
}

class HiveParser {
 public:
  HiveParser(std::string_view text, RegistryStore& store) : rest_(text), store_(store) {}

  std::optional<HiveError> run() {
    if (rest_.starts_with(kUtf8Bom)) rest_.remove_prefix(kUtf8Bom.size());
    std::string_view line;
    if (!nextLine(line) || trim(line) != kHiveHeader) {
      return HiveError{1, "not a registry hive: the first line is not \"" +
                              std::string(kHiveHeader) + "\""};
    }
    bool ended = false;
    while (!error_ && nextLine(line)) {
      line = trim(line);
      if (line.empty()) continue;
      if (ended) {
        fail("text after the end marker");
      } else if (line == kHiveEndMarker) {
        ended = true;
      } else if (line.front() == ';') {
        continue;
      } else if (line.front() == '[') {
        parseKeyLine(line);
      } else if (line.front() == '"' || line.front() == '@') {
        parseValueLine(line);
      } else {
        fail("expected a [key], a value or a comment");
      }
    }
    if (!error_ && !ended) {
      error_ = HiveError{lineNumber_, "the hive ends without its end marker: it was cut short"};
    }
    return error_;
  }

 private:
  bool nextLine(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    ++lineNumber_;
    return true;
  }

  void fail(std::string reason) {
    if (!error_) error_ = HiveError{lineNumber_, std::move(reason)};
  }

  void parseKeyLine(std::string_view line) {
    if (line.size() < 2 || line.back() != ']') return fail("a key line must end with ']'");
    const std::string_view inner = line.substr(1, line.size() - 2);
    const std::size_t separator = inner.find('\\');
    const auto root = rootFromName(inner.substr(0, separator));
    if (!root) return fail("unknown root key \"" + std::string(inner.substr(0, separator)) + "\"");
    const std::string_view pathText =
        separator == std::string_view::npos ? std::string_view{} : inner.substr(separator + 1);
    auto path = strings::fromUtf8Strict(pathText);
    if (!path) return fail("the key path is not valid UTF-8");
    const CreateKeyResult created = store_.createKey(*root, *path);
    if (created.status != ERROR_SUCCESS) {
      return fail("the key could not be created: " + describeStatus(created.status));
    }
    root_ = *root;
    path_ = std::move(*path);
    haveKey_ = true;
  }

  void parseValueLine(std::string_view line) {
    if (!haveKey_) return fail("a value before any [key]");
    std::u16string name;
    if (line.front() == '@') {
      line.remove_prefix(1);
    } else if (auto quoted = readQuoted(line)) {
      name = std::move(*quoted);
    } else {
      return;
    }
    line = trimLeft(line);
    if (!line.starts_with('=')) return fail("expected '=' after the value name");
    line = trimLeft(line.substr(1));

    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
    if (line.starts_with('"')) {
      auto text = readQuoted(line);
      if (!text) return;
      if (!trim(line).empty()) return fail("text after the closing quote");
      type = REG_SZ;
      text->push_back(u'\0');
      for (char16_t unit : *text) {
        data.push_back(static_cast<uint8_t>(unit & 0xFF));
        data.push_back(static_cast<uint8_t>(unit >> 8));
      }
    } else if (line.starts_with("dword:")) {
      const auto number = parseHexNumber(trim(line.substr(6)));
      if (!number) return fail("dword: needs 1 to 8 hex digits");
      type = REG_DWORD;
      for (int shift = 0; shift < 32; shift += 8) {
        data.push_back(static_cast<uint8_t>(*number >> shift));
      }
    } else if (line.starts_with("hex:")) {
      type = REG_BINARY;
      if (!readHexBytes(line.substr(4), data)) return;
    } else if (line.starts_with("hex(")) {
      const std::size_t close = line.find("):");
      const auto number = close == std::string_view::npos
                               ? std::nullopt
                               : parseHexNumber(line.substr(4, close - 4));
      if (!number) return fail("hex(<type>): needs a type of 1 to 8 hex digits");
      type = *number;
      if (!readHexBytes(line.substr(close + 2), data)) return;
    } else {
      return fail("unknown value data: expected \"text\", dword:, hex: or hex(<type>):");
    }
    const LONG status = store_.setValue(root_, path_, name, type, data);
    if (status != ERROR_SUCCESS) {
      fail("the value could not be set: " + describeStatus(status));
    }
  }

  // A quoted string at the start of `text`; `text` moves past its closing quote.
  std::optional<std::u16string> readQuoted(std::string_view& text) {
    std::string raw;
    std::size_t i = 1;
    for (; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\') {
        if (i + 1 == text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
          fail("only \\\\ and \\\" may follow a backslash in a string");
          return std::nullopt;
        }
        ++i;
      }
      raw.push_back(text[i]);
    }
    if (i == text.size()) {
      fail("a string without its closing quote");
      return std::nullopt;
    }
    text.remove_prefix(i + 1);
    auto converted = strings::fromUtf8Strict(raw);
    if (!converted) fail("a string that is not valid UTF-8");
    return converted;
  }

  // Comma-separated bytes, continued on the following lines while a line ends with '\'.
  bool readHexBytes(std::string_view text, std::vector<uint8_t>& bytes) {
    while (true) {
      text = trim(text);
      const bool continued = text.ends_with('\\');
      if (continued) text = trim(text.substr(0, text.size() - 1));
      if (text.ends_with(',')) text.remove_suffix(1);
      while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const auto byte = parseHexNumber(trim(text.substr(0, comma)));
        if (!byte || *byte > 0xFF) {
          fail("hex data needs bytes of 1 or 2 hex digits separated by commas");
          return false;
        }
        if (bytes.size() == store_.limits().maxValueBytes) {
          fail("value data longer than " + std::to_string(bytes.size()) + " bytes");
          return false;
        }
        bytes.push_back(static_cast<uint8_t>(*byte));
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
      }
      if (!continued) return true;
      if (!nextLine(text)) {
        fail("the hive ends inside hex data");
        return false;
      }
    }
  }

  std::string_view rest_;
  RegistryStore& store_;
  std::size_t lineNumber_ = 0;
  std::optional<HiveError> error_;
  bool haveKey_ = false;
  Root root_ = Root::LocalMachine;
  std::u16string path_;
};

}  // namespace

std::optional<HiveError> parseHive(std::string_view text, RegistryStore& store) {
  return HiveParser(text, store).run();
}

}  // namespace handheld::device::registry
