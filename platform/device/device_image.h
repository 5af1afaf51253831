// The device image: the folders every device has, the device programs (links to the build
// outputs) and the data files, as the build's manifest lists them.
#pragma once

#include <filesystem>
#include <string>

namespace handheld::device {

// Lays out (or refreshes) the image under root. User files are never touched: only the
// manifest's own entries are created or replaced. Returns false with a reason.
bool layOutDeviceImage(const std::filesystem::path& root, std::string& error);

// The manifest written by the build beside the device server.
std::filesystem::path imageManifestPath();

}  // namespace handheld::device
