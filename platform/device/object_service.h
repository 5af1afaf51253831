// Named kernel objects shared across processes: events (an eventfd every holder shares) and
// paging-file-backed mappings (a memfd). An object lives while any process holds a reference;
// a process that dies releases what it held.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "server.h"

namespace handheld::device {

class ObjectService {
 public:
  explicit ObjectService(Server& server);
  size_t objectCount() const { return objects_.size(); }

 private:
  enum class Kind { Event, Mapping };
  struct Object {
    Kind kind;
    std::u16string name;
    os::UniqueFd fd;
    bool manualReset = false;
    uint64_t size = 0;
    uint32_t references = 0;
  };

  ipc::OpenNamedEvent::Reply openEvent(Connection& c, const ipc::OpenNamedEvent::Request& r);
  ipc::OpenNamedMapping::Reply openMapping(Connection& c, const ipc::OpenNamedMapping::Request& r);
  uint64_t hold(Connection& c, uint64_t id);
  void release(Connection& c, uint64_t id, uint32_t count);

  Server& server_;
  std::unordered_map<uint64_t, Object> objects_;
  std::map<std::u16string, uint64_t> byName_;  // events and mappings share one namespace
  uint64_t nextId_ = 1;
};

}  // namespace handheld::device
