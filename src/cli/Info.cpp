// mosaikon-cli info: what an icon, cursor, bitmap, PNG or program file holds, as text or JSON.
#include <iostream>
#include <sstream>

#include "CliCommon.h"
#include "FileBytes.h"
#include "FileError.h"
#include "OpenKinds.h"
#include "PictureFiles.h"
#include "PictureInfo.h"
#include "ProgramIconGroups.h"
#include "ProgramIconReader.h"

namespace mosaikon::cli {

const char* const kInfoHelp =
    "Usage: mosaikon-cli info FILE [--json]\n"
    "\n"
    "Describes FILE: for an icon or cursor file its images and the one the editor opens; for a\n"
    "bitmap its header; for a PNG image its size; for a program file or library its format and\n"
    "icon groups in the editor's order with their images, and which group and image Extract\n"
    "Icon takes (editor_group, editor_image). Damaged parts are reported. Each image of an icon\n"
    "says whether it uses partial opacity (soft edges, which only the exports keep).\n"
    "\n"
    "  --json   print one JSON object instead of text\n";

namespace {

// Fields written as text ("name: value" lines, nested by indentation) or as one JSON object.
class Report {
public:
    explicit Report(bool json) : m_json(json) {}

    void field(const std::string& name, const std::string& value) {
        put(name, m_json ? jsonString(value) : value);
    }
    void field(const std::string& name, long long value) { put(name, std::to_string(value)); }
    void flag(const std::string& name, bool value) {
        put(name, m_json ? (value ? "true" : "false") : (value ? "yes" : "no"));
    }
    void beginList(const std::string& name) {
        open(m_json ? jsonString(name) + ": [" : name + ":");
    }
    void endList() { close(']'); }
    void beginItem(std::size_t number) { open(m_json ? "{" : "- " + std::to_string(number)); }
    void endItem() { close('}'); }
    std::string finish() const {
        std::string text = m_out.str();
        if (m_json) {
            text.insert(text.begin(), '{');
            text.push_back('}');
        } else {
            text.erase(0, 1);  // the first field's line break
        }
        text.push_back('\n');
        return text;
    }

private:
    void separate() {
        if (m_json && !m_first.back()) m_out << ',';
        if (!m_json) m_out << '\n';
        m_first.back() = false;
    }
    // A list or an item: its heading, then fields one level deeper until it is closed.
    void open(const std::string& heading) {
        separate();
        m_out << indent() << heading;
        m_first.push_back(true);
        m_depth += 1;
    }
    void close(char jsonBracket) {
        m_first.pop_back();
        m_depth -= 1;
        if (m_json) m_out << jsonBracket;
        m_first.back() = false;
    }
    void put(const std::string& name, const std::string& value) {
        separate();
        m_out << indent() << (m_json ? jsonString(name) : name) << ": " << value;
    }
    std::string indent() const { return m_json ? "" : std::string(2 * m_depth, ' '); }

