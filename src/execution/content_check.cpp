#include "execution/content_check.hpp"

#include "platform/file_system.hpp"

#include <bit>
#include <cstring>
#include <vector>

namespace quorvex {

namespace {

constexpr uint64_t kPrime1 = 0x9e3779b185ebca87;
constexpr uint64_t kPrime2 = 0xc2b2ae3d27d4eb4f;
constexpr uint64_t kPrime3 = 0x165667b19e3779f9;
// Large reads keep the disk streaming.
constexpr size_t kBlock = size_t{4} << 20;

uint64_t word(const unsigned char* bytes)
{
    uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

} // namespace

// Four independent lanes, so the processor works on four words at once.
void ContentHash::addStripe(const unsigned char* stripe)
{
    for (size_t lane = 0; lane < m_lanes.size(); ++lane)
        m_lanes[lane] = std::rotl(m_lanes[lane] + word(stripe + 8 * lane) * kPrime2, 31) * kPrime1;
}

void ContentHash::add(std::string_view bytes)
{
    auto next = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    m_length += left;
    if (m_pendingSize > 0) {
        const size_t taken = std::min(left, kStripe - m_pendingSize);
        std::memcpy(m_pending.data() + m_pendingSize, next, taken);
        m_pendingSize += taken;
        next += taken;
        left -= taken;
        if (m_pendingSize < kStripe)
            return;
        addStripe(m_pending.data());
        m_pendingSize = 0;
    }
    for (; left >= kStripe; next += kStripe, left -= kStripe)
        addStripe(next);
    std::memcpy(m_pending.data(), next, left);
    m_pendingSize = left;
}

uint64_t ContentHash::value() const
{
    uint64_t hash = std::rotl(m_lanes[0], 1) + std::rotl(m_lanes[1], 7) +
                    std::rotl(m_lanes[2], 12) + std::rotl(m_lanes[3], 18);
    for (size_t i = 0; i < m_pendingSize; ++i)
        hash = std::rotl(hash ^ (m_pending[i] * kPrime3), 11) * kPrime1;
    hash ^= m_length;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    return hash ^ (hash >> 32);
}

uint64_t contentHashOnDisk(const std::string& path)
{
    OpenFile file = OpenFile::forReadingFromDisk(path);
    std::vector<char> buffer(kBlock);
    ContentHash hash;
    while (const size_t got = file.readSome(buffer.data(), buffer.size()))
        hash.add(std::string_view(buffer.data(), got));
    return hash.value();
}

} // namespace quorvex
