// Benchmark of the payload deployment: the client archive written from its block, then extracted.
// Usage: bench_deploy.exe <folder> [floor]
// The folder is made empty first. "floor" extracts with the least work instead: each entry
// inflated whole into memory and written with one WriteFile, with no folder, name, attribute
// or time-stamp handling, so the difference shows what the extraction's own steps cost.
#include "archive_extraction.h"
#include "blocks.h"
#include "deployment.h"
#include "folder_tree.h"
#include "owners.h"
#include "text.h"

#include <windows.h>
#include <psapi.h>
// unzip.h first: iowin32.h uses zlib's OF() without including zlib.
#include <unzip.h>
#include <iowin32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

PROCESS_MEMORY_COUNTERS_EX Memory()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters;
}

// Committed private memory, summed over the address space. Wine fills PrivateUsage and the
// page-file counters of GetProcessMemoryInfo from other figures (they read 0 here), so this
// sum is the measure that means the same on Windows and under Wine.
std::size_t CommittedPrivateBytes()
{
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* at = nullptr;
    while (VirtualQuery(at, &region, sizeof region) == sizeof region && region.RegionSize > 0) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

// Samples the committed private memory every millisecond while it lives and keeps the peak.
class PeakSampler {
public:
    PeakSampler() : thread_([this] {
        while (!stop_) {
            std::size_t now = CommittedPrivateBytes();
            if (now > peak_)
                peak_ = now;
            Sleep(1);
        }
    }) {}
    ~PeakSampler() { Stop(); }
    std::size_t Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return peak_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> peak_{0};
    std::thread thread_;
};

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
    RemoveFolderTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string archivePath = folder + "\\QTRN客户端资源.zip";
    const PROCESS_MEMORY_COUNTERS_EX before = Memory();
    PeakSampler sampler;
    Sleep(20);
    const std::size_t privateBefore = CommittedPrivateBytes(); // with the sampler's own thread

    LARGE_INTEGER start = Now();
    bool written = WriteBlockToFile(archivePath, ClientArchiveBlock());
    LARGE_INTEGER afterWrite = Now();
    int extracted = floor ? (FloorExtract(archivePath, folder) ? 1 : 0) : ExtractArchive(archivePath, folder);
    LARGE_INTEGER end = Now();
    const std::size_t privatePeak = sampler.Stop();
    const PROCESS_MEMORY_COUNTERS_EX after = Memory();

    std::printf("mode            %s\n", floor ? "floor" : "ExtractArchive");
    std::printf("archive         %zu bytes, written %s, extraction result %d\n", ClientArchiveBlock().size,
                written ? "yes" : "no", extracted);
    std::printf("write block     %.1f ms\n", Milliseconds(start, afterWrite));
    std::printf("extract         %.1f ms\n", Milliseconds(afterWrite, end));
    std::printf("total           %.1f ms\n", Milliseconds(start, end));
    std::printf("committed       %.1f MB private at start, %.1f MB peak, %.1f MB more while deploying\n",
                privateBefore / 1048576.0, privatePeak / 1048576.0, (privatePeak - privateBefore) / 1048576.0);
    std::printf("process counters PrivateUsage %.1f MB at start, %.1f MB at end; PeakPagefileUsage %.1f MB\n",
                before.PrivateUsage / 1048576.0, after.PrivateUsage / 1048576.0, after.PeakPagefileUsage / 1048576.0);
    return written && extracted == 1 ? 0 : 1;
}
