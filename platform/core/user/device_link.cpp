#include "user/device_link.h"

#include <mutex>

#include "kernel/sync/wait_observer.h"
#include "user/input_focus.h"
#include "user/messages.h"

namespace handheld::user {

void attachToDevice() {
  static std::once_flag once;
  std::call_once(once, [] {
    auto& client = ipc::DeviceClient::get();
    client.onPush<ipc::MessageDeliver>(deliverFromServer);
    client.onPush<ipc::MessageSendDone>(completeRemoteSend);
    client.onPush<ipc::ActivationNotice>(activationNoticed);
    client.onPush<ipc::IdleQuery>(idleQueried);
    client.onPush<ipc::DescribeQuery>(describeQueried);
    client.onPush<ipc::InputDeliver>(inputFromServer);
    client.onPush<ipc::HelpDeliver>(helpFromServer);
    kernel::setWaitObserver(threadWaits);
    client.notify(ipc::UserAttach{});
  });
}

void attachMainThread() { currentQueue(); }

ipc::DeviceClient& deviceLink() {
  attachToDevice();
  return ipc::DeviceClient::get();
}

uint32_t ownWindowSlot() { return deviceLink().windowSlot(); }

}  // namespace handheld::user
