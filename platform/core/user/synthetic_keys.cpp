#include "user/input_focus.h"

#include <string>

#include "user/device_link.h"

namespace handheld::user {

bool pressDeviceKey(uint8_t virtualKey) {
  auto reply = deviceLink().call<ipc::KeyAction>({virtualKey, ipc::KeyMotion::Press, false});
  return reply && reply->error == 0;
}

bool typeDeviceText(std::u16string_view text) {
  auto reply = deviceLink().call<ipc::TypeText>({std::u16string(text)});
  return reply && reply->error == 0;
}

}  // namespace handheld::user
