#include "execution/content_check.hpp"
#include "fakes/test_environment.hpp"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

uint64_t hashInPieces(const std::string& bytes, size_t piece)
{
    ContentHash hash;
    for (size_t at = 0; at < bytes.size(); at += piece)
        hash.add(std::string_view(bytes).substr(at, piece));
    return hash.value();
}

// The copy hashes what it writes block by block, the check what it reads back in blocks of
// another size: both must agree on the same bytes and on nothing else.
class ContentHashTest : public AppDirTest {};

TEST_F(ContentHashTest, IsTheSameHoweverTheBytesArriveAndChangesWithAnyByte)
{
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += static_cast<char>(i * 7 % 251);
    const uint64_t whole = hashInPieces(bytes, bytes.size());
    for (const size_t piece : {1, 7, 31, 32, 33, 999})
        EXPECT_EQ(hashInPieces(bytes, piece), whole) << piece;

    for (const size_t at : {0, 500, 999}) {
        std::string changed = bytes;
        changed[at] ^= 1;
        EXPECT_NE(hashInPieces(changed, 64), whole) << at;
    }
    EXPECT_NE(hashInPieces(bytes + '\0', 64), whole);
    EXPECT_NE(hashInPieces(bytes.substr(1), 64), whole);

    writeFile(path("Orders.mdb"), bytes);
    EXPECT_EQ(contentHashOnDisk(path("Orders.mdb")), whole);
}

} // namespace
} // namespace quorvex::test
