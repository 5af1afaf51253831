// Everything the server does for windows and messages, wired together: the processes that
// use windows, the top-level table, message routing, wait-idle, and the windows' side of the
// display (their surfaces as the scene, input routing, the settings change after a screen
// mode change) and the input panel.
#pragma once

#include <windows.h>

#include "display/display_service.h"
#include "info_page.h"
#include "process_service.h"
#include "server.h"
#include "windows/idle_service.h"
#include "windows/input_panel_service.h"
#include "windows/input_routing.h"
#include "windows/message_router.h"
#include "windows/shell_state.h"
#include "windows/user_clients.h"
#include "windows/window_registry.h"
#include "windows/window_service.h"
#include "windows/window_surfaces.h"

namespace handheld::device {

class WindowSystem {
 public:
  WindowSystem(Server& server, InfoPage& info, ProcessService& processes, DisplayService& display)
      : clients_(server),
        service_(server, info, clients_, registry_),
        router_(server, clients_, registry_),
        idle_(server, processes, clients_),
        surfaces_(server, registry_, display),
        shell_(server, info, clients_, registry_),
        input_(clients_, registry_, service_),
        panel_(server, info, registry_, [this] { announceSettingChange(SPI_SETSIPINFO); }) {
    idle_.setBusyCheck([this] { return router_.inFlight(); });
    router_.onSettle([this] { idle_.reconsider(); });
    service_.onTableChanged([this] {
      surfaces_.tableChanged();
      shell_.tableChanged();
      panel_.tableChanged();
    });
    input_.setKeyFilter([this](const KeyInput& key) { return shell_.takeKey(key); });
    display.connectWindows(&surfaces_, &input_);
    display.onScreenModeChange([this] { announceSettingChange(SETTINGCHANGE_RESET); });
  }
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  uint32_t captureWindow() const { return service_.captureWindow(); }
  // After the device clock was set, frozen or let run: clocks on screen show the new time.
  void announceTimeChange() { announce(WM_TIMECHANGE, 0); }
  UserClients& clients() { return clients_; }

 private:
  void announceSettingChange(WPARAM what) { announce(WM_SETTINGCHANGE, what); }
  // Every top-level window hears of a new screen, a moved input panel or a new time as a
  // notification (a send that waits for no answer), so one busy program holds up nobody.
  void announce(UINT message, WPARAM wParam) {
    for (const auto& window : registry_.frontToBack())
      if (auto owner = clients_.ownerOf(window.handle))
        clients_.deliver(*owner, ipc::MessageDeliver{0, ipc::Delivery::Notify, window.handle, 0, message,
                                                     static_cast<uint64_t>(wParam), 0});
  }

  UserClients clients_;
  TopLevelRegistry registry_;
  WindowService service_;
  MessageRouter router_;
  IdleService idle_;
  WindowSurfaces surfaces_;
  ShellState shell_;
  InputRouting input_;
  InputPanelService panel_;
};

}  // namespace handheld::device
