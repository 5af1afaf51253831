// Named kernel objects shared across processes: events (an eventfd every holder shares) and
// paging-file-backed mappings (a memfd). An object lives while any process holds a reference;
// a process that dies releases what it held.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

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

  // A pulse being offered to the other holders of an event: to all at once (manual reset) or
  // one after another until one releases a wait (auto reset).
  struct Pulse {
    uint64_t objectId = 0;
    bool all = false;
    Responder<ipc::PulseNamedEvent> responder;
    std::deque<uint64_t> untried;           // connection ids
    std::unordered_set<uint64_t> awaited;   // offered, not answered yet
    EventLoop::TimerId timer = 0;
  };

  void pulse(Connection& c, uint64_t objectId, Responder<ipc::PulseNamedEvent> responder);
  void pulseAnswered(uint64_t pulseId, uint64_t connection, bool released);
  void offerNext(uint64_t pulseId);
  void endPulse(uint64_t pulseId);
  ipc::OpenNamedEvent::Reply openEvent(Connection& c, const ipc::OpenNamedEvent::Request& r);
  ipc::OpenNamedMapping::Reply openMapping(Connection& c, const ipc::OpenNamedMapping::Request& r);
  uint64_t hold(Connection& c, uint64_t id);
  void release(Connection& c, uint64_t id, uint32_t count);

  Server& server_;
  std::unordered_map<uint64_t, Object> objects_;
  std::map<std::u16string, uint64_t> byName_;  // events and mappings share one namespace
  uint64_t nextId_ = 1;
  std::unordered_map<uint64_t, Pulse> pulses_;
  uint64_t nextPulse_ = 1;
};

}  // namespace handheld::device
