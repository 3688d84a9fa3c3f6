#include "CliCommon.h"

#include <array>
#include <cstdio>

namespace mosaikon::cli {

namespace {

// The length of the UTF-8 sequence at the start of `text`, or 0 when it is not one.
std::size_t utf8Length(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t least = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    std::uint32_t code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code < 0xE000;
    return code >= least && code <= 0x10FFFF && !surrogate ? length : 0;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    std::string_view rest(text);
    while (!rest.empty()) {
        const auto c = static_cast<unsigned char>(rest[0]);
        const std::size_t length = utf8Length(rest);
        if (length == 0) {
            out += "\\ufffd";
            rest.remove_prefix(1);
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", c);
            out += escaped.data();
        } else {
            out.append(rest.substr(0, length));
        }
        rest.remove_prefix(length);
    }
    return out + "\"";
}

}  // namespace mosaikon::cli
