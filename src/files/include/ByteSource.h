#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace mosaikon {

// Random access to the bytes of a file that may be hostile: every reader, of pictures and of
// program files, reads through this. A reader only asks for ranges it has checked against
// size(), so a huge or lying file costs no more than the few headers and pixels it needs.
// FileBytes (FileBytes.h) reads a file on disk; MemoryBytes below reads bytes already held.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills `out` with the bytes at `offset`. A range past size() throws FileError ("is
    // truncated"); so does a source that cannot deliver a range inside it (a failing disk, a
    // file cut short meanwhile), with a message naming the cause.
    virtual void read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
    // The file named in error messages.
    virtual const std::string& name() const = 0;
    // Lets go of what the source holds open, so that a picture kept for later does not keep its
    // file (and the disk it is on) busy. The next read opens it again and fails if the file is
    // no longer the one that was read. Bytes in memory hold nothing.
    virtual void release() {}
};

// Bytes already in memory, for fuzzing and for tests that build files on the fly. The bytes
// are not copied: they must outlive this source and any picture read from it.
class MemoryBytes final : public ByteSource {
public:
    MemoryBytes(std::span<const std::uint8_t> bytes, std::string name)
        : m_bytes(bytes), m_name(std::move(name)) {}
    std::uint64_t size() const override { return m_bytes.size(); }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    const std::string& name() const override { return m_name; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::string m_name;
};

// Throws FileError ("is truncated") unless `length` bytes from `offset` lie inside `source`.
void checkInside(const ByteSource& source, std::uint64_t offset, std::uint64_t length);

// Reads min(`count`, what is left from `offset`) bytes.
std::vector<std::uint8_t> readUpTo(ByteSource& source, std::uint64_t offset, std::uint64_t count);

// Reads `length` bytes at `offset` after checking that they lie inside the source and that
// `length` stays under `limit`; otherwise throws FileError saying that `what` (for example
// "the section table") lies past the end of the file or is too large.
std::vector<std::uint8_t> readRange(ByteSource& source, std::uint64_t offset, std::uint64_t length,
                                    std::uint64_t limit, const char* what);

}  // namespace mosaikon
