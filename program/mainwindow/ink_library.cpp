#include "mainwindow/ink_library.h"

#include <windows.h>

#include <inkx.h>

void StartInkLibrary() {
  HMODULE library = LoadLibraryW(u"\\Windows\\InkX.dll");
  FARPROC address = library ? GetProcAddressW(library, u"InitInkX") : nullptr;
  if (address) reinterpret_cast<INITINKXPROC>(reinterpret_cast<void (*)()>(address))();
}
