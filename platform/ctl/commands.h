// handheld-ctl's commands, one group per file; each returns the process exit code.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "automation_client.h"

namespace handheld::ctl {

using Args = std::vector<std::string>;

class Context {
 public:
  explicit Context(std::filesystem::path root) : root_(std::move(root)) {}
  const std::filesystem::path& root() const { return root_; }
  // The device connection; prints why and exits 1 when no device runs.
  automation::AutomationClient& device();

 private:
  std::filesystem::path root_;
  std::optional<automation::AutomationClient> client_;
};

// Prints "handheld-ctl: <message>" to stderr and returns `code`.
int fail(const std::string& message, int code = 1);
// A request the device refused: "refused: <words> [error <code>]" (the code's own words when
// none are given), returns 1.
int refused(uint32_t error, const std::string& words = {});
// Asks the device to write its registry now; 0, or 1 with the reason when it could not.
// `changed` names what was changed, for the message.
int saveRegistry(Context& c, const std::string& changed);
// Decimal or 0x hexadecimal; nullopt when it is neither.
std::optional<uint64_t> parseNumber(const std::string& text);
// A window handle as printed: 0x0010002a.
std::string hexHandle(uint32_t handle);
// Output JSON keeps its keys in the order they were added.
using Json = nlohmann::ordered_json;
// Prints a JSON value on stdout, indented, with a newline.
void printJson(const Json& value);
// The items of the pop-up menu window `window` as a JSON array; null when it has none.
Json menuItemsJson(const std::vector<ipc::MenuItemRecord>& items, uint32_t window);

int runInit(Context& c, const Args& args);
int runStart(Context& c, const Args& args);
int runStop(Context& c, const Args& args);
int runStatus(Context& c, const Args& args);
int runRun(Context& c, const Args& args);
int runPs(Context& c, const Args& args);
int runWaitExit(Context& c, const Args& args);
int runReg(Context& c, const Args& args);
int runClock(Context& c, const Args& args);
int runLocale(Context& c, const Args& args);
int runNotifications(Context& c, const Args& args);
int runWindows(Context& c, const Args& args);
int runSip(Context& c, const Args& args);
int runFind(Context& c, const Args& args);
int runTree(Context& c, const Args& args);
int runPost(Context& c, const Args& args);
int runSend(Context& c, const Args& args);
int runWaitIdle(Context& c, const Args& args);
int runScreenshot(Context& c, const Args& args);
int runPixel(Context& c, const Args& args);
int runScreen(Context& c, const Args& args);
int runTap(Context& c, const Args& args);
int runHold(Context& c, const Args& args);
int runDrag(Context& c, const Args& args);
int runKey(Context& c, const Args& args);
int runText(Context& c, const Args& args);
int runButton(Context& c, const Args& args);
int runMenu(Context& c, const Args& args);
int runChoose(Context& c, const Args& args);
int runSpeakerLog(Context& c, const Args& args);
int runMic(Context& c, const Args& args);

}  // namespace handheld::ctl
