// Compiles a resource script (and what it includes and embeds) to the module's resources.
#pragma once

#include <filesystem>

#include "compiled_script.h"
#include "preprocessor.h"
#include "source_files.h"

namespace handheld::rc {

// Throws CompileError naming the file and line of the first error.
CompiledScript compileScript(SourceFiles& files, const std::filesystem::path& script,
                             const PreprocessorOptions& options);

}  // namespace handheld::rc
