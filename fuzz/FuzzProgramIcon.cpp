// Reads the icon of a program file held in memory: every group index the file could ask for
// goes through the same walk, so the fuzzer reaches the directory, the group and the image.
// Then every group (the first few) is described and rebuilt as an icon file, as the command-line
// tool does.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ByteSource.h"
#include "FileError.h"
#include "ProgramIconGroups.h"
#include "ProgramIconReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mosaikon::MemoryBytes file({data, size}, "fuzz.exe");
    // The last byte picks the group, so both the chosen and the substituted paths are reached.
    const std::uint16_t index = size > 0 ? data[size - 1] % 8 : 0;
    try {
        const mosaikon::ProgramIcon icon = mosaikon::readProgramIcon(file, index);
        if (icon.picture.isEmpty() || icon.group >= mosaikon::countProgramIconGroups(file)) {
            __builtin_trap();  // a read that succeeds gives a picture of a group that exists
        }
    } catch (const mosaikon::FileError&) {
    }
    try {
        mosaikon::ProgramIconGroups groups(file);
        for (std::size_t i = 0; i < groups.count() && i < 8; ++i) {
            static_cast<void>(groups.describe(i));
            try {
                const std::vector<std::uint8_t> icon = groups.iconFile(i);
                // A rebuilt file holds its header, one entry per image and the images.
                const std::size_t count = icon.at(4) | (std::size_t{icon.at(5)} << 8);
                if (count == 0 || icon.size() < 6 + 16 * count) __builtin_trap();
            } catch (const mosaikon::FileError&) {
            }
        }
    } catch (const mosaikon::FileError&) {
    }
    return 0;
}
