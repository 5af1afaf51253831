// handheld-ctl sip: the device's input panel, raised, lowered or shown as it stands.
#include <cstdio>

#include "commands.h"

namespace handheld::ctl {

namespace {

int printState(Context& c) {
  auto reply = c.device().call<ipc::InputPanelGet>({});
  if (!reply) return fail("the device did not answer");
  Json state;
  state["up"] = (reply->flags & ipc::kPanelOn) != 0;
  state["flags"] = reply->flags;
  state["visibleDesktop"] = {reply->visibleLeft, reply->visibleTop, reply->visibleRight, reply->visibleBottom};
  state["panel"] = {reply->panelLeft, reply->panelTop, reply->panelRight, reply->panelBottom};
  printJson(state);
  return 0;
}

}  // namespace

int runSip(Context& c, const Args& args) {
  if (args.size() != 1 || (args[0] != "up" && args[0] != "down" && args[0] != "state"))
    return fail("usage: sip up|down|state", 2);
  if (args[0] == "state") return printState(c);
  auto current = c.device().call<ipc::InputPanelGet>({});
  if (!current) return fail("the device did not answer");
  const uint32_t flags = args[0] == "up" ? (current->flags | ipc::kPanelOn) : (current->flags & ~ipc::kPanelOn);
  auto reply = c.device().call<ipc::InputPanelSet>({flags});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return refused(reply->error);
  return 0;
}

}  // namespace handheld::ctl
