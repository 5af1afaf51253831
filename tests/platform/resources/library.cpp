// A small device library for the module tests: exports by ordinal and name, a DllMain that
// reports to the test program, its own resources.
#include <windows.h>

#include <cstdlib>

// Defined by the test program, which exports it to its libraries.
extern "C" void rcTestRecordDllMain(HINSTANCE instance, DWORD reason);

namespace {
HINSTANCE g_instance = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  rcTestRecordDllMain(instance, reason);
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    // The module's own strings are readable while it attaches.
    WCHAR name[32];
    if (LoadStringW(instance, 1, name, 32) == 0) return FALSE;
    if (std::getenv("RC_TEST_REFUSE_ATTACH")) return FALSE;
  }
  return TRUE;
}

extern "C" int TestAdd(int a, int b) { return a + b; }
extern "C" HINSTANCE TestInstance() { return g_instance; }
extern "C" int TestNamedOnly() { return 7; }
