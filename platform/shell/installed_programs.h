// The programs installed in the device image, as the start menu and the Buttons page list
// them: \Windows\*.exe and \Program Files\<folder>\*.exe, each named by its file name
// without ".exe", sorted by name without regard to case. The shell itself is left out.
#pragma once

#include <string>
#include <vector>

namespace handheld::shell {

struct InstalledProgram {
  std::u16string name;  // "Pinnotes"
  std::u16string path;  // "\Program Files\Pinnotes\Pinnotes.exe"
};

std::vector<InstalledProgram> installedPrograms();

}  // namespace handheld::shell
