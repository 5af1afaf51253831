#include "def_file.h"

#include <cctype>
#include <set>
#include <sstream>

namespace handheld::rc {

namespace {

bool isIdentifier(const std::string& word) {
  if (word.empty() || std::isdigit(static_cast<unsigned char>(word[0]))) return false;
  for (char c : word) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

std::string upper(std::string word) {
  for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return word;
}

}  // namespace

std::vector<ExportDefinition> parseDefFile(const std::string& text, const std::string& fileName) {
  auto file = std::make_shared<const std::string>(fileName);
  std::vector<ExportDefinition> exports;
  std::set<std::string> names;
  std::set<uint32_t> ordinals;
  bool inExports = false;
  std::istringstream lines(text);
  std::string line;
  for (int lineNumber = 1; std::getline(lines, line); ++lineNumber) {
    Location where{file, lineNumber};
    if (auto comment = line.find(';'); comment != std::string::npos) line.erase(comment);
    std::istringstream words(line);
    std::vector<std::string> parts;
    for (std::string word; words >> word;) parts.push_back(word);
    if (parts.empty()) continue;
    std::string keyword = upper(parts[0]);
    if (keyword == "EXPORTS") {
      inExports = true;
      parts.erase(parts.begin());
      if (parts.empty()) continue;
    } else if (keyword == "LIBRARY" || keyword == "NAME" || keyword == "DESCRIPTION" ||
               keyword == "VERSION") {
      inExports = false;
      continue;
    }
    if (!inExports) throw CompileError(where, "unknown statement '" + parts[0] + "'");

    ExportDefinition definition;
    definition.name = parts[0];
    if (definition.name.find('=') != std::string::npos) {
      throw CompileError(where, "export aliases (Name=Internal) are not supported");
    }
    if (!isIdentifier(definition.name)) {
      throw CompileError(where, "'" + definition.name + "' is not a function name");
    }
    for (size_t i = 1; i < parts.size(); ++i) {
      std::string word = upper(parts[i]);
      if (word == "NONAME" || word == "PRIVATE" || word == "DATA" || word == "CONSTANT") continue;
      std::string digits = parts[i][0] == '@' ? parts[i].substr(1) : std::string();
      if (parts[i] == "@" && i + 1 < parts.size()) digits = parts[++i];
      if (digits.empty() || digits.size() > 5 ||
          digits.find_first_not_of("0123456789") != std::string::npos) {
        throw CompileError(where, "unexpected '" + parts[i] + "' (expected @ordinal)");
      }
      unsigned long ordinal = std::stoul(digits);
      if (ordinal == 0 || ordinal > 65535) throw CompileError(where, "ordinal out of range");
      if (!ordinals.insert(static_cast<uint32_t>(ordinal)).second) {
        throw CompileError(where, "ordinal " + digits + " is used twice");
      }
      definition.ordinal = static_cast<uint32_t>(ordinal);
    }
    if (!names.insert(definition.name).second) {
      throw CompileError(where, "'" + definition.name + "' is exported twice");
    }
    exports.push_back(std::move(definition));
  }
  return exports;
}

}  // namespace handheld::rc
