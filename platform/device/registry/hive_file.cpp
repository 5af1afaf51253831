#include "registry/hive_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "os/device_root.h"
#include "os/unique_fd.h"
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

struct ReadOutcome {
  enum class Kind { Read, Missing, Failed } kind;
  std::string text;
  std::string problem;
};

ReadOutcome readHiveText(const fs::path& path, std::size_t maxBytes) {
  os::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT) return {ReadOutcome::Kind::Missing, {}, {}};
    return {ReadOutcome::Kind::Failed, {}, "cannot be opened (" + errnoText(errno) + ")"};
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    return {ReadOutcome::Kind::Failed, {}, "cannot be examined (" + errnoText(errno) + ")"};
  }
  if (!S_ISREG(info.st_mode)) return {ReadOutcome::Kind::Failed, {}, "is not a regular file"};
  if (static_cast<std::size_t>(info.st_size) > maxBytes) {
    return {ReadOutcome::Kind::Failed, {}, "is larger than " + std::to_string(maxBytes) + " bytes"};
  }
  std::string text(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(fd.get(), text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      return {ReadOutcome::Kind::Failed, {}, "cannot be read (" + errnoText(errno) + ")"};
    }
    if (got == 0) break;  // shrank while reading: parse what is there
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);
  return {ReadOutcome::Kind::Read, std::move(text), {}};
}

std::string timestampNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Renames the damaged hive beside itself without replacing an earlier one. On failure
// `problem` says why.
std::optional<fs::path> setAside(const fs::path& hive, std::string& problem) {
  const std::string base = hive.filename().string() + ".damaged-" + timestampNow();
  for (int attempt = 1; attempt <= 100; ++attempt) {
    fs::path target = hive.parent_path() /
                      (attempt == 1 ? base : base + "-" + std::to_string(attempt));
    std::error_code error;
    if (fs::exists(target, error) || error) continue;
    if (::rename(hive.c_str(), target.c_str()) == 0) return target;
    problem = errnoText(errno);
    return std::nullopt;
  }
  problem = "every name for it is taken";
  return std::nullopt;
}

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

fs::path hivePath(const fs::path& deviceRoot) {
  return os::deviceStateDir(deviceRoot) / "registry.reg";
}

LoadedHive loadHive(const fs::path& deviceRoot, const RegistryLimits& limits) {
  const fs::path path = hivePath(deviceRoot);
  ReadOutcome read = readHiveText(path, maxHiveFileBytes(limits));
  if (read.kind == ReadOutcome::Kind::Missing) {
    return {makeDefaultRegistry(limits), LoadedHive::Source::Default,
            "registry: no hive at " + path.string() + "; starting from the default hive"};
  }
  std::string problem = std::move(read.problem);
  if (read.kind == ReadOutcome::Kind::Read) {
    RegistryStore store(limits);
    const std::optional<HiveError> error = parseHive(read.text, store);
    if (!error) return {std::move(store), LoadedHive::Source::File, {}};
    problem = "is damaged at line " + std::to_string(error->line) + " (" + error->reason + ")";
  }
  std::string message = "registry: the hive " + path.string() + " " + problem;
  std::string whyNotMoved;
  if (auto aside = setAside(path, whyNotMoved)) {
    message += "; moved it to " + aside->string();
  } else {
    message += "; it could not be moved aside (" + whyNotMoved + ")";
  }
  message += " and started from the default hive";
  return {makeDefaultRegistry(limits), LoadedHive::Source::Damaged, std::move(message)};
}

std::optional<std::string> saveHive(const fs::path& deviceRoot, const RegistryStore& store) {
  const fs::path folder = os::deviceStateDir(deviceRoot);
  const fs::path path = hivePath(deviceRoot);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return "registry: cannot create " + folder.string() + " (" + errnoText(errno) + ")";
  }
  std::string temporary = (folder / "registry.reg.XXXXXX").string();
  os::UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!fd) {
    return "registry: cannot create a file in " + folder.string() + " (" + errnoText(errno) + ")";
  }

  const std::string text = writeHive(store);
  auto failWith = [&](std::string what) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return "registry: cannot " + what + " (" + errnoText(error) + "); the hive is unchanged";
  };
  if (::fchmod(fd.get(), 0600) != 0) return failWith("set the mode of " + temporary);
  if (!writeAll(fd.get(), text)) return failWith("write " + temporary);
  if (::fsync(fd.get()) != 0) return failWith("sync " + temporary);
  if (::close(fd.release()) != 0) return failWith("close " + temporary);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return failWith("replace " + path.string());

  os::UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir || ::fsync(dir.get()) != 0) {
    return "registry: saved " + path.string() + " but cannot sync its folder (" +
           errnoText(errno) + ")";
  }
  return std::nullopt;
}

}  // namespace handheld::device::registry
