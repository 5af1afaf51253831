#include "gdi/image_source.h"

namespace handheld::gdi {

namespace {

constexpr DWORD kMaxImageFileBytes = DWORD{64} << 20;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

std::optional<std::vector<uint8_t>> readDeviceFile(LPCWSTR path) {
  FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  DWORD high = 0;
  DWORD size = GetFileSize(file.get(), &high);
  if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
  if (high != 0 || size > kMaxImageFileBytes) {
    SetLastError(ERROR_INVALID_DATA);
    return std::nullopt;
  }
  std::vector<uint8_t> data(size);
  DWORD read = 0;
  if (size > 0 && !ReadFile(file.get(), data.data(), size, &read, nullptr)) return std::nullopt;
  data.resize(read);
  return data;
}

std::optional<std::span<const uint8_t>> resourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type) {
  HRSRC resource = FindResourceW(instance, name, type);
  if (!resource) return std::nullopt;
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return std::nullopt;
  return std::span<const uint8_t>(static_cast<const uint8_t*>(data), SizeofResource(instance, resource));
}

}  // namespace handheld::gdi
