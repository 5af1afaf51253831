#include "info_page.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <new>

namespace handheld::device {

InfoPage::InfoPage() : memory_(memfd_create("handheld-info", MFD_CLOEXEC | MFD_ALLOW_SEALING)) {
  if (!memory_ || ftruncate(memory_.get(), ipc::kDeviceInfoPageSize) != 0) return;
  void* mapped = mmap(nullptr, ipc::kDeviceInfoPageSize, PROT_READ | PROT_WRITE, MAP_SHARED,
                      memory_.get(), 0);
  if (mapped == MAP_FAILED) return;
  page_ = new (mapped) ipc::DeviceInfoPage();
  // Our mapping stays writable; nobody else can map it for writing or resize it.
  fcntl(memory_.get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_FUTURE_WRITE | F_SEAL_SEAL);
}

InfoPage::~InfoPage() {
  if (page_) {
    page_->~DeviceInfoPage();
    munmap(page_, ipc::kDeviceInfoPageSize);
  }
}

os::UniqueFd InfoPage::share() const {
  return os::UniqueFd(fcntl(memory_.get(), F_DUPFD_CLOEXEC, 0));
}

}  // namespace handheld::device
