// The popup menu of the expiry-choices button.
#pragma once

#include <windows.h>

// A new popup menu listing the expiry choices in their order; the caller destroys it. Null
// when it cannot be made.
HMENU CreateExpiryMenu();
