// Where a compile error happened and what it says; the tool prints it and exits non-zero.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace handheld::rc {

struct Location {
  std::shared_ptr<const std::string> file;  // shared: every token of a file points to it
  int line = 0;

  std::string describe() const {
    std::string name = file ? *file : std::string("<input>");
    return line > 0 ? name + ":" + std::to_string(line) : name;
  }
};

class CompileError : public std::runtime_error {
 public:
  CompileError(const Location& where, const std::string& message)
      : std::runtime_error(where.describe() + ": error: " + message) {}
};

}  // namespace handheld::rc
