// An open device file (the object behind a CreateFileW handle) and how one is opened.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "fs/result.h"
#include "kernel/handles.h"
#include "os/unique_fd.h"

namespace handheld::fs {

// The host descriptor and the access it was opened for. The descriptor's offset is the file
// pointer. Closing the handle destroys the object, which closes the descriptor and so
// releases its share-mode locks.
class OpenFile final : public kernel::KernelObject {
 public:
  OpenFile(os::UniqueFd fd, DWORD access)
      : KernelObject(kernel::ObjectKind::File), fd_(std::move(fd)), access_(access) {}

  int fd() const { return fd_.get(); }
  bool canRead() const { return access_ & (GENERIC_READ | GENERIC_EXECUTE | GENERIC_ALL); }
  bool canWrite() const { return access_ & (GENERIC_WRITE | GENERIC_ALL); }

  // Move the file pointer; they stop early only at the end of the file (reading) or on an
  // error, and `done` counts the bytes moved either way. ERROR_SUCCESS or the error.
  DWORD read(void* buffer, size_t size, size_t& done) const;
  DWORD write(const void* buffer, size_t size, size_t& done) const;

 private:
  os::UniqueFd fd_;
  DWORD access_;
};

struct OpenRequest {
  DWORD access = 0;       // GENERIC_READ | GENERIC_WRITE; 0 opens for queries only
  DWORD share = 0;        // FILE_SHARE_*
  DWORD disposition = 0;  // CREATE_NEW ... TRUNCATE_EXISTING
  DWORD flags = 0;        // FILE_ATTRIBUTE_READONLY for a new file, FILE_FLAG_WRITE_THROUGH
};

struct Opened {
  std::shared_ptr<OpenFile> file;
  bool existed = false;  // the disposition found the file there (ERROR_ALREADY_EXISTS)
};

// Opens or creates a regular file as CreateFileW does. Links, folders and other host file
// types are refused (ERROR_ACCESS_DENIED), so is writing a read-only file. A file is
// truncated only after its share modes allowed the open, in place, keeping its creation time.
Result<Opened> openFile(std::u16string_view devicePath, const OpenRequest& request);

}  // namespace handheld::fs
