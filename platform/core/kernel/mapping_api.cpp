// File mappings backed by the paging file. A named mapping is kept by the device server so that
// every process opening the name shares its memory; it vanishes with the last handle.
#include <windows.h>

#include <sys/mman.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <mutex>

#include "ipc/client.h"
#include "kernel/handles.h"

using namespace handheld;

namespace {

class MappingObject : public kernel::KernelObject {
 public:
  MappingObject(os::UniqueFd fd, uint64_t bytes, uint64_t id)
      : KernelObject(kernel::ObjectKind::Mapping), memory(std::move(fd)), size(bytes), serverId(id) {}
  ~MappingObject() override {
    if (serverId) ipc::DeviceClient::get().notify(ipc::ReleaseObject{serverId});
  }
  os::UniqueFd memory;
  uint64_t size;
  uint64_t serverId;  // 0 for an unnamed mapping, which only this process knows
};

struct Views {
  std::mutex lock;
  std::map<const void*, size_t> sizes;
};
Views& views() {
  static auto* instance = new Views;
  return *instance;
}

}  // namespace

HANDHELD_API HANDLE WINAPI CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect,
                                              DWORD maximumSizeHigh, DWORD maximumSizeLow,
                                              LPCWSTR name) {
  if (file != INVALID_HANDLE_VALUE && file != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);  // only mappings of the paging file exist here
    return nullptr;
  }
  if ((protect & 0xFF) != PAGE_READWRITE && (protect & 0xFF) != PAGE_READONLY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  uint64_t size = (static_cast<uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
  if (name && *name) {
    auto reply = ipc::DeviceClient::get().call<ipc::OpenNamedMapping>({name, size, true});
    if (!reply || reply->error) {
      // Held for us although its descriptor found no room here: given back.
      if (reply && reply->objectId) ipc::DeviceClient::get().notify(ipc::ReleaseObject{reply->objectId});
      SetLastError(reply ? reply->error : ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    HANDLE handle = kernel::insertHandle(
        std::make_shared<MappingObject>(std::move(reply->memory.fd), reply->size, reply->objectId));
    SetLastError(reply->existed ? ERROR_ALREADY_EXISTS : 0);
    return handle;
  }
  if (size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  os::UniqueFd memory(memfd_create("handheld-mapping", MFD_CLOEXEC));
  if (!memory || ftruncate(memory.get(), static_cast<off_t>(size)) != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  SetLastError(0);
  return kernel::insertHandle(std::make_shared<MappingObject>(std::move(memory), size, 0));
}

HANDHELD_API LPVOID WINAPI MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh,
                                         DWORD offsetLow, SIZE_T bytesToMap) {
  auto object = kernel::lookupHandleAs<MappingObject>(mapping, kernel::ObjectKind::Mapping);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  uint64_t offset = (static_cast<uint64_t>(offsetHigh) << 32) | offsetLow;
  auto page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
  if (offset % page != 0 || offset >= object->size || bytesToMap > object->size - offset) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  size_t length = bytesToMap ? bytesToMap : static_cast<size_t>(object->size - offset);
  int protection = PROT_READ | ((desiredAccess & FILE_MAP_WRITE) ? PROT_WRITE : 0);
  void* view = mmap(nullptr, length, protection, MAP_SHARED, object->memory.get(), static_cast<off_t>(offset));
  if (view == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::lock_guard guard(views().lock);
  views().sizes[view] = length;
  return view;
}

HANDHELD_API BOOL WINAPI UnmapViewOfFile(LPCVOID baseAddress) {
  std::lock_guard guard(views().lock);
  auto it = views().sizes.find(baseAddress);
  if (it == views().sizes.end()) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  munmap(const_cast<void*>(it->first), it->second);
  views().sizes.erase(it);
  return TRUE;
}
