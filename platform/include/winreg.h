// The registry: a tree of keys under two roots, kept by the device server.
#pragma once

#include "windef.h"
#include "winerror.h"

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000003u)))

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u

#define REG_OPTION_NON_VOLATILE 0x00000000u
#define REG_OPTION_VOLATILE 0x00000001u
#define REG_CREATED_NEW_KEY 0x00000001u
#define REG_OPENED_EXISTING_KEY 0x00000002u

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_CREATE_LINK 0x0020u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003Fu

HANDHELD_API LONG WINAPI RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass,
                                         DWORD options, REGSAM desired,
                                         LPSECURITY_ATTRIBUTES attributes, PHKEY result,
                                         LPDWORD disposition);
HANDHELD_API LONG WINAPI RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired,
                                       PHKEY result);
HANDHELD_API LONG WINAPI RegCloseKey(HKEY key);
HANDHELD_API LONG WINAPI RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved,
                                          LPDWORD type, LPBYTE data, LPDWORD dataSize);
HANDHELD_API LONG WINAPI RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type,
                                        const BYTE* data, DWORD dataSize);
HANDHELD_API LONG WINAPI RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength,
                                       LPDWORD reserved, LPWSTR keyClass, LPDWORD classLength,
                                       PFILETIME lastWriteTime);
HANDHELD_API LONG WINAPI RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName,
                                       LPDWORD valueNameLength, LPDWORD reserved, LPDWORD type,
                                       LPBYTE data, LPDWORD dataSize);
HANDHELD_API LONG WINAPI RegDeleteValueW(HKEY key, LPCWSTR valueName);
HANDHELD_API LONG WINAPI RegDeleteKeyW(HKEY key, LPCWSTR subKey);
HANDHELD_API LONG WINAPI RegFlushKey(HKEY key);

#define RegCreateKeyEx RegCreateKeyExW
#define RegOpenKeyEx RegOpenKeyExW
#define RegQueryValueEx RegQueryValueExW
#define RegSetValueEx RegSetValueExW
#define RegEnumKeyEx RegEnumKeyExW
#define RegEnumValue RegEnumValueW
#define RegDeleteValue RegDeleteValueW
#define RegDeleteKey RegDeleteKeyW
