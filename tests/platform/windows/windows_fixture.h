// A device for one test, this test process's windows on it, and a recorder for their
// messages.
#pragma once

#include <windows.h>

#include <thread>

#include "support/device_fixture.h"
#include "support/message_recorder.h"

namespace handheld::testing {

class WindowsTest : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    recorder.registerClass(u"Recorded", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  }

  HWND create(DWORD style, HWND parent = nullptr, RECT r = {0, 0, 100, 100}, int id = 0,
              const char16_t* title = u"Recorded window", DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, u"Recorded", title, style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                           nullptr, nullptr);
  }

  // wait-idle while this thread waits for it in a message wait (and so counts as idle).
  bool waitIdle(uint32_t timeoutMs = 5000) {
    uint32_t error = 1;
    recorder.pumpWhile([&] {
      auto reply = device().call<ipc::WaitIdle>({timeoutMs});
      error = reply ? reply->error : 1;
    });
    return error == 0;
  }

  MessageRecorder recorder;
};

}  // namespace handheld::testing
