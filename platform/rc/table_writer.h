// Writes the generated C++ source: the module's resource table or its export ordinals, in
// the layout of resources/resource_table.h.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "compiled_script.h"

namespace handheld::rc {

void writeResourceTable(std::ostream& out, const std::vector<CompiledResource>& resources,
                        const std::string& scriptName);

struct Export {
  std::string name;
  uint32_t ordinal;
};

void writeExportTable(std::ostream& out, const std::vector<Export>& exports,
                      const std::string& defName);

// A depfile line: "output: dependency ..." with spaces escaped.
void writeDepfile(std::ostream& out, const std::string& output,
                  const std::vector<std::filesystem::path>& dependencies);

}  // namespace handheld::rc
