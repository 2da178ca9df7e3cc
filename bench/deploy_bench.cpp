// Benchmark of the payload deployment, timed as a whole process from outside (bench/run_bench.py):
// the client archive written from its block, then extracted, once; then the program ends.
// Usage: bench_deploy.exe <folder> [floor]
// The folder is expected not to exist (the driver removes it). "floor" writes the archive the
// same way and then unpacks it with the least work instead (see FloorExtract), so the
// difference shows what the extraction's own steps cost.
#include "archive_extraction.h"
#include "blocks.h"
#include "deployment.h"
#include "owners.h"

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::uint32_t Little32(const unsigned char* at)
{
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::uint16_t Little16(const unsigned char* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

// The least work that unpacks the archive: its central directory read from the block in
// memory, each file's data inflated whole with zlib (or copied when stored) and written with
// one CreateFile, WriteFile and CloseHandle; a CreateDirectoryA for each folder entry. No CRC,
// no time stamps or attributes, no checks beyond what keeps it from reading past the block.
bool FloorExtract(BlockView archive, const std::string& folder)
{
    const unsigned char* end = archive.data + archive.size;
    const unsigned char* record = end - 22; // the end of central directory record, no comment
    if (archive.size < 22 || Little32(record) != 0x06054B50)
        return false;
    const unsigned char* entry = archive.data + Little32(record + 16);
    std::vector<unsigned char> buffer;
    for (unsigned count = Little16(record + 10); count > 0; --count) {
        if (entry + 46 > end || Little32(entry) != 0x02014B50)
            return false;
        const unsigned method = Little16(entry + 10);
        const std::uint32_t packed = Little32(entry + 20);
        const std::uint32_t size = Little32(entry + 24);
        const unsigned nameLength = Little16(entry + 28);
        std::string path = folder + "\\" + std::string(reinterpret_cast<const char*>(entry + 46), nameLength);
        std::replace(path.begin(), path.end(), '/', '\\');
        const unsigned char* local = archive.data + Little32(entry + 42);
        entry += 46 + nameLength + Little16(entry + 30) + Little16(entry + 32);
        if (path.back() == '\\') {
            path.pop_back();
            CreateDirectoryA(path.c_str(), nullptr);
            continue;
        }
        const unsigned char* data = local + 30 + Little16(local + 26) + Little16(local + 28);
        if (data + packed > end)
            return false;
        const unsigned char* bytes = data;
        if (method == 8) {
            buffer.resize(std::max<std::size_t>(buffer.size(), size));
            z_stream stream{};
            stream.next_in = const_cast<unsigned char*>(data);
            stream.avail_in = packed;
            stream.next_out = buffer.data();
            stream.avail_out = size;
            bool inflated = inflateInit2(&stream, -MAX_WBITS) == Z_OK && inflate(&stream, Z_FINISH) == Z_STREAM_END;
            inflateEnd(&stream);
            if (!inflated)
                return false;
            bytes = buffer.data();
        }
        UniqueFileHandle file(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.Get(), bytes, size, &written, nullptr))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_deploy <folder> [floor]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool floor = argc > 2 && std::string(argv[2]) == "floor";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string archivePath = folder + "\\QTRN客户端资源.zip";
    const bool written = WriteBlockToFile(archivePath, ClientArchiveBlock());
    const int extracted = floor ? (FloorExtract(ClientArchiveBlock(), folder) ? 1 : 0) : ExtractArchive(archivePath, folder);
    std::printf("%s: archive %zu bytes, written %s, extraction result %d\n", floor ? "floor" : "ExtractArchive",
                ClientArchiveBlock().size, written ? "yes" : "no", extracted);
    return written && extracted == 1 ? 0 : 1;
}
