// Reads the icon of a program file held in memory: every group index the file could ask for
// goes through the same walk, so the fuzzer reaches the directory, the group and the image.
#include <cstddef>
#include <cstdint>

#include "ByteSource.h"
#include "FileError.h"
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
    return 0;
}
