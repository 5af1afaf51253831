// The device image: the folders every device has, the device programs (links to the build
// outputs) and the data files, as the build's manifest lists them. Nothing of it follows a
// link: a link planted at a folder of the image or at `.device` stops the device from starting.
#pragma once

#include <filesystem>
#include <string>

namespace handheld::device {

// Makes the root and its state folder `.device` (both private to their owner) and makes the
// root this process's (fs::useProcessRoot). Refuses a `.device` that is a link or no folder.
// Returns false with a reason.
bool prepareDeviceRoot(const std::filesystem::path& root, std::string& error);

// Lays out (or refreshes) the image in this process's root and records the image's links
// (os/image_links.h). User files are never touched: only the manifest's own entries are
// created or replaced. Returns false with a reason.
bool layOutDeviceImage(std::string& error);

// The explicit install step for a program outside the manifest (a test's, say): links the
// executable `hostFile` at `devicePath` in this process's root and records the link as the
// image's own, so the launcher starts it. Replaces only a link, never a file.
bool installProgram(const std::filesystem::path& hostFile, const std::string& devicePath,
                    std::string& error);

// The manifest written by the build beside the device server.
std::filesystem::path imageManifestPath();

}  // namespace handheld::device
