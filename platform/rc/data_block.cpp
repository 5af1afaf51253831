#include "byte_writer.h"
#include "statements.h"
#include "string_literal.h"

namespace handheld::rc {

std::vector<uint8_t> parseDataBlock(StatementReader& reader) {
  Token begin = reader.expectBlockStart("to start the data");
  ByteWriter out;
  while (!reader.takeBlockEnd(begin)) {
    const Token& item = reader.peek();
    if (item.kind == TokenKind::String) {
      Token string = reader.take();
      if (string.wide) {
        out.units(decodeWide(string, string.text));
      } else {
        out.bytes(decodeNarrow(string, string.text));
      }
    } else {
      Token first = item;
      Value value = reader.expression();
      if (value.isLong) {
        if (value.value < INT32_MIN || value.value > UINT32_MAX) {
          throw first.error("value " + std::to_string(value.value) + " does not fit a DWORD");
        }
        out.u32(static_cast<uint32_t>(value.value));
      } else {
        if (value.value < -32768 || value.value > 65535) {
          throw first.error("value " + std::to_string(value.value) +
                            " does not fit a WORD (an L suffix makes a DWORD)");
        }
        out.u16(static_cast<uint16_t>(value.value));
      }
    }
    reader.skipComma();
  }
  return out.take();
}

}  // namespace handheld::rc
