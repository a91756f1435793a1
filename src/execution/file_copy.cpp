#include "execution/file_copy.hpp"

#include "execution/run_failure.hpp"
#include "platform/file_system.hpp"
#include "support/error.hpp"

#include <utility>

namespace quorvex {

namespace {

CopyProgressHook g_progressHook;

} // namespace

void copyFileToNew(const std::string& source, const std::string& destination)
{
    // A failure names the file it concerns: the one read or the one written.
    OpenFile in = atPath(source, [&] { return OpenFile::forReading(source); });
    atPath(destination, [&] {
        bool created = false;
        try {
            OpenFile out = OpenFile::createNew(destination);
            created = true;
            out.copyFrom(in, g_progressHook);
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
