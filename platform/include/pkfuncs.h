// Kernel I/O control requests.
#pragma once

#include "windef.h"

#define IOCTL_PROCESSOR_INFORMATION 0x01010064u

typedef struct _PROCESSOR_INFO {
  WORD wVersion;
  WCHAR szProcessorCore[40];
  WORD wCoreRevision;
  WCHAR szProcessorName[40];
  WORD wProcessorRevision;
  WCHAR szCatalogNumber[100];
  WCHAR szVendor[100];
  DWORD dwInstructionSet;
  DWORD dwClockSpeed;
} PROCESSOR_INFO, *PPROCESSOR_INFO;

HANDHELD_API BOOL WINAPI KernelIoControl(DWORD ioControlCode, LPVOID inBuffer, DWORD inSize,
                                         LPVOID outBuffer, DWORD outSize, LPDWORD bytesReturned);
