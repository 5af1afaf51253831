// windows, find, tree, post, send, wait-idle
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "commands.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::ctl {

std::string hexHandle(uint32_t handle) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", handle);
  return text;
}

void printJson(const Json& value) {
  std::printf("%s\n", value.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
}

namespace {

// How long send waits for the window procedure unless told otherwise (0: as long as it takes).
constexpr uint64_t kDefaultSendSeconds = 10;
constexpr uint64_t kMaxSendSeconds = 86400;

Json rectJson(const ipc::WindowRecord& w) { return Json::array({w.left, w.top, w.right - w.left, w.bottom - w.top}); }

std::optional<uint32_t> parseHandle(const std::string& text) {
  auto value = parseNumber(text);
  if (!value || *value == 0 || *value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

// A message number, or one of the common names (WM_USER+5 style offsets allowed).
std::optional<uint32_t> parseMessage(const std::string& text) {
  static const std::map<std::string, uint32_t> kNames = {
      {"WM_NULL", 0x0000},    {"WM_CLOSE", 0x0010},   {"WM_QUIT", 0x0012},
      {"WM_SETTINGCHANGE", 0x001A}, {"WM_KEYDOWN", 0x0100}, {"WM_KEYUP", 0x0101},
      {"WM_CHAR", 0x0102},    {"WM_COMMAND", 0x0111}, {"WM_TIMER", 0x0113},
      {"WM_HOTKEY", 0x0312},  {"WM_USER", 0x0400},    {"WM_APP", 0x8000},
  };
  auto plus = text.find('+');
  auto name = kNames.find(text.substr(0, plus));
  if (name != kNames.end()) {
    uint64_t offset = 0;
    if (plus != std::string::npos) {
      auto parsed = parseNumber(text.substr(plus + 1));
      if (!parsed) return std::nullopt;
      offset = *parsed;
    }
    if (name->second + offset > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(name->second + offset);
  }
  auto value = parseNumber(text);
  if (!value || *value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

// An lParam may be negative.
std::optional<int64_t> parseSigned(const std::string& text) {
  bool negative = !text.empty() && text[0] == '-';
  auto value = parseNumber(negative ? text.substr(1) : text);
  if (!value || *value > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
  return negative ? -static_cast<int64_t>(*value) : static_cast<int64_t>(*value);
}

struct MessageArgs {
  uint32_t handle;
  uint32_t message;
  uint64_t wParam;
  int64_t lParam;
};

std::optional<MessageArgs> parseMessageArgs(const Args& args) {
  if (args.size() != 4) return std::nullopt;
  auto handle = parseHandle(args[0]);
  auto message = parseMessage(args[1]);
  auto wParam = parseSigned(args[2]);
  auto lParam = parseSigned(args[3]);
  if (!handle || !message || !wParam || !lParam) return std::nullopt;
  return MessageArgs{*handle, *message, static_cast<uint64_t>(*wParam), *lParam};
}

// A window and, nested, its children as the process described them. A control's state is
// the JSON object it wrote; one that does not parse is left out rather than passed on.
Json treeJson(const std::vector<ipc::WindowRecord>& windows, const std::vector<ipc::MenuItemRecord>& menuItems,
              size_t index) {
  const auto& w = windows[index];
  char style[16];
  std::snprintf(style, sizeof style, "0x%08x", w.style);
  Json node = {{"handle", hexHandle(w.handle)},
               {"class", strings::toUtf8(w.className)},
               {"text", strings::toUtf8(w.text)},
               {"id", w.id},
               {"style", style},
               {"rect", rectJson(w)},
               {"visible", w.visible},
               {"enabled", w.enabled},
               {"focused", w.focused}};
  if (!w.state.empty()) {
    auto state = Json::parse(w.state, nullptr, false);
    if (state.is_object()) node["state"] = std::move(state);
  }
  if (auto items = menuItemsJson(menuItems, w.handle); !items.is_null()) node["items"] = std::move(items);
  Json children = Json::array();
  for (size_t i = index + 1; i < windows.size(); ++i)
    if (windows[i].parent == w.handle) children.push_back(treeJson(windows, menuItems, i));
  node["children"] = std::move(children);
  return node;
}

}  // namespace

int runWindows(Context& c, const Args& args) {
  const bool json = args.size() == 1 && args[0] == "--json";
  if (!args.empty() && !json) return fail("usage: windows [--json]", 2);
  auto reply = c.device().call<ipc::WindowList>({});
  if (!reply) return fail("the device did not answer");
  if (json) {
    Json list = Json::array();
    for (const auto& w : reply->windows)
      list.push_back({{"handle", hexHandle(w.handle)},
                      {"pid", w.pid},
                      {"class", strings::toUtf8(w.className)},
                      {"title", strings::toUtf8(w.text)},
                      {"rect", rectJson(w)},
                      {"visible", w.visible},
                      {"enabled", w.enabled}});
    printJson(list);
    return 0;
  }
  std::printf("%-10s %-8s %-7s %-7s %-20s %-16s %s\n", "HANDLE", "PID", "VISIBLE", "ENABLED", "RECT",
              "CLASS", "TITLE");
  for (const auto& w : reply->windows) {
    std::string rect = std::to_string(w.left) + "," + std::to_string(w.top) + " " +
                       std::to_string(w.right - w.left) + "x" + std::to_string(w.bottom - w.top);
    std::printf("%-10s %-8u %-7s %-7s %-20s %-16s %s\n", hexHandle(w.handle).c_str(), w.pid,
                w.visible ? "yes" : "no", w.enabled ? "yes" : "no", rect.c_str(),
                strings::toUtf8(w.className).c_str(), strings::toUtf8(w.text).c_str());
  }
  return 0;
}

int runFind(Context& c, const Args& args) {
  if (args.empty() || args.size() > 2) return fail("usage: find CLASS|'*' [TITLE]", 2);
  ipc::WindowFind::Request request;
  if (args[0] != "*") {
    request.matchClass = true;
    request.className = strings::fromUtf8(args[0]);
  }
  if (args.size() == 2) {
    request.matchText = true;
    request.text = strings::fromUtf8(args[1]);
  }
  auto reply = c.device().call<ipc::WindowFind>(request);
  if (!reply) return fail("the device did not answer");
  if (!reply->handle) return 1;
  std::printf("%s\n", hexHandle(reply->handle).c_str());
  return 0;
}

int runTree(Context& c, const Args& args) {
  ipc::WindowDescribe::Request request;
  request.tree = true;
  if (args.size() == 2 && args[0] == "--pid") {
    auto pid = parseNumber(args[1]);
    if (!pid || *pid == 0 || *pid > UINT32_MAX) return fail("usage: tree HANDLE|--pid ID", 2);
    request.pid = static_cast<uint32_t>(*pid);
  } else if (args.size() == 1) {
    auto handle = parseHandle(args[0]);
    if (!handle) return fail("usage: tree HANDLE|--pid ID", 2);
    request.handle = *handle;
  } else {
    return fail("usage: tree HANDLE|--pid ID", 2);
  }
  auto reply = c.device().call<ipc::WindowDescribe>(request);
  if (!reply) return fail("the device did not answer");
  if (reply->error == ERROR_INVALID_WINDOW_HANDLE)
    return refused(reply->error, request.pid ? "no windows of process " + args[1] : "no window " + args[0]);
  if (reply->error == ERROR_TIMEOUT)
    return refused(reply->error, "the process did not describe its windows in time (it may be busy)");
  if (reply->error) return refused(reply->error);
  const auto& windows = reply->windows;
  auto isRoot = [&](const ipc::WindowRecord& w) {
    for (const auto& other : windows)
      if (other.handle == w.parent) return false;
    return true;
  };
  Json roots = Json::array();
  for (size_t i = 0; i < windows.size(); ++i)
    if (isRoot(windows[i])) roots.push_back(treeJson(windows, reply->menuItems, i));
  // One window asked for prints as itself; a process's windows as a list.
  printJson(request.pid || roots.size() != 1 ? roots : roots[0]);
  return 0;
}

int runPost(Context& c, const Args& args) {
  auto m = parseMessageArgs(args);
  if (!m) return fail("usage: post HANDLE MSG WPARAM LPARAM", 2);
  auto reply = c.device().call<ipc::MessagePost>({m->handle, 0, m->message, m->wParam, m->lParam});
  if (!reply) return fail("the device did not answer");
  if (reply->error == ERROR_NOT_ENOUGH_QUOTA)
    return refused(reply->error, "the queue of window " + args[0] + " is full");
  if (reply->error == ERROR_INVALID_WINDOW_HANDLE) return refused(reply->error, "no window " + args[0]);
  if (reply->error) return refused(reply->error);
  return 0;
}

int runSend(Context& c, const Args& args) {
  const char* usage = "usage: send [--timeout SECONDS] HANDLE MSG WPARAM LPARAM";
  Args rest = args;
  uint64_t seconds = kDefaultSendSeconds;
  if (auto option = std::find(rest.begin(), rest.end(), "--timeout"); option != rest.end()) {
    auto value = option + 1 != rest.end() ? parseNumber(option[1]) : std::nullopt;
    if (!value || *value > kMaxSendSeconds)
      return fail("send: --timeout takes 0-" + std::to_string(kMaxSendSeconds) + " seconds", 2);
    seconds = *value;
    rest.erase(option, option + 2);
  }
  auto m = parseMessageArgs(rest);
  if (!m) return fail(usage, 2);
  auto reply = c.device().call<ipc::AutomationSend>(
      {m->handle, m->message, m->wParam, m->lParam, static_cast<uint32_t>(seconds * 1000)});
  if (!reply) return fail("the device did not answer");
  if (reply->error == ERROR_TIMEOUT)
    return fail("timed out: window " + rest[0] + " did not return from message " + rest[1] + " within " +
                std::to_string(seconds) + " s");
  if (reply->error == ERROR_INVALID_WINDOW_HANDLE) return refused(reply->error, "no window " + rest[0]);
  if (reply->error) return refused(reply->error);
  std::printf("%lld\n", static_cast<long long>(reply->result));
  return 0;
}

int runWaitIdle(Context& c, const Args& args) {
  auto seconds = args.empty() ? std::optional<uint64_t>(10) : parseNumber(args[0]);
  if (args.size() > 1 || !seconds || *seconds > 86400) return fail("usage: wait-idle [SECONDS]", 2);
  auto reply = c.device().call<ipc::WaitIdle>({static_cast<uint32_t>(*seconds * 1000)});
  if (!reply) return fail("the device did not answer");
  if (reply->error == WAIT_TIMEOUT) return fail("the device is still busy after " + std::to_string(*seconds) + " s");
  if (reply->error) return refused(reply->error);
  return 0;
}

}  // namespace handheld::ctl
