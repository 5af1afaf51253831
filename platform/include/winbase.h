// Kernel services: handles, errors, synchronisation, threads, time, files, modules, processes.
#pragma once

#include "windef.h"
#include "winerror.h"

// ---- handles and errors ----
HANDHELD_API BOOL WINAPI CloseHandle(HANDLE hObject);
HANDHELD_API DWORD WINAPI GetLastError(void);
HANDHELD_API void WINAPI SetLastError(DWORD dwErrCode);

// ---- synchronisation ----
// A recursive lock; the platform keeps its state in the opaque bytes (no allocation).
typedef struct _CRITICAL_SECTION {
  alignas(16) unsigned char opaque[64];
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

HANDHELD_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION cs);
HANDHELD_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION cs);
HANDHELD_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION cs);
HANDHELD_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION cs);
HANDHELD_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION cs);

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64

HANDHELD_API HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset,
                                        BOOL initialState, LPCWSTR name);
HANDHELD_API BOOL WINAPI SetEvent(HANDLE event);
HANDHELD_API BOOL WINAPI ResetEvent(HANDLE event);
HANDHELD_API BOOL WINAPI PulseEvent(HANDLE event);
HANDHELD_API DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
HANDHELD_API DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                                 DWORD milliseconds);

// ---- threads ----
typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID parameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;
#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 259u
// The device's eight application priority levels, 0 the highest.
#define THREAD_PRIORITY_TIME_CRITICAL 0
#define THREAD_PRIORITY_HIGHEST 1
#define THREAD_PRIORITY_ABOVE_NORMAL 2
#define THREAD_PRIORITY_NORMAL 3
#define THREAD_PRIORITY_BELOW_NORMAL 4
#define THREAD_PRIORITY_LOWEST 5
#define THREAD_PRIORITY_ABOVE_IDLE 6
#define THREAD_PRIORITY_IDLE 7
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

HANDHELD_API HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, DWORD stackSize,
                                        LPTHREAD_START_ROUTINE start, LPVOID parameter,
                                        DWORD creationFlags, LPDWORD threadId);
HANDHELD_API DWORD WINAPI ResumeThread(HANDLE thread);
HANDHELD_API void WINAPI ExitThread(DWORD exitCode) __attribute__((noreturn));
HANDHELD_API BOOL WINAPI TerminateThread(HANDLE thread, DWORD exitCode);
HANDHELD_API BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
HANDHELD_API BOOL WINAPI SetThreadPriority(HANDLE thread, int priority);
HANDHELD_API int WINAPI GetThreadPriority(HANDLE thread);
HANDHELD_API DWORD WINAPI GetCurrentThreadId(void);
HANDHELD_API HANDLE WINAPI GetCurrentThread(void);
HANDHELD_API DWORD WINAPI GetCurrentProcessId(void);
HANDHELD_API HANDLE WINAPI GetCurrentProcess(void);
HANDHELD_API void WINAPI Sleep(DWORD milliseconds);
HANDHELD_API DWORD WINAPI GetTickCount(void);

// ---- time (device clock) ----
HANDHELD_API void WINAPI GetLocalTime(LPSYSTEMTIME time);
HANDHELD_API void WINAPI GetSystemTime(LPSYSTEMTIME time);
HANDHELD_API BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
HANDHELD_API BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
HANDHELD_API BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
HANDHELD_API BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);
HANDHELD_API LONG WINAPI CompareFileTime(const FILETIME* first, const FILETIME* second);

// ---- files ----
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define GENERIC_EXECUTE 0x20000000u
#define GENERIC_ALL 0x10000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u
#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu
#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u
#define FILE_FLAG_WRITE_THROUGH 0x80000000u

typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

typedef struct _WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
} WIN32_FIND_DATAW, *PWIN32_FIND_DATAW, *LPWIN32_FIND_DATAW;
typedef WIN32_FIND_DATAW WIN32_FIND_DATA;

typedef struct _BY_HANDLE_FILE_INFORMATION {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
  DWORD dwOID;
} BY_HANDLE_FILE_INFORMATION, *LPBY_HANDLE_FILE_INFORMATION;

