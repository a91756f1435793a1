#include "execution/file_copy.hpp"

#include "execution/content_check.hpp"
#include "execution/run_failure.hpp"
#include "platform/file_system.hpp"
#include "support/error.hpp"

#include <utility>
#include <vector>

namespace quorvex {

namespace {

CopyProgressHook g_progressHook;

void copyBlockByBlock(OpenFile& in, OpenFile& out, ContentHash* written)
{
    std::vector<char> buffer(size_t{1} << 20);
    uint64_t total = 0;
    while (const size_t got = in.readSome(buffer.data(), buffer.size())) {
        const std::string_view block(buffer.data(), got);
        out.writeAll(block);
        if (written)
            written->add(block);
        total += got;
        if (g_progressHook)
            g_progressHook(total);
    }
}

void copyContent(OpenFile& in, OpenFile& out, ContentHash* written)
{
    if (written) {
        *written = ContentHash{};
        copyBlockByBlock(in, out, written);
    } else if (g_progressHook || !out.copyInSystem(in)) {
        copyBlockByBlock(in, out, nullptr);
    }
}

} // namespace

void copyFileToNew(const std::string& source, const std::string& destination, ContentHash* written)
{
    // A failure names the file it concerns: the one read or the one written.
    OpenFile in = atPath(source, [&] { return OpenFile::forReading(source); });
    atPath(destination, [&] {
        bool created = false;
        try {
            OpenFile out = OpenFile::createNew(destination);
            created = true;
            copyContent(in, out, written);
            out.takeAttributesOf(in);
            out.flushAndClose();
        } catch (...) {
            // The half-written file is closed by now, which Windows needs before it deletes.
            if (created)
                removeLeftoverFile(destination);
            throw;
        }
    });
}

void setCopyProgressHook(CopyProgressHook hook)
{
    g_progressHook = std::move(hook);
}

} // namespace quorvex
