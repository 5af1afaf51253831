#include "object_service.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "winerror.h"

namespace handheld::device {

namespace {
constexpr size_t kMaxNameLength = 260;
constexpr uint64_t kMaxMappingSize = 256ull * 1024 * 1024;
constexpr size_t kMaxObjectsPerClient = 4096;
// A holder that does not answer a pulse's offer in time holds the pulse up no longer.
constexpr auto kPulseAnswerTime = std::chrono::seconds(1);
constexpr size_t kMaxPulses = 1024;

os::UniqueFd duplicate(const os::UniqueFd& fd) {
  return os::UniqueFd(fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
}
}  // namespace

ObjectService::ObjectService(Server& server) : server_(server) {
  server_.onRequest<ipc::OpenNamedEvent>(
      [this](Connection& c, ipc::OpenNamedEvent::Request& r) { return openEvent(c, r); });
  server_.onRequest<ipc::OpenNamedMapping>(
      [this](Connection& c, ipc::OpenNamedMapping::Request& r) { return openMapping(c, r); });
  server_.onEvent<ipc::ReleaseObject>(
      [this](Connection& c, ipc::ReleaseObject& e) { release(c, e.objectId, 1); });
  server_.onAsyncRequest<ipc::PulseNamedEvent>(
      [this](Connection& c, ipc::PulseNamedEvent::Request& r, Responder<ipc::PulseNamedEvent> responder) {
        pulse(c, r.objectId, std::move(responder));
      });
  server_.onEvent<ipc::EventPulseAnswer>([this](Connection& c, ipc::EventPulseAnswer& a) {
    pulseAnswered(a.pulseId, c.id(), a.released);
  });
  server_.onDisconnect([this](Connection& c) {
    auto held = c.heldObjects;
    for (auto& [id, count] : held) release(c, id, count);
    std::vector<uint64_t> waiting;
    for (const auto& [id, p] : pulses_)
      if (p.awaited.contains(c.id())) waiting.push_back(id);
    for (uint64_t id : waiting) pulseAnswered(id, c.id(), false);
  });
}

void ObjectService::pulse(Connection& c, uint64_t objectId, Responder<ipc::PulseNamedEvent> responder) {
  auto object = objects_.find(objectId);
  if (!c.heldObjects.contains(objectId) || object == objects_.end() ||
      object->second.kind != Kind::Event)
    return responder.send({ERROR_INVALID_HANDLE});
  if (pulses_.size() >= kMaxPulses) return responder.send({ERROR_BUSY});
  Pulse p{objectId, object->second.manualReset, std::move(responder), {}, {}, 0};
  server_.forEachConnection([&](const Connection& holder) {
    if (holder.id() != c.id() && holder.heldObjects.contains(objectId)) p.untried.push_back(holder.id());
  });
  const uint64_t id = nextPulse_++;
  p.timer = server_.loop().addTimer(EventLoop::Clock::now() + kPulseAnswerTime, [this, id] {
    pulses_.at(id).timer = 0;
    endPulse(id);
  });
  pulses_.emplace(id, std::move(p));
  offerNext(id);
}

void ObjectService::offerNext(uint64_t pulseId) {
  Pulse& p = pulses_.at(pulseId);
  while (!p.untried.empty() && (p.all || p.awaited.empty())) {
    auto holder = server_.find(p.untried.front());
    p.untried.pop_front();
    if (!holder) continue;
    p.awaited.insert(holder->id());
    holder->push(ipc::EventPulseOffer{pulseId, p.objectId, p.all});
  }
  if (p.awaited.empty()) endPulse(pulseId);
}

void ObjectService::pulseAnswered(uint64_t pulseId, uint64_t connection, bool released) {
  auto it = pulses_.find(pulseId);
  if (it == pulses_.end() || !it->second.awaited.erase(connection)) return;
  if (released && !it->second.all) return endPulse(pulseId);
  offerNext(pulseId);
}

void ObjectService::endPulse(uint64_t pulseId) {
  auto it = pulses_.find(pulseId);
  if (it == pulses_.end()) return;
  if (it->second.timer) server_.loop().cancelTimer(it->second.timer);
  it->second.responder.send({0});
  pulses_.erase(it);
}

uint64_t ObjectService::hold(Connection& c, uint64_t id) {
  ++objects_.at(id).references;
  ++c.heldObjects[id];
  return id;
}

void ObjectService::release(Connection& c, uint64_t id, uint32_t count) {
  auto held = c.heldObjects.find(id);
  if (held == c.heldObjects.end()) return;  // not this client's to release
  count = std::min(count, held->second);
  held->second -= count;
  if (held->second == 0) c.heldObjects.erase(held);
  auto it = objects_.find(id);
  if (it == objects_.end()) return;
  it->second.references -= std::min(count, it->second.references);
  if (it->second.references == 0) {
    if (!it->second.name.empty()) byName_.erase(it->second.name);
    objects_.erase(it);
  }
}

ipc::OpenNamedEvent::Reply ObjectService::openEvent(Connection& c,
                                                    const ipc::OpenNamedEvent::Request& r) {
  ipc::OpenNamedEvent::Reply reply;
  if (r.name.empty() || r.name.size() > kMaxNameLength) {
    reply.error = ERROR_INVALID_PARAMETER;
    return reply;
  }
  if (c.heldObjects.size() >= kMaxObjectsPerClient) {
    reply.error = ERROR_NOT_ENOUGH_MEMORY;
    return reply;
  }
  auto named = byName_.find(r.name);
  if (named != byName_.end()) {
    Object& existing = objects_.at(named->second);
    if (existing.kind != Kind::Event) {
      reply.error = ERROR_INVALID_HANDLE;  // the name belongs to another kind of object
      return reply;
    }
    reply.event.fd = duplicate(existing.fd);
    if (!reply.event.fd) {
      reply.error = ERROR_TOO_MANY_OPEN_FILES;
      return reply;
    }
    reply.existed = true;
    reply.manualReset = existing.manualReset;
    reply.objectId = hold(c, named->second);
    return reply;
  }
  Object object{Kind::Event, r.name,
                os::UniqueFd(eventfd(r.initialState ? 1 : 0, EFD_CLOEXEC | EFD_NONBLOCK)),
                r.manualReset, 0, 0};
  reply.event.fd = object.fd ? duplicate(object.fd) : os::UniqueFd();
  if (!reply.event.fd) {
    reply.error = errno == EMFILE || errno == ENFILE ? ERROR_TOO_MANY_OPEN_FILES : ERROR_NOT_ENOUGH_MEMORY;
    return reply;
  }
  uint64_t id = nextId_++;
  reply.manualReset = r.manualReset;
  objects_.emplace(id, std::move(object));
  byName_[r.name] = id;
  reply.objectId = hold(c, id);
  return reply;
}

ipc::OpenNamedMapping::Reply ObjectService::openMapping(Connection& c,
                                                        const ipc::OpenNamedMapping::Request& r) {
  ipc::OpenNamedMapping::Reply reply;
  if (r.name.size() > kMaxNameLength) {
    reply.error = ERROR_INVALID_PARAMETER;
    return reply;
  }
  if (c.heldObjects.size() >= kMaxObjectsPerClient) {
    reply.error = ERROR_NOT_ENOUGH_MEMORY;
    return reply;
  }
  if (!r.name.empty()) {
    auto named = byName_.find(r.name);
    if (named != byName_.end()) {
      Object& existing = objects_.at(named->second);
      if (existing.kind != Kind::Mapping) {
        reply.error = ERROR_INVALID_HANDLE;
        return reply;
      }
      reply.memory.fd = duplicate(existing.fd);
      if (!reply.memory.fd) {
        reply.error = ERROR_TOO_MANY_OPEN_FILES;
        return reply;
      }
      reply.existed = true;
      reply.size = existing.size;
      reply.objectId = hold(c, named->second);
      return reply;
    }
  }
  if (!r.create) {
    reply.error = ERROR_FILE_NOT_FOUND;
    return reply;
  }
  if (r.size == 0 || r.size > kMaxMappingSize) {
    reply.error = r.size == 0 ? ERROR_INVALID_PARAMETER : ERROR_NOT_ENOUGH_MEMORY;
    return reply;
  }
  Object object{Kind::Mapping, r.name, os::UniqueFd(memfd_create("handheld-mapping", MFD_CLOEXEC)),
                false, r.size, 0};
  if (!object.fd || ftruncate(object.fd.get(), static_cast<off_t>(r.size)) != 0) {
    reply.error = ERROR_NOT_ENOUGH_MEMORY;
    return reply;
  }
  reply.memory.fd = duplicate(object.fd);
  if (!reply.memory.fd) {
    reply.error = ERROR_TOO_MANY_OPEN_FILES;
    return reply;
  }
  uint64_t id = nextId_++;
  reply.size = r.size;
  objects_.emplace(id, std::move(object));
  if (!r.name.empty()) byName_[r.name] = id;
  reply.objectId = hold(c, id);
  return reply;
}

}  // namespace handheld::device
