// Module definition files: the EXPORTS section's "Name [@ordinal [NONAME]] [PRIVATE] [DATA]"
// lines; ';' starts a comment; LIBRARY, NAME, DESCRIPTION, VERSION lines are accepted.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagnostics.h"

namespace handheld::rc {

struct ExportDefinition {
  std::string name;
  std::optional<uint32_t> ordinal;
};

// Throws CompileError naming the file and line.
std::vector<ExportDefinition> parseDefFile(const std::string& text, const std::string& fileName);

}  // namespace handheld::rc
