// The C-style preprocessor in front of the script parser: #include, #define, #undef,
// #if/#ifdef/#ifndef/#elif/#else/#endif, #pragma once, #error; object-like macros expand,
// a function-like macro is an error only where a statement uses it.
//
// Resource files (.rc, .rc2, .dlg) yield their tokens; any other included file (headers)
// yields nothing but its directives, so the platform headers' C++ declarations are skipped.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "lexer.h"
#include "source_files.h"

namespace handheld::rc {

struct PreprocessorOptions {
  std::vector<std::filesystem::path> includeDirs;
  std::vector<std::pair<std::string, std::string>> defines;  // -D NAME[=value]
};

class Preprocessor {
 public:
  Preprocessor(SourceFiles& files, PreprocessorOptions options);
  ~Preprocessor();
  Preprocessor(const Preprocessor&) = delete;
  Preprocessor& operator=(const Preprocessor&) = delete;

  void open(const std::filesystem::path& script);

  // The next macro-expanded token of the resource files; End at the end of the script.
  Token next();

  // The bytes of a file a statement embeds: looked up beside the file holding the statement,
  // beside the script, then in the include folders. Becomes a dependency.
  std::string readEmbeddedFile(const Token& fileNameToken, const std::string& fileName);

  // Every file read: the script, its headers, embedded files (for the depfile).
  const std::vector<std::filesystem::path>& dependencies() const { return dependencies_; }

 private:
  struct Macro {
    std::vector<Token> body;
    bool functionLike = false;
    std::shared_ptr<const MacroOrigin> origin;
  };
  struct Conditional {
    bool active;      // this branch is being compiled
    bool anyTaken;    // some branch of this #if was (or must never be) taken
    bool sawElse;
    Location where;
  };
  struct OpenFile;

  Token rawNext();
  std::vector<Token> readDirectiveLine(OpenFile& file);
  void directive(OpenFile& file, const Token& hash);
  void include(const Token& directiveName, const std::vector<Token>& line);
  void define(const std::vector<Token>& line, bool scriptMode);
  bool evaluateCondition(const Token& directiveName, const std::vector<Token>& line);
  bool active() const { return conditionals_.empty() || conditionals_.back().active; }
  bool parentActive() const;
  void pushFile(const std::filesystem::path& path, std::string content, const Location& from);

  // Pushes the macro's body to the front of the queue; false when the token expands to
  // nothing further (not a macro, hidden, or a function-like macro without arguments).
  bool expandInto(const Token& token, std::deque<Token>& queue,
                  const std::function<const Token&()>& peekFollowing);

  SourceFiles& files_;
  PreprocessorOptions options_;
  std::filesystem::path scriptDir_;
  std::vector<std::unique_ptr<OpenFile>> stack_;
  std::vector<Conditional> conditionals_;
  std::map<std::string, Macro> macros_;
  std::set<std::filesystem::path> onceFiles_;
  std::vector<std::filesystem::path> dependencies_;
  std::deque<Token> pending_;
  Location lastLocation_;
  size_t expandedTokens_ = 0;
};

}  // namespace handheld::rc
