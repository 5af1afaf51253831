// The ink library whose "InkX" class every note's canvas is made of.
#pragma once

// Loads \Windows\InkX.dll and registers its class for the process. The library stays loaded
// for the process's life; when it is missing or its start-up fails the program still runs and
// the note windows go without a canvas.
void StartInkLibrary();
