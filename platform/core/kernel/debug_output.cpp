// Debug output goes to the device log through the server, which tags it with the process.
#include <windows.h>

#include "ipc/client.h"

using namespace handheld;

HANDHELD_API void WINAPI OutputDebugStringW(LPCWSTR text) {
  if (!text) return;
  std::u16string line(text);
  // Programs often end their lines themselves; the log adds its own.
  while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r')) line.pop_back();
  if (line.size() > ipc::kMaxDebugLine) line.resize(ipc::kMaxDebugLine);
  if (auto* client = ipc::DeviceClient::tryGet()) client->notify(ipc::DebugOutput{line});
}
