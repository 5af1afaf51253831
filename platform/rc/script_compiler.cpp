#include "script_compiler.h"

#include <map>
#include <set>
#include <string_view>

#include "byte_writer.h"
#include "resources/template_layout.h"
#include "statements.h"

namespace handheld::rc {

namespace layout = resources::layout;

namespace {

// Resource kinds of the platform this compiler does not build: refused rather than taken
// for user-defined types of the same name.
constexpr std::string_view kUnsupported[] = {"ACCELERATORS", "VERSIONINFO", "MENUEX",
                                             "MESSAGETABLE", "TOOLBAR",     "DLGINIT",
                                             "FONT",         "FONTDIR",     "TEXTINCLUDE"};

class ScriptCompiler {
 public:
  explicit ScriptCompiler(Preprocessor& preprocessor) : reader_(preprocessor) {}

  std::vector<CompiledResource> compile() {
    while (reader_.peek().kind != TokenKind::End) statement();
    addStringBlocks();
    return std::move(resources_);
  }

 private:
  void statement() {
    const Token& first = reader_.peek();
    if (first.isKeyword("STRINGTABLE")) {
      reader_.take();
      stringTable();
    } else if (first.isKeyword("LANGUAGE")) {
      reader_.take();
      reader_.expression();
      reader_.expect(",", "between the language and sub-language");
      reader_.expression();
    } else if (first.kind == TokenKind::Identifier || first.kind == TokenKind::Number ||
               first.kind == TokenKind::String || first.isPunct("(")) {
      resourceStatement();
    } else if (first.kind == TokenKind::Invalid) {
      throw first.error(first.text);
    } else {
      throw first.error("unknown statement starting with '" + first.text + "'");
    }
  }

  void resourceStatement() {
    Token nameToken = reader_.peek();
    ResourceId name = reader_.resourceId("resource name");
    Token typeToken = reader_.peek();
    if (typeToken.kind == TokenKind::End) {
      throw nameToken.error("unknown statement '" + nameToken.text + "'");
    }
    if (typeToken.kind == TokenKind::Identifier) {
      for (std::string_view unsupported : kUnsupported) {
        if (typeToken.isKeyword(unsupported)) {
          throw typeToken.error(std::string(unsupported) + " resources are not supported");
        }
      }
      if (typeToken.isKeyword("STRINGTABLE")) throw nameToken.error("STRINGTABLE takes no name");
    }
    ResourceId type = reader_.resourceId("resource type");
    reader_.skipMemoryFlags();
    auto keyword = [&](std::string_view word) { return typeToken.isKeyword(word); };

    if (keyword("BITMAP")) {
      Token fileName = fileNameToken("BITMAP");
      add(ResourceId::of(layout::kTypeBitmap), name,
          bitmapResource(fileName, reader_.preprocessor().readEmbeddedFile(fileName, fileName.text)),
          nameToken);
    } else if (keyword("ICON") || keyword("CURSOR")) {
      bool cursor = keyword("CURSOR");
      Token fileName = fileNameToken(cursor ? "CURSOR" : "ICON");
      auto data = std::make_shared<const std::vector<uint8_t>>(iconResource(
          fileName, reader_.preprocessor().readEmbeddedFile(fileName, fileName.text), cursor));
      add(ResourceId::of(cursor ? layout::kTypeGroupCursor : layout::kTypeGroupIcon), name, data,
          nameToken);
      add(ResourceId::of(cursor ? layout::kTypeCursor : layout::kTypeIcon), name, data, nameToken);
    } else if (keyword("MENU")) {
      add(ResourceId::of(layout::kTypeMenu), name, parseMenu(reader_, typeToken), nameToken);
    } else if (keyword("DIALOG") || keyword("DIALOGEX")) {
      add(ResourceId::of(layout::kTypeDialog), name,
          parseDialog(reader_, keyword("DIALOGEX")), nameToken);
    } else {
      if (keyword("RCDATA")) type = ResourceId::of(layout::kTypeRcData);
      add(type, name, dataOrFile(typeToken), nameToken);
    }
  }

  Token fileNameToken(std::string_view statement) {
    Token token = reader_.take();
    if (token.kind != TokenKind::String) {
      throw token.error(std::string(statement) + " needs a file name in quotes");
    }
    token.text = decodeNarrowName(token);
    return token;
  }

  static std::string decodeNarrowName(const Token& token);

