#include "registry_service.h"

#include "fs/host_error.h"
#include "os/device_root.h"
#include "registry/hive_file.h"
#include "registry/default_hive.h"
#include "registry/registry_root.h"
#include "registry/hive_format.h"
#include "strings/utf.h"
#include "winerror.h"

namespace handheld::device {

namespace {


std::optional<registry::Root> rootOf(uint32_t value) {
  return registry::rootFromHkey(reinterpret_cast<HKEY>(static_cast<uintptr_t>(value)));
}

// Long enough to gather a burst of changes, short enough that a crash of the server loses
// little: changes made through the API are on disk at most this long after they were made
// (or when the disk allows again). RegFlushKey and handheld-ctl do not wait for it.
constexpr auto kSaveDelay = std::chrono::milliseconds(50);

}  // namespace

RegistryService::RegistryService(Server& server, InfoPage& info, ClockService& clock)
    : server_(server),
      info_(info),
      clock_(clock),
      saver_(server.loop(), server.log(), "registry",
             [this] { return registry::saveHive(server_.root(), store_); }) {
  auto loaded = registry::loadHive(server_.root());
  store_ = std::move(loaded.store);
  if (!loaded.message.empty()) server_.log().write(loaded.message);
  store_.setChangeListener([this](const registry::RegistryChange& change) {
    if (change.touches(registry::Root::LocalMachine, registry::kDeviceSettingsKey)) mirrorDeviceSettings();
    // A burst of changes is written once; the device saves again when it stops.
    saver_.saveLater(kSaveDelay);
  });
  mirrorDeviceSettings();
  if (loaded.source != registry::LoadedHive::Source::File) saver_.saveNow();
  registerHandlers();
}


void RegistryService::mirrorDeviceSettings() {
  auto dword = [this](std::u16string_view name, DWORD fallback) {
    auto r = store_.queryValue(registry::Root::LocalMachine, registry::kDeviceSettingsKey, name, std::nullopt);
    if (r.status != ERROR_SUCCESS || r.type != REG_DWORD || r.data.size() != 4) return fallback;
    return static_cast<DWORD>(r.data[0] | (r.data[1] << 8) | (r.data[2] << 16) |
                              (static_cast<DWORD>(r.data[3]) << 24));
  };
  DWORD dateOrder = dword(registry::kDateOrderValue, 1);
  DWORD timeFormat = dword(registry::kTimeFormatValue, 1);
  auto bias = static_cast<int32_t>(dword(registry::kTimeZoneBiasValue, 0));
  std::u16string processor = u"Handheld ARM";
  auto name = store_.queryValue(registry::Root::LocalMachine, registry::kDeviceSettingsKey, registry::kProcessorNameValue, std::nullopt);
  if (name.status == ERROR_SUCCESS && name.type == REG_SZ) {
    processor.clear();
    for (size_t i = 0; i + 1 < name.data.size(); i += 2) {
      char16_t c = static_cast<char16_t>(name.data[i] | (name.data[i + 1] << 8));
      if (c == 0) break;
      processor += c;
    }
  }
  ipc::writeSettings(info_.page(), [&](ipc::DeviceSettingsBlock& s) {
    s.dateOrder = dateOrder > 2 ? 1 : dateOrder;
    s.timeFormat = timeFormat > 1 ? 1 : timeFormat;
    size_t n = std::min(processor.size(), std::size(s.processorName) - 1);
    std::fill(std::begin(s.processorName), std::end(s.processorName), u'\0');
    std::copy_n(processor.begin(), n, s.processorName);
  });
  clock_.setTimeZoneBias(bias);
}

void RegistryService::registerHandlers() {
  using namespace registry;
  server_.onRequest<ipc::RegistryCreateKey>([this](Connection&, ipc::RegistryCreateKey::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistryCreateKey::Reply{ERROR_INVALID_HANDLE, 0};
    if (!r.create) {
      LONG status = store_.openKey(*root, r.path);
      return ipc::RegistryCreateKey::Reply{static_cast<uint32_t>(status), REG_OPENED_EXISTING_KEY};
    }
    auto result = store_.createKey(*root, r.path);
    return ipc::RegistryCreateKey::Reply{static_cast<uint32_t>(result.status), result.disposition};
  });
  server_.onRequest<ipc::RegistryQuery>([this](Connection&, ipc::RegistryQuery::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistryQuery::Reply{ERROR_INVALID_HANDLE, 0, {}};
    auto result = store_.queryValue(*root, r.path, r.name, std::nullopt);
    return ipc::RegistryQuery::Reply{static_cast<uint32_t>(result.status), result.type,
                                     std::move(result.data)};
  });
  server_.onRequest<ipc::RegistrySet>([this](Connection&, ipc::RegistrySet::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistrySet::Reply{ERROR_INVALID_HANDLE};
    return ipc::RegistrySet::Reply{static_cast<uint32_t>(store_.setValue(*root, r.path, r.name, r.type, r.data))};
  });
  server_.onRequest<ipc::RegistryEnumKey>([this](Connection&, ipc::RegistryEnumKey::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistryEnumKey::Reply{ERROR_INVALID_HANDLE, {}};
    auto result = store_.enumKey(*root, r.path, r.index, std::nullopt);
    return ipc::RegistryEnumKey::Reply{static_cast<uint32_t>(result.status), std::move(result.name)};
  });
  server_.onRequest<ipc::RegistryEnumValue>([this](Connection&, ipc::RegistryEnumValue::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistryEnumValue::Reply{ERROR_INVALID_HANDLE, {}, 0, {}};
    auto result = store_.enumValue(*root, r.path, r.index, std::nullopt, std::nullopt);
    return ipc::RegistryEnumValue::Reply{static_cast<uint32_t>(result.status), std::move(result.name),
                                    result.type, std::move(result.data)};
  });
  server_.onRequest<ipc::RegistryDeleteValue>([this](Connection&, ipc::RegistryDeleteValue::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistryDeleteValue::Reply{ERROR_INVALID_HANDLE};
    return ipc::RegistryDeleteValue::Reply{static_cast<uint32_t>(store_.deleteValue(*root, r.path, r.name))};
  });
  server_.onRequest<ipc::RegistryDeleteKey>([this](Connection&, ipc::RegistryDeleteKey::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistryDeleteKey::Reply{ERROR_INVALID_HANDLE};
    return ipc::RegistryDeleteKey::Reply{static_cast<uint32_t>(store_.deleteKey(*root, r.path))};
  });
  server_.onRequest<ipc::RegistryFlush>([this](Connection&, ipc::RegistryFlush::Request&) {
    auto failure = saver_.flush();
    if (!failure) return ipc::RegistryFlush::Reply{ERROR_SUCCESS, {}};
    return ipc::RegistryFlush::Reply{fs::errorFromErrno(failure->hostError), failure->message};
  });
  server_.onRequest<ipc::RegistryExport>([this](Connection&, ipc::RegistryExport::Request& r) {
    auto root = rootOf(r.root);
    if (!root) return ipc::RegistryExport::Reply{ERROR_INVALID_HANDLE, {}};
    auto exported = registry::exportKey(store_, *root, r.path);
    return ipc::RegistryExport::Reply{static_cast<uint32_t>(exported.status), std::move(exported.text)};
  });
}

}  // namespace handheld::device
