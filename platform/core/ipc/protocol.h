// The device protocol: every request with its fields and its reply, and every event the
// server pushes, declared once. Both sides encode and decode from these declarations
// (wire.h), so no byte offset is written twice.
//
// A request struct M has `op`, `Request` and `Reply`; an event struct has `op` and fields
// and is sent without a reply. Strings are UTF-16 as the API uses them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ipc/wire.h"

namespace handheld::ipc {

enum class Op : uint16_t {
  // connection
  Hello = 1,
  // registry
  RegistryCreateKey = 10,
  RegistryQuery,
  RegistrySet,
  RegistryEnumKey,
  RegistryEnumValue,
  RegistryDeleteValue,
  RegistryDeleteKey,
  RegistryExport,
  RegistryFlush,
  // named objects
  OpenNamedEvent = 30,
  OpenNamedMapping,
  ReleaseObject,
  PulseNamedEvent,
  EventPulseOffer,
  EventPulseAnswer,
  // processes
  StartProcess = 40,
  ProcessState,
  KillProcess,
  ProcessExiting,
  ListProcesses,
  WaitProcessExit,
  // timed notifications
  SetNotification = 50,
  ClearNotification,
  ListNotifications,
  // clock and device
  ClockControl = 60,
  ClockGet,
  DeviceStop,
  DeviceStatus,
  // windows and messages
  UserAttach = 100,
  WindowAdd,
  WindowChange,
  WindowRemove,
  WindowArrange,
  WindowList,
  WindowFind,
  WindowAtPoint,
  ForegroundGet,
  ActivationNotice,
  CaptureSet,
  WindowDescribe,
  DescribeQuery,
  DescribeAnswer,
  MessageNameRegister,
  MessageSend = 120,
  MessageSendDone,
  MessagePost,
  MessageDeliver,
  MessageResult,
  AutomationSend,
  PostsTaken = 130,
  SurfaceAttach = 140,
  SurfaceDamage,
  IdleQuery = 150,
  IdleAnswer,
  WaitIdle,
  KeyStateSet = 160,
  // display and input
  ScreenModeSet = 200,
  ScreenCapture,
  ScreenPixel,
  StylusGesture,
  KeyAction,
  TypeText,
  InputDeliver,
  // clipboard
  ClipboardOpen = 300,
  ClipboardClose,
  ClipboardEmpty,
  ClipboardPut,
  ClipboardTake,
  ClipboardState,
};

enum class ClientKind : uint8_t { Process = 1, Automation = 2 };

struct Hello {
  static constexpr Op op = Op::Hello;
  struct Request {
    ClientKind kind = ClientKind::Process;
    uint32_t pid = 0;
    uint32_t protocolVersion = 0;
    HANDHELD_FIELDS(kind, pid, protocolVersion)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t windowSlot = 0;    // the process's prefix for window handles
    std::u16string modulePath;  // device path of the image the device started, if it did
    std::u16string commandLine;
    Fd infoPage;                // read-only DeviceInfoPage
    HANDHELD_FIELDS(error, windowSlot, modulePath, commandLine, infoPage)
  };
};
inline constexpr uint32_t kProtocolVersion = 1;

// ---- registry: keys are a predefined root (HKEY value) and a path below it ----

struct RegistryCreateKey {
  static constexpr Op op = Op::RegistryCreateKey;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    bool create = false;  // false: open an existing key only
    HANDHELD_FIELDS(root, path, create)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t disposition = 0;
    HANDHELD_FIELDS(error, disposition)
  };
};

struct RegistryQuery {
  static constexpr Op op = Op::RegistryQuery;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    std::u16string name;
    HANDHELD_FIELDS(root, path, name)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t type = 0;
    Bytes data;
    HANDHELD_FIELDS(error, type, data)
  };
};

struct RegistrySet {
  static constexpr Op op = Op::RegistrySet;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    std::u16string name;
    uint32_t type = 0;
    Bytes data;
    HANDHELD_FIELDS(root, path, name, type, data)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct RegistryEnumKey {
  static constexpr Op op = Op::RegistryEnumKey;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    uint32_t index = 0;
    HANDHELD_FIELDS(root, path, index)
  };
  struct Reply {
    uint32_t error = 0;
    std::u16string name;
    HANDHELD_FIELDS(error, name)
  };
};