  std::vector<uint8_t> dataOrFile(const Token& typeToken) {
    if (reader_.peek().kind == TokenKind::String) {
      Token fileName = fileNameToken("a resource");
      std::string content = reader_.preprocessor().readEmbeddedFile(fileName, fileName.text);
      return std::vector<uint8_t>(content.begin(), content.end());
    }
    if (!reader_.atBlockStart()) {
      const Token& found = reader_.peek();
      throw typeToken.error("unknown statement '" + typeToken.text +
                            "' (a resource of a user-defined type needs BEGIN ... END or a file "
                            "name, found " +
                            (found.kind == TokenKind::End ? "the end of the file" : "'" + found.text + "'") +
                            ")");
    }
    return parseDataBlock(reader_);
  }

  void add(ResourceId type, ResourceId name, std::vector<uint8_t> data, const Token& at) {
    add(std::move(type), std::move(name),
        std::make_shared<const std::vector<uint8_t>>(std::move(data)), at);
  }

  void add(ResourceId type, ResourceId name, std::shared_ptr<const std::vector<uint8_t>> data,
           const Token& at) {
    if (!seen_.insert({type, name}).second) throw at.error("duplicate resource '" + at.text + "'");
    resources_.push_back(CompiledResource{std::move(type), std::move(name), std::move(data)});
  }

  void stringTable() {
    reader_.skipMemoryFlags();
    while (!reader_.atBlockStart()) {
      Token keyword = reader_.take();
      if (keyword.isKeyword("LANGUAGE")) {
        reader_.expression();
        reader_.expect(",", "between the language and sub-language");
        reader_.expression();
      } else if (keyword.isKeyword("CHARACTERISTICS") || keyword.isKeyword("VERSION")) {
        reader_.expression();
      } else {
        throw keyword.error("expected BEGIN after STRINGTABLE, found " +
                            (keyword.kind == TokenKind::End ? std::string("the end of the file")
                                                            : "'" + keyword.text + "'"));
      }
    }
    Token begin = reader_.expectBlockStart("after STRINGTABLE");
    while (!reader_.takeBlockEnd(begin)) {
      Token idToken = reader_.peek();
      auto id = static_cast<uint16_t>(reader_.number("string id", 0, 65535));
      reader_.skipComma();
      std::u16string text = reader_.text("the string");
      if (text.size() > 0xFFFF) throw idToken.error("string longer than 65535 characters");
      if (!strings_.emplace(id, std::move(text)).second) {
        throw idToken.error("duplicate string id " + std::to_string(id));
      }
    }
  }

  void addStringBlocks() {
    std::map<unsigned, std::vector<const std::pair<const uint16_t, std::u16string>*>> blocks;
    for (const auto& entry : strings_) blocks[entry.first / layout::kStringsPerBlock].push_back(&entry);
    for (const auto& [block, entries] : blocks) {
      ByteWriter out;
      size_t next = 0;
      for (unsigned slot = 0; slot < layout::kStringsPerBlock; ++slot) {
        if (next < entries.size() && entries[next]->first % layout::kStringsPerBlock == slot) {
          const std::u16string& text = entries[next++]->second;
          out.u16(static_cast<uint16_t>(text.size()));
          out.units(text);
        } else {
          out.u16(0);
        }
      }
      resources_.push_back(CompiledResource{
          ResourceId::of(layout::kTypeString), ResourceId::of(static_cast<uint16_t>(block + 1)),
          std::make_shared<const std::vector<uint8_t>>(out.take())});
    }
  }

  StatementReader reader_;
  std::vector<CompiledResource> resources_;
  std::set<std::pair<ResourceId, ResourceId>> seen_;
  std::map<uint16_t, std::u16string> strings_;
};

std::string ScriptCompiler::decodeNarrowName(const Token& token) {
  std::string name;
  // File names keep their bytes; "\\" and "\" both separate folders.
  for (size_t i = 0; i < token.text.size(); ++i) {
    if (token.text[i] == '\\' && i + 1 < token.text.size() && token.text[i + 1] == '\\') ++i;
    name.push_back(token.text[i]);
  }
  return name;
}

}  // namespace

CompiledScript compileScript(SourceFiles& files, const std::filesystem::path& script,
                             const PreprocessorOptions& options) {
  Preprocessor preprocessor(files, options);
  preprocessor.open(script);
  ScriptCompiler compiler(preprocessor);
  CompiledScript result;
  result.resources = compiler.compile();
  result.dependencies = preprocessor.dependencies();
  return result;
}

}  // namespace handheld::rc