HANDHELD_API HANDLE WINAPI CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                       LPSECURITY_ATTRIBUTES attributes, DWORD creationDisposition,
                                       DWORD flagsAndAttributes, HANDLE templateFile);
HANDHELD_API BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
                                  LPOVERLAPPED overlapped);
HANDHELD_API BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite,
                                   LPDWORD bytesWritten, LPOVERLAPPED overlapped);
HANDHELD_API DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh,
                                         DWORD moveMethod);
HANDHELD_API BOOL WINAPI SetEndOfFile(HANDLE file);
HANDHELD_API BOOL WINAPI FlushFileBuffers(HANDLE file);
HANDHELD_API DWORD WINAPI GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
HANDHELD_API BOOL WINAPI GetFileTime(HANDLE file, LPFILETIME creationTime, LPFILETIME lastAccessTime,
                                     LPFILETIME lastWriteTime);
HANDHELD_API BOOL WINAPI GetFileInformationByHandle(HANDLE file,
                                                    LPBY_HANDLE_FILE_INFORMATION information);
HANDHELD_API BOOL WINAPI DeleteFileW(LPCWSTR fileName);
HANDHELD_API BOOL WINAPI MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName);
// MoveFileExW: MOVEFILE_REPLACE_EXISTING replaces a file in one step (an atomic rename);
// the device has one volume, so MOVEFILE_COPY_ALLOWED changes nothing; a move that needs a
// restart is refused (ERROR_INVALID_PARAMETER).
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004
#define MOVEFILE_WRITE_THROUGH 0x00000008
HANDHELD_API BOOL WINAPI MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags);
HANDHELD_API BOOL WINAPI CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName,
                                   BOOL failIfExists);
HANDHELD_API BOOL WINAPI CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES attributes);
HANDHELD_API BOOL WINAPI RemoveDirectoryW(LPCWSTR pathName);
HANDHELD_API DWORD WINAPI GetFileAttributesW(LPCWSTR fileName);
HANDHELD_API BOOL WINAPI SetFileAttributesW(LPCWSTR fileName, DWORD attributes);
HANDHELD_API HANDLE WINAPI FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);
HANDHELD_API BOOL WINAPI FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW findData);
HANDHELD_API BOOL WINAPI FindClose(HANDLE find);

// ---- file mappings backed by the paging file ----
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define SEC_COMMIT 0x08000000u
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

HANDHELD_API HANDLE WINAPI CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES attributes,
                                              DWORD protect, DWORD maximumSizeHigh,
                                              DWORD maximumSizeLow, LPCWSTR name);
HANDHELD_API LPVOID WINAPI MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh,
                                         DWORD offsetLow, SIZE_T bytesToMap);
HANDHELD_API BOOL WINAPI UnmapViewOfFile(LPCVOID baseAddress);

// ---- memory ----
// Local blocks are fixed: the handle is the block's address. LocalAlloc takes LMEM_FIXED and
// LMEM_ZEROINIT; LocalReAlloc moves a block only with LMEM_MOVEABLE (else it resizes in
// place or fails), zeroes what it grows by with LMEM_ZEROINIT, and with LMEM_MODIFY changes
// nothing. A handle that is not a live block fails with ERROR_INVALID_HANDLE: LocalFree
// returns it back, LocalSize returns 0.
#define LMEM_FIXED 0x0000u
#define LMEM_MOVEABLE 0x0002u
#define LMEM_ZEROINIT 0x0040u
#define LMEM_MODIFY 0x0080u
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
HANDHELD_API HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
HANDHELD_API HLOCAL WINAPI LocalReAlloc(HLOCAL memory, SIZE_T bytes, UINT flags);
HANDHELD_API HLOCAL WINAPI LocalFree(HLOCAL memory);
HANDHELD_API SIZE_T WINAPI LocalSize(HLOCAL memory);

// ---- system version ----
#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define VER_PLATFORM_WIN32_CE 3

typedef struct _OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
} OSVERSIONINFOW, *POSVERSIONINFOW, *LPOSVERSIONINFOW;
typedef OSVERSIONINFOW OSVERSIONINFO;
typedef LPOSVERSIONINFOW LPOSVERSIONINFO;

