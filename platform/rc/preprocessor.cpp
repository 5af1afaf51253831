#include "preprocessor.h"

#include <algorithm>
#include <optional>

#include "expression.h"

namespace handheld::rc {

namespace {

constexpr size_t kMaxIncludeDepth = 64;
// A script whose macros expand past this is hostile (each level doubling), not a script.
constexpr size_t kMaxExpandedTokens = size_t{1} << 18;

bool isResourceFile(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".rc" || extension == ".rc2" || extension == ".dlg";
}

std::vector<Token> lexAll(const std::string& text, const Location& where) {
  Lexer lexer(text, where.file);
  std::vector<Token> tokens;
  for (Token token = lexer.next(); token.kind != TokenKind::End; token = lexer.next()) {
    token.where = where;
    token.atLineStart = false;
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace

struct Preprocessor::OpenFile {
  std::filesystem::path path;
  Lexer lexer;
  bool scriptMode;
  size_t conditionalDepth;
  std::optional<Token> pushedBack;

  Token take() {
    if (pushedBack) {
      Token token = std::move(*pushedBack);
      pushedBack.reset();
      return token;
    }
    return lexer.next();
  }
};

Preprocessor::Preprocessor(SourceFiles& files, PreprocessorOptions options)
    : files_(files), options_(std::move(options)) {
  auto commandLine = std::make_shared<const std::string>("<command line>");
  auto predefine = [&](const std::string& name, const std::string& value) {
    Location where{commandLine, 0};
    macros_[name] = Macro{lexAll(value, where), false,
                          std::make_shared<const MacroOrigin>(MacroOrigin{name, where})};
  };
  predefine("RC_INVOKED", "1");
  predefine("HANDHELD_RC", "1");
  for (const auto& [name, value] : options_.defines) predefine(name, value);
}

Preprocessor::~Preprocessor() = default;

void Preprocessor::open(const std::filesystem::path& script) {
  auto content = files_.read(script);
  Location where{std::make_shared<const std::string>(script.string()), 0};
  if (!content) throw CompileError(where, "cannot read the script");
  scriptDir_ = script.parent_path();
  pushFile(script, std::move(*content), where);
}

void Preprocessor::pushFile(const std::filesystem::path& path, std::string content,
                            const Location& from) {
  if (stack_.size() >= kMaxIncludeDepth) throw CompileError(from, "#include nested too deeply");
  dependencies_.push_back(path);
  auto name = std::make_shared<const std::string>(path.string());
  stack_.push_back(std::unique_ptr<OpenFile>(new OpenFile{
      path, Lexer(std::move(content), name), stack_.empty() || isResourceFile(path),
      conditionals_.size(), std::nullopt}));
}

bool Preprocessor::parentActive() const {
  return conditionals_.size() < 2 || conditionals_[conditionals_.size() - 2].active;
}

Token Preprocessor::rawNext() {
  while (!stack_.empty()) {
    OpenFile& file = *stack_.back();
    Token token = file.take();
    if (token.kind == TokenKind::End) {
      if (conditionals_.size() > file.conditionalDepth) {
        throw CompileError(conditionals_.back().where, "#if without #endif");
      }
      lastLocation_ = token.where;
      stack_.pop_back();
      continue;
    }
    if (token.atLineStart && token.isPunct("#")) {
      directive(file, token);
      continue;
    }
    if (active() && file.scriptMode) return token;
  }
  Token end;
  end.kind = TokenKind::End;
  end.where = lastLocation_;
  return end;
}

std::vector<Token> Preprocessor::readDirectiveLine(OpenFile& file) {
  std::vector<Token> line;
  while (true) {
    Token token = file.take();
    if (token.kind == TokenKind::End || token.atLineStart) {
      file.pushedBack = std::move(token);
      return line;
    }
    line.push_back(std::move(token));
  }
}

void Preprocessor::directive(OpenFile& file, const Token& hash) {
  std::vector<Token> line = readDirectiveLine(file);
  if (line.empty()) return;  // the null directive
  const Token& name = line.front();
  const std::string& word = name.text;
  if (!active()) {
    // Only the nesting of conditionals matters in a skipped region.
    if (word == "if" || word == "ifdef" || word == "ifndef") {
      conditionals_.push_back(Conditional{false, true, false, name.where});
      return;
    }
    if (word != "elif" && word != "else" && word != "endif") return;
  }
  if (word == "ifdef" || word == "ifndef") {
    if (line.size() < 2 || line[1].kind != TokenKind::Identifier) {
      throw name.error("#" + word + " needs a macro name");
    }
    bool defined = macros_.count(line[1].text) != 0;
    bool taken = word == "ifdef" ? defined : !defined;
    conditionals_.push_back(Conditional{taken, taken, false, name.where});
  } else if (word == "if") {
    bool taken = evaluateCondition(name, line);
    conditionals_.push_back(Conditional{taken, taken, false, name.where});
  } else if (word == "elif" || word == "else") {
    if (conditionals_.size() <= file.conditionalDepth) throw name.error("#" + word + " without #if");
    Conditional& top = conditionals_.back();
    if (top.sawElse) throw name.error("#" + word + " after #else");
    bool taken = false;
    if (parentActive() && !top.anyTaken) taken = word == "else" || evaluateCondition(name, line);
    top.active = taken;
    top.anyTaken = top.anyTaken || taken;
    top.sawElse = word == "else";
  } else if (word == "endif") {
    if (conditionals_.size() <= file.conditionalDepth) throw name.error("#endif without #if");
    conditionals_.pop_back();
  } else if (word == "include") {
    include(name, line);
  } else if (word == "define") {
    define(line, file.scriptMode);
  } else if (word == "undef") {
    if (line.size() >= 2) macros_.erase(line[1].text);
  } else if (word == "pragma") {
    if (line.size() >= 2 && line[1].text == "once") onceFiles_.insert(file.path.lexically_normal());
  } else if (word == "error") {
    std::string message;
    for (size_t i = 1; i < line.size(); ++i) message += (i > 1 ? " " : "") + line[i].text;
    throw name.error("#error " + message);
  } else if (file.scriptMode && word != "line" && word != "warning" && word != "ident") {
    throw hash.error("unknown directive #" + word);
  }
}

void Preprocessor::include(const Token& directiveName, const std::vector<Token>& line) {
  OpenFile& from = *stack_.back();
  std::string fileName;
  bool quoted = false;
  if (line.size() >= 2 && line[1].kind == TokenKind::String) {
    fileName = line[1].text;
    quoted = true;
  } else if (line.size() >= 2 && line[1].isPunct("<")) {
    size_t i = 2;
    for (; i < line.size() && !line[i].isPunct(">"); ++i) fileName += line[i].text;
    if (i == line.size()) fileName.clear();
  }
  if (fileName.empty()) {
    if (!from.scriptMode) return;  // a form only a C++ compiler understands
    throw directiveName.error("#include needs \"file\" or <file>");
  }
  std::replace(fileName.begin(), fileName.end(), '\\', '/');

  std::vector<std::filesystem::path> candidates;
  if (quoted) candidates.push_back(from.path.parent_path() / fileName);
  for (const auto& dir : options_.includeDirs) candidates.push_back(dir / fileName);
  for (const auto& candidate : candidates) {
    std::filesystem::path path = candidate.lexically_normal();
    if (onceFiles_.count(path)) return;
    auto content = files_.read(path);
    if (!content) continue;
    for (const auto& open : stack_) {
      if (open->path.lexically_normal() == path) {
        std::string chain;
        for (const auto& link : stack_) chain += link->path.filename().string() + " -> ";
        throw directiveName.error("#include loop: " + chain + path.filename().string());
      }
    }
    pushFile(path, std::move(*content), directiveName.where);
    return;
  }
  // A system header of the C++ compiler, included by a platform header: nothing for us.
  if (!quoted && !from.scriptMode) return;
  throw directiveName.error("cannot find include file '" + fileName + "'");
}

void Preprocessor::define(const std::vector<Token>& line, bool scriptMode) {
  if (line.size() < 2 || line[1].kind != TokenKind::Identifier) {
    if (scriptMode) throw line.front().error("#define needs a macro name");
    return;
  }
  const Token& name = line[1];
  Macro macro;
  macro.origin = std::make_shared<const MacroOrigin>(MacroOrigin{name.text, name.where});
  size_t bodyStart = 2;
  if (line.size() > 2 && line[2].isPunct("(") && !line[2].spaceBefore) {
    macro.functionLike = true;
    while (bodyStart < line.size() && !line[bodyStart].isPunct(")")) ++bodyStart;
    ++bodyStart;
  }
  for (size_t i = bodyStart; i < line.size(); ++i) macro.body.push_back(line[i]);
  macros_[name.text] = std::move(macro);
}

bool Preprocessor::expandInto(const Token& token, std::deque<Token>& queue,
                              const std::function<const Token&()>& peekFollowing) {
  if (token.kind != TokenKind::Identifier) return false;
  auto it = macros_.find(token.text);
  if (it == macros_.end()) return false;
  if (token.hidden && std::find(token.hidden->begin(), token.hidden->end(), token.text) !=
                          token.hidden->end()) {
    return false;
  }
  const Macro& macro = it->second;
  if (macro.functionLike) {
    if (peekFollowing().isPunct("(")) {
      throw token.error("macro " + token.text + " (defined at " +
                        macro.origin->definedAt.describe() +
                        ") takes arguments, which a resource script cannot use");
    }
    return false;
  }
  expandedTokens_ += macro.body.size() + 1;
  if (expandedTokens_ > kMaxExpandedTokens) throw token.error("macro expansion too large");
  auto hidden = std::make_shared<std::vector<std::string>>(
      token.hidden ? *token.hidden : std::vector<std::string>{});
  hidden->push_back(token.text);
  for (auto body = macro.body.rbegin(); body != macro.body.rend(); ++body) {
    Token expanded = *body;
    expanded.where = token.where;
    expanded.atLineStart = false;
    expanded.macro = token.macro ? token.macro : macro.origin;
    expanded.hidden = hidden;
    queue.push_front(std::move(expanded));
  }
  return true;
}

Token Preprocessor::next() {
  while (true) {
    Token token;
    if (!pending_.empty()) {
      token = std::move(pending_.front());
      pending_.pop_front();
    } else {
      token = rawNext();
    }
    auto peekFollowing = [this]() -> const Token& {
      if (pending_.empty()) pending_.push_back(rawNext());
      return pending_.front();
    };
    if (!expandInto(token, pending_, peekFollowing)) return token;
  }
}

bool Preprocessor::evaluateCondition(const Token& directiveName, const std::vector<Token>& line) {
  // `defined NAME` and `defined(NAME)` are answered before any expansion.
  std::deque<Token> queue;
  for (size_t i = 1; i < line.size(); ++i) {
    if (line[i].kind == TokenKind::Identifier && line[i].text == "defined") {
      bool parenthesised = i + 1 < line.size() && line[i + 1].isPunct("(");
      size_t nameIndex = i + (parenthesised ? 2 : 1);
      if (nameIndex >= line.size() || line[nameIndex].kind != TokenKind::Identifier ||
          (parenthesised && (nameIndex + 1 >= line.size() || !line[nameIndex + 1].isPunct(")")))) {
        throw line[i].error("'defined' needs a macro name");
      }
      Token value = line[i];
      value.kind = TokenKind::Number;
      value.number = macros_.count(line[nameIndex].text) ? 1 : 0;
      queue.push_back(std::move(value));
      i = nameIndex + (parenthesised ? 1 : 0);
    } else {
      queue.push_back(line[i]);
    }
  }
  std::vector<Token> expanded;
  Token end;
  end.kind = TokenKind::End;
  end.where = directiveName.where;
  while (!queue.empty()) {
    Token token = std::move(queue.front());
    queue.pop_front();
    auto peekFollowing = [&]() -> const Token& { return queue.empty() ? end : queue.front(); };
    if (!expandInto(token, queue, peekFollowing)) expanded.push_back(std::move(token));
  }
  if (expanded.empty()) throw directiveName.error("#" + directiveName.text + " needs an expression");
  TokenVectorStream stream(std::move(expanded), end);
  ExpressionParser parser(stream, UnknownNames::AreZero);
  Value value = parser.parse();
  if (stream.peek().kind != TokenKind::End) {
    throw stream.peek().error("unexpected '" + stream.peek().text + "' in #" + directiveName.text);
  }
  return value.value != 0;
}

std::string Preprocessor::readEmbeddedFile(const Token& fileNameToken, const std::string& fileName) {
  std::string name = fileName;
  std::replace(name.begin(), name.end(), '\\', '/');
  std::vector<std::filesystem::path> candidates;
  if (fileNameToken.where.file) {
    candidates.push_back(std::filesystem::path(*fileNameToken.where.file).parent_path() / name);
  }
  candidates.push_back(scriptDir_ / name);
  for (const auto& dir : options_.includeDirs) candidates.push_back(dir / name);
  for (const auto& candidate : candidates) {
    std::filesystem::path path = candidate.lexically_normal();
    if (auto content = files_.read(path)) {
      dependencies_.push_back(path);
      return std::move(*content);
    }
  }
  throw fileNameToken.error("cannot find file '" + fileName + "'");
}

}  // namespace handheld::rc
