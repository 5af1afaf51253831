// Character-width neutral names; the platform is UTF-16 throughout.
#pragma once

#include "windef.h"
#define _tcslen lstrlenW
#define _tcscpy lstrcpyW
#define _tcscmp lstrcmpW
#define _ttoi _wtoi
