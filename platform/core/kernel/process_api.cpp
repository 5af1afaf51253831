// Processes: started by the device server from a device path, waited on through a descriptor
// the server signals when the process ends.
#include <windows.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "ipc/client.h"
#include "kernel/handles.h"
#include "kernel/process_start.h"
#include "kernel/sync/pseudo_handles.h"

using namespace handheld;

namespace {

class ProcessObject : public kernel::KernelObject {
 public:
  ProcessObject(uint32_t processId, os::UniqueFd exitedEvent)
      : KernelObject(kernel::ObjectKind::Process), pid(processId), exited(std::move(exitedEvent)) {}
  int waitFd() const override { return exited.get(); }
  uint32_t pid;
  os::UniqueFd exited;
};

using kernel::currentProcessPseudoHandle;

std::shared_ptr<ProcessObject> lookupProcess(HANDLE handle) {
  return kernel::lookupHandleAs<ProcessObject>(handle, kernel::ObjectKind::Process);
}

// CreateProcessW without an application name takes it from the front of the command line.
std::pair<std::u16string, std::u16string> splitCommandLine(std::u16string_view line) {
  size_t start = line.find_first_not_of(u' ');
  if (start == std::u16string_view::npos) return {};
  if (line[start] == u'"') {
    size_t end = line.find(u'"', start + 1);
    if (end == std::u16string_view::npos) return {std::u16string(line.substr(start + 1)), {}};
    size_t rest = line.find_first_not_of(u' ', end + 1);
    return {std::u16string(line.substr(start + 1, end - start - 1)),
            rest == std::u16string_view::npos ? std::u16string() : std::u16string(line.substr(rest))};
  }
  size_t end = line.find(u' ', start);
  if (end == std::u16string_view::npos) return {std::u16string(line.substr(start)), {}};
  size_t rest = line.find_first_not_of(u' ', end);
  return {std::u16string(line.substr(start, end - start)),
          rest == std::u16string_view::npos ? std::u16string() : std::u16string(line.substr(rest))};
}

// Starts a device program; the handle, or null with the last error set.
HANDLE startProcess(const std::u16string& image, const std::u16string& commandLine, DWORD* pid) {
  auto reply = ipc::DeviceClient::get().call<ipc::StartProcess>({image, commandLine});
  if (!reply || reply->error) {
    SetLastError(reply ? reply->error : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (pid) *pid = reply->pid;
  return kernel::insertHandle(std::make_shared<ProcessObject>(reply->pid, std::move(reply->exited.fd)));
}

}  // namespace

HANDHELD_API BOOL WINAPI CreateProcessW(LPCWSTR applicationName, LPCWSTR commandLine,
                                        LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                                        LPVOID, LPCWSTR, LPSTARTUPINFOW,
                                        LPPROCESS_INFORMATION information) {
  std::u16string image, arguments;
  if (applicationName && *applicationName) {
    image = applicationName;
    arguments = commandLine ? commandLine : u"";
  } else if (commandLine) {
    std::tie(image, arguments) = splitCommandLine(commandLine);
  }
  if (image.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD pid = 0;
  HANDLE process = startProcess(image, arguments, &pid);
  if (!process) return FALSE;
  if (information) {
    // The main thread's handle waits like the process's own.
    information->hProcess = process;
    auto object = lookupProcess(process);
    information->hThread = kernel::insertHandle(std::make_shared<ProcessObject>(
        pid, os::UniqueFd(fcntl(object->exited.get(), F_DUPFD_CLOEXEC, 0))));
    information->dwProcessId = pid;
    information->dwThreadId = pid;
  } else {
    CloseHandle(process);
  }
  return TRUE;
}

HANDHELD_API BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  if (!exitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (process == currentProcessPseudoHandle()) {
    *exitCode = STILL_ACTIVE;
    return TRUE;
  }
  auto object = lookupProcess(process);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto reply = ipc::DeviceClient::get().call<ipc::ProcessState>({object->pid});
  if (!reply || reply->error) {
    SetLastError(reply ? reply->error : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *exitCode = reply->running ? STILL_ACTIVE : reply->exitCode;
  return TRUE;
}

HANDHELD_API BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode) {
  if (process == currentProcessPseudoHandle()) ExitProcess(exitCode);
  auto object = lookupProcess(process);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto reply = ipc::DeviceClient::get().call<ipc::KillProcess>({object->pid, exitCode});
  if (!reply || reply->error) {
    SetLastError(reply ? reply->error : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

HANDHELD_API void WINAPI ExitProcess(UINT exitCode) {
  kernel::announceExit(exitCode);
  std::fflush(nullptr);
  _exit(static_cast<int>(exitCode & 0xFF));
}

HANDHELD_API LPWSTR WINAPI GetCommandLineW(void) { return kernel::processCommandLine(); }
