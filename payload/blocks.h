// The byte blocks the installer carries: dimension count 1, length N, then the N data bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// A read-only view of a block's data, in place in the executable's mapped image.
struct BlockView {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

BlockView ViewOfBlock(const unsigned char* block);

BlockView WindowPictureBlock();

// The client archive (a ZIP archive) and the uninstaller executable, as they went into the build.
BlockView ClientArchiveBlock();
BlockView UninstallerBlock();
