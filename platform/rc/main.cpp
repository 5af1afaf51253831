// handheld-rc: the resource compiler, a host build tool.
//   handheld-rc [-I dir]... [-D NAME[=value]]... [--depfile file] -o out.cpp script.rc
//   handheld-rc --exports file.def -o out.cpp [--link-options file]
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "def_file.h"
#include "script_compiler.h"
#include "table_writer.h"

namespace {

using namespace handheld::rc;

struct Arguments {
  PreprocessorOptions options;
  std::string output;
  std::string depfile;
  std::string input;
  std::string defFile;
  std::string linkOptions;
};

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "handheld-rc: " << problem << "\n"
            << "usage: handheld-rc [-I dir]... [-D NAME[=value]]... [--depfile file] -o out.cpp "
               "script.rc\n"
            << "       handheld-rc --exports file.def -o out.cpp [--link-options file]\n";
  std::exit(2);
}

Arguments parseArguments(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const std::string& option) -> std::string {
      if (arg.size() > option.size() && arg.compare(0, option.size(), option) == 0 && option.size() == 2) {
        return arg.substr(2);  // -Idir
      }
      if (i + 1 >= argc) usage(option + " needs a value");
      return argv[++i];
    };
    if (arg.compare(0, 2, "-I") == 0) {
      arguments.options.includeDirs.emplace_back(value("-I"));
    } else if (arg.compare(0, 2, "-D") == 0) {
      std::string definition = value("-D");
      auto equals = definition.find('=');
      arguments.options.defines.emplace_back(
          definition.substr(0, equals),
          equals == std::string::npos ? "1" : definition.substr(equals + 1));
    } else if (arg == "-o") {
      arguments.output = value("-o");
    } else if (arg == "--depfile") {
      arguments.depfile = value("--depfile");
    } else if (arg == "--exports") {
      arguments.defFile = value("--exports");
    } else if (arg == "--link-options") {
      arguments.linkOptions = value("--link-options");
    } else if (!arg.empty() && arg[0] == '-') {
      usage("unknown option " + arg);
    } else if (arguments.input.empty()) {
      arguments.input = arg;
    } else {
      usage("more than one script");
    }
  }
  if (arguments.output.empty()) usage("no output file (-o)");
  if (arguments.defFile.empty() == arguments.input.empty()) usage("give either a script or --exports");
  return arguments;
}

// Written only once everything compiled, so a failed run leaves no half-written output.
void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

void compileResources(const Arguments& arguments) {
  DiskFiles files;
  CompiledScript script = compileScript(files, arguments.input, arguments.options);
  std::ostringstream table;
  writeResourceTable(table, script.resources, std::filesystem::path(arguments.input).filename().string());
  writeFile(arguments.output, table.str());
  if (!arguments.depfile.empty()) {
    std::ostringstream depfile;
    writeDepfile(depfile, arguments.output, script.dependencies);
    writeFile(arguments.depfile, depfile.str());
  }
}

void compileExports(const Arguments& arguments) {
  DiskFiles files;
  auto text = files.read(arguments.defFile);
  if (!text) throw std::runtime_error(arguments.defFile + ": error: cannot read the file");
  std::vector<ExportDefinition> definitions = parseDefFile(*text, arguments.defFile);
  std::vector<Export> ordinals;
  std::string linkOptions;
  for (const auto& definition : definitions) {
    if (definition.ordinal) ordinals.push_back(Export{definition.name, *definition.ordinal});
    // The link fails when an exported function is missing, not the first GetProcAddressW.
    linkOptions += "-Wl,--require-defined=" + definition.name + "\n";
  }
  std::ostringstream table;
  writeExportTable(table, ordinals, std::filesystem::path(arguments.defFile).filename().string());
  writeFile(arguments.output, table.str());
  if (!arguments.linkOptions.empty()) writeFile(arguments.linkOptions, linkOptions);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments = parseArguments(argc, argv);
  try {
    if (arguments.defFile.empty()) {
      compileResources(arguments);
    } else {
      compileExports(arguments);
    }
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}