struct RegistryEnumValue {
  static constexpr Op op = Op::RegistryEnumValue;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    uint32_t index = 0;
    HANDHELD_FIELDS(root, path, index)
  };
  struct Reply {
    uint32_t error = 0;
    std::u16string name;
    uint32_t type = 0;
    Bytes data;
    HANDHELD_FIELDS(error, name, type, data)
  };
};

struct RegistryDeleteValue {
  static constexpr Op op = Op::RegistryDeleteValue;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    std::u16string name;
    HANDHELD_FIELDS(root, path, name)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct RegistryDeleteKey {
  static constexpr Op op = Op::RegistryDeleteKey;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    HANDHELD_FIELDS(root, path)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Names here must not be those of API functions: the API headers define macros such as
// RegEnumValue for them.

// The key and everything below it in the hive's text form (UTF-8).
struct RegistryExport {
  static constexpr Op op = Op::RegistryExport;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    HANDHELD_FIELDS(root, path)
  };
  struct Reply {
    uint32_t error = 0;
    std::string text;
    HANDHELD_FIELDS(error, text)
  };
};

// Writes the whole registry to disk before answering.
struct RegistryFlush {
  static constexpr Op op = Op::RegistryFlush;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t error = 0;  // e.g. ERROR_DISK_FULL; the changes stay in memory then
    std::string reason;  // why it could not be saved, for a person
    HANDHELD_FIELDS(error, reason)
  };
};

// ---- named objects: the server keeps them while any process holds a reference ----

struct OpenNamedEvent {
  static constexpr Op op = Op::OpenNamedEvent;
  struct Request {
    std::u16string name;
    bool manualReset = false;
    bool initialState = false;
    HANDHELD_FIELDS(name, manualReset, initialState)
  };
  struct Reply {
    uint32_t error = 0;
    bool existed = false;
    bool manualReset = false;  // of the existing event when it existed
    uint64_t objectId = 0;
    Fd event;                  // eventfd shared by every holder
    HANDHELD_FIELDS(error, existed, manualReset, objectId, event)
  };
};

struct OpenNamedMapping {
  static constexpr Op op = Op::OpenNamedMapping;
  struct Request {
    std::u16string name;  // empty: an unnamed mapping (still counted by the server)
    uint64_t size = 0;
    bool create = true;   // false: open an existing one only
    HANDHELD_FIELDS(name, size, create)
  };
  struct Reply {
    uint32_t error = 0;
    bool existed = false;
    uint64_t objectId = 0;
    uint64_t size = 0;
    Fd memory;
    HANDHELD_FIELDS(error, existed, objectId, size, memory)
  };
};

struct ReleaseObject {
  static constexpr Op op = Op::ReleaseObject;
  uint64_t objectId = 0;
  HANDHELD_FIELDS(objectId)
};

