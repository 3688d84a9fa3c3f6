// Which program file a file is, by its MS-DOS header and the header it leads to, and what the
// PE and NE directory readers share.
#include "program/ProgramIconDirectory.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "FileError.h"
#include "OpenKinds.h"
#include "bytes/FieldReader.h"

namespace mosaikon {

namespace {

// The MS-DOS header every Windows program starts with; e_lfanew at 0x3C leads to the real
// header (Microsoft "PE Format" document, "MS-DOS Stub (Image Only)").
struct DosHeader {
    static constexpr std::size_t kSize = 64;
    std::uint32_t newHeaderOffset = 0;  // e_lfanew
};

std::optional<DosHeader> parseDosHeader(std::span<const std::uint8_t> bytes) {
    return parseFields<DosHeader>(bytes, [](FieldReader& in, DosHeader& header) {
        in.skip(2);         // the magic, "MZ", which looksLikeProgramFile checks
        in.skip(0x3C - 2);  // the fields of MS-DOS itself
        header.newHeaderOffset = in.u32();
    });
}

// The four bytes e_lfanew leads to: "PE\0\0" in front of a PE header ("Signature (Image Only)"),
// or "NE" and the linker version that open an NE header.
struct NewHeaderSignature {
    static constexpr std::size_t kSize = 4;
    std::array<std::uint8_t, 2> letters{};
    std::array<std::uint8_t, 2> following{};
};

std::optional<NewHeaderSignature> parseNewHeaderSignature(std::span<const std::uint8_t> bytes) {
    return parseFields<NewHeaderSignature>(bytes, [](FieldReader& in, NewHeaderSignature& s) {
        s.letters = in.bytes<2>();
        s.following = in.bytes<2>();
    });
}

constexpr std::array<std::uint8_t, 2> kDosMagic{'M', 'Z'};
constexpr std::array<std::uint8_t, 2> kPeLetters{'P', 'E'};
constexpr std::array<std::uint8_t, 2> kPeFollowing{0, 0};
constexpr std::array<std::uint8_t, 2> kNeLetters{'N', 'E'};

}  // namespace

bool looksLikeProgramFile(std::span<const std::uint8_t> head) {
    return startsWith(head, kDosMagic);
}

std::unique_ptr<ProgramIconDirectory> readProgramIconDirectory(ByteSource& file) {
    refuseEmptyFile(file);  // in the words every reader uses
    if (file.size() < DosHeader::kSize) {
        throw FileError(file.name(), "is not a program file: it is too short.");
    }
    const std::vector<std::uint8_t> dosBytes =
        readRange(file, 0, DosHeader::kSize, DosHeader::kSize, "the MS-DOS header");
    const DosHeader dos = parseDosHeader(dosBytes).value();
    if (!looksLikeProgramFile(dosBytes)) {
        throw FileError(file.name(), "is not a program file: it does not start with \"MZ\".");
    }
    const std::uint32_t newHeader = dos.newHeaderOffset;
    if (newHeader > file.size() || file.size() - newHeader < NewHeaderSignature::kSize) {
        throw FileError(file.name(), "is not a Windows program file: it has no PE or NE header.");
    }
    const NewHeaderSignature signature =
        readStructure(file, newHeader, "the program header", parseNewHeaderSignature);
    if (signature.letters == kPeLetters && signature.following == kPeFollowing) {
        return readPeIconDirectory(file, newHeader);
    }
    if (signature.letters == kNeLetters) {
        return readNeIconDirectory(file, newHeader);
    }
    throw FileError(file.name(), "is not a Windows program file: it has no PE or NE header.");
}

std::unique_ptr<ProgramIconDirectory> emptyIconDirectory(const char* format) {
    class NoIcons final : public ProgramIconDirectory {
    public:
        explicit NoIcons(const char* format) : m_format(format) {}
        std::size_t groupCount() const override { return 0; }
        ResourceSpan group(std::size_t) override { return {}; }
        std::optional<ResourceSpan> image(std::uint16_t) override { return std::nullopt; }
        ResourceName groupName(std::size_t) override { return {}; }
        const char* format() const override { return m_format; }

    private:
        const char* m_format;
    };
    return std::make_unique<NoIcons>(format);
}

std::string utf8FromUtf16(const std::vector<std::uint16_t>& units) {
    std::string text;
    const auto put = [&text](std::uint32_t c) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t unit = units[i];
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const bool low = unit >= 0xDC00 && unit < 0xE000;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            put(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else {
            put(high || low ? 0xFFFDu : unit);
        }
    }
    return text;
}

}  // namespace mosaikon
