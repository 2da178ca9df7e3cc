// Unpacking a ZIP archive file into a folder, entry by entry in central-directory order.
#include "archive_extraction.h"

#include "folder_tree.h"
#include "owners.h"
#include "path_checks.h"
#include "text.h"

// unzip.h first: iowin32.h uses zlib's OF() without including zlib.
#include <unzip.h>
#include <iowin32.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct ArchiveTraits {
    using Type = unzFile;
    static Type Invalid() { return nullptr; }
    static void Close(Type archive) { unzClose(archive); }
};
using UniqueArchive = UniqueOwner<ArchiveTraits>;

// Nearly every file goes out in one WriteFile; larger ones in pieces of this size.
constexpr std::size_t kLargestWrite = 16u << 20;
constexpr std::size_t kSmallestBuffer = 64u << 10;

const DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
    | FILE_ATTRIBUTE_ARCHIVE;

struct Entry {
    std::string name;
    unz_file_info64 info{};
};

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WithoutTrailingBackslashes(std::string path)
{
    while (!path.empty() && FindLastBackslash(path) == path.size() - 1)
        path.pop_back();
    return path;
}

// Creates the folder and every missing folder above it, from the root down. Levels that exist
// (or that are no folder at all, like "D:") simply fail; only the end result counts.
bool CreateFolderChain(const std::string& folder)
{
    const std::string path = WithoutTrailingBackslashes(folder);
    if (path.empty())
        return false;
    if (IsFolder(path))
        return true;
    for (std::size_t at = FindBackslash(path); at != std::string::npos; at = FindBackslash(path, at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    return IsFolder(path);
}

bool BeginsWithLocalHeader(const std::string& archivePath)
{
    UniqueFileHandle file(CreateFileA(archivePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    const unsigned char signature[4] = {0x50, 0x4B, 0x03, 0x04};
    unsigned char head[4] = {};
    DWORD read = 0;
    return file && ReadFile(file.Get(), head, sizeof head, &read, nullptr) && read == sizeof head
        && std::memcmp(head, signature, sizeof head) == 0;
}

// The current entry's name, cut at an embedded NUL as the ...A functions would see it.
bool ReadCurrentEntry(unzFile archive, Entry& entry)
{
    if (unzGetCurrentFileInfo64(archive, &entry.info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    entry.name.assign(entry.info.size_filename, '\0');
    if (unzGetCurrentFileInfo64(archive, &entry.info, entry.name.data(), entry.info.size_filename, nullptr, 0, nullptr,
                                0)
        != UNZ_OK)
        return false;
    entry.name.resize(std::strlen(entry.name.c_str()));
    return true;
}

// Calls extract for every entry in central-directory order until it gives false.
template <typename Extract>
bool ForEachEntry(unzFile archive, Extract extract)
{
    for (int step = unzGoToFirstFile(archive); step != UNZ_END_OF_LIST_OF_FILE; step = unzGoToNextFile(archive)) {
        Entry entry;
        if (step != UNZ_OK || !ReadCurrentEntry(archive, entry) || !extract(entry))
            return false;
    }
    return true;
}

bool IsFolderEntry(const Entry& entry)
{
    const char last = entry.name.empty() ? '\0' : entry.name.back();
    return (entry.info.external_fa & FILE_ATTRIBUTE_DIRECTORY) || last == '/';
}

// The MS-DOS attributes are the low byte of the external attributes; archives made on Unix
// keep their mode bits above them, which CreateFileA must never take for flags.
DWORD StoredAttributes(const Entry& entry)
{
    DWORD attributes = entry.info.external_fa & kKeptAttributes;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

// The entry's DOS date and time are local time.
void SetTimesFromEntry(HANDLE file, const Entry& entry)
{
    FILETIME local;
    FILETIME universal;
    if (DosDateTimeToFileTime(HIWORD(entry.info.dosDate), LOWORD(entry.info.dosDate), &local)
        && LocalFileTimeToFileTime(&local, &universal))
        SetFileTime(file, &universal, &universal, &universal);
}

// One buffer for all entries, as large as the largest entry (within limits), so that nearly
// every file is inflated whole and written with one WriteFile.
struct WriteBuffer {
    explicit WriteBuffer(ZPOS64_T largestEntry)
        : size(static_cast<std::size_t>(std::clamp<ZPOS64_T>(largestEntry, kSmallestBuffer, kLargestWrite))),
          bytes(std::make_unique_for_overwrite<unsigned char[]>(size))
    {
    }
    std::size_t size;
    std::unique_ptr<unsigned char[]> bytes;
};

// Inflates the current entry into file; false on a read, inflate or write error, or when the
// data end before the size the entry declares.
bool CopyEntryData(unzFile archive, const Entry& entry, HANDLE file, const WriteBuffer& buffer)
{
    ZPOS64_T total = 0;
    for (;;) {
        int got = unzReadCurrentFile(archive, buffer.bytes.get(), static_cast<unsigned>(buffer.size));
        if (got < 0)
            return false;
        if (got == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(file, buffer.bytes.get(), static_cast<DWORD>(got), &written, nullptr)
            || written != static_cast<DWORD>(got))
            return false;
        total += static_cast<ZPOS64_T>(got);
    }
    return total == entry.info.uncompressed_size;
}

bool ExtractFile(unzFile archive, const Entry& entry, const std::string& destination, const WriteBuffer& buffer)
{
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!CreateFolderChain(SplitAtLastBackslash(destination).before))
        return false;
    if (unzOpenCurrentFile(archive) != UNZ_OK)
        return false;
    UniqueFileHandle file(CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      StoredAttributes(entry), nullptr));
    bool copied = file && CopyEntryData(archive, entry, file.Get(), buffer);
    // The CRC is checked here, once all data have been read.
    bool checked = unzCloseCurrentFile(archive) == UNZ_OK;
    if (!file)
        return false;
    if (copied && checked)
        SetTimesFromEntry(file.Get(), entry);
    file.Close();
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (copied && checked)
        return true;
    DeleteFileA(destination.c_str());
    return false;
}

} // namespace

int ExtractArchive(const std::string& archivePath, const std::string& targetFolder)
{
    if (archivePath.empty() || targetFolder.empty() || !PathExists(archivePath))
        return -1;
    if (!CreateFolderChain(targetFolder))
        return 0;
    if (!BeginsWithLocalHeader(archivePath))
        return 0;

    zlib_filefunc64_def fileFunctions;
    fill_win32_filefunc64A(&fileFunctions);
    UniqueArchive archive(unzOpen2_64(archivePath.c_str(), &fileFunctions));
    unz_global_info64 global;
    if (!archive || unzGetGlobalInfo64(archive.Get(), &global) != UNZ_OK)
        return 0;

    // Every name is checked before the first byte is written, so a hostile archive leaves
    // nothing behind, not even its harmless entries.
    ZPOS64_T largestEntry = 0;
    bool namesInside = ForEachEntry(archive.Get(), [&](const Entry& entry) {
        largestEntry = std::max(largestEntry, entry.info.uncompressed_size);
        return IsNameInsideFolder(entry.name);
    });
    if (!namesInside)
        return 0;

    const std::string prefix = WithoutTrailingBackslashes(targetFolder) + "\\";
    const WriteBuffer buffer(largestEntry);
    bool extracted = ForEachEntry(archive.Get(), [&](const Entry& entry) {
        std::string name = entry.name;
        std::replace(name.begin(), name.end(), '/', '\\');
        const std::string destination = prefix + name;
        if (IsFolderEntry(entry))
            return CreateFolderChain(destination);
        return ExtractFile(archive.Get(), entry, destination, buffer);
    });
    return extracted ? 1 : 0;
}
