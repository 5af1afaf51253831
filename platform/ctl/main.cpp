// handheld-ctl: starts, stops and drives a device from the command line.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "commands.h"
#include "ipc/client.h"
#include "os/device_root.h"

using namespace handheld;

namespace {

constexpr const char* kHelp = R"(usage: handheld-ctl [--root DIR] COMMAND [ARGS...]

Drives a Handheld device. The device root is --root DIR, else $HANDHELD_ROOT, else
$XDG_DATA_HOME/handheld/default (~/.local/share/handheld/default).
Exit codes: 0 done; 1 refused, failed or nothing found, with the reason on stderr (the
device's error code in brackets where it has one: "refused: the path is empty [error 3]");
2 bad usage.

Device
  init                          lay out the device image (folders, programs, default registry)
  start [--headless] [--screen qvga|vga|qvga-landscape|vga-landscape] [--scale N]
                                start the device in the background; returns once it is ready.
                                Without --headless it shows the device in a desktop window
                                (--scale N: its zoom, 1-4; default 2 for QVGA, 1 for VGA)
  stop                          stop the device and every program on it
  status                        whether a device runs on the root, and how

Programs
  run DEVICE_PATH [ARGS...]     start a device program; prints its process id. ARGS joined by
                                single spaces are its exact command line.
                                Example: run '\Program Files\Pinnotes\Pinnotes.exe' addnew
  ps                            list device processes (running and recently ended)
  wait-exit ID [SECONDS]        wait for a process to end (default 30 s); prints its exit code,
                                exits 1 on time-out

Registry (KEY like HKLM\SOFTWARE\VORLA\Pinnotes; HKCU for the current user)
  reg dump [KEY]                print the key and everything below it (whole registry if none)
  reg get KEY VALUE             print a value: DWORD in decimal, strings as text; exit 1 if missing
  reg set KEY VALUE dword|sz DATA
  reg delete KEY [VALUE]        delete a value, or the key with everything below it
                                (set, delete, locale and clock changes exit 1 with the reason
                                when the device could not save them, e.g. its disk is full)

Clock and settings (times are device local time)
  clock get                     print the device time as 'YYYY-MM-DD HH:MM:SS'
  clock set 'YYYY-MM-DD HH:MM:SS'     set the time; a frozen clock stays frozen
  clock freeze 'YYYY-MM-DD HH:MM:SS'  stop the clock at that time
  clock run                     let a frozen clock run on from where it stands
  locale [--date-order 0|1|2] [--time-format 0|1]
                                show or change the date order (0 month-day-year, 1 day-month-year,
                                2 year-month-day) and the clock (0 12-hour, 1 24-hour)
  notifications                 list the timed notifications (time, application, arguments)

Windows and messages (HANDLE as printed, e.g. 0x00100001; numbers in decimal or 0x hex)
  windows [--json]              list the top-level windows, front to back: handle, process id,
                                visible, enabled, rectangle, class, title. --json prints an
                                array of {handle, pid, class, title, rect: [x, y, width, height],
                                visible, enabled}
  find CLASS|'*' [TITLE]        print the handle of the first top-level window of that class
                                ('*': any) and title (exactly; none: any); exit 1 if none
  tree HANDLE|--pid ID          print a window and everything below it, or every window of a
                                process, as JSON: handle, class, text, id, style, rect,
                                visible, enabled, focused, state (what a control holds:
                                text, items, selection, check state, values), children
  post HANDLE MSG WPARAM LPARAM post a message (MSG a number or a name such as WM_CLOSE or
                                WM_USER+1); exit 1 when there is no such window
  send [--timeout SECONDS] HANDLE MSG WPARAM LPARAM
                                send a message and print the window procedure's result in
                                decimal. Only integers travel between processes. Waits at most
                                SECONDS (default 10; 0: as long as it takes), then exits 1 with
                                "timed out" and drops the late answer
  wait-idle [SECONDS]           return once every device process waits with empty message
                                queues and nothing to paint (default 10 s); exit 1 on time-out

Screen and input (X Y in device screen pixels, 0,0 at the top left; a point off the screen
is refused)
  screen [MODE]                 print the screen mode, or change it: qvga (240x320), vga
                                (480x640), qvga-landscape, vga-landscape. Every top-level window
                                receives WM_SETTINGCHANGE with SETTINGCHANGE_RESET
  screenshot [--desktop|--window] FILE.png
                                save the screen as composed; --desktop: as the desktop window
                                shows it, --window: the whole desktop window with its frame
  pixel X Y                     print a screen pixel's colour as #RRGGBB
  tap X Y                       the stylus down and up at a point
  hold X Y MILLISECONDS         the stylus down at a point, up after that time (or at once
                                when this handheld-ctl is stopped)
  drag X1 Y1 X2 Y2 [MILLISECONDS]
                                the stylus down, moved in steps, up (default 300 ms)
  key down|up|press VK          a key by virtual-key code: a number (0x0D), a letter or digit,
                                or a name (VK_RETURN, VK_SHIFT, VK_LEFT, VK_APP1, ...)
  text STRING                   type text: characters of the US keyboard as their keys (with
                                shift), others as WM_CHAR alone
  sip up|down|state             raise or lower the input panel (every top-level window receives
                                WM_SETTINGCHANGE with SPI_SETSIPINFO), or print its state as
                                JSON: up, flags, visibleDesktop and panel as [left, top, right,
                                bottom]
  button down|up|press CODE     a hardware button: 0xC1-0xC4 application buttons, 0xC5 record
                                (down: held until up; every process sees it in GetAsyncKeyState)

Menus
  menu                          print the open pop-up menu and its open sub-menus as JSON, the
                                first opened first: handle, level, items with text (with its
                                '&'), id (null for a pop-up item), rect, checked, grayed,
                                separator, popup, highlighted; exit 1 when no menu is open.
                                `tree` shows the items of a menu window too
  choose TEXT                   tap the item of the open menu with that text (case ignored,
                                '&' ignored; a sub-menu's items before its parent's); exit 1
                                when no menu is open, no item has that text or it is grayed

Sound
  speaker-log                   print what the speaker played, a line per play (oldest
                                first): pid, source, format, length, start, end (seconds since
                                the device started) and result (ended, stopped, replaced,
                                process gone; playing while it sounds)
  mic FILE.wav|tone HZ|silence  choose what the microphone hears: a sound file's samples
                                (once, then silence), a sine tone of HZ (1-20000), or silence
)";

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string> rootArg;
  ctl::Args args;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (args.empty() && arg == "--root") {
      if (i + 1 >= argc) return ctl::fail("--root needs a folder", 2);
      rootArg = argv[++i];
    } else if (args.empty() && (arg == "--help" || arg == "-h" || arg == "help")) {
      std::fputs(kHelp, stdout);
      return 0;
    } else {
      args.push_back(arg);
    }
  }
  if (args.empty()) {
    std::fputs(kHelp, stderr);
    return 2;
  }
  static const std::map<std::string, std::function<int(ctl::Context&, const ctl::Args&)>> commands = {
      {"init", ctl::runInit},   {"start", ctl::runStart},       {"stop", ctl::runStop},
      {"status", ctl::runStatus}, {"run", ctl::runRun},         {"ps", ctl::runPs},
      {"wait-exit", ctl::runWaitExit}, {"reg", ctl::runReg},    {"clock", ctl::runClock},
      {"locale", ctl::runLocale}, {"notifications", ctl::runNotifications},
      {"windows", ctl::runWindows}, {"find", ctl::runFind},   {"tree", ctl::runTree},
      {"post", ctl::runPost},       {"send", ctl::runSend},   {"wait-idle", ctl::runWaitIdle},
      {"screenshot", ctl::runScreenshot}, {"pixel", ctl::runPixel}, {"screen", ctl::runScreen},
      {"tap", ctl::runTap},         {"hold", ctl::runHold},   {"drag", ctl::runDrag},
      {"key", ctl::runKey},         {"text", ctl::runText},   {"button", ctl::runButton},
      {"menu", ctl::runMenu},       {"choose", ctl::runChoose},
      {"sip", ctl::runSip},
      {"speaker-log", ctl::runSpeakerLog}, {"mic", ctl::runMic},
  };
  auto command = commands.find(args.front());
  if (command == commands.end()) return ctl::fail("unknown command '" + args.front() + "' (see --help)", 2);
  ctl::Context context(os::chooseDeviceRoot(rootArg));
  args.erase(args.begin());
  return command->second(context, args);
}
