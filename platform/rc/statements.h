// The statement parsers that produce one resource's bytes; each starts after the statement's
// name and type keyword (and memory flags) and consumes the statement.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "statement_reader.h"

namespace handheld::rc {

std::vector<uint8_t> parseDialog(StatementReader& reader, bool extended);
std::vector<uint8_t> parseMenu(StatementReader& reader, const Token& keyword);
// RCDATA and user types: BEGIN items END.
std::vector<uint8_t> parseDataBlock(StatementReader& reader);

// Embedded files, checked: a .bmp loses its file header; .ico/.cur stay whole.
std::vector<uint8_t> bitmapResource(const Token& fileName, const std::string& file);
std::vector<uint8_t> iconResource(const Token& fileName, const std::string& file, bool cursor);

}  // namespace handheld::rc
