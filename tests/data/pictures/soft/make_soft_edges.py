#!/usr/bin/env python3
"""Writes soft_edges.ico: one 32 x 32, 32-bit icon whose opacity runs through every value from 1
to 254 (rows 0 to 23), then opaque rows (24 to 27) and clear ones (28 to 31). Pixel (3, 24) is
opaque pure white and (4, 24) half-transparent pure white."""
import struct


def pixel(x, y):
    """(red, green, blue, alpha) of icon pixel (x, y)."""
    if y < 24:
        return (x * 8, y * 8, 128, 1 + (x + 32 * y) % 254)
    if y < 28:
        if (x, y) == (3, 24):
            return (255, 255, 255, 255)
        if (x, y) == (4, 24):
            return (255, 255, 255, 128)
        return (x * 8, 255 - y * 4, 40, 255)
    return (0, 0, 0, 0)


def main():
    rows = []
    for y in reversed(range(32)):  # bottom-up
        for x in range(32):
            r, g, b, a = pixel(x, y)
            rows.append(bytes((b, g, r, a)))
    colour = b"".join(rows)
    mask = bytes(4 * 32)  # alpha decides; the AND mask is all opaque
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 32,
                                                          len(image), 6 + 16)
    with open("soft_edges.ico", "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main()
