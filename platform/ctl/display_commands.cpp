// screenshot, pixel, screen, tap, hold, drag, key, text, button
#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "commands.h"
#include "gdi/png_io.h"
#include "gdi/surface.h"
#include "ipc/screen_modes.h"
#include "kernel/error_text.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::ctl {

namespace {

constexpr uint32_t kDefaultDragMs = 300;

std::optional<int32_t> parseCoordinate(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  auto value = parseNumber(negative ? text.substr(1) : text);
  if (!value || *value > INT32_MAX) return std::nullopt;
  return negative ? -static_cast<int32_t>(*value) : static_cast<int32_t>(*value);
}

std::optional<uint32_t> parseMilliseconds(const std::string& text) {
  auto value = parseNumber(text);
  if (!value || *value > ipc::kMaxGestureMs) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

// A virtual key: a number (0x0D), a letter or digit (its key), or a name such as VK_RETURN.
std::optional<uint32_t> parseVirtualKey(const std::string& text) {
  static const std::map<std::string, uint32_t> kNames = {
      {"VK_BACK", VK_BACK},       {"VK_TAB", VK_TAB},         {"VK_RETURN", VK_RETURN},
      {"VK_SHIFT", VK_SHIFT},     {"VK_CONTROL", VK_CONTROL}, {"VK_MENU", VK_MENU},
      {"VK_CAPITAL", VK_CAPITAL}, {"VK_ESCAPE", VK_ESCAPE},   {"VK_SPACE", VK_SPACE},
      {"VK_PRIOR", VK_PRIOR},     {"VK_NEXT", VK_NEXT},       {"VK_END", VK_END},
      {"VK_HOME", VK_HOME},       {"VK_LEFT", VK_LEFT},       {"VK_UP", VK_UP},
      {"VK_RIGHT", VK_RIGHT},     {"VK_DOWN", VK_DOWN},       {"VK_INSERT", VK_INSERT},
      {"VK_DELETE", VK_DELETE},   {"VK_APP1", VK_APP1},       {"VK_APP2", VK_APP2},
      {"VK_APP3", VK_APP3},       {"VK_APP4", VK_APP4},       {"VK_APP5", VK_APP5},
      {"VK_APP6", VK_APP6},
  };
  if (text.size() == 1 && std::isalnum(static_cast<unsigned char>(text[0])))
    return static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(text[0])));
  if (auto name = kNames.find(text); name != kNames.end()) return name->second;
  auto value = parseNumber(text);
  if (!value || *value == 0 || *value > 254) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

std::optional<ipc::KeyMotion> parseMotion(const std::string& text) {
  if (text == "down") return ipc::KeyMotion::Down;
  if (text == "up") return ipc::KeyMotion::Up;
  if (text == "press") return ipc::KeyMotion::Press;
  return std::nullopt;
}

std::string pointText(int32_t x, int32_t y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

int refusedPoint(const std::string& points, int32_t width, int32_t height) {
  return fail(points + " is outside the " + std::to_string(width) + "x" + std::to_string(height) +
              " screen (x 0-" + std::to_string(width - 1) + ", y 0-" + std::to_string(height - 1) + ")");
}

int gesture(Context& c, const ipc::StylusGesture::Request& request, const std::string& points) {
  auto reply = c.device().call<ipc::StylusGesture>(request);
  if (!reply) return fail("the device did not answer");
  if (reply->error == ERROR_INVALID_PARAMETER) return refusedPoint(points, reply->screenWidth, reply->screenHeight);
  if (reply->error) return refused(reply->error);
  return 0;
}

int keyCommand(Context& c, const Args& args, bool button) {
  const char* usage = button ? "usage: button down|up|press CODE (0xC1-0xC6, e.g. 0xC5 for record)"
                             : "usage: key down|up|press VK (a number such as 0x0D, a letter or digit, or VK_RETURN)";
  if (args.size() != 2) return fail(usage, 2);
  auto motion = parseMotion(args[0]);
  auto key = parseVirtualKey(args[1]);
  if (!motion) return fail(usage, 2);
  if (!key) return fail("'" + args[1] + "' is not a virtual key (1-254)", 2);
  if (button && (*key < VK_APP1 || *key > VK_APP6))
    return fail("'" + args[1] + "' is not a hardware button (0xC1-0xC6)", 2);
  auto reply = c.device().call<ipc::KeyAction>({*key, *motion, button});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return refused(reply->error);
  return 0;
}

}  // namespace

int runScreenshot(Context& c, const Args& args) {
  const char* usage = "usage: screenshot [--desktop|--window] FILE.png";
  ipc::CaptureSource source = ipc::CaptureSource::Framebuffer;
  std::string file;
  for (const auto& arg : args) {
    if (arg == "--desktop") source = ipc::CaptureSource::DesktopScreen;
    else if (arg == "--window") source = ipc::CaptureSource::DesktopWindow;
    else if (file.empty() && !arg.empty() && arg[0] != '-') file = arg;
    else return fail(usage, 2);
  }
  if (file.empty()) return fail(usage, 2);
  auto reply = c.device().call<ipc::ScreenCapture>({source});
  if (!reply) return fail("the device did not answer");
  if (reply->error == ERROR_NOT_SUPPORTED) return fail("the device has no desktop window (it runs headless)");
  if (reply->error) return fail("the device could not capture the screen: " + kernel::describeError(reply->error));
  const size_t expected = static_cast<size_t>(reply->width) * 4 * static_cast<size_t>(reply->height);
  if (reply->width <= 0 || reply->height <= 0 || reply->pixels.size() != expected)
    return fail("the device sent a malformed picture");
  auto picture = gdi::Surface::wrap(reply->width, reply->height, gdi::PixelFormat::xrgb32(),
                                    reply->pixels.data(), static_cast<size_t>(reply->width) * 4, false, nullptr);
  errno = 0;
  if (!picture || !gdi::writePng(*picture, file))
    return fail("cannot write " + file + (errno ? std::string(": ") + std::strerror(errno) : ""));
  return 0;
}

int runPixel(Context& c, const Args& args) {
  if (args.size() != 2) return fail("usage: pixel X Y", 2);
  auto x = parseCoordinate(args[0]), y = parseCoordinate(args[1]);
  if (!x || !y) return fail("usage: pixel X Y (whole numbers)", 2);
  auto reply = c.device().call<ipc::ScreenPixel>({*x, *y});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return refusedPoint(pointText(*x, *y), reply->screenWidth, reply->screenHeight);
  std::printf("#%06X\n", reply->color & 0xFFFFFF);
  return 0;
}

int runScreen(Context& c, const Args& args) {
  if (args.size() > 1) return fail("usage: screen [" + ipc::screenModeNames() + "]", 2);
  if (args.empty()) {
    auto status = c.device().call<ipc::DeviceStatus>({});
    if (!status) return fail("the device did not answer");
    std::printf("%s\n", status->screen.c_str());
    return 0;
  }
  if (!ipc::findScreenMode(args[0]))
    return fail("unknown screen mode '" + args[0] + "' (" + ipc::screenModeNames() + ")", 2);
  auto reply = c.device().call<ipc::ScreenModeSet>({args[0]});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return refused(reply->error, "the device has no screen mode '" + args[0] + "'");
  return 0;
}

int runTap(Context& c, const Args& args) {
  auto x = args.size() == 2 ? parseCoordinate(args[0]) : std::nullopt;
  auto y = args.size() == 2 ? parseCoordinate(args[1]) : std::nullopt;
  if (!x || !y) return fail("usage: tap X Y", 2);
  return gesture(c, {ipc::GestureKind::Tap, *x, *y, *x, *y, 0}, pointText(*x, *y));
}

int runHold(Context& c, const Args& args) {
  if (args.size() != 3) return fail("usage: hold X Y MILLISECONDS", 2);
  auto x = parseCoordinate(args[0]), y = parseCoordinate(args[1]);
  auto ms = parseMilliseconds(args[2]);
  if (!x || !y) return fail("usage: hold X Y MILLISECONDS", 2);
  if (!ms) return fail("hold: MILLISECONDS must be 0-" + std::to_string(ipc::kMaxGestureMs), 2);
  return gesture(c, {ipc::GestureKind::Hold, *x, *y, *x, *y, *ms}, pointText(*x, *y));
}

int runDrag(Context& c, const Args& args) {
  const char* usage = "usage: drag X1 Y1 X2 Y2 [MILLISECONDS]";
  if (args.size() != 4 && args.size() != 5) return fail(usage, 2);
  auto x1 = parseCoordinate(args[0]), y1 = parseCoordinate(args[1]);
  auto x2 = parseCoordinate(args[2]), y2 = parseCoordinate(args[3]);
  auto ms = args.size() == 5 ? parseMilliseconds(args[4]) : std::optional<uint32_t>(kDefaultDragMs);
  if (!x1 || !y1 || !x2 || !y2) return fail(usage, 2);
  if (!ms) return fail("drag: MILLISECONDS must be 0-" + std::to_string(ipc::kMaxGestureMs), 2);
  return gesture(c, {ipc::GestureKind::Drag, *x1, *y1, *x2, *y2, *ms},
                 pointText(*x1, *y1) + " or " + pointText(*x2, *y2));
}

int runKey(Context& c, const Args& args) { return keyCommand(c, args, false); }

int runButton(Context& c, const Args& args) { return keyCommand(c, args, true); }

int runText(Context& c, const Args& args) {
  if (args.empty()) return fail("usage: text STRING", 2);
  std::string joined;
  for (size_t i = 0; i < args.size(); ++i) joined += (i ? " " : "") + args[i];
  auto text = strings::fromUtf8Strict(joined);
  if (!text) return fail("text: the string is not valid UTF-8", 2);
  if (text->size() > ipc::kMaxTypedText)
    return fail("text: at most " + std::to_string(ipc::kMaxTypedText) + " characters at a time", 2);
  auto reply = c.device().call<ipc::TypeText>({*text});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return refused(reply->error);
  return 0;
}

}  // namespace handheld::ctl
