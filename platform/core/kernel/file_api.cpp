// The file APIs of winbase.h over the device file system (fs/).
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <cerrno>
#include <string_view>

#include "fs/file_info.h"
#include "fs/file_ops.h"
#include "fs/host_error.h"
#include "fs/open_file.h"
#include "kernel/handles.h"

using handheld::fs::OpenFile;

namespace {

std::shared_ptr<OpenFile> fileOf(HANDLE handle) {
  auto file =
      handheld::kernel::lookupHandleAs<OpenFile>(handle, handheld::kernel::ObjectKind::File);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

BOOL succeedsWith(DWORD error) {
  SetLastError(error);
  return error == ERROR_SUCCESS;
}

// A path argument: NULL is refused as the platform does.
bool validPath(LPCWSTR path) {
  if (path) return true;
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

void splitQuad(uint64_t value, DWORD& low, DWORD& high) {
  low = static_cast<DWORD>(value);
  high = static_cast<DWORD>(value >> 32);
}

}  // namespace

HANDHELD_API HANDLE WINAPI CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                       LPSECURITY_ATTRIBUTES, DWORD creationDisposition,
                                       DWORD flagsAndAttributes, HANDLE) {
  if (!validPath(fileName)) return INVALID_HANDLE_VALUE;
  auto opened = handheld::fs::openFile(
      fileName, {desiredAccess, shareMode, creationDisposition, flagsAndAttributes});
  if (!opened) {
    SetLastError(opened.error());
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = handheld::kernel::insertHandle(std::move(opened->file));
  SetLastError(opened->existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

HANDHELD_API BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead,
                                  LPDWORD bytesRead, LPOVERLAPPED overlapped) {
  if (bytesRead) *bytesRead = 0;
  auto file = fileOf(handle);
  if (!file) return FALSE;
  if (overlapped) return succeedsWith(ERROR_NOT_SUPPORTED);
  if (!buffer && bytesToRead) return succeedsWith(ERROR_INVALID_PARAMETER);
  if (!file->canRead()) return succeedsWith(ERROR_ACCESS_DENIED);
  size_t done = 0;
  DWORD error = file->read(buffer, bytesToRead, done);
  if (bytesRead) *bytesRead = static_cast<DWORD>(done);
  return succeedsWith(error);
}

HANDHELD_API BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite,
                                   LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
  if (bytesWritten) *bytesWritten = 0;
  auto file = fileOf(handle);
  if (!file) return FALSE;
  if (overlapped) return succeedsWith(ERROR_NOT_SUPPORTED);
  if (!buffer && bytesToWrite) return succeedsWith(ERROR_INVALID_PARAMETER);
  if (!file->canWrite()) return succeedsWith(ERROR_ACCESS_DENIED);
  size_t done = 0;
  DWORD error = file->write(buffer, bytesToWrite, done);
  if (bytesWritten) *bytesWritten = static_cast<DWORD>(done);
  return succeedsWith(error);
}

HANDHELD_API DWORD WINAPI SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh,
                                         DWORD moveMethod) {
  auto file = fileOf(handle);
  if (!file) return INVALID_SET_FILE_POINTER;
  // Without the high part the distance is a signed 32-bit value.
  int64_t offset = distance;
  if (distanceHigh) {
    uint64_t high = static_cast<uint32_t>(*distanceHigh);
    offset = static_cast<int64_t>((high << 32) | static_cast<uint32_t>(distance));
  }
  int64_t base = 0;
  struct stat st {};
  if (moveMethod == FILE_CURRENT) {
    base = ::lseek(file->fd(), 0, SEEK_CUR);
  } else if (moveMethod == FILE_END) {
    base = ::fstat(file->fd(), &st) == 0 ? st.st_size : -1;
  } else if (moveMethod != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (base < 0) {
    SetLastError(handheld::fs::errorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  int64_t target = 0;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  if (!distanceHigh && target > int64_t{0xFFFFFFFF}) {  // would not fit the 32-bit answer
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (::lseek(file->fd(), target, SEEK_SET) < 0) {
    SetLastError(handheld::fs::errorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  DWORD low = 0, high = 0;
  splitQuad(static_cast<uint64_t>(target), low, high);
  if (distanceHigh) *distanceHigh = static_cast<LONG>(high);
  SetLastError(ERROR_SUCCESS);  // tells a low part of 0xFFFFFFFF from a failure
  return low;
}

HANDHELD_API BOOL WINAPI SetEndOfFile(HANDLE handle) {
  auto file = fileOf(handle);
  if (!file) return FALSE;
  if (!file->canWrite()) return succeedsWith(ERROR_ACCESS_DENIED);
  off_t position = ::lseek(file->fd(), 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(file->fd(), position) != 0) {
    return succeedsWith(handheld::fs::errorFromErrno(errno));
  }
  return succeedsWith(ERROR_SUCCESS);
}

HANDHELD_API BOOL WINAPI FlushFileBuffers(HANDLE handle) {
  auto file = fileOf(handle);
  if (!file) return FALSE;
  if (!file->canWrite()) return succeedsWith(ERROR_ACCESS_DENIED);
  if (::fsync(file->fd()) != 0) return succeedsWith(handheld::fs::errorFromErrno(errno));
  return succeedsWith(ERROR_SUCCESS);
}

HANDHELD_API DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD fileSizeHigh) {
  auto file = fileOf(handle);
  if (!file) return INVALID_FILE_SIZE;
  auto info = handheld::fs::describeOpenFile(file->fd());
  if (!info) {
    SetLastError(info.error());
    return INVALID_FILE_SIZE;
  }
  DWORD low = 0, high = 0;
  splitQuad(info->size, low, high);
  if (fileSizeHigh) *fileSizeHigh = high;
  SetLastError(ERROR_SUCCESS);  // tells a low part of 0xFFFFFFFF from a failure
  return low;
}

HANDHELD_API BOOL WINAPI GetFileTime(HANDLE handle, LPFILETIME creationTime,
                                     LPFILETIME lastAccessTime, LPFILETIME lastWriteTime) {
  auto file = fileOf(handle);
  if (!file) return FALSE;
  auto info = handheld::fs::describeOpenFile(file->fd());
  if (!info) return succeedsWith(info.error());
  if (creationTime) *creationTime = info->created;
  if (lastAccessTime) *lastAccessTime = info->accessed;
  if (lastWriteTime) *lastWriteTime = info->written;
  return succeedsWith(ERROR_SUCCESS);
}

HANDHELD_API BOOL WINAPI GetFileInformationByHandle(HANDLE handle,
                                                    LPBY_HANDLE_FILE_INFORMATION information) {
  auto file = fileOf(handle);
  if (!file) return FALSE;
  if (!information) return succeedsWith(ERROR_INVALID_PARAMETER);
  auto info = handheld::fs::describeOpenFile(file->fd());
  if (!info) return succeedsWith(info.error());
  *information = {};
  information->dwFileAttributes = info->attributes;
  information->ftCreationTime = info->created;
  information->ftLastAccessTime = info->accessed;
  information->ftLastWriteTime = info->written;
  information->dwVolumeSerialNumber = static_cast<DWORD>(info->volume ^ (info->volume >> 32));
  splitQuad(info->size, information->nFileSizeLow, information->nFileSizeHigh);
  information->nNumberOfLinks = info->links;
  splitQuad(info->index, information->nFileIndexLow, information->nFileIndexHigh);
  return succeedsWith(ERROR_SUCCESS);
}

HANDHELD_API BOOL WINAPI DeleteFileW(LPCWSTR fileName) {
  return validPath(fileName) && succeedsWith(handheld::fs::deleteFile(fileName));
}

HANDHELD_API BOOL WINAPI MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
  return validPath(existingFileName) && validPath(newFileName) &&
         succeedsWith(handheld::fs::moveEntry(existingFileName, newFileName));
}

HANDHELD_API BOOL WINAPI MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags) {
  constexpr DWORD known = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
  if ((flags & ~known) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  handheld::fs::MoveOptions options;
  options.replaceExisting = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  options.writeThrough = (flags & MOVEFILE_WRITE_THROUGH) != 0;
  return validPath(existingFileName) && validPath(newFileName) &&
         succeedsWith(handheld::fs::moveEntry(existingFileName, newFileName, options));
}

HANDHELD_API BOOL WINAPI CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName,
                                   BOOL failIfExists) {
  return validPath(existingFileName) && validPath(newFileName) &&
         succeedsWith(handheld::fs::copyFile(existingFileName, newFileName, failIfExists));
}

HANDHELD_API BOOL WINAPI CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES) {
  return validPath(pathName) && succeedsWith(handheld::fs::makeDirectory(pathName));
}

HANDHELD_API BOOL WINAPI RemoveDirectoryW(LPCWSTR pathName) {
  return validPath(pathName) && succeedsWith(handheld::fs::removeDirectory(pathName));
}

HANDHELD_API DWORD WINAPI GetFileAttributesW(LPCWSTR fileName) {
  if (!validPath(fileName)) return INVALID_FILE_ATTRIBUTES;
  auto attributes = handheld::fs::attributesOf(fileName);
  if (!attributes) {
    SetLastError(attributes.error());
    return INVALID_FILE_ATTRIBUTES;
  }
  return *attributes;
}

HANDHELD_API BOOL WINAPI SetFileAttributesW(LPCWSTR fileName, DWORD attributes) {
  return validPath(fileName) && succeedsWith(handheld::fs::setAttributes(fileName, attributes));
}
