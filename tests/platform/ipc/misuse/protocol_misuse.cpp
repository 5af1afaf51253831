// Protocol messages used against their direction, one case per HANDHELD_MISUSE value: each
// must fail to compile. Without HANDHELD_MISUSE the file holds the right uses and compiles, so
// a case fails for its one line and nothing else.
#include "connection.h"
#include "ipc/client.h"
#include "ipc/protocol.h"
#include "server.h"

namespace handheld::misuse {

// A struct whose member is not in its field list.
struct Forgetful {
  uint32_t kept = 0;
  uint32_t forgotten = 0;
  HANDHELD_FIELDS(kept)
};
struct Remembering {
  uint32_t kept = 0;
  uint32_t remembered = 0;
  HANDHELD_FIELDS(kept, remembered)
};

void uses(ipc::DeviceClient& client, device::Server& server, device::Connection& connection) {
  ipc::WireWriter writer;
#if !defined(HANDHELD_MISUSE)
  client.call<ipc::ClockGet>({});
  client.notify(ipc::IdleAnswer{});
  client.onPush<ipc::IdleQuery>([](ipc::IdleQuery&) {});
  server.onRequest<ipc::ClockGet>([](device::Connection&, ipc::ClockGet::Request&) { return ipc::ClockGet::Reply{}; });
  server.onEvent<ipc::IdleAnswer>([](device::Connection&, ipc::IdleAnswer&) {});
  connection.push(ipc::IdleQuery{});
  ipc::encode(writer, Remembering{});
#elif HANDHELD_MISUSE == 1  // a notice called as a request
  client.call<ipc::ReleaseObject>({});
#elif HANDHELD_MISUSE == 2  // the server's push sent by a client
  client.notify(ipc::IdleQuery{});
#elif HANDHELD_MISUSE == 3  // a client listening for its own notice
  client.onPush<ipc::IdleAnswer>([](ipc::IdleAnswer&) {});
#elif HANDHELD_MISUSE == 4  // the server handling its own push
  server.onEvent<ipc::IdleQuery>([](device::Connection&, ipc::IdleQuery&) {});
#elif HANDHELD_MISUSE == 5  // the server handling a notice as a request
  server.onRequest<ipc::ReleaseObject>([](device::Connection&, auto&) { return 0; });
#elif HANDHELD_MISUSE == 6  // the server pushing a client's notice
  connection.push(ipc::IdleAnswer{});
#elif HANDHELD_MISUSE == 7  // a member left out of the field list
  ipc::encode(writer, Forgetful{});
#endif
}

}  // namespace handheld::misuse
