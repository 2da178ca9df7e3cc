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

// Most files go out in one WriteFile, larger ones in pieces of this size: more per write saves
// nothing measurable, and the buffer is the largest private memory the extraction takes.
constexpr std::size_t kLargestWrite = 1u << 20;
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

// Creates the folder and every missing folder above it, from the highest missing level down.
// Each level is first simply created: when that fails for want of its parent, the parent is
// made the same way and the level tried again. Only the end result counts (a level like "D:"
// cannot be created but is a folder all the same).
bool CreateFolderChain(const std::string& folder)
{
    const std::string path = WithoutTrailingBackslashes(folder);
    if (path.empty())
        return false;
    if (CreateDirectoryA(path.c_str(), nullptr))
        return true;
    if (GetLastError() == ERROR_PATH_NOT_FOUND) {
        const std::size_t at = FindLastBackslash(path);
        if (at != std::string::npos && CreateFolderChain(path.substr(0, at)))
            CreateDirectoryA(path.c_str(), nullptr);
    }
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

// The archive file mapped into memory for minizip, which reads each header field by field:
// from a mapping those reads are copies, not one file read each (some 60 per entry and pass).
// The pages are the file's own, so no private memory is used for the archive.
class MappedArchive {
public:
    explicit MappedArchive(const std::string& path)
    {
        UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0
            || static_cast<unsigned long long>(size.QuadPart) > kLargestMapping)
            return;
        UniqueHandle mapping(CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping)
            return;
        view_ = UniqueMappedView(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
        if (view_)
            size_ = static_cast<ZPOS64_T>(size.QuadPart);
    }

    bool IsMapped() const { return static_cast<bool>(view_); }

    // minizip's file functions over the mapping; the file is opened and closed by the owner.
    zlib_filefunc64_def FileFunctions()
    {
        zlib_filefunc64_def functions{};
        functions.zopen64_file = [](voidpf opaque, const void*, int) -> voidpf { return opaque; };
        functions.zread_file = [](voidpf, voidpf stream, void* buffer, uLong size) -> uLong {
            return static_cast<MappedArchive*>(stream)->Read(buffer, size);
        };
        functions.zwrite_file = [](voidpf, voidpf, const void*, uLong) -> uLong { return 0; };
        functions.ztell64_file = [](voidpf, voidpf stream) -> ZPOS64_T {
            return static_cast<MappedArchive*>(stream)->position_;
        };
        functions.zseek64_file = [](voidpf, voidpf stream, ZPOS64_T offset, int origin) -> long {
            return static_cast<MappedArchive*>(stream)->Seek(offset, origin);
        };
        functions.zclose_file = [](voidpf, voidpf) -> int { return 0; };
        functions.zerror_file = [](voidpf, voidpf) -> int { return 0; };
        functions.opaque = this;
        return functions;
    }

private:
    // Beyond this the address space of a 32-bit process may not hold the view; such an archive
    // is read from the file.
    static constexpr unsigned long long kLargestMapping = 1ull << 30;

    uLong Read(void* buffer, uLong size)
    {
        const ZPOS64_T left = position_ < size_ ? size_ - position_ : 0;
        const uLong count = static_cast<uLong>(std::min<ZPOS64_T>(size, left));
        std::memcpy(buffer, static_cast<const unsigned char*>(view_.Get()) + position_, count);
        position_ += count;
        return count;
    }

    // As a file would: any position at or after the start may be set; reads past the end give nothing.
    long Seek(ZPOS64_T offset, int origin)
    {
        ZPOS64_T base = 0;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR)
            base = position_;
        else if (origin == ZLIB_FILEFUNC_SEEK_END)
            base = size_;
        else if (origin != ZLIB_FILEFUNC_SEEK_SET)
            return -1;
        position_ = base + offset;
        return 0;
    }

    UniqueMappedView view_;
    ZPOS64_T size_ = 0;
    ZPOS64_T position_ = 0;
};

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

// Sets FILE_ATTRIBUTE_NORMAL and, for a file extracted whole, the entry's time stamp (DOS date
// and time are local time) in one call through the open handle, before the close. What is set
// through a handle outlasts the close, so the file ends as SetFileAttributesA after the close
// would leave it, without opening it again by name (the dearest step of all under Wine). A
// file that failed is cleared too, so that it can be deleted even if its entry made it read-only.
void FinishFile(HANDLE file, const Entry& entry, bool extracted)
{
    FILE_BASIC_INFO basic{}; // times left at 0 stay unchanged
    FILETIME local;
    FILETIME universal;
    if (extracted && DosDateTimeToFileTime(HIWORD(entry.info.dosDate), LOWORD(entry.info.dosDate), &local)
        && LocalFileTimeToFileTime(&local, &universal)) {
        LARGE_INTEGER time;
        time.LowPart = universal.dwLowDateTime;
        time.HighPart = static_cast<LONG>(universal.dwHighDateTime);
        basic.CreationTime = basic.LastAccessTime = basic.LastWriteTime = time;
    }
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
}

// One buffer for all entries, as large as the largest entry (within limits), so that most
// files are inflated whole and written with one WriteFile.
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

// Creates the destination file. When that fails, the folders above it may be missing, or a
// file of an earlier installation may be read-only, hidden or system, which CREATE_ALWAYS
// refuses: its attributes are cleared, the folders created, and the file created once more.
UniqueFileHandle CreateDestination(const std::string& destination, DWORD attributes)
{
    auto create = [&] {
        return UniqueFileHandle(
            CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    };
    UniqueFileHandle file = create();
    if (file)
        return file;
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!CreateFolderChain(SplitAtLastBackslash(destination).before))
        return file;
    return create();
}

bool ExtractFile(unzFile archive, const Entry& entry, const std::string& destination, const WriteBuffer& buffer)
{
    if (unzOpenCurrentFile(archive) != UNZ_OK)
        return false;
    UniqueFileHandle file = CreateDestination(destination, StoredAttributes(entry));
    bool copied = file && CopyEntryData(archive, entry, file.Get(), buffer);
    // The CRC is checked here, once all data have been read.
    bool checked = unzCloseCurrentFile(archive) == UNZ_OK;
    if (!file)
        return false;
    const bool extracted = copied && checked;
    FinishFile(file.Get(), entry, extracted);
    file.Close();
    if (extracted)
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

    // Declared before the archive, so that it is unmapped after minizip has closed the archive.
    MappedArchive mapped(archivePath);
    zlib_filefunc64_def fileFunctions;
    if (mapped.IsMapped())
        fileFunctions = mapped.FileFunctions();
    else
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
