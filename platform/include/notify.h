// Timed user notifications: the device starts an application when a time comes.
#pragma once

#include "windef.h"

#define CNT_EVENT 1
#define CNT_TIME 2
#define CNT_PERIOD 3
#define CNT_CLASSICTIME 4

typedef struct UserNotificationTrigger {
  DWORD dwSize;
  DWORD dwType;
  DWORD dwEvent;
  WCHAR* lpszApplication;
  WCHAR* lpszArguments;
  SYSTEMTIME stStartTime;
  SYSTEMTIME stEndTime;
} CE_NOTIFICATION_TRIGGER, *PCE_NOTIFICATION_TRIGGER;

typedef struct UserNotificationType {
  DWORD ActionFlags;
  WCHAR* pwszDialogTitle;
  WCHAR* pwszDialogText;
  WCHAR* pwszSound;
  DWORD nMaxSound;
  DWORD dwReserved;
} CE_USER_NOTIFICATION, *PCE_USER_NOTIFICATION;

HANDHELD_API HANDLE WINAPI CeSetUserNotificationEx(HANDLE notification,
                                                   CE_NOTIFICATION_TRIGGER* trigger,
                                                   CE_USER_NOTIFICATION* userNotification);
HANDHELD_API BOOL WINAPI CeClearUserNotification(HANDLE notification);
