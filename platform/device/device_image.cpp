#include "device_image.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "os/device_root.h"

namespace handheld::device {

namespace fsys = std::filesystem;

namespace {

// "\Program Files\Pinnotes\Pinnotes.exe" -> root/Program Files/Pinnotes/Pinnotes.exe
fsys::path hostPathOf(const fsys::path& root, const std::string& devicePath) {
  fsys::path out = root;
  std::stringstream parts(devicePath);
  std::string part;
  while (std::getline(parts, part, '\\'))
    if (!part.empty()) out /= part;
  return out;
}

}  // namespace

fsys::path imageManifestPath() {
  std::error_code ec;
  auto exe = fsys::read_symlink("/proc/self/exe", ec);
  return exe.parent_path().parent_path() / "share" / "handheld" / "image.manifest";
}

bool layOutDeviceImage(const fsys::path& root, std::string& error) {
  std::error_code ec;
  fsys::create_directories(os::deviceStateDir(root), ec);
  if (ec) {
    error = "cannot create " + os::deviceStateDir(root).string() + ": " + ec.message();
    return false;
  }
  fsys::permissions(root, fsys::perms::owner_all, fsys::perm_options::replace, ec);
  fsys::permissions(os::deviceStateDir(root), fsys::perms::owner_all, fsys::perm_options::replace, ec);
  for (const char* folder : {"Windows", "Program Files", "My Documents", "Temp"})
    fsys::create_directories(root / folder, ec);

  std::ifstream manifest(imageManifestPath());
  if (!manifest) {
    error = "no image manifest at " + imageManifestPath().string() + " (is the project built?)";
    return false;
  }
  std::string line;
  while (std::getline(manifest, line)) {
    std::stringstream fields(line);
    std::string kind, devicePath, source;
    if (!std::getline(fields, kind, '\t') || !std::getline(fields, devicePath, '\t') ||
        !std::getline(fields, source))
      continue;
    fsys::path target = hostPathOf(root, devicePath);
    fsys::create_directories(target.parent_path(), ec);
    if (kind == "link") {
      if (fsys::is_symlink(target, ec) && fsys::read_symlink(target, ec) == source) continue;
      fsys::remove(target, ec);
      fsys::create_symlink(source, target, ec);
    } else if (kind == "copy") {
      fsys::copy_file(source, target, fsys::copy_options::overwrite_existing, ec);
    }
    if (ec) {
      error = "cannot place " + devicePath + ": " + ec.message();
      return false;
    }
  }
  return true;
}

}  // namespace handheld::device
