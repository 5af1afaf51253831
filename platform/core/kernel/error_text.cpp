#include "kernel/error_text.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace handheld::kernel {

namespace {

// Sorted by code, so a lookup is a binary search.
constexpr std::pair<uint32_t, std::string_view> kTexts[] = {
    {ERROR_SUCCESS, "the operation succeeded"},
    {ERROR_INVALID_FUNCTION, "the function is not valid here"},
    {ERROR_FILE_NOT_FOUND, "the file was not found"},
    {ERROR_PATH_NOT_FOUND, "the path was not found"},
    {ERROR_TOO_MANY_OPEN_FILES, "too many files or handles are open"},
    {ERROR_ACCESS_DENIED, "access is denied"},
    {ERROR_INVALID_HANDLE, "the handle is not valid"},
    {ERROR_NOT_ENOUGH_MEMORY, "there is not enough memory"},
    {ERROR_BAD_FORMAT, "the program's format is not valid"},
    {ERROR_INVALID_ACCESS, "the access asked for is not valid"},
    {ERROR_INVALID_DATA, "the data is not valid"},
    {ERROR_OUTOFMEMORY, "there is not enough memory to finish"},
    {ERROR_INVALID_DRIVE, "the drive does not exist"},
    {ERROR_NO_MORE_FILES, "there are no more files"},
    {ERROR_WRITE_FAULT, "the storage could not be written"},
    {ERROR_READ_FAULT, "the storage could not be read"},
    {ERROR_GEN_FAILURE, "something the device depends on failed"},
    {ERROR_SHARING_VIOLATION, "another handle holds the file open without sharing it"},
    {ERROR_HANDLE_EOF, "the end of the file was reached"},
    {ERROR_NOT_SUPPORTED, "the request is not supported"},
    {ERROR_REQ_NOT_ACCEP, "no more connections are accepted"},
    {ERROR_FILE_EXISTS, "the file exists"},
    {ERROR_CANNOT_MAKE, "the file or folder cannot be created"},
    {ERROR_INVALID_PARAMETER, "a parameter is not valid"},
    {ERROR_BROKEN_PIPE, "the other end has closed"},
    {ERROR_DISK_FULL, "the storage is full"},
    {ERROR_CALL_NOT_IMPLEMENTED, "the device does not implement this function"},
    {ERROR_INSUFFICIENT_BUFFER, "the buffer is too small"},
    {ERROR_INVALID_NAME, "the name or path is not valid"},
    {ERROR_MOD_NOT_FOUND, "the module was not found"},
    {ERROR_PROC_NOT_FOUND, "the procedure was not found"},
    {ERROR_WAIT_NO_CHILDREN, "there is nothing to wait for"},
    {ERROR_NEGATIVE_SEEK, "the position would be before the start of the file"},
    {ERROR_DIR_NOT_EMPTY, "the folder is not empty"},
    {ERROR_BAD_PATHNAME, "the path is not valid"},
    {ERROR_BUSY, "the device is busy"},
    {ERROR_ALREADY_EXISTS, "it already exists"},
    {ERROR_BAD_EXE_FORMAT, "the file is not a program the device can run"},
    {ERROR_ENVVAR_NOT_FOUND, "the environment variable was not found"},
    {ERROR_FILENAME_EXCED_RANGE, "the name or path is too long"},
    {ERROR_MORE_DATA, "more data is available"},
    {WAIT_TIMEOUT, "the wait timed out"},
    {ERROR_NO_MORE_ITEMS, "there are no more items"},
    {ERROR_DIRECTORY, "the name is not a folder"},
    {ERROR_NOT_OWNER, "the caller does not own it"},
    {ERROR_PARTIAL_COPY, "only part of it could be copied"},
    {ERROR_INVALID_ADDRESS, "the address is not valid"},
    {ERROR_ARITHMETIC_OVERFLOW, "the value is out of range"},
    {ERROR_INVALID_FLAGS, "the flags are not valid"},
    {ERROR_BADDB, "the registry is damaged"},
    {ERROR_BADKEY, "the registry key is not valid"},
    {ERROR_CANTOPEN, "the registry key cannot be opened"},
    {ERROR_CANTREAD, "the registry key cannot be read"},
    {ERROR_CANTWRITE, "the registry key cannot be written"},
    {ERROR_REGISTRY_CORRUPT, "the registry is corrupt"},
    {ERROR_KEY_DELETED, "the registry key has been deleted"},
    {ERROR_SERVICE_NOT_ACTIVE, "the service is not running"},
    {ERROR_PROCESS_ABORTED, "the process ended unexpectedly"},
    {ERROR_NO_UNICODE_TRANSLATION, "the text has no Unicode translation"},
    {ERROR_DLL_INIT_FAILED, "a library failed to start"},
    {ERROR_NO_ASSOCIATION, "no program is registered to open files of this kind"},
    {ERROR_MESSAGE_SYNC_ONLY, "the message can only be sent, not posted"},
    {ERROR_DEVICE_NOT_CONNECTED, "the device is not connected"},
    {ERROR_NOT_FOUND, "it was not found"},
    {ERROR_INVALID_WINDOW_HANDLE, "the window handle is not valid"},
    {ERROR_INVALID_MENU_HANDLE, "the menu handle is not valid"},
    {ERROR_INVALID_CURSOR_HANDLE, "the cursor handle is not valid"},
    {ERROR_INVALID_ACCEL_HANDLE, "the accelerator table handle is not valid"},
    {ERROR_INVALID_HOOK_HANDLE, "the hook handle is not valid"},
    {ERROR_TLW_WITH_WSCHILD, "a top-level window cannot be a child window"},
    {ERROR_CANNOT_FIND_WND_CLASS, "the window class was not found"},
    {ERROR_WINDOW_OF_OTHER_THREAD, "the window belongs to another thread"},
    {ERROR_HOTKEY_ALREADY_REGISTERED, "another window has that hot key"},
    {ERROR_CLASS_ALREADY_EXISTS, "the window class already exists"},
    {ERROR_CLASS_DOES_NOT_EXIST, "the window class does not exist"},
    {ERROR_CLASS_HAS_WINDOWS, "the window class still has windows"},
    {ERROR_INVALID_INDEX, "the index is not valid"},
    {ERROR_INVALID_ICON_HANDLE, "the icon handle is not valid"},
    {ERROR_CLIPBOARD_NOT_OPEN, "the clipboard is not open"},
    {ERROR_HOTKEY_NOT_REGISTERED, "the window has no such hot key"},
    {ERROR_INVALID_THREAD_ID, "the thread identifier is not valid"},
    {ERROR_NO_SCROLLBARS, "the window has no scroll bars"},
    {ERROR_INVALID_SCROLLBAR_RANGE, "the scroll bar range cannot exceed MAXLONG"},
    {ERROR_MENU_ITEM_NOT_FOUND, "the menu has no such item"},
    {ERROR_TIMEOUT, "the operation timed out"},
    {ERROR_RESOURCE_DATA_NOT_FOUND, "the file holds no resources"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "the resource type was not found"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, "the resource name was not found"},
    {ERROR_RESOURCE_LANG_NOT_FOUND, "the resource language was not found"},
    {ERROR_NOT_ENOUGH_QUOTA, "a limit of the device is reached"},
    {ERROR_INVALID_OPERATION, "the operation is not valid now"},
};

}  // namespace

std::string_view errorText(uint32_t code) {
  static_assert(std::is_sorted(std::begin(kTexts), std::end(kTexts)), "kTexts is searched by code");
  auto it = std::lower_bound(std::begin(kTexts), std::end(kTexts), code,
                             [](const auto& entry, uint32_t wanted) { return entry.first < wanted; });
  return it != std::end(kTexts) && it->first == code ? it->second : std::string_view{};
}

std::string describeError(uint32_t code, std::string_view words) {
  const std::string number = "error " + std::to_string(code);
  const auto text = words.empty() ? errorText(code) : words;
  return text.empty() ? number : std::string(text) + " [" + number + "]";
}

}  // namespace handheld::kernel
