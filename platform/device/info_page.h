// The server's side of the shared DeviceInfoPage: created once, written by the server only.
// Clients receive a descriptor sealed against writable mappings.
#pragma once

#include "ipc/device_info_page.h"
#include "os/unique_fd.h"

namespace handheld::device {

class InfoPage {
 public:
  InfoPage();
  ~InfoPage();
  InfoPage(const InfoPage&) = delete;
  InfoPage& operator=(const InfoPage&) = delete;

  bool valid() const { return page_ != nullptr; }
  ipc::DeviceInfoPage& page() { return *page_; }
  // A new descriptor for one client.
  os::UniqueFd share() const;

 private:
  os::UniqueFd memory_;
  ipc::DeviceInfoPage* page_ = nullptr;
};

}  // namespace handheld::device
