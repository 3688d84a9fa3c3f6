// The images of an icon file and the icon groups of a program file, for choosing one.
#include "ImageChoices.h"

#include <algorithm>

#include "ProgramIconGroups.h"
#include "ProgramIconReader.h"
#include "icon/IconFileReader.h"

namespace mosaikon {

namespace {

std::string sizeText(int width, int height, int bitCount) {
    std::string text = std::to_string(width) + " × " + std::to_string(height);
    return bitCount > 0 ? text + ", " + std::to_string(bitCount) + " bits" : text;
}

}  // namespace

IconFileImages readIconFileImages(ByteSource& file) {
    const IconFileListing listing = listIconFile(file);
    IconFileImages result;
    result.opened = listing.chosen;
    const std::size_t count = std::min(listing.images.size(), kMostChoices);
    for (std::size_t i = 0; i < count; ++i) {
        const IconFileImage& image = listing.images[i];
        ChoosableImage choice{
            image.candidate.width, image.candidate.height, image.candidate.bitCount, image.png, {},
            image.problem};
        if (!choice.problem) {
            try {
                choice.picture = decodeListedImage(listing, i, file.name());
            } catch (const FileError& problem) {
                choice.problem = problem;
            }
        }
        result.images.push_back(std::move(choice));
    }
    return result;
}

Picture readIconFileImage(ByteSource& file, std::size_t index) {
    return decodeListedImage(listIconFile(file), index, file.name());
}

std::vector<ChoosableGroup> readProgramIconGroups(ByteSource& file) {
    ProgramIconGroups groups(file);
    std::vector<ChoosableGroup> result;
    const std::size_t count = std::min(groups.count(), kMostChoices);
    for (std::size_t i = 0; i < count; ++i) {
        const IconGroupDescription description = groups.describe(i);
        ChoosableGroup choice;
        choice.name = description.name.text ? *description.name.text
                                            : "#" + std::to_string(description.name.number);
        for (const IconGroupImage& image : description.images) {
            choice.sizes.push_back(sizeText(image.width, image.height, image.bitCount));
        }
        choice.problem = description.problem;
        try {
            choice.picture = readProgramIcon(file, static_cast<std::uint16_t>(i)).picture;
        } catch (const FileError& problem) {
            if (!choice.problem) {
                choice.problem = problem;
            }
        }
        result.push_back(std::move(choice));
    }
    return result;
}

}  // namespace mosaikon
