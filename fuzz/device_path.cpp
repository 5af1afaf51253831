// Resolves arbitrary UTF-16 text as a device path in a small root with links that point out
// of it, and checks that whatever it yields is an entry of a folder beneath the root.
#include "fs/device_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace stdfs = std::filesystem;

struct Sandbox {
  stdfs::path base, root;
  std::shared_ptr<const handheld::fs::DeviceRoot> device;

  Sandbox() {
    char pattern[] = "/tmp/handheld-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    base = pattern;
    root = base / "root";
    stdfs::create_directories(root / ".device");
    stdfs::create_directories(root / "My Documents" / "Sub");
    stdfs::create_directories(base / "outside");
    std::ofstream(root / "My Documents" / "Note.stk") << "x";
    std::ofstream(base / "outside" / "secret") << "x";
    stdfs::create_directory_symlink(base / "outside", root / "out");
    stdfs::create_directory_symlink("../..", root / "My Documents" / "up");
    stdfs::create_symlink(base / "outside" / "secret", root / "My Documents" / "leaf");
    auto opened = handheld::fs::DeviceRoot::open(root);
    if (!opened) std::abort();
    device = *opened;
    root = stdfs::canonical(root);
  }
  ~Sandbox() {
    std::error_code ignored;
    stdfs::remove_all(base, ignored);
  }
};

bool beneath(const stdfs::path& folder, const stdfs::path& root) {
  auto [end, unused] = std::mismatch(root.begin(), root.end(), folder.begin(), folder.end());
  return end == root.end();
}

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Sandbox sandbox;
  std::u16string path(size / 2, u'\0');
  std::memcpy(path.data(), data, path.size() * 2);

  for (auto mode :
       {handheld::fs::Mode::Existing, handheld::fs::Mode::MayBeNew, handheld::fs::Mode::Pattern}) {
    auto resolved = handheld::fs::resolve(*sandbox.device, path, mode);
    if (!resolved) continue;
    auto folder = stdfs::read_symlink("/proc/self/fd/" + std::to_string(resolved->folder.get()));
    check(beneath(folder, sandbox.root));
    check(!beneath(folder, sandbox.root / ".device"));
    const std::string& name = resolved->name;
    check(name.find('/') == std::string::npos && name != "." && name != "..");
    check(!(resolved->inRoot && name == ".device"));
    if (resolved->exists && !name.empty()) {
      struct stat st {};
      check(::fstatat(resolved->folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0);
    }
  }
  return 0;
}
