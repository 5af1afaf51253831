// The wire decoder on hostile bytes, through messages of every field kind (integers, enums,
// booleans, UTF-16 strings, byte strings, vectors of records): it must never read past the
// input, and whatever it accepts must encode back to exactly the same bytes.
#include <cstdint>
#include <cstdlib>

#include "ipc/protocol.h"

using namespace handheld::ipc;

namespace {

template <class T>
void roundTrip(const uint8_t* data, size_t size) {
  T message;
  if (!decode(data, size, nullptr, message)) return;
  WireWriter writer;
  encode(writer, message);
  const Bytes& again = writer.bytes();
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t* body = data + 1;
  const size_t bodySize = size - 1;
  switch (data[0] % 10) {
    case 0: roundTrip<RegistrySet::Request>(body, bodySize); break;
    case 1: roundTrip<StartProcess::Request>(body, bodySize); break;
    case 2: roundTrip<ListProcesses::Reply>(body, bodySize); break;
    case 3: roundTrip<SetNotification::Request>(body, bodySize); break;
    case 4: roundTrip<ListNotifications::Reply>(body, bodySize); break;
    case 5: roundTrip<WindowList::Reply>(body, bodySize); break;
    case 6: roundTrip<MessagePost::Request>(body, bodySize); break;
    case 7: roundTrip<StylusGesture::Request>(body, bodySize); break;
    case 8: roundTrip<TypeText::Request>(body, bodySize); break;
    default: roundTrip<WindowDescribe::Reply>(body, bodySize); break;
  }
  return 0;
}
