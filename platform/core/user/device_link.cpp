#include "user/device_link.h"

#include <mutex>

#include "kernel/sync/wait_observer.h"
#include "user/activation.h"
#include "user/describe.h"
#include "user/idle.h"
#include "user/input_delivery.h"
#include "user/remote_messages.h"
#include "user/thread_queue.h"

namespace handheld::user {

namespace {

// Decodes a push and hands it to f; a malformed push is dropped.
template <class E, class F>
void onPushOf(ipc::DeviceClient& client, F f) {
  client.onPush(E::op, [f](ipc::Packet& packet) {
    E event;
    if (ipc::decode(packet.body.data(), packet.body.size(), &packet.fds, event)) f(event);
  });
}

}  // namespace

void attachToDevice() {
  static std::once_flag once;
  std::call_once(once, [] {
    auto& client = ipc::DeviceClient::get();
    onPushOf<ipc::MessageDeliver>(client, deliverFromServer);
    onPushOf<ipc::MessageSendDone>(client, completeRemoteSend);
    onPushOf<ipc::ActivationNotice>(client, activationNoticed);
    onPushOf<ipc::IdleQuery>(client, idleQueried);
    onPushOf<ipc::DescribeQuery>(client, describeQueried);
    onPushOf<ipc::InputDeliver>(client, inputFromServer);
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
