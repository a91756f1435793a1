#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

// What a path names, links followed: a dangling link, or a path that runs through something
// that is no folder, names nothing.
enum class EntryKind { Missing, File, Directory, Other };

// What the path names. A failure to look other than "nothing there" is the classic error.
EntryKind entryKind(const std::string& path);
// Whether anything has that name, a dangling link included; false when it cannot be looked at.
bool entryExists(const std::string& path);
// Whether both paths name one and the same existing entry (two names of one folder, say).
// A failure to look other than "nothing there" is the classic error.
bool sameEntry(const std::string& a, const std::string& b);

// Creates one folder level; an entry of that name already there is no error. A missing parent
// is run-time error 76, anything else the classic error.
void makeDirectory(const std::string& path);
// Deletes a file; one that is already gone is no error.
void removeFile(const std::string& path);
// Deletes what a failed write left behind, if it can: the failure, not this, gets reported.
void removeLeftoverFile(const std::string& path);

// Renames a file; fails with run-time error 58 (File already exists) when the new name is
// taken, instead of silently replacing what is there.
void renameNoReplace(const std::string& from, const std::string& to);
// Renames a file over whatever file has the new name, in one step: the name always holds
// either the old file or the new one. The rename is flushed to disk where the system allows,
// so the new name survives a power cut.
void renameReplacing(const std::string& from, const std::string& to);

// An open file of the copy below.
class OpenFile {
public:
    // The file to copy from. Failures are the classic errors.
    static OpenFile forReading(const std::string& path);
    // The same, for reading back what lies on the disk: where the system allows, what it still
    // holds of the file in memory is let go first, so reads come from the disk itself.
    static OpenFile forReadingFromDisk(const std::string& path);
    // A new file of that name, which must not exist yet (run-time error 58 when it does).
    static OpenFile createNew(const std::string& path);
    // A new file of a name of its own in path's folder, for content that is to replace path's;
    // it has the permissions of the file at path, or is private to its owner when there is none.
    // Its name is put into temporaryName as soon as the file exists.
    static OpenFile createBeside(const std::string& path, std::string& temporaryName);
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&&) = delete;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    // Reads up to size bytes into buffer; 0 at the end of the file.
    size_t readSome(char* buffer, size_t size);
    // Writes all of data.
    void writeAll(std::string_view data);
    // Copies the rest of source into this file inside the system, which may share blocks where
    // the file system can; false, with nothing copied, where the system cannot copy between
    // these two files, so that the caller copies block by block.
    bool copyInSystem(OpenFile& source);
    // Takes the source's permissions (read-only among them) and modification time.
    void takeAttributesOf(OpenFile& source);
    // Flushes the content to disk and closes the file, reporting write-back errors.
    void flushAndClose();

private:
    explicit OpenFile(intptr_t handle) : m_handle(handle) {}
    intptr_t m_handle;
};

// The whole content of a plain file; nothing when it cannot be read or is no plain file (a
// pipe or a device must not block or flood the reader). errno says why.
std::optional<std::string> readPlainFile(const std::string& path);
// 0 when path names a plain file that may be written, ENOENT when nothing has that name,
// otherwise the errno that says why it may not be written (EISDIR, EACCES...). A read-only
// file counts as not writable, whoever asks.
int writableFileCheck(const std::string& path);
// The path with its symbolic links resolved; the path itself when that fails.
std::string resolvedPath(const std::string& path);
// Writes the content to a new file beside path and renames it over path, flushed, so a crash
// or a full disk leaves either the old or the new content, never a mixture. An existing file's
// permissions are kept; a new one is private to its owner. False with errno set on failure.
bool replaceFileContent(const std::string& path, std::string_view content);

} // namespace quorvex
