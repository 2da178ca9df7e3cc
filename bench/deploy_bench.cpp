// Benchmark of the payload deployment, timed as a whole process from outside (bench/run_bench.py):
// the client archive written from its block, then extracted, once; then the program ends.
// Usage: bench_deploy.exe <folder> [floor]
// The folder is expected not to exist (the driver removes it). "floor" extracts with the least
// work instead: each entry inflated whole into memory and written with one CreateFile, WriteFile
// and CloseHandle, with no name, attribute or time-stamp handling, so the difference shows what
// the extraction's own steps cost.
#include "archive_extraction.h"
#include "blocks.h"
#include "deployment.h"
#include "owners.h"

#include <windows.h>
// unzip.h first: iowin32.h uses zlib's OF() without including zlib.
#include <unzip.h>
#include <iowin32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool FloorExtract(const std::string& archivePath, const std::string& folder)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64A(&functions);
    unzFile archive = unzOpen2_64(archivePath.c_str(), &functions);
    if (!archive)
        return false;
    std::vector<unsigned char> buffer;
    bool ok = true;
    for (int step = unzGoToFirstFile(archive); ok && step == UNZ_OK; step = unzGoToNextFile(archive)) {
        unz_file_info64 info;
        char name[512];
        unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        std::string path = folder + "\\" + name;
        std::replace(path.begin(), path.end(), '/', '\\');
        if (path.back() == '\\') {
            path.pop_back();
            CreateDirectoryA(path.c_str(), nullptr);
            continue;
        }
        buffer.resize(std::max<std::size_t>(buffer.size(), info.uncompressed_size));
        unzOpenCurrentFile(archive);
        int got = unzReadCurrentFile(archive, buffer.data(), static_cast<unsigned>(info.uncompressed_size));
        unzCloseCurrentFile(archive);
        UniqueFileHandle file(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ok = got >= 0 && file && WriteFile(file.Get(), buffer.data(), static_cast<DWORD>(got), &written, nullptr);
    }
    unzClose(archive);
    return ok;
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
    const int extracted = floor ? (FloorExtract(archivePath, folder) ? 1 : 0) : ExtractArchive(archivePath, folder);
    std::printf("%s: archive %zu bytes, written %s, extraction result %d\n", floor ? "floor" : "ExtractArchive",
                ClientArchiveBlock().size, written ? "yes" : "no", extracted);
    return written && extracted == 1 ? 0 : 1;
}
