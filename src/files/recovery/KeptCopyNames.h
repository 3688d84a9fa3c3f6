#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mosaikon {

// Every editor names its copy "copy-" and sixteen random hexadecimal digits, and its lock the
// same with ".lock" in place of ".ico"; nothing else in the copies folder is taken for either.
std::string newKeptCopyStem();
bool isKeptCopyName(std::string_view fileName);
bool isKeptCopyLockName(std::string_view fileName);
std::filesystem::path lockOfCopy(const std::filesystem::path& copy);
std::filesystem::path copyOfLock(const std::filesystem::path& lock);

}  // namespace mosaikon
