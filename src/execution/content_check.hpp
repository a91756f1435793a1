#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// A 64-bit checksum of a byte stream, the same however the stream is cut into pieces. It
// catches what a disk or a program spoils by accident; it is no defence against a forger.
class ContentHash {
public:
    void add(std::string_view bytes);
    uint64_t value() const;

private:
    static constexpr size_t kStripe = 32;
    void addStripe(const unsigned char* stripe);

    std::array<uint64_t, 4> m_lanes{0x60ea27eeadc0b5d6, 0xc2b2ae3d27d4eb4f, 0, 0x61c8864e7a143579};
    std::array<unsigned char, kStripe> m_pending{};
    size_t m_pendingSize = 0;
    uint64_t m_length = 0;
};

// The checksum of a file's content as it lies on the disk: where the system allows, what it
// still holds of the file in memory is let go first, so the bytes come from the disk itself.
// A file that cannot be opened or read is the classic run-time error for it.
uint64_t contentHashOnDisk(const std::string& path);

} // namespace quorvex
