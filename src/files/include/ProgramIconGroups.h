#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "FileError.h"

namespace mosaikon {

// The icon groups of a program file, described and rebuilt as icon files, for tools that work
// on every group rather than on the one the editor draws.

// A resource's name: a number, or a text given by the file (UTF-8, any characters).
struct ResourceName {
    std::optional<std::string> text;
    std::uint16_t number = 0;
};

// One image as its group's directory describes it, and whether the file holds it.
struct IconGroupImage {
    int width = 0;  // 256 where the directory says 0
    int height = 0;
    int colourCount = 0;
    int planes = 0;
    int bitCount = 0;
    std::uint32_t bytesInGroup = 0;  // the length the group gives, often not the real one
    std::uint16_t imageId = 0;
    std::optional<std::uint32_t> bytesInFile;  // the image resource's length; none if missing
    bool png = false;                          // the image resource starts with a PNG signature
};

// One icon group: its name and its images, and what is wrong with it.
struct IconGroupDescription {
    ResourceName name;
    std::vector<IconGroupImage> images;
    // None when the group and every image it names can be read.
    std::optional<FileError> problem;
};

class ProgramIconDirectory;

// The icon groups of one program file (PE32, PE32+ or NE), read from its resource directory
// once; each group is read when it is asked for.
class ProgramIconGroups {
public:
    // Throws FileError when `file` is not a program file or its resources cannot be read at all.
    explicit ProgramIconGroups(ByteSource& file);
    ~ProgramIconGroups();
    ProgramIconGroups(const ProgramIconGroups&) = delete;
    ProgramIconGroups& operator=(const ProgramIconGroups&) = delete;

    const char* format() const;  // "PE32", "PE32+" or "NE"
    std::size_t count() const;   // groups, counted in the order the editor counts them

    // The name of group `index`. Throws FileError when its text cannot be read.
    ResourceName name(std::size_t index);

    // Group `index`: its name and images, and what is wrong with it; never throws for a
    // damaged group.
    IconGroupDescription describe(std::size_t index);

    // The icon file that holds group `index`: the group's directory with each entry's image
    // offset in place of its number, then the images, each exactly as stored, each entry's
    // length the length of the image written. Throws FileError when the group is damaged (it
    // lists more images than it holds) or an image it names is missing or has no readable
    // header: a group is rebuilt whole or not at all.
    std::vector<std::uint8_t> iconFile(std::size_t index);

private:
    // The entries of the group resource `groupBytes` and its images' bytes, once every check
    // has passed: the count the group gives is the count it holds, and every image is there,
    // readable and within the bound.
    struct SoundGroup;
    SoundGroup soundGroup(std::span<const std::uint8_t> groupBytes);

    ByteSource& m_file;
    std::unique_ptr<ProgramIconDirectory> m_directory;
};

}  // namespace mosaikon
