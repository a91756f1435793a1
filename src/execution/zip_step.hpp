#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

// Adds one file to the archive with the zip program in the program folder, hidden,
// and waits for it. Returns false when zip failed; the reason is then in the transaction log.
bool ZipFile(const std::string& archivePath, const std::string& fileItem);

// Has the zip program test the archive (every member read back against its checksum) and
// waits for it. True when the archive is sound.
bool TestZipArchive(const std::string& archivePath);

// The archiver's command line: program (quoted), two blanks, " -S -v -n .zip ", both paths quoted,
// one trailing blank.
std::string zipCommandLine(const std::string& archivePath, const std::string& fileItem);
// The transaction log line for a non-zero zip result code.
std::string zipResultLine(int32_t code, const std::string& fileItem);

} // namespace quorvex
