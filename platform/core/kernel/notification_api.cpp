// Timed notifications, kept by the device: the handle is the device's own number for the
// notification, valid in every process and after the one that set it has ended.
#include <windows.h>

#include "ipc/client.h"

using namespace handheld;

HANDHELD_API HANDLE WINAPI CeSetUserNotificationEx(HANDLE notification, CE_NOTIFICATION_TRIGGER* trigger,
                                                   CE_USER_NOTIFICATION*) {
  if (!trigger || (trigger->dwType != CNT_TIME && trigger->dwType != CNT_PERIOD) ||
      !trigger->lpszApplication || !*trigger->lpszApplication) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const SYSTEMTIME& t = trigger->stStartTime;
  ipc::NotificationEntry entry;
  entry.id = reinterpret_cast<uintptr_t>(notification);
  entry.start = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  entry.application = trigger->lpszApplication;
  entry.arguments = trigger->lpszArguments ? trigger->lpszArguments : u"";
  auto reply = ipc::DeviceClient::get().call<ipc::SetNotification>({entry});
  if (!reply || reply->error) {
    SetLastError(reply ? reply->error : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(reply->id));
}

HANDHELD_API BOOL WINAPI CeClearUserNotification(HANDLE notification) {
  auto reply = ipc::DeviceClient::get().call<ipc::ClearNotification>(
      {static_cast<uint64_t>(reinterpret_cast<uintptr_t>(notification))});
  if (!reply || reply->error) {
    SetLastError(reply ? reply->error : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
