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
  // named objects
  OpenNamedEvent = 30,
  OpenNamedMapping,
  ReleaseObject,
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

// ---- processes ----

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
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
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

}  // namespace handheld::ipc
