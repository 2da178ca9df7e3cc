// The byte blocks the installer carries: their layout, their place and what they write out.
#include "blocks.h"
#include "deployment.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

const std::string kScratch = "D:\\blocks-test";

// The build inputs of the blocks, copied beside the tests by the build.
std::string BuildInput(const std::string& name)
{
    return BuildFolder() + "\\tests\\block_inputs\\" + name;
}

std::string BytesOf(BlockView block)
{
    return std::string(reinterpret_cast<const char*>(block.data), block.size);
}

struct NamedBlock {
    const char* name;
    BlockView block;
    const char* input;
};

const NamedBlock kBlocks[] = {
    {"window picture", WindowPictureBlock(), "window_picture.png"},
    {"client archive", ClientArchiveBlock(), "client_archive.zip"},
    {"uninstaller", UninstallerBlock(), "uninstaller.exe"},
};

TEST(Blocks, WrittenOutEachEqualsItsBuildInput)
{
    ScratchFolder scratch(kScratch);
    for (const NamedBlock& named : kBlocks) {
        const std::string input = ReadWholeFile(BuildInput(named.input));
        ASSERT_FALSE(input.empty()) << named.input;
        const std::string written = scratch.Path() + "\\" + named.input;

        ASSERT_TRUE(WriteBlockToFile(written, named.block)) << named.name;

        // Compared as whole texts only when they differ, to keep a failure readable.
        const std::string output = ReadWholeFile(written);
        EXPECT_EQ(output.size(), input.size()) << named.name;
        EXPECT_TRUE(output == input) << named.name << ": the written bytes differ from the build input";
    }
}

TEST(Blocks, EachHasItsHeaderAndLiesInTheReadOnlyImage)
{
    const auto* image = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
    for (const NamedBlock& named : kBlocks) {
        std::uint32_t count = 0;
        std::int32_t length = 0;
        std::memcpy(&count, named.block.data - 8, 4);
        std::memcpy(&length, named.block.data - 4, 4);
        EXPECT_EQ(count, 1u) << named.name;
        EXPECT_EQ(static_cast<std::size_t>(length), named.block.size) << named.name;

        // Used in place: the data are part of the executable's mapped image, not a copy.
        MEMORY_BASIC_INFORMATION region{};
        ASSERT_NE(VirtualQuery(named.block.data, &region, sizeof region), 0u) << named.name;
        EXPECT_EQ(region.Type, static_cast<DWORD>(MEM_IMAGE)) << named.name;
        EXPECT_EQ(region.AllocationBase, image) << named.name;
        EXPECT_EQ(region.Protect, static_cast<DWORD>(PAGE_READONLY)) << named.name;
    }
}

TEST(Blocks, ClientArchiveBeginsWithALocalFileHeader)
{
    BlockView archive = ClientArchiveBlock();
    ASSERT_GE(archive.size, 4u);
    EXPECT_EQ(BytesOf(archive).substr(0, 4), std::string("PK\x03\x04", 4));
    BlockView uninstaller = UninstallerBlock();
    ASSERT_GE(uninstaller.size, 2u);
    EXPECT_EQ(BytesOf(uninstaller).substr(0, 2), "MZ");
}

TEST(Blocks, ZeroLengthBlockWritesAnEmptyFile)
{
    ScratchFolder scratch(kScratch);
    alignas(4) const unsigned char empty[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    BlockView block = ViewOfBlock(empty);
    EXPECT_EQ(block.size, 0u);

    const std::string path = scratch.Path() + "\\empty.bin";
    ASSERT_TRUE(WriteTextFile(path, "an older, longer file"));
    EXPECT_TRUE(WriteBlockToFile(path, block));
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(Blocks, ViewTakesItsLengthFromTheHeader)
{
    alignas(4) const unsigned char negative[12] = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd'};
    EXPECT_EQ(ViewOfBlock(negative).size, 0u);
    alignas(4) const unsigned char four[12] = {1, 0, 0, 0, 4, 0, 0, 0, 'a', 'b', 'c', 'd'};
    EXPECT_EQ(BytesOf(ViewOfBlock(four)), "abcd");
}

} // namespace
