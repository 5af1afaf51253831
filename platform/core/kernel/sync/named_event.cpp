// Named events: the device server keeps one eventfd per name and hands every opener a
// descriptor of it, so all processes see one state. The event lives while anyone holds it.
// A pulse reaches the waits in other processes through the server (EventPulseOffer).
#include "kernel/sync/named_objects.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "ipc/client.h"

namespace handheld::kernel {

namespace {

// Releases this process's reference to the device's object when the last handle goes.
class DeviceObjectReference {
 public:
  explicit DeviceObjectReference(uint64_t id) : id_(id) {}
  DeviceObjectReference(const DeviceObjectReference&) = delete;
  DeviceObjectReference& operator=(const DeviceObjectReference&) = delete;
  ~DeviceObjectReference() { ipc::DeviceClient::get().notify(ipc::ReleaseObject{id_}); }

 private:
  uint64_t id_;
};

// The waits on each named event in this process, shared by every opener here.
class NamedEventWaiters {
 public:
  std::shared_ptr<PulseWaiters> forObject(uint64_t objectId) {
    std::lock_guard guard(lock_);
    std::erase_if(lists_, [](const auto& entry) { return entry.second.expired(); });
    auto& entry = lists_[objectId];
    auto waiters = entry.lock();
    if (!waiters) {
      waiters = std::make_shared<PulseWaiters>();
      entry = waiters;
    }
    return waiters;
  }
  std::shared_ptr<PulseWaiters> find(uint64_t objectId) {
    std::lock_guard guard(lock_);
    auto it = lists_.find(objectId);
    return it == lists_.end() ? nullptr : it->second.lock();
  }

 private:
  std::mutex lock_;
  std::unordered_map<uint64_t, std::weak_ptr<PulseWaiters>> lists_;
};

NamedEventWaiters& namedEventWaiters() {
  static NamedEventWaiters waiters;
  return waiters;
}

// On the reader thread: a pulse of another process offered to the waits here.
void pulseOffered(ipc::DeviceClient& client, const ipc::EventPulseOffer& offer) {
  auto answer = [&](size_t released) { client.notify(ipc::EventPulseAnswer{offer.pulseId, released > 0}); };
  // Answered before a released thread runs on: were it to end the process first, the server
  // would take the pulse as refused and release a wait elsewhere too.
  if (auto waiters = namedEventWaiters().find(offer.objectId)) waiters->release(offer.all, answer);
  else answer(0);
}

}  // namespace

std::shared_ptr<EventObject> openNamedEvent(std::u16string_view name, bool manualReset, bool initialState) {
  auto& client = ipc::DeviceClient::get();
  static std::once_flag listening;
  std::call_once(listening, [&client] {
    client.onPush<ipc::EventPulseOffer>([&client](ipc::EventPulseOffer& offer) { pulseOffered(client, offer); });
  });
  auto reply = client.call<ipc::OpenNamedEvent>({std::u16string(name), manualReset, initialState});
  if (!reply || reply->error) {
    // Held for us although its descriptor found no room here: given back.
    if (reply && reply->objectId) ipc::DeviceClient::get().notify(ipc::ReleaseObject{reply->objectId});
    SetLastError(reply ? reply->error : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DeviceEvent device{std::make_shared<DeviceObjectReference>(reply->objectId), reply->objectId,
                     namedEventWaiters().forObject(reply->objectId)};
  auto event = std::make_shared<EventObject>(reply->manualReset, std::move(reply->event.fd), std::move(device));
  if (reply->existed) SetLastError(ERROR_ALREADY_EXISTS);
  return event;
}

void pulseInOtherProcesses(uint64_t objectId) {
  // Nothing to report: the pulse has left the event reset whatever the other processes do.
  ipc::DeviceClient::get().call<ipc::PulseNamedEvent>({objectId});
}

}  // namespace handheld::kernel
