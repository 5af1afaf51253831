// CreateEventW, SetEvent, ResetEvent, PulseEvent.
#include <string_view>

#include "kernel/sync/event_object.h"
#include "kernel/sync/named_objects.h"

using namespace handheld::kernel;

namespace {

std::shared_ptr<EventObject> lookupEvent(HANDLE handle) {
  auto event = lookupHandleAs<EventObject>(handle, ObjectKind::Event);
  if (!event) SetLastError(ERROR_INVALID_HANDLE);
  return event;
}

// The name's length, reading no further than the longest name (MAX_PATH with its
// terminator); -1 when it is longer.
std::ptrdiff_t boundedNameLength(LPCWSTR name) {
  for (std::ptrdiff_t length = 0; length < MAX_PATH; ++length)
    if (name[length] == u'\0') return length;
  return -1;
}

}  // namespace

HANDHELD_API HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState,
                                        LPCWSTR name) {
  const std::ptrdiff_t nameLength = name ? boundedNameLength(name) : 0;
  if (nameLength < 0) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  std::shared_ptr<EventObject> event =
      nameLength > 0 ? openNamedEvent(std::u16string_view(name, static_cast<size_t>(nameLength)),
                                      manualReset != FALSE, initialState != FALSE)
                     : EventObject::create(manualReset != FALSE, initialState != FALSE);
  if (!event) return nullptr;
  return insertHandle(std::move(event));
}

HANDHELD_API BOOL WINAPI SetEvent(HANDLE handle) {
  auto event = lookupEvent(handle);
  if (!event) return FALSE;
  event->set();
  return TRUE;
}

HANDHELD_API BOOL WINAPI ResetEvent(HANDLE handle) {
  auto event = lookupEvent(handle);
  if (!event) return FALSE;
  event->reset();
  return TRUE;
}

HANDHELD_API BOOL WINAPI PulseEvent(HANDLE handle) {
  auto event = lookupEvent(handle);
  if (!event) return FALSE;
  event->pulse();
  return TRUE;
}
