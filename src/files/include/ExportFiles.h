#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "IconScaling.h"
#include "Picture.h"

namespace mosaikon {

// The sides of the images an exported icon file holds, smallest first: each side the icon
// scaling draws.
inline constexpr std::array<int, 6> kExportedIconSides = kIconScalingSides;

// The bytes of an icon file holding the 32 × 32 icon `icon` at each of `sides` (each one of
// kExportedIconSides; by default all of them, smallest first), as iconAtSide draws them.
// Throws FileError naming `path`.
std::vector<std::uint8_t> encodeIconSizes(const Picture& icon, const std::string& path,
                                          std::span<const int> sides = kExportedIconSides);

// Write the 32 × 32 icon `icon` as an RGBA PNG, or as an icon file of every exported size. Each
// file is encoded whole first and replaces the target atomically and durably, so a failure leaves
// an existing file as it was. Throws FileError naming `path`.
void ExportPng(const Picture& icon, const std::string& path);
void ExportIconSizes(const Picture& icon, const std::string& path,
                     std::span<const int> sides = kExportedIconSides);

}  // namespace mosaikon
