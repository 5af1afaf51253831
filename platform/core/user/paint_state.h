// Update regions and the per-thread count of windows that need painting. Under userLock().
#pragma once

#include <windows.h>

#include "user/region.h"
#include "user/window.h"

namespace handheld::user {

// Replaces the update region (client coordinates); erase adds to a pending WM_ERASEBKGND.
void setUpdateRegion(Window& window, Region region, bool erase);
// Adds part of the client area to a visible window's update region (a hidden window
// collects none: it is painted whole when shown).
void invalidateClientArea(Window& window, const Region& area, bool erase);
// The whole window and every visible window below it.
void invalidateWithChildren(Window& window);
// An area of a parent's client area that must be drawn again (a child moved or went away):
// the parent's and that of its children there.
void invalidateParentArea(Window& parent, const RECT& area);
// Forgets the region of a window that is hidden, and of its children.
void discardUpdateRegions(Window& window);

}  // namespace handheld::user
