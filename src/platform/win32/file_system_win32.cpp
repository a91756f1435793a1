#include "platform/file_system.hpp"

#include "platform/paths.hpp"
#include "platform/win32/win32_error.hpp"

#include <algorithm>
#include <cerrno>

namespace quorvex {

namespace {

void check(bool ok)
{
    if (!ok)
        throwLastWin32Error();
}

HANDLE handleOf(intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_DIRECTORY ||
           error == ERROR_INVALID_DRIVE || error == ERROR_NOT_READY;
}

// An entry opened for its information only: no access to the content, and nobody shut out.
HANDLE openForQuery(const std::string& path)
{
    return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

struct Identity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

std::optional<Identity> identityOf(const std::string& path)
{
    const HANDLE handle = openForQuery(path);
    if (handle == INVALID_HANDLE_VALUE) {
        if (isMissing(GetLastError()))
            return std::nullopt;
        throwLastWin32Error();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(handle, &info) != 0;
    const DWORD error = GetLastError();
    CloseHandle(handle);
    if (!ok)
        throw RuntimeError::fromErrno(errnoForWin32Error(error));
    return Identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool writeFully(HANDLE file, std::string_view data)
{
    while (!data.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0)
            return false;
        data.remove_prefix(written);
    }
    return true;
}

void setErrnoFromLastError()
{
    errno = errnoForWin32Error(GetLastError());
}

std::string folderOf(const std::string& path)
{
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "." : path.substr(0, separator);
}

} // namespace

EntryKind entryKind(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (isMissing(GetLastError()))
            return EntryKind::Missing;
        throwLastWin32Error();
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return EntryKind::Directory;
    return (attributes & FILE_ATTRIBUTE_DEVICE) ? EntryKind::Other : EntryKind::File;
}

bool entryExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool sameEntry(const std::string& a, const std::string& b)
{
    // The volume's serial number and the file's index on it, as the system itself compares.
    const auto first = identityOf(a);
    const auto second = identityOf(b);
    return first && second && first->volume == second->volume &&
           first->indexHigh == second->indexHigh && first->indexLow == second->indexLow;
}

void makeDirectory(const std::string& path)
{
    if (CreateDirectoryA(path.c_str(), nullptr))
        return;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS)
        return;
    if (error == ERROR_PATH_NOT_FOUND)
        throw RuntimeError(err::PathNotFound, std::string(kRuntimeSource),
                           describeError(err::PathNotFound), ENOENT);
    throw RuntimeError::fromErrno(errnoForWin32Error(error));
}

void removeFile(const std::string& path)
{
    if (!DeleteFileA(path.c_str()) && !isMissing(GetLastError()))
        throwLastWin32Error();
}

void renameNoReplace(const std::string& from, const std::string& to)
{
    // Without MOVEFILE_REPLACE_EXISTING the system refuses a name that is taken.
    check(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0);
}

void renameReplacing(const std::string& from, const std::string& to)
{
    // Write-through returns once the rename is on disk.
    check(MoveFileExA(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0);
}

OpenFile OpenFile::forReading(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    check(file != INVALID_HANDLE_VALUE);
    return OpenFile(reinterpret_cast<intptr_t>(file));
}

// Reading around the system's cache needs sector-aligned buffers; the copy was flushed, so
// its bytes are read as the system holds them.
OpenFile OpenFile::forReadingFromDisk(const std::string& path)
{
    return forReading(path);
}

OpenFile OpenFile::createNew(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    check(file != INVALID_HANDLE_VALUE);
    return OpenFile(reinterpret_cast<intptr_t>(file));
}

OpenFile OpenFile::createBeside(const std::string& path, std::string& temporaryName)
{
    char name[MAX_PATH + 1] = {};
    check(GetTempFileNameA(folderOf(path).c_str(), "qvx", 0, name) != 0);
    temporaryName = name;
    const HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    check(file != INVALID_HANDLE_VALUE);
    return OpenFile(reinterpret_cast<intptr_t>(file));
}

OpenFile::OpenFile(OpenFile&& other) noexcept : m_handle(other.m_handle)
{
    other.m_handle = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
}

OpenFile::~OpenFile()
{
    if (handleOf(m_handle) != INVALID_HANDLE_VALUE)
        CloseHandle(handleOf(m_handle));
}

size_t OpenFile::readSome(char* buffer, size_t size)
{
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, DWORD{1} << 30));
    check(ReadFile(handleOf(m_handle), buffer, wanted, &got, nullptr) != 0);
    return got;
}

void OpenFile::writeAll(std::string_view data)
{
    check(writeFully(handleOf(m_handle), data));
}

// Windows copies between paths, not between open files: the caller copies block by block.
bool OpenFile::copyInSystem(OpenFile&)
{
    return false;
}

void OpenFile::takeAttributesOf(OpenFile& source)
{
    FILE_BASIC_INFO info{};
    check(GetFileInformationByHandleEx(handleOf(source.m_handle), FileBasicInfo, &info,
                                       sizeof info) != 0);
    // The copy keeps its own creation and access times; a read-only source gives a read-only
    // copy, which this handle may still write and flush.
    FILE_BASIC_INFO copied{};
    copied.LastWriteTime = info.LastWriteTime;
    copied.FileAttributes = info.FileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (copied.FileAttributes == 0)
        copied.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    check(SetFileInformationByHandle(handleOf(m_handle), FileBasicInfo, &copied, sizeof copied) !=
          0);
}

void OpenFile::flushAndClose()
{
    const HANDLE file = handleOf(m_handle);
    m_handle = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
    const bool flushed = FlushFileBuffers(file) != 0;
    const DWORD error = GetLastError();
    const bool closed = CloseHandle(file) != 0;
    if (!flushed)
        throw RuntimeError::fromErrno(errnoForWin32Error(error));
    check(closed);
}

std::optional<std::string> readPlainFile(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        setErrnoFromLastError();
        return std::nullopt;
    }
    std::optional<std::string> content;
    if (GetFileType(file) == FILE_TYPE_DISK) {
        content.emplace();
        char buffer[8192];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
                setErrnoFromLastError();
                content.reset();
                break;
            }
            if (got == 0)
                break;
            content->append(buffer, got);
        }
    } else {
        errno = EACCES;
    }
    CloseHandle(file);
    return content;
}

int writableFileCheck(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return isMissing(GetLastError()) ? ENOENT : errnoForWin32Error(GetLastError());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return EISDIR;
    // Like the profile API, a read-only file stays as it is.
    return (attributes & FILE_ATTRIBUTE_READONLY) ? EACCES : 0;
}

std::string resolvedPath(const std::string& path)
{
    return path;
}

} // namespace quorvex