    bool m_json;
    std::ostringstream m_out;
    std::vector<bool> m_first{true};
    std::size_t m_depth = 0;
};

void describeIcon(ByteSource& file, Report& report) {
    const IconFileInfo info = describeIconFile(file);
    report.field("kind", info.cursor ? "cursor" : "icon");
    report.field("chosen", static_cast<long long>(info.chosen));
    report.beginList("images");
    for (std::size_t i = 0; i < info.images.size(); ++i) {
        const IconFileImageInfo& image = info.images[i];
        report.beginItem(i);
        report.field("width", image.width);
        report.field("height", image.height);
        report.field("bits", image.bitCount);
        report.field("format", image.png ? "PNG" : "bitmap");
        if (info.cursor) {
            report.field("hotspot_x", image.hotspotX);
            report.field("hotspot_y", image.hotspotY);
        }
        report.field("offset", image.offset);
        report.field("bytes", image.bytesInDirectory);
        report.flag("chosen", i == info.chosen);
        if (image.partialOpacity) report.flag("partial_opacity", *image.partialOpacity);
        if (image.problem) report.field("damage", image.problem->problem());
        report.endItem();
    }
    report.endList();
}

void describeBitmap(ByteSource& file, Report& report) {
    const BitmapFileInfo info = describeBitmapFile(file);
    report.field("kind", "bitmap");
    report.field("width", info.width);
    report.field("height", info.height);
    report.flag("top_down", info.topDown);
    report.field("bits", info.bitCount);
    report.field("compression", info.compression);
    report.field("header_bytes", info.headerSize);
    report.field("colours_used", info.coloursUsed);
    report.field("pixels_offset", static_cast<long long>(info.pixelsOffset));
}

void describeProgram(ByteSource& file, Report& report) {
    ProgramIconGroups groups(file);
    report.field("kind", "program");
    report.field("format", groups.format());
    report.beginList("groups");
    for (std::size_t i = 0; i < groups.count(); ++i) {
        const IconGroupDescription group = groups.describe(i);
        report.beginItem(i);
        report.field("index", static_cast<long long>(i));
        if (group.name.text) {
            report.field("name", *group.name.text);
        } else {
            report.field("number", group.name.number);
        }
        report.beginList("images");
        for (std::size_t j = 0; j < group.images.size(); ++j) {
            const IconGroupImage& image = group.images[j];
            report.beginItem(j);
            report.field("width", image.width);
            report.field("height", image.height);
            report.field("bits", image.bitCount);
            report.field("colours", image.colourCount);
            report.field("image_id", image.imageId);
            report.flag("present", image.bytesInFile.has_value());
            if (image.bytesInFile) {
                report.field("bytes", *image.bytesInFile);
                report.field("format", image.png ? "PNG" : "bitmap");
            }
            report.endItem();
        }
        report.endList();
        if (group.problem) report.field("damage", group.problem->problem());
        report.endItem();
    }
    report.endList();
    // What Extract Icon takes: the image a 32 × 32 request gets from the group it asks for, or
    // the generic program icon when that cannot be read.
    try {
        const ProgramIconChoice choice = chooseProgramIcon(file, kExtractIconGroup);
        report.field("editor_group", static_cast<long long>(choice.group));
        report.field("editor_image", static_cast<long long>(choice.image));
    } catch (const FileError& error) {
        report.field("editor_takes", "the generic program icon: " + error.problem());
    }
}

}  // namespace

int runInfo(const std::vector<std::string>& arguments) {
    std::string path;
    bool json = false;
    for (const std::string& argument : arguments) {
        if (argument == "--json") {
            json = true;
        } else if (argument.starts_with("-") && argument != "-") {
            throw CliFailure(kUsageError, "info: unknown option: " + argument);
        } else if (path.empty()) {
            path = argument;
        } else {
            throw CliFailure(kUsageError, "info: more than one file given");
        }
    }
    if (path.empty()) {
        throw CliFailure(kUsageError, "info: no file given");
    }
    Report report(json);
    report.field("file", path);
    try {
        FileBytes file(path);
        refuseEmptyFile(file);
        switch (fileKindOf(file)) {
            case FileKind::Icon:
                describeIcon(file, report);
                break;
            case FileKind::Bitmap:
                describeBitmap(file, report);
                break;
            case FileKind::Png: {
                const Picture picture = LoadPicture(path);
                report.field("kind", "png");
                report.field("width", picture.width());
                report.field("height", picture.height());
                break;
            }
            case FileKind::Program:
                describeProgram(file, report);
                break;
            case FileKind::Unknown:
                throw CliFailure(kFileFailure,
                                 path + " is not an icon, cursor, bitmap, PNG or program file.");
        }
    } catch (const FileError& error) {
        throw CliFailure(kFileFailure, error.what());
    }
    std::cout << report.finish();
    return kSuccess;
}

}  // namespace mosaikon::cli
