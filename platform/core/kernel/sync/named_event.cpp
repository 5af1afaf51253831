// Named events: the device server keeps one eventfd per name and hands every opener a
// descriptor of it, so all processes see one state. The event lives while anyone holds it.
#include "kernel/sync/named_objects.h"

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

}  // namespace

std::shared_ptr<EventObject> openNamedEvent(std::u16string_view name, bool manualReset, bool initialState) {
  auto reply = ipc::DeviceClient::get().call<ipc::OpenNamedEvent>(
      {std::u16string(name), manualReset, initialState});
  if (!reply || reply->error) {
    // Held for us although its descriptor found no room here: given back.
    if (reply && reply->objectId) ipc::DeviceClient::get().notify(ipc::ReleaseObject{reply->objectId});
    SetLastError(reply ? reply->error : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto reference = std::make_shared<DeviceObjectReference>(reply->objectId);
  auto event = std::make_shared<EventObject>(reply->manualReset, std::move(reply->event.fd), std::move(reference));
  if (reply->existed) SetLastError(ERROR_ALREADY_EXISTS);
  return event;
}

}  // namespace handheld::kernel
