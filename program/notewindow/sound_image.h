// Finding a note's voice recording inside its content bytes, without trusting them: the ink
// control keeps recordings as RIFF WAVE images, and a note file may be damaged or hostile.
#pragma once

#include <windows.h>

#include <span>

// The first RIFF WAVE image whose declared size fits in the bytes after it: the span from
// "RIFF" through the end the image declares. A "RIFF" without "WAVE" at offset 8, or whose
// size reaches past the end, is passed over. Empty when no image fits.
std::span<const BYTE> FindSoundImage(std::span<const BYTE> content);
