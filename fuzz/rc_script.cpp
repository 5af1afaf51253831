// The resource compiler on any script text, read from memory with nothing to include or
// embed: it compiles or reports a CompileError, and never crashes or hangs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  handheld::rc::MemoryFiles files;
  files.add("/fuzz/script.rc", std::string(reinterpret_cast<const char*>(data), size));
  try {
    handheld::rc::compileScript(files, "/fuzz/script.rc", {});
  } catch (const handheld::rc::CompileError&) {
  }
  return 0;
}
