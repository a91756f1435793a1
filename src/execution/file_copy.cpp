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
        OpenFile out = OpenFile::createNew(destination);
        try {
            out.copyFrom(in, g_progressHook);
            out.takeAttributesOf(in);
            out.flushAndClose();
        } catch (...) {
            try {
                removeFile(destination);
            } catch (const RuntimeError&) {
                // The failure that brought us here is the one to report.
            }
            throw;
        }
    });
}

void setCopyProgressHook(CopyProgressHook hook)
{
    g_progressHook = std::move(hook);
}

} // namespace quorvex
