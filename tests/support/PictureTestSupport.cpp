#include "PictureTestSupport.h"

#include <spng.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace mosaikon::test {

std::string dataPath(const std::string& relative) {
    return std::string(MOSAIKON_TEST_DATA) + "/pictures/" + relative;
}

std::uint32_t pngCrc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::vector<std::uint8_t> iconHolding(const std::vector<std::uint8_t>& png) {
    std::vector<std::uint8_t> icon = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0};
    for (int shift = 0; shift < 32; shift += 8) {
        icon.push_back(static_cast<std::uint8_t>(png.size() >> shift));
    }
    icon.insert(icon.end(), {22, 0, 0, 0});
    icon.insert(icon.end(), png.begin(), png.end());
    return icon;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open test file " + path);
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write test file " + path);
    }
}

Reference readReferencePng(const std::string& path) {
    const std::vector<std::uint8_t> png = readBytes(path);
    spng_ctx* context = spng_ctx_new(0);
    spng_set_png_buffer(context, png.data(), png.size());
    spng_ihdr header{};
    std::size_t length = 0;
    if (spng_get_ihdr(context, &header) != 0 ||
        spng_decoded_image_size(context, SPNG_FMT_RGBA8, &length) != 0) {
        spng_ctx_free(context);
        throw std::runtime_error("bad reference " + path);
    }
    std::vector<std::uint8_t> rgba(length);
    const int error =
        spng_decode_image(context, rgba.data(), rgba.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
    spng_ctx_free(context);
    if (error != 0) {
        throw std::runtime_error("bad reference " + path);
    }
    Reference reference{static_cast<int>(header.width), static_cast<int>(header.height), {}};
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
        reference.pixels.push_back(
            makePixel(Colour::fromRgb(rgba[i], rgba[i + 1], rgba[i + 2]), rgba[i + 3]));
    }
    return reference;
}

std::vector<std::vector<std::string>> readTsv(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) {
            fields.push_back(cell);
        }
        rows.push_back(fields);
    }
    return rows;
}

std::string compareWithReference(const Picture& picture, const Reference& reference,
                                 bool opaqueOnly, int tolerance) {
    if (picture.width() != reference.width || picture.height() != reference.height) {
        return "size " + std::to_string(picture.width()) + "x" + std::to_string(picture.height()) +
               " instead of " + std::to_string(reference.width) + "x" +
               std::to_string(reference.height);
    }
    const std::vector<Pixel> pixels = picture.allPixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Pixel got = pixels[i];
        const Pixel want = reference.pixels[i];
        const int x = static_cast<int>(i % static_cast<std::size_t>(reference.width));
        const int y = static_cast<int>(i / static_cast<std::size_t>(reference.width));
        std::ostringstream text;
        text << "pixel (" << x << ", " << y << ") is 0x" << std::hex << got << ", reference 0x"
             << want;
        if (opaqueOnly && pixelAlpha(got) != 255) {
            return "not opaque: " + text.str();
        }
        if (pixelAlpha(want) == 0 && (opaqueOnly || pixelAlpha(got) == 0)) {
            continue;
        }
        const int shifts[] = {0, 8, 16, 24};
        for (int shift : shifts) {
            if (opaqueOnly && shift == 24) {
                continue;
            }
            const int a = static_cast<int>((got >> shift) & 0xFF);
            const int b = static_cast<int>((want >> shift) & 0xFF);
            if (std::abs(a - b) > tolerance) {
                return text.str();
            }
        }
    }
    return {};
}

TemporaryFolder::TemporaryFolder() {
    std::random_device seed;
    m_path = std::filesystem::temp_directory_path() / ("mosaikon-test-" + std::to_string(seed()));
    std::filesystem::create_directories(m_path);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

bool withoutPrivileges(const std::function<bool()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
        _exit(dropped && body() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace mosaikon::test
