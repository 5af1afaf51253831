// Drawing: device contexts, pens, brushes, fonts, bitmaps, text.
#pragma once

#include "windef.h"
