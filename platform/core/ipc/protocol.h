// The device protocol: every request with its fields and its reply, every notice a client
// sends and every message the server pushes, declared once, one header per service. Both
// sides encode and decode from these declarations (wire.h), so no byte offset is written
// twice. The op numbers are in one table (protocol/ops.h).
//
// A request struct M has `op`, `direction`, `Request` and `Reply`; a notice or a push has
// `op`, `direction` and fields and is sent without a reply. Strings are UTF-16 as the API
// uses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "ipc/protocol/clipboard.h"
#include "ipc/protocol/clock.h"
#include "ipc/protocol/connection.h"
#include "ipc/protocol/debug_output.h"
#include "ipc/protocol/device.h"
#include "ipc/protocol/display.h"
#include "ipc/protocol/idle.h"
#include "ipc/protocol/input.h"
#include "ipc/protocol/input_panel.h"
#include "ipc/protocol/messages.h"
#include "ipc/protocol/notifications.h"
#include "ipc/protocol/objects.h"
#include "ipc/protocol/ops.h"
#include "ipc/protocol/processes.h"
#include "ipc/protocol/registry.h"
#include "ipc/protocol/shell.h"
#include "ipc/protocol/sound.h"
#include "ipc/protocol/top_level_windows.h"

namespace handheld::ipc {

template <class... M>
struct MessageList {
  static constexpr size_t size = sizeof...(M);
};

namespace detail {
template <class List>
struct DropFirst;
template <class First, class... Rest>
struct DropFirst<MessageList<First, Rest...>> {
  using type = MessageList<Rest...>;
};

template <class M>
consteval bool shapedForItsDirection() {
  if constexpr (M::direction == Direction::Request)
    return ClientRequest<M> && FieldsComplete<typename M::Request> && FieldsComplete<typename M::Reply>;
  else
    return (ClientNotice<M> || ServerPush<M>) && FieldsComplete<M> && !requires { typename M::Request; };
}

consteval bool opNumbersDistinct() {
#define HANDHELD_OP_NUMBER(name, number) number,
  constexpr uint16_t numbers[] = {HANDHELD_PROTOCOL_OPS(HANDHELD_OP_NUMBER)};
#undef HANDHELD_OP_NUMBER
  for (size_t i = 0; i < std::size(numbers); ++i)
    for (size_t j = i + 1; j < std::size(numbers); ++j)
      if (numbers[i] == numbers[j]) return false;
  return true;
}
}  // namespace detail

// Every message of the protocol, in the order of the op table.
#define HANDHELD_MESSAGE_TYPE(name, number) , name
using AllMessages = detail::DropFirst<MessageList<void HANDHELD_PROTOCOL_OPS(HANDHELD_MESSAGE_TYPE)>>::type;
#undef HANDHELD_MESSAGE_TYPE

static_assert(detail::opNumbersDistinct(), "two operations share a number");
#define HANDHELD_CHECK_MESSAGE(name, number)                                              \
  static_assert(name::op == Op::name, #name " carries another operation's number");       \
  static_assert(detail::shapedForItsDirection<name>(),                                    \
                #name " does not have the shape of its direction, or a member is missing " \
                      "from its HANDHELD_FIELDS");
HANDHELD_PROTOCOL_OPS(HANDHELD_CHECK_MESSAGE)
#undef HANDHELD_CHECK_MESSAGE

}  // namespace handheld::ipc
