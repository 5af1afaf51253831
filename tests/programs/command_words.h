// The words of a test program's command line, split at spaces.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline std::vector<std::u16string> words(LPCWSTR line) {
  std::vector<std::u16string> out;
  std::u16string word;
  for (; *line; ++line) {
    if (*line == u' ') {
      if (!word.empty()) out.push_back(word);
      word.clear();
    } else {
      word += *line;
    }
  }
  if (!word.empty()) out.push_back(word);
  return out;
}
