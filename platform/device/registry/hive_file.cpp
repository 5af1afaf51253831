#include "registry/hive_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "os/atomic_file.h"
#include "os/device_root.h"
#include "os/state_file.h"
#include "registry/default_hive.h"
#include "registry/hive_format.h"

namespace handheld::device::registry {
namespace {

namespace fs = std::filesystem;

// Text costs at most about three and a half bytes per stored byte (hex with its
// continuations); anything much larger is not a hive this store could have written.
std::size_t maxHiveFileBytes(const RegistryLimits& limits) {
  return limits.maxTotalBytes * 4 + (1u << 20);
}

std::string errnoText(int error) { return std::strerror(error); }

}  // namespace

fs::path hivePath(const fs::path& deviceRoot) {
  return os::deviceStateDir(deviceRoot) / "registry.reg";
}

LoadedHive loadHive(const fs::path& deviceRoot, const RegistryLimits& limits) {
  const fs::path path = hivePath(deviceRoot);
  os::StateFileText read = os::readStateFile(path, maxHiveFileBytes(limits));
  if (read.kind == os::StateFileText::Kind::Missing) {
    return {makeDefaultRegistry(limits), LoadedHive::Source::Default,
            "registry: no hive at " + path.string() + "; starting from the default hive"};
  }
  std::string problem = std::move(read.problem);
  if (read.kind == os::StateFileText::Kind::Read) {
    RegistryStore store(limits);
    const std::optional<HiveError> error = parseHive(read.text, store);
    if (!error) return {std::move(store), LoadedHive::Source::File, {}};
    problem = "is damaged at line " + std::to_string(error->line) + " (" + error->reason + ")";
  }
  std::string message = "registry: the hive " + path.string() + " " + problem;
  std::string whyNotMoved;
  if (auto aside = os::setAsideStateFile(path, whyNotMoved)) {
    message += "; moved it to " + aside->string();
  } else {
    message += "; it could not be moved aside (" + whyNotMoved + ")";
  }
  message += " and started from the default hive";
  return {makeDefaultRegistry(limits), LoadedHive::Source::Damaged, std::move(message)};
}

std::optional<os::FileWriteError> saveHive(const fs::path& deviceRoot, const RegistryStore& store) {
  const fs::path folder = os::deviceStateDir(deviceRoot);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    const int error = errno;
    return os::FileWriteError{error, "cannot create " + folder.string() + " (" + errnoText(error) + ")"};
  }
  return os::replaceFileAtomically(hivePath(deviceRoot), writeHive(store));
}

}  // namespace handheld::device::registry
