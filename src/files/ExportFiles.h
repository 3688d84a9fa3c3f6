#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon {

// The bytes of an icon file holding the 32 × 32 icon `icon` at every side of kExportedIconSides,
// smallest first, as iconAtSide draws them. Throws FileError naming `path`.
std::vector<std::uint8_t> encodeIconSizes(const Picture& icon, const std::string& path);

// Write the 32 × 32 icon `icon` as an RGBA PNG, or as an icon file of every exported size. Each
// file is encoded whole first and replaces the target atomically and durably, so a failure leaves
// an existing file as it was. Throws FileError naming `path`.
void ExportPng(const Picture& icon, const std::string& path);
void ExportIconSizes(const Picture& icon, const std::string& path);

}  // namespace mosaikon
