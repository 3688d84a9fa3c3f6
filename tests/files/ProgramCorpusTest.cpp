// Real program files (Wine and NSIS builds) and generated ones with a known group order, and
// the malformed program files of the hostile corpus.
#include <gtest/gtest.h>

#include "FileBytes.h"
#include "FileError.h"
#include "PictureTestSupport.h"
#include "ProgramIconReader.h"
#include "ProgramIcons.h"
#include "program/GenericAppIcon.h"

namespace mosaikon {
namespace {

std::string peData(const std::string& relative) {
    return std::string(MOSAIKON_TEST_DATA) + "/pe/" + relative;
}

struct Case {
    const char* file;
    std::uint16_t askedIndex;
    std::size_t groups;
    const char* reference;  // the pick32 PNG of the group that index gives; "" for the substitute
    std::uint16_t usedIndex;
};

// Counts and picks as pe/expected/GROUPS.tsv and gen/pe/README.tsv of the corpus give them.
const Case kCases[] = {
    {"pe32/hh.exe", 1, 1, "expected/pe32/hh.exe/g000_101.pick32.png", 0},
    {"pe32/inetcpl.cpl", 1, 2, "expected/pe32/inetcpl.cpl/g001_1313.pick32.png", 1},
    {"pe32/zlib-x86-ansi", 1, 1, "expected/pe32/zlib-x86-ansi/g000_103.pick32.png", 0},
    {"pe32plus/hh.exe", 1, 1, "expected/pe32plus/hh.exe/g000_101.pick32.png", 0},
    {"pe32/icmp.dll", 1, 0, "", 0},
    {"pe32plus/msimsg.dll", 1, 0, "", 0},
    {"gen/unsorted_directory_pe32.exe", 1, 5, "expected/gen/hand__bpp4.pick.png", 1},
    {"gen/two_languages_pe32plus.dll", 1, 1, "expected/gen/hand__bpp8.pick.png", 0},
    {"gen/order_pe32.exe", 0, 5, "expected/gen/hand__bpp4.pick.png", 0},
    {"gen/order_pe32.exe", 1, 5, "expected/gen/hand__bpp32.pick.png", 1},
    {"gen/order_pe32.exe", 2, 5, "expected/gen/hand__bpp1.pick.png", 2},
    {"gen/order_pe32.exe", 3, 5, "expected/gen/hand__bpp8.pick.png", 3},
    {"gen/order_pe32.exe", 4, 5, "expected/gen/hand__no32_bmp.pick.png", 4},
    {"gen/order_pe32.exe", 5, 5, "expected/gen/hand__bpp4.pick.png", 0},
    {"gen/order_pe32plus.dll", 1, 5, "expected/gen/hand__bpp32.pick.png", 1},
    {"gen/order_pe32plus.dll", 4, 5, "expected/gen/hand__no32_bmp.pick.png", 4},
    {"gen/order_pe32plus.dll", 9, 5, "expected/gen/hand__bpp4.pick.png", 0},
};

class CorpusFile : public ::testing::TestWithParam<Case> {};

INSTANTIATE_TEST_SUITE_P(Pe, CorpusFile, ::testing::ValuesIn(kCases), [](const auto& param) {
    std::string name = std::string(param.param.file) + "_" + std::to_string(param.param.askedIndex);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
});

TEST_P(CorpusFile, ItsIconGroupsAreCountedAndTheAskedOneMatchesTheReference) {
    const Case& c = GetParam();
    const std::string path = peData(c.file);
    FileBytes file(path);
    EXPECT_EQ(countProgramIconGroups(file), c.groups);

    std::vector<char> text(kMaxPath, '\0');
    ASSERT_LT(path.size(), kMaxPath);
    std::copy(path.begin(), path.end(), text.begin());
    std::int32_t index = c.askedIndex;
    const IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), text, &index);
    ASSERT_TRUE(icon);
    EXPECT_EQ(index, c.usedIndex);
    if (std::string(c.reference).empty()) {
        EXPECT_TRUE(icon.picture().sharesWith(genericApplicationIcon()));
        return;
    }
    EXPECT_FALSE(icon.picture().sharesWith(genericApplicationIcon()));
    EXPECT_EQ(icon.picture().kind(), PictureKind::Icon);
    const test::Reference reference = test::readReferencePng(peData(c.reference));
    EXPECT_EQ(test::compareWithReference(icon.picture(), reference, false), "");
}

// What each malformed program file must give: its icon read from the entries that make sense,
// or, where there is none, a refusal that says why and the substitute icon.
struct HostileCase {
    const char* file;
    const char* problem;  // part of the reader's message; "" when the icon reads
};

const HostileCase kHostile[] = {
    {"rsrc_loop_to_root.dll", "loops back"},
    {"rsrc_language_level_is_directory.dll", "deeper than three levels"},
    {"group_data_rva_unmapped.exe", "outside every section"},
    {"icon_size_huge.dll", "claims 4294967280 bytes"},
    {"grpicondir_count_65535.exe", ""},
    {"icon_data_garbage.exe", "icon image"},
    {"name_string_offset_past_end.exe", ""},
    {"lfanew_past_eof.exe", "no PE or NE header"},
    {"rsrc_rva_unmapped.dll", "outside every section"},
    {"no_data_directories.exe", "holds no icons"},
};

class HostileFile : public ::testing::TestWithParam<HostileCase> {};

INSTANTIATE_TEST_SUITE_P(Pe, HostileFile, ::testing::ValuesIn(kHostile), [](const auto& param) {
    std::string name = param.param.file;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
});

TEST_P(HostileFile, IsReadBoundedOrRefusedWithAReason) {
    const HostileCase& c = GetParam();
    const std::string path = std::string(MOSAIKON_TEST_DATA) + "/hostile-pe/" + c.file;
    FileBytes file(path);
    std::uint16_t index = 1;
    std::string message;
    try {
        const ProgramIcon taken = readProgramIcon(file, index);
        const Picture& icon = taken.picture;
        index = taken.group;
        EXPECT_EQ(icon.width(), 32);
        EXPECT_EQ(index, 0);  // each holds at most one group
    } catch (const FileError& error) {
        message = error.what();
    }
    if (std::string(c.problem).empty()) {
        EXPECT_EQ(message, "");
    } else {
        EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        EXPECT_NE(message.find(c.file), std::string::npos) << "the message names the file";
    }

    std::vector<char> text(std::max(kMaxPath, path.size() + 1), '\0');
    std::copy(path.begin(), path.end(), text.begin());
    std::int32_t asked = 1;
    const IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), text, &asked);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon.picture().sharesWith(genericApplicationIcon()), !message.empty());
}

}  // namespace
}  // namespace mosaikon
