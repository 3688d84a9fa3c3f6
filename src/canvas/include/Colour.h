#pragma once

#include <cstdint>

namespace mosaikon {

// A colour as the editor stores it: 0x00BBGGRR for a plain colour (red in the low byte), or
// 0x80000000 + n for a reference to the desktop's system colour n, resolved when drawn.
// Colours compare as whole 32-bit values, so a reference never equals the plain colour it
// resolves to.
class Colour {
public:
    static constexpr std::uint32_t kSystemFlag = 0x80000000u;

    constexpr Colour() = default;
    constexpr explicit Colour(std::uint32_t value) : m_value(value) {}

    static constexpr Colour fromRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        return Colour(static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
                      (static_cast<std::uint32_t>(blue) << 16));
    }
    static constexpr Colour system(std::uint32_t index) { return Colour(kSystemFlag + index); }

    constexpr std::uint32_t value() const { return m_value; }
    constexpr bool isSystemReference() const { return (m_value & kSystemFlag) != 0; }

    // The plain colour this value stands for right now. Plain colours come back unchanged
    // except that the unused high byte is dropped.
    Colour resolved() const;

    constexpr std::uint8_t red() const { return static_cast<std::uint8_t>(m_value & 0xFF); }
    constexpr std::uint8_t green() const {
        return static_cast<std::uint8_t>((m_value >> 8) & 0xFF);
    }
    constexpr std::uint8_t blue() const {
        return static_cast<std::uint8_t>((m_value >> 16) & 0xFF);
    }

    friend constexpr bool operator==(Colour a, Colour b) = default;

private:
    std::uint32_t m_value = 0;
};

namespace colours {
inline constexpr Colour kBlack{0x00000000u};
inline constexpr Colour kWhite{0x00FFFFFFu};
}  // namespace colours

// The classic desktop scheme's value of system colour `index` as a plain colour; black for an
// index the scheme does not define.
Colour systemColour(std::uint32_t index);

}  // namespace mosaikon
