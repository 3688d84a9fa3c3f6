#include "recovery/KeptCopyNames.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace mosaikon {

namespace {

constexpr std::string_view kPrefix = "copy-";
constexpr std::size_t kDigits = 16;

bool hasStem(std::string_view fileName, std::string_view extension) {
    if (fileName.size() != kPrefix.size() + kDigits + extension.size() ||
        !fileName.starts_with(kPrefix) || !fileName.ends_with(extension)) {
        return false;
    }
    const std::string_view digits = fileName.substr(kPrefix.size(), kDigits);
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

}  // namespace

std::string newKeptCopyStem() {
    // Two editors started in the same instant still draw different names.
    std::random_device device;
    const std::uint64_t value = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    constexpr char kHex[] = "0123456789abcdef";
    std::string stem(kPrefix);
    for (std::size_t i = 0; i < kDigits; ++i) {
        stem += kHex[(value >> (4 * (kDigits - 1 - i))) & 0xF];
    }
    return stem;
}

bool isKeptCopyName(std::string_view fileName) { return hasStem(fileName, ".ico"); }

bool isKeptCopyLockName(std::string_view fileName) { return hasStem(fileName, ".lock"); }

std::filesystem::path lockOfCopy(const std::filesystem::path& copy) {
    return std::filesystem::path(copy).replace_extension(".lock");
}

std::filesystem::path copyOfLock(const std::filesystem::path& lock) {
    return std::filesystem::path(lock).replace_extension(".ico");
}

}  // namespace mosaikon