// PulseEvent on a named event whose waits in the calling process did not settle the pulse:
// the server offers it to every other holder (manual reset) or to one after another until
// one releases a wait (auto reset), and replies when that is done.
struct PulseNamedEvent {
  static constexpr Op op = Op::PulseNamedEvent;
  struct Request {
    uint64_t objectId = 0;
    HANDHELD_FIELDS(objectId)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};
// The server's offer to a holder: release every wait on the event there (all) or one; and
// the holder's answer.
struct EventPulseOffer {
  static constexpr Op op = Op::EventPulseOffer;
  uint64_t pulseId = 0;
  uint64_t objectId = 0;
  bool all = false;
  HANDHELD_FIELDS(pulseId, objectId, all)
};
struct EventPulseAnswer {
  static constexpr Op op = Op::EventPulseAnswer;
  uint64_t pulseId = 0;
  bool released = false;
  HANDHELD_FIELDS(pulseId, released)
};

// ---- processes ----

// The device runs at most this many programs at once; a start beyond it fails with
// ERROR_NOT_ENOUGH_QUOTA. A longer command line fails with ERROR_INVALID_PARAMETER.
inline constexpr size_t kMaxRunningPrograms = 64;
inline constexpr size_t kMaxCommandLine = 32 * 1024;

struct StartProcess {
  static constexpr Op op = Op::StartProcess;
  struct Request {
    std::u16string devicePath;
    std::u16string commandLine;  // exactly what the program receives
    HANDHELD_FIELDS(devicePath, commandLine)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t pid = 0;
    Fd exited;  // eventfd signalled when the process has ended
    HANDHELD_FIELDS(error, pid, exited)
  };
};

struct ProcessState {
  static constexpr Op op = Op::ProcessState;
  struct Request {
    uint32_t pid = 0;
    HANDHELD_FIELDS(pid)
  };
  struct Reply {
    uint32_t error = 0;
    bool running = false;
    uint32_t exitCode = 0;
    Fd exited;
    HANDHELD_FIELDS(error, running, exitCode, exited)
  };
};

struct KillProcess {
  static constexpr Op op = Op::KillProcess;
  struct Request {
    uint32_t pid = 0;
    uint32_t exitCode = 0;
    HANDHELD_FIELDS(pid, exitCode)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Sent by a process just before it ends, with the code it ends with.
struct ProcessExiting {
  static constexpr Op op = Op::ProcessExiting;
  uint32_t exitCode = 0;
  HANDHELD_FIELDS(exitCode)
};

struct ProcessEntry {
  uint32_t pid = 0;
  std::u16string devicePath;
  std::u16string commandLine;
  bool running = false;
  uint32_t exitCode = 0;
  HANDHELD_FIELDS(pid, devicePath, commandLine, running, exitCode)
};

struct ListProcesses {
  static constexpr Op op = Op::ListProcesses;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    std::vector<ProcessEntry> processes;
    HANDHELD_FIELDS(processes)
  };
};

// Answered when the process has ended or the time is up (error WAIT_TIMEOUT).
struct WaitProcessExit {
  static constexpr Op op = Op::WaitProcessExit;
  struct Request {
    uint32_t pid = 0;
    uint32_t timeoutMs = 0;
    HANDHELD_FIELDS(pid, timeoutMs)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t exitCode = 0;
    HANDHELD_FIELDS(error, exitCode)
  };
};

// ---- timed notifications ----

struct WireTime {  // SYSTEMTIME field by field
  uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0,
           milliseconds = 0;
  HANDHELD_FIELDS(year, month, dayOfWeek, day, hour, minute, second, milliseconds)
};

struct NotificationEntry {
  uint64_t id = 0;
  WireTime start;  // device local time
  std::u16string application;
  std::u16string arguments;
  HANDHELD_FIELDS(id, start, application, arguments)
};

struct SetNotification {
  static constexpr Op op = Op::SetNotification;
  struct Request {
    NotificationEntry entry;  // id 0 adds, otherwise replaces that notification
    HANDHELD_FIELDS(entry)
  };
  struct Reply {
    uint32_t error = 0;
    uint64_t id = 0;
    HANDHELD_FIELDS(error, id)
  };
};

struct ClearNotification {
  static constexpr Op op = Op::ClearNotification;
  struct Request {
    uint64_t id = 0;
    HANDHELD_FIELDS(id)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct ListNotifications {
  static constexpr Op op = Op::ListNotifications;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    std::vector<NotificationEntry> notifications;
    HANDHELD_FIELDS(notifications)
  };
};

// ---- clock and device ----

enum class ClockMode : uint8_t { Set = 1, Freeze = 2, Run = 3 };

struct ClockControl {
  static constexpr Op op = Op::ClockControl;
  struct Request {
    ClockMode mode = ClockMode::Run;
    int64_t localTime = 0;  // 100 ns since 1601, device local time; unused by Run
    HANDHELD_FIELDS(mode, localTime)
  };
  struct Reply {
    // ERROR_INVALID_PARAMETER for a time the device cannot show (nothing changed); an error
    // such as ERROR_DISK_FULL when the new time holds but could not be saved, with `reason`.
    uint32_t error = 0;
    std::string reason;
    HANDHELD_FIELDS(error, reason)
  };
};

struct ClockGet {
  static constexpr Op op = Op::ClockGet;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    int64_t localTime = 0;
    bool frozen = false;
    HANDHELD_FIELDS(localTime, frozen)
  };
};

struct DeviceStop {
  static constexpr Op op = Op::DeviceStop;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct DeviceStatus {
  static constexpr Op op = Op::DeviceStatus;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t serverPid = 0;
    std::string root;
    std::string display;  // "headless" or "sdl"
    std::string screen;   // "qvga", "vga-landscape", ...
    uint32_t processes = 0;
    HANDHELD_FIELDS(serverPid, root, display, screen, processes)
  };
};

// ---- windows and messages ----
// A window handle is (the owning process's window slot << 20) | serial; the server routes by
// the slot and checks every handle against its table or the owning process. The server keeps
// top-level windows only; a process's child windows live in that process.

// A process that uses windows or messages says so once, before anything can be routed to it;
// only such processes are asked whether they are idle or sent messages.
struct UserAttach {
  static constexpr Op op = Op::UserAttach;
  HANDHELD_NO_FIELDS
};

// One window as the server keeps it (top-level) or a process describes it (any window).
struct WindowRecord {
  uint32_t handle = 0;
  uint32_t parent = 0;    // 0: a top-level window
  uint32_t owner = 0;     // top-level windows: the owner window, or 0
  uint32_t pid = 0;       // set by the server
  uint32_t threadId = 0;  // host thread id of the creating thread
  uint32_t version = 0;   // grows with each change; an older snapshot never replaces a newer
  std::u16string className;
  std::u16string text;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int64_t id = 0;         // child windows: the control id
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // screen coordinates
  bool visible = false;
  bool enabled = true;
  bool topmost = false;
  bool focused = false;   // describe answers only: the window has its thread's focus
  std::string state;      // describe answers only: what a control shows, a JSON object or empty
  HANDHELD_FIELDS(handle, parent, owner, pid, threadId, version, className, text, style, exStyle,
                  id, left, top, right, bottom, visible, enabled, topmost, focused, state)
};
inline constexpr size_t kMaxClassNameLength = 256;
inline constexpr size_t kMaxWindowTextOnServer = 4096;

// The windows that lost and gained the activation through a request. The server tells every
// other process of its part with ActivationNotice; the requesting process applies its own.
struct ActivationChange {
  uint32_t lost = 0;
  uint32_t gained = 0;
  HANDHELD_FIELDS(lost, gained)
};

struct WindowAdd {
  static constexpr Op op = Op::WindowAdd;
  struct Request {
    WindowRecord window;
    HANDHELD_FIELDS(window)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Replaces the server's record of one of the caller's top-level windows. Hiding or disabling
// the foreground window moves the activation.
struct WindowChange {
  static constexpr Op op = Op::WindowChange;
  struct Request {
    WindowRecord window;
    HANDHELD_FIELDS(window)
  };
  struct Reply {
    uint32_t error = 0;
    ActivationChange activation;
    HANDHELD_FIELDS(error, activation)
  };
};

struct WindowRemove {
  static constexpr Op op = Op::WindowRemove;
  struct Request {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
  struct Reply {
    uint32_t error = 0;
    ActivationChange activation;
    HANDHELD_FIELDS(error, activation)
  };
};

// Z-order and activation of a top-level window. insertAfter: a window handle or one of the
// kInsert* values; raise false leaves the order alone.
inline constexpr uint32_t kInsertTop = 0;
inline constexpr uint32_t kInsertBottom = 1;
inline constexpr uint32_t kInsertTopmost = 0xFFFFFFFF;
inline constexpr uint32_t kInsertNoTopmost = 0xFFFFFFFE;
struct WindowArrange {
  static constexpr Op op = Op::WindowArrange;
  struct Request {
    uint32_t handle = 0;
    uint32_t insertAfter = kInsertTop;
    bool raise = true;
    bool activate = true;
    HANDHELD_FIELDS(handle, insertAfter, raise, activate)
  };
  struct Reply {
    uint32_t error = 0;
    ActivationChange activation;
    HANDHELD_FIELDS(error, activation)
  };
};

// Every top-level window, front to back.
struct WindowList {
  static constexpr Op op = Op::WindowList;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    std::vector<WindowRecord> windows;
    uint32_t foreground = 0;
    HANDHELD_FIELDS(windows, foreground)
  };
};

// The first top-level window after `after` (0: from the front) whose class (compared without
// regard to case) and text (exactly) match; a side that is not asked for matches anything.
struct WindowFind {
  static constexpr Op op = Op::WindowFind;
  struct Request {
    bool matchClass = false;
    std::u16string className;
    bool matchText = false;
    std::u16string text;
    uint32_t after = 0;
    HANDHELD_FIELDS(matchClass, className, matchText, text, after)
  };
  struct Reply {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
};

// The front-most visible and enabled top-level window containing a screen point.
struct WindowAtPoint {
  static constexpr Op op = Op::WindowAtPoint;
  struct Request {
    int32_t x = 0, y = 0;
    HANDHELD_FIELDS(x, y)
  };
  struct Reply {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
};

struct ForegroundGet {
  static constexpr Op op = Op::ForegroundGet;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t handle = 0;
    HANDHELD_FIELDS(handle)
  };
};

// Pushed to the process owning `handle`: it became active (WA_ACTIVE) or inactive; `other`
// is the window on the other side of the change.
struct ActivationNotice {
  static constexpr Op op = Op::ActivationNotice;
  uint32_t handle = 0;
  bool active = false;
  uint32_t other = 0;
  HANDHELD_FIELDS(handle, active, other)
};

// The top-level window that holds the stylus capture in the sending process, or 0.
struct CaptureSet {
  static constexpr Op op = Op::CaptureSet;
  uint32_t handle = 0;
  HANDHELD_FIELDS(handle)
};

// One item of a pop-up menu open on the screen, as its process describes it.
struct MenuItemRecord {
  uint32_t window = 0;  // the menu's window
  std::u16string text;  // with its '&'
  uint32_t id = 0;      // 0xFFFFFFFF for a pop-up item
  uint32_t state = 0;   // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP, MF_HILITE
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // screen coordinates
  HANDHELD_FIELDS(window, text, id, state, left, top, right, bottom)
};

// Windows as their process sees them: one window (tree false), a window with everything
// below it (tree true), or every window of process `pid` (handle 0). For a top-level window
// alone the server answers from its table; otherwise it asks the owning process.
struct WindowDescribe {
  static constexpr Op op = Op::WindowDescribe;
  struct Request {
    uint32_t handle = 0;
    uint32_t pid = 0;
    bool tree = false;
    HANDHELD_FIELDS(handle, pid, tree)
  };
  struct Reply {
    uint32_t error = 0;
    std::vector<WindowRecord> windows;  // parents before their children
    std::vector<MenuItemRecord> menuItems;  // items of the open pop-up menus among `windows`
    HANDHELD_FIELDS(error, windows, menuItems)
  };
};

// The server's question to the owning process for WindowDescribe, and its answer.
struct DescribeQuery {
  static constexpr Op op = Op::DescribeQuery;
  uint64_t queryId = 0;
  uint32_t handle = 0;  // 0: every window of the process
  bool tree = false;
  HANDHELD_FIELDS(queryId, handle, tree)
};
struct DescribeAnswer {
  static constexpr Op op = Op::DescribeAnswer;
  uint64_t queryId = 0;
  uint32_t error = 0;
  std::vector<WindowRecord> windows;
  std::vector<MenuItemRecord> menuItems;
  HANDHELD_FIELDS(queryId, error, windows, menuItems)
};

// RegisterWindowMessageW: one number from 0xC000 up per name (compared without regard to
// case), the same for every process of the device; 0 when the numbers are used up.
struct MessageNameRegister {
  static constexpr Op op = Op::MessageNameRegister;
  struct Request {
    std::u16string name;
    HANDHELD_FIELDS(name)
  };
  struct Reply {
    uint32_t message = 0;
    HANDHELD_FIELDS(message)
  };
};

// A message sent to a window of another process. Only integers cross: the receiver refuses
// the system messages whose parameters are pointers. The server answers with MessageSendDone
// (result 0 and an error when the window or its process is gone); notifyOnly asks for no
// answer (SendNotifyMessageW).
struct MessageSend {
  static constexpr Op op = Op::MessageSend;
  uint64_t sendId = 0;  // chosen by the sender, unique within its process
  uint32_t handle = 0;
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  bool notifyOnly = false;
  HANDHELD_FIELDS(sendId, handle, message, wParam, lParam, notifyOnly)
};
struct MessageSendDone {
  static constexpr Op op = Op::MessageSendDone;
  uint64_t sendId = 0;
  uint32_t error = 0;
  int64_t result = 0;
  HANDHELD_FIELDS(sendId, error, result)
};

// A message posted to a window of another process, or to a thread (handle 0, threadId).
// Answered at once for a top-level window the server knows: ERROR_NOT_ENOUGH_QUOTA when the
// server counts 10000 posts to that window's thread not yet taken (PostsTaken); otherwise
// once the receiving process has queued it (a window or thread it does not have, or a full
// queue: an error), or after a second without its answer (taken as delivered).
struct MessagePost {
  static constexpr Op op = Op::MessagePost;
  struct Request {
    uint32_t handle = 0;
    uint32_t threadId = 0;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    HANDHELD_FIELDS(handle, threadId, message, wParam, lParam)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

enum class Delivery : uint8_t { Send = 1, Notify = 2, Post = 3, ThreadPost = 4 };

// What the server hands the owning process. It answers with MessageResult: a send when the
// window procedure returns (or at once with an error), a post once queued. A post the server
// answered itself (deliveryId 0) names the thread it was counted against; the process queues
// it whatever its queue holds and reports it with PostsTaken once it leaves the queue.
struct MessageDeliver {
  static constexpr Op op = Op::MessageDeliver;
  uint64_t deliveryId = 0;
  Delivery kind = Delivery::Post;
  uint32_t handle = 0;
  uint32_t threadId = 0;
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  HANDHELD_FIELDS(deliveryId, kind, handle, threadId, message, wParam, lParam)
};
struct MessageResult {
  static constexpr Op op = Op::MessageResult;
  uint64_t deliveryId = 0;
  uint32_t error = 0;
  int64_t result = 0;
  HANDHELD_FIELDS(deliveryId, error, result)
};
// Posts counted against a thread's queue that have left it (taken, or dropped with their
// window or thread).
struct PostsTaken {
  static constexpr Op op = Op::PostsTaken;
  uint32_t threadId = 0;
  uint32_t count = 0;
  HANDHELD_FIELDS(threadId, count)
};

// A send from automation (handheld-ctl, tests): answered when the window procedure returns.
struct AutomationSend {
  static constexpr Op op = Op::AutomationSend;
  struct Request {
    uint32_t handle = 0;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    // How long the window procedure may take; then the reply is ERROR_TIMEOUT and its late
    // result is dropped. 0: as long as it takes.
    uint32_t timeoutMs = 0;
    HANDHELD_FIELDS(handle, message, wParam, lParam, timeoutMs)
  };
  struct Reply {
    uint32_t error = 0;
    int64_t result = 0;
    HANDHELD_FIELDS(error, result)
  };
};

// A top-level window's pixels: a memfd of height rows of width 32-bit pixels (0x00RRGGBB),
// sent when the surface is made or replaced; then the rectangles drawn into it.
struct SurfaceAttach {
  static constexpr Op op = Op::SurfaceAttach;
  uint32_t handle = 0;
  Fd memory;
  int32_t width = 0;
  int32_t height = 0;
  HANDHELD_FIELDS(handle, memory, width, height)
};
struct SurfaceDamage {
  static constexpr Op op = Op::SurfaceDamage;
  uint32_t handle = 0;
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // surface coordinates
  HANDHELD_FIELDS(handle, left, top, right, bottom)
};

// Whether a process is idle: every thread with a message queue waits with it empty and
// nothing to paint. The process answers once that holds.
struct IdleQuery {
  static constexpr Op op = Op::IdleQuery;
  uint64_t queryId = 0;
  HANDHELD_FIELDS(queryId)
};
struct IdleAnswer {
  static constexpr Op op = Op::IdleAnswer;
  uint64_t queryId = 0;
  HANDHELD_FIELDS(queryId)
};

// Answered once every device process is idle, no message is on its way between processes
// and every started program has connected; error WAIT_TIMEOUT when the time is up first.
struct WaitIdle {
  static constexpr Op op = Op::WaitIdle;
  struct Request {
    uint32_t timeoutMs = 0;
    HANDHELD_FIELDS(timeoutMs)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Sets a virtual key's state in the device key-state table (down, and the toggle on a press).
struct KeyStateSet {
  static constexpr Op op = Op::KeyStateSet;
  struct Request {
    uint32_t key = 0;
    bool down = false;
    HANDHELD_FIELDS(key, down)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// ---- display and input (automation) ----
// Coordinates are device screen pixels; a point off the screen is refused with
// ERROR_INVALID_PARAMETER. Replies that take a point carry the screen size, so that a refusal
// can say why.

// Changes the screen mode of the running device (ipc/screen_modes.h names them): the new
// metrics go into the info page and every top-level window receives WM_SETTINGCHANGE with
// SETTINGCHANGE_RESET. An unknown mode: ERROR_INVALID_PARAMETER.
struct ScreenModeSet {
  static constexpr Op op = Op::ScreenModeSet;
  struct Request {
    std::string mode;
    HANDHELD_FIELDS(mode)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// What a capture shows: the device screen as composed (either backend), or as the desktop
// window shows it: its screen area brought back to device pixels, or the whole window with
// the device frame. The desktop captures need the desktop window (else ERROR_NOT_SUPPORTED).
enum class CaptureSource : uint8_t { Framebuffer = 1, DesktopScreen = 2, DesktopWindow = 3 };

struct ScreenCapture {
  static constexpr Op op = Op::ScreenCapture;
  struct Request {
    CaptureSource source = CaptureSource::Framebuffer;
    HANDHELD_FIELDS(source)
  };
  struct Reply {
    uint32_t error = 0;
    int32_t width = 0;
    int32_t height = 0;
    Bytes pixels;  // rows top-down without padding; each pixel 0x00RRGGBB, little-endian
    HANDHELD_FIELDS(error, width, height, pixels)
  };
};

struct ScreenPixel {
  static constexpr Op op = Op::ScreenPixel;
  struct Request {
    int32_t x = 0, y = 0;
    HANDHELD_FIELDS(x, y)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t color = 0;  // 0x00RRGGBB
    int32_t screenWidth = 0, screenHeight = 0;
    HANDHELD_FIELDS(error, color, screenWidth, screenHeight)
  };
};

// Stylus input: a tap at (x1, y1); a hold there for durationMs; a drag from (x1, y1) to
// (x2, y2) over durationMs, moving in steps. Gestures run one after another on the server's
// timers; each is answered once it is over.
enum class GestureKind : uint8_t { Tap = 1, Hold = 2, Drag = 3 };
inline constexpr uint32_t kMaxGestureMs = 60000;

struct StylusGesture {
  static constexpr Op op = Op::StylusGesture;
  struct Request {
    GestureKind kind = GestureKind::Tap;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    uint32_t durationMs = 0;
    HANDHELD_FIELDS(kind, x1, y1, x2, y2, durationMs)
  };
  struct Reply {
    uint32_t error = 0;
    int32_t screenWidth = 0, screenHeight = 0;
    HANDHELD_FIELDS(error, screenWidth, screenHeight)
  };
};

// A key (virtual-key code 1-254) going down, up, or both. hardwareButton asks that the key
// be one of the device's buttons (VK_APP1-VK_APP6); otherwise ERROR_INVALID_PARAMETER.
enum class KeyMotion : uint8_t { Down = 1, Up = 2, Press = 3 };

struct KeyAction {
  static constexpr Op op = Op::KeyAction;
  struct Request {
    uint32_t key = 0;
    KeyMotion motion = KeyMotion::Press;
    bool hardwareButton = false;
    HANDHELD_FIELDS(key, motion, hardwareButton)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Text typed on the device keyboard: a character with a key on the US layout as that key's
// press (with shift where it needs it), any other character as WM_CHAR alone.
inline constexpr size_t kMaxTypedText = 4096;

struct TypeText {
  static constexpr Op op = Op::TypeText;
  struct Request {
    std::u16string text;
    HANDHELD_FIELDS(text)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Input the server routed to a top-level window, pushed to the process that owns it: the
// stylus (screen coordinates; the process picks the child under the point or its capture
// window) or a key for the focus window of the window's thread. A key down carries the
// character it types on the device keyboard (0: none); a character alone has key 0.
enum class InputKind : uint8_t { StylusDown = 1, StylusMove, StylusUp, KeyDown, KeyUp, Character };

struct InputDeliver {
  static constexpr Op op = Op::InputDeliver;
  uint32_t handle = 0;
  InputKind kind = InputKind::StylusDown;
  int32_t x = 0, y = 0;
  uint32_t key = 0;
  uint16_t character = 0;
  bool repeat = false;
  uint32_t time = 0;
  HANDHELD_FIELDS(handle, kind, x, y, key, character, repeat, time)
};

// ---- clipboard: one for the device, kept by the server ----
// A thread of a process opens it (threadId: the host thread id) and only that thread may
// change or read it until it closes or its process ends. Data is what the program put there,
// byte for byte; formats are 1-0xFFFF. Refusals: ERROR_ACCESS_DENIED (open elsewhere),
// ERROR_CLIPBOARD_NOT_OPEN, ERROR_INVALID_PARAMETER, ERROR_NOT_ENOUGH_QUOTA (limits below),
// ERROR_NOT_FOUND (no such format).

// Another process's data is bounded: one format holds text or a private record, not files,
// and the server keeps every format in memory until the clipboard is emptied.
inline constexpr size_t kMaxClipboardFormatBytes = 1 << 20;
inline constexpr size_t kMaxClipboardBytes = 4 << 20;
inline constexpr size_t kMaxClipboardFormats = 64;

// window: the caller's window to become the owner at the next ClipboardEmpty, or 0.
struct ClipboardOpen {
  static constexpr Op op = Op::ClipboardOpen;
  struct Request {
    uint32_t threadId = 0;
    uint32_t window = 0;
    HANDHELD_FIELDS(threadId, window)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct ClipboardClose {
  static constexpr Op op = Op::ClipboardClose;
  struct Request {
    uint32_t threadId = 0;
    HANDHELD_FIELDS(threadId)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Drops every format; the opener's window becomes the owner.
struct ClipboardEmpty {
  static constexpr Op op = Op::ClipboardEmpty;
  struct Request {
    uint32_t threadId = 0;
    HANDHELD_FIELDS(threadId)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Sets one format's data, replacing what it held.
struct ClipboardPut {
  static constexpr Op op = Op::ClipboardPut;
  struct Request {
    uint32_t threadId = 0;
    uint32_t format = 0;
    Bytes data;
    HANDHELD_FIELDS(threadId, format, data)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct ClipboardTake {
  static constexpr Op op = Op::ClipboardTake;
  struct Request {
    uint32_t threadId = 0;
    uint32_t format = 0;
    HANDHELD_FIELDS(threadId, format)
  };
  struct Reply {
    uint32_t error = 0;
    Bytes data;
    HANDHELD_FIELDS(error, data)
  };
};

// What anyone may ask without opening it: the formats in the order they were set, the owner
// window (0 when there is none or its process ended), and whether threadId of the asking
// process has it open.
struct ClipboardState {
  static constexpr Op op = Op::ClipboardState;
  struct Request {
    uint32_t threadId = 0;
    HANDHELD_FIELDS(threadId)
  };
  struct Reply {
    std::vector<uint32_t> formats;
    uint32_t owner = 0;
    bool openByCaller = false;
    HANDHELD_FIELDS(formats, owner, openByCaller)
  };
};

}  // namespace handheld::ipc
