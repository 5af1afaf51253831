// Compiles scripts held in memory for the compiler tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "compiled_script.h"
#include "script_compiler.h"

namespace handheld::rc::test {

inline constexpr const char* kScript = "/src/app.rc";

// Files by path; the script is kScript.
inline CompiledScript compile(const std::map<std::string, std::string>& files,
                              const PreprocessorOptions& options = {}) {
  MemoryFiles memory;
  for (const auto& [path, content] : files) memory.add(path, content);
  return compileScript(memory, kScript, options);
}

inline CompiledScript compileScriptText(const std::string& script) { return compile({{kScript, script}}); }

// The compile error's message, or "" when the script compiles.
inline std::string errorOf(const std::map<std::string, std::string>& files,
                           const PreprocessorOptions& options = {}) {
  try {
    compile(files, options);
  } catch (const CompileError& error) {
    return error.what();
  }
  return "";
}
inline std::string errorOfScript(const std::string& script) { return errorOf({{kScript, script}}); }

inline const std::vector<uint8_t>* findResource(const CompiledScript& script, const ResourceId& type,
                                                const ResourceId& name) {
  for (const auto& resource : script.resources) {
    if (resource.type == type && resource.name == name) return resource.data.get();
  }
  return nullptr;
}

inline ResourceId named(const std::u16string& name) { return ResourceId{std::nullopt, name}; }

}  // namespace handheld::rc::test
