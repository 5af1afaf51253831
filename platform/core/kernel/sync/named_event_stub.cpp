// Stands in for the device client's named events until they are wired to the device server.
#include "kernel/sync/named_objects.h"

namespace handheld::kernel {

std::shared_ptr<EventObject> openNamedEvent(std::u16string_view, bool, bool) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}

}  // namespace handheld::kernel
