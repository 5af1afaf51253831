// Sound playback.
#pragma once

#include "windef.h"
