// Everything the server does for windows and messages, wired together: the processes that
// use windows, the top-level table, message routing and wait-idle.
#pragma once

#include "idle_service.h"
#include "info_page.h"
#include "message_router.h"
#include "process_service.h"
#include "server.h"
#include "user_clients.h"
#include "window_registry.h"
#include "window_service.h"

namespace handheld::device {

class WindowSystem {
 public:
  WindowSystem(Server& server, InfoPage& info, ProcessService& processes)
      : clients_(server),
        service_(server, info, clients_, registry_),
        router_(server, clients_, registry_),
        idle_(server, processes, clients_) {
    idle_.setBusyCheck([this] { return router_.inFlight(); });
    router_.onSettle([this] { idle_.reconsider(); });
  }
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  uint32_t captureWindow() const { return service_.captureWindow(); }

 private:
  UserClients clients_;
  TopLevelRegistry registry_;
  WindowService service_;
  MessageRouter router_;
  IdleService idle_;
};

}  // namespace handheld::device
