#include "ProgramFileBuilder.h"

#include <algorithm>
#include <stdexcept>

namespace mosaikon::test {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::size_t kSectionFileOffset = 0x200;
constexpr std::size_t kPeHeader = 0x80;
constexpr std::size_t kNeHeader = 0x40;
constexpr unsigned kNeShift = 4;

std::size_t reserve(std::vector<std::uint8_t>& bytes, std::size_t count,
                    std::size_t alignment = 1) {
    std::size_t at = (bytes.size() + alignment - 1) / alignment * alignment;
    bytes.resize(at + count);
    return at;
}

std::vector<std::uint8_t> dosHeader(std::size_t newHeader) {
    std::vector<std::uint8_t> bytes(newHeader, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    putU32At(bytes, 0x3C, static_cast<std::uint32_t>(newHeader));
    return bytes;
}

struct Leaf {
    std::uint32_t nameOrId;  // kHighBit: a name, patched once the strings are placed
    std::optional<std::string> name;
    std::vector<std::vector<std::uint8_t>> languages;  // the data, one per language
};

std::vector<std::uint8_t> groupBytes(const GroupResource& group) {
    return group.rawBytes ? *group.rawBytes : groupDirectoryBytes(group.entries);
}

}  // namespace

void putU16At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void putU32At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    putU16At(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    putU16At(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::vector<std::uint8_t> groupDirectoryBytes(const std::vector<GroupEntry>& entries) {
    std::vector<std::uint8_t> bytes(6 + 14 * entries.size(), 0);
    putU16At(bytes, 2, 1);
    putU16At(bytes, 4, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const GroupEntry& e = entries[i];
        const std::size_t at = 6 + 14 * i;
        bytes[at] = static_cast<std::uint8_t>(e.width & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>(e.height & 0xFF);
        bytes[at + 2] = static_cast<std::uint8_t>(e.colourCount);
        putU16At(bytes, at + 4, 1);
        putU16At(bytes, at + 6, static_cast<std::uint16_t>(e.bitCount));
        putU32At(bytes, at + 8, e.bytesInResource);
        putU16At(bytes, at + 12, e.imageId);
    }
    return bytes;
}

std::vector<std::uint8_t> iconImage(int width, int height, Pixel (*pattern)(int x, int y)) {
    const std::size_t maskRow = static_cast<std::size_t>((width + 31) / 32 * 4);
    std::vector<std::uint8_t> bytes(40 + static_cast<std::size_t>(width * height) * 4 +
                                        maskRow * static_cast<std::size_t>(height),
                                    0);
    putU32At(bytes, 0, 40);
    putU32At(bytes, 4, static_cast<std::uint32_t>(width));
    putU32At(bytes, 8, static_cast<std::uint32_t>(2 * height));
    putU16At(bytes, 12, 1);
    putU16At(bytes, 14, 32);
    std::size_t at = 40;
    for (int y = height - 1; y >= 0; --y) {  // bottom-up
        for (int x = 0; x < width; ++x) {
            const Pixel p = pattern(x, y);
            bytes[at++] = static_cast<std::uint8_t>(p >> 16);  // blue
            bytes[at++] = static_cast<std::uint8_t>(p >> 8);   // green
            bytes[at++] = static_cast<std::uint8_t>(p);        // red
            bytes[at++] = static_cast<std::uint8_t>(p >> 24);  // alpha
        }
    }
    return bytes;  // the AND mask stays all zero: opacity comes from alpha
}

std::vector<std::uint8_t> solidIconImage(int width, int height, Pixel colour) {
    std::vector<std::uint8_t> bytes = iconImage(width, height, [](int, int) { return Pixel{0}; });
    for (std::size_t at = 40; at < 40 + static_cast<std::size_t>(width * height) * 4; at += 4) {
        bytes[at] = static_cast<std::uint8_t>(colour >> 16);
        bytes[at + 1] = static_cast<std::uint8_t>(colour >> 8);
        bytes[at + 2] = static_cast<std::uint8_t>(colour);
        bytes[at + 3] = static_cast<std::uint8_t>(colour >> 24);
    }
    return bytes;
}

ProgramFileBuilder& ProgramFileBuilder::addGroup(GroupResource group) {
    m_groups.push_back(std::move(group));
    return *this;
}

ProgramFileBuilder& ProgramFileBuilder::addImage(std::uint16_t id,
                                                 std::vector<std::uint8_t> bytes) {
    m_images.emplace_back(id, std::move(bytes));
    return *this;
}

ProgramFileBuilder& ProgramFileBuilder::addSecondLanguage(std::size_t groupIndex,
                                                          GroupResource inThatLanguage) {
    m_secondLanguages.emplace_back(groupIndex, std::move(inThatLanguage));
    return *this;
}

std::vector<std::uint8_t> ProgramFileBuilder::build(ProgramFormat format,
                                                    ProgramLayout* layout) const {
    ProgramLayout scratch;
    ProgramLayout& out = layout != nullptr ? *layout : scratch;
    out = ProgramLayout{};
    return format == ProgramFormat::Ne ? buildNe(out)
                                       : buildPe(format == ProgramFormat::Pe32Plus, out);
}

std::vector<std::uint8_t> ProgramFileBuilder::buildPe(bool plus, ProgramLayout& layout) const {
    // The resource types in ascending order, as a linker stores them: images, then groups.
    std::vector<Leaf> images;
    for (const auto& [id, bytes] : m_images) {
        images.push_back({id, std::nullopt, {bytes}});
    }
    std::vector<Leaf> groups;
    for (const GroupResource& g : m_groups) {
        groups.push_back({g.name ? kHighBit : g.id, g.name, {groupBytes(g)}});
    }
    for (const auto& [index, g] : m_secondLanguages) {
        groups.at(index).languages.push_back(groupBytes(g));
    }
    std::vector<std::pair<std::uint32_t, std::vector<Leaf>*>> types;
    if (!images.empty()) types.emplace_back(3, &images);
    if (!groups.empty()) types.emplace_back(14, &groups);

    std::vector<std::uint8_t> r;
    const std::size_t root = reserve(r, 16 + 8 * types.size());
    putU16At(r, root + 14, static_cast<std::uint16_t>(types.size()));
    struct Patch {
        std::size_t entry;  // a directory entry whose name is patched
        std::string name;
    };
    std::vector<Patch> names;
    struct DataPatch {
        std::size_t dataEntry;
        const std::vector<std::uint8_t>* bytes;
        enum class Kind { Group, Image, OtherLanguage } kind;
    };
    std::vector<DataPatch> data;
    for (std::size_t t = 0; t < types.size(); ++t) {
        std::vector<Leaf>& leaves = *types[t].second;
        const std::size_t dir = reserve(r, 16 + 8 * leaves.size());
        const auto named = static_cast<std::uint16_t>(std::count_if(
            leaves.begin(), leaves.end(), [](const Leaf& l) { return l.name.has_value(); }));
        putU16At(r, dir + 12, named);
        putU16At(r, dir + 14, static_cast<std::uint16_t>(leaves.size() - named));
        putU32At(r, root + 16 + 8 * t, types[t].first);
        putU32At(r, root + 16 + 8 * t + 4, kHighBit | static_cast<std::uint32_t>(dir));
        if (types[t].first == 14) layout.groupTypeEntry = kSectionFileOffset + root + 16 + 8 * t;
        for (std::size_t k = 0; k < leaves.size(); ++k) {
            const std::size_t entry = dir + 16 + 8 * k;
            const std::size_t languages = reserve(r, 16 + 8 * leaves[k].languages.size());
            putU16At(r, languages + 14, static_cast<std::uint16_t>(leaves[k].languages.size()));
            putU32At(r, entry, leaves[k].nameOrId);
            putU32At(r, entry + 4, kHighBit | static_cast<std::uint32_t>(languages));
            if (leaves[k].name) names.push_back({entry, *leaves[k].name});
            for (std::size_t l = 0; l < leaves[k].languages.size(); ++l) {
                const std::size_t dataEntry = reserve(r, 16);
                putU32At(r, languages + 16 + 8 * l, static_cast<std::uint32_t>(1031 + 2 * l));
                putU32At(r, languages + 16 + 8 * l + 4, static_cast<std::uint32_t>(dataEntry));
                const auto kind = l > 0                  ? DataPatch::Kind::OtherLanguage
                                  : types[t].first == 14 ? DataPatch::Kind::Group
                                                         : DataPatch::Kind::Image;
                data.push_back({dataEntry, &leaves[k].languages[l], kind});
            }
        }
    }
    for (const Patch& p : names) {
        const std::size_t at = reserve(r, 2 + 2 * p.name.size(), 2);
        putU16At(r, at, static_cast<std::uint16_t>(p.name.size()));
        for (std::size_t i = 0; i < p.name.size(); ++i)
            putU16At(r, at + 2 + 2 * i, static_cast<unsigned char>(p.name[i]));
        putU32At(r, p.entry, kHighBit | static_cast<std::uint32_t>(at));
    }
    for (const DataPatch& d : data) {
        const std::size_t at = reserve(r, d.bytes->size(), 8);
        std::copy(d.bytes->begin(), d.bytes->end(), r.begin() + static_cast<std::ptrdiff_t>(at));
        putU32At(r, d.dataEntry, kSectionRva + static_cast<std::uint32_t>(at));
        putU32At(r, d.dataEntry + 4, static_cast<std::uint32_t>(d.bytes->size()));
        if (d.kind == DataPatch::Kind::Group) {
            layout.groupData.push_back(kSectionFileOffset + at);
            layout.groupDataEntry.push_back(kSectionFileOffset + d.dataEntry);
        } else if (d.kind == DataPatch::Kind::Image) {
            layout.imageData.push_back(kSectionFileOffset + at);
        }
    }
    const std::size_t rawSize = (r.size() + 0x1FF) / 0x200 * 0x200;

    std::vector<std::uint8_t> f = dosHeader(kPeHeader);
    layout.newHeader = kPeHeader;
    const std::uint16_t optionalSize = plus ? 240 : 224;
    f.resize(kSectionFileOffset, 0);
    f[kPeHeader] = 'P';
    f[kPeHeader + 1] = 'E';
    const std::size_t coff = kPeHeader + 4;
    putU16At(f, coff, plus ? 0x8664 : 0x14C);
    putU16At(f, coff + 2, 1);
    putU16At(f, coff + 16, optionalSize);
    putU16At(f, coff + 18, 0x0102);
    const std::size_t optional = coff + 20;
    putU16At(f, optional, plus ? 0x20B : 0x10B);
    putU32At(f, optional + (plus ? 108 : 92), 16);
    layout.resourceDirectoryEntry = optional + (plus ? 112 : 96) + 16;
    putU32At(f, layout.resourceDirectoryEntry, kSectionRva);
    putU32At(f, layout.resourceDirectoryEntry + 4, static_cast<std::uint32_t>(r.size()));
    layout.sectionHeader = optional + optionalSize;
    const char name[] = ".rsrc";
    std::copy(name, name + 5, f.begin() + static_cast<std::ptrdiff_t>(layout.sectionHeader));
    putU32At(f, layout.sectionHeader + 8, static_cast<std::uint32_t>(r.size()));
    putU32At(f, layout.sectionHeader + 12, kSectionRva);
    putU32At(f, layout.sectionHeader + 16, static_cast<std::uint32_t>(rawSize));
    putU32At(f, layout.sectionHeader + 20, static_cast<std::uint32_t>(kSectionFileOffset));
    putU32At(f, layout.sectionHeader + 36, 0x40000040u);
    layout.resourceStart = kSectionFileOffset;
    r.resize(rawSize, 0);
    f.insert(f.end(), r.begin(), r.end());
    return f;
}

std::vector<std::uint8_t> ProgramFileBuilder::buildNe(ProgramLayout& layout) const {
    std::vector<std::uint8_t> f = dosHeader(kNeHeader);
    layout.newHeader = kNeHeader;
    f.resize(kNeHeader + 64, 0);
    f[kNeHeader] = 'N';
    f[kNeHeader + 1] = 'E';
    const std::size_t table = f.size();
    layout.resourceStart = table;
    putU16At(f, kNeHeader + 0x24, static_cast<std::uint16_t>(table - kNeHeader));

    // Shift, one TYPEINFO per type with its NAMEINFO records, the end marker, then the names.
    std::vector<std::uint8_t> t(2, 0);
    putU16At(t, 0, kNeShift);
    std::vector<std::pair<std::size_t, const std::vector<std::uint8_t>*>>
        placements;  // NAMEINFO, data
    std::vector<std::vector<std::uint8_t>> groupData;
    for (const GroupResource& g : m_groups) groupData.push_back(groupBytes(g));
    std::vector<std::pair<std::size_t, std::string>> names;
    if (!m_groups.empty()) {
        const std::size_t at = reserve(t, 8 + 12 * m_groups.size());
        putU16At(t, at, 0x800E);
        putU16At(t, at + 2, static_cast<std::uint16_t>(m_groups.size()));
        for (std::size_t i = 0; i < m_groups.size(); ++i) {
            const std::size_t info = at + 8 + 12 * i;
            putU16At(t, info + 6, static_cast<std::uint16_t>(0x8000 | m_groups[i].id));
            if (m_groups[i].name) names.emplace_back(info, *m_groups[i].name);
            placements.emplace_back(info, &groupData[i]);
            layout.groupDataEntry.push_back(table + info);
        }
    }
    if (!m_images.empty()) {
        const std::size_t at = reserve(t, 8 + 12 * m_images.size());
        putU16At(t, at, 0x8003);
        putU16At(t, at + 2, static_cast<std::uint16_t>(m_images.size()));
        for (std::size_t i = 0; i < m_images.size(); ++i) {
            const std::size_t info = at + 8 + 12 * i;
            putU16At(t, info + 6, static_cast<std::uint16_t>(0x8000 | m_images[i].first));
            placements.emplace_back(info, &m_images[i].second);
        }
    }
    reserve(t, 2);  // the end marker, already zero
    for (const auto& [info, name] : names) {
        const std::size_t at = reserve(t, 1 + name.size());
        t[at] = static_cast<std::uint8_t>(name.size());
        std::copy(name.begin(), name.end(), t.begin() + static_cast<std::ptrdiff_t>(at + 1));
        putU16At(t, info + 6, static_cast<std::uint16_t>(at));
    }
    reserve(t, 1);  // the resident-name table: empty
    putU16At(f, kNeHeader + 0x26, static_cast<std::uint16_t>(table - kNeHeader + t.size() - 1));
    f.insert(f.end(), t.begin(), t.end());

    constexpr std::size_t unit = std::size_t{1} << kNeShift;
    for (const auto& [info, bytes] : placements) {
        const std::size_t at = reserve(f, bytes->size(), unit);
        f.resize((f.size() + unit - 1) / unit * unit, 0);
        std::copy(bytes->begin(), bytes->end(), f.begin() + static_cast<std::ptrdiff_t>(at));
        putU16At(f, table + info, static_cast<std::uint16_t>(at >> kNeShift));
        putU16At(f, table + info + 2,
                 static_cast<std::uint16_t>((bytes->size() + unit - 1) / unit));
        if (layout.groupData.size() < m_groups.size())
            layout.groupData.push_back(at);
        else
            layout.imageData.push_back(at);
    }
    return f;
}

}  // namespace mosaikon::test
