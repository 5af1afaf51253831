// The device's colour scheme (GetSysColor) and one stock brush per colour.
#pragma once

#include <windows.h>

#include <memory>

namespace handheld::gdi {

struct BrushObject;

// Index with or without SYS_COLOR_INDEX_FLAG; false when out of range.
bool sysColorIndexValid(int index);
COLORREF sysColor(int index);
std::shared_ptr<BrushObject> sysColorBrush(int index);
// A brush handle, or a system colour index plus one as FillRect and class backgrounds accept
// it ((HBRUSH)(COLOR_WINDOW + 1)); null when neither.
std::shared_ptr<BrushObject> brushFromHandle(HBRUSH brush);

}  // namespace handheld::gdi
