// Where two scenes differ on the screen, apart from drawing inside the surfaces (which
// clients report as damage): windows that appeared, went, moved, resized or got a new
// surface, and overlaps whose stacking order changed.
#pragma once

#include <windef.h>

#include <vector>

#include "display/scene.h"

namespace handheld::device {

std::vector<RECT> sceneDifferences(const std::vector<SceneLayer>& before,
                                   const std::vector<SceneLayer>& after);

}  // namespace handheld::device