// dwOSVersionInfoSize must be sizeof(OSVERSIONINFOW) (else ERROR_INSUFFICIENT_BUFFER).
HANDHELD_API BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW information);

// ---- modules ----
HANDHELD_API DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
HANDHELD_API HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName);
HANDHELD_API HMODULE WINAPI LoadLibraryW(LPCWSTR libFileName);
HANDHELD_API BOOL WINAPI FreeLibrary(HMODULE module);
typedef LONG_PTR(WINAPI* FARPROC)();
HANDHELD_API FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR procName);

// A library's entry point, called by LoadLibraryW and FreeLibrary when the library defines it
// (extern "C" by this declaration); FALSE on attach makes LoadLibraryW fail.
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE instance,
                                                                      DWORD reason,
                                                                      LPVOID reserved);

// ---- processes ----
typedef struct _STARTUPINFOW {
  DWORD cb;
} STARTUPINFOW, *LPSTARTUPINFOW;

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *PPROCESS_INFORMATION, *LPPROCESS_INFORMATION;

HANDHELD_API BOOL WINAPI CreateProcessW(LPCWSTR applicationName, LPCWSTR commandLine,
                                        LPSECURITY_ATTRIBUTES processAttributes,
                                        LPSECURITY_ATTRIBUTES threadAttributes,
                                        BOOL inheritHandles, DWORD creationFlags,
                                        LPVOID environment, LPCWSTR currentDirectory,
                                        LPSTARTUPINFOW startupInfo,
                                        LPPROCESS_INFORMATION processInformation);
HANDHELD_API BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
HANDHELD_API BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode);
HANDHELD_API void WINAPI ExitProcess(UINT exitCode);
HANDHELD_API LPWSTR WINAPI GetCommandLineW(void);

// ---- debugging ----
// One line on the device log, tagged with the calling process.
HANDHELD_API void WINAPI OutputDebugStringW(LPCWSTR text);

// ---- strings ----
HANDHELD_API int WINAPI lstrlenW(LPCWSTR string);
HANDHELD_API LPWSTR WINAPI lstrcpyW(LPWSTR destination, LPCWSTR source);
HANDHELD_API LPWSTR WINAPI lstrcpynW(LPWSTR destination, LPCWSTR source, int maxLength);
HANDHELD_API LPWSTR WINAPI lstrcatW(LPWSTR destination, LPCWSTR source);
HANDHELD_API int WINAPI lstrcmpW(LPCWSTR first, LPCWSTR second);
HANDHELD_API int WINAPI lstrcmpiW(LPCWSTR first, LPCWSTR second);
HANDHELD_API int _wtoi(const WCHAR* string);
HANDHELD_API long _wtol(const WCHAR* string);
#define lstrlen lstrlenW
#define lstrcpy lstrcpyW
#define lstrcpyn lstrcpynW
#define lstrcat lstrcatW
#define lstrcmp lstrcmpW
#define lstrcmpi lstrcmpiW

// ---- the entry point the platform calls ----
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine,
                   int showCommand);

#define CreateEvent CreateEventW
#define CreateFile CreateFileW
#define DeleteFile DeleteFileW
#define MoveFile MoveFileW
#define MoveFileEx MoveFileExW
#define CopyFile CopyFileW
#define CreateDirectory CreateDirectoryW
#define RemoveDirectory RemoveDirectoryW
#define GetFileAttributes GetFileAttributesW
#define SetFileAttributes SetFileAttributesW
#define FindFirstFile FindFirstFileW
#define FindNextFile FindNextFileW
#define CreateFileMapping CreateFileMappingW
#define GetModuleFileName GetModuleFileNameW
#define GetModuleHandle GetModuleHandleW
#define LoadLibrary LoadLibraryW
#define GetProcAddress GetProcAddressW
#define CreateProcess CreateProcessW
#define OutputDebugString OutputDebugStringW
#define STARTUPINFO STARTUPINFOW
#define GetVersionEx GetVersionExW
