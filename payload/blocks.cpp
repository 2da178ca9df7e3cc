// The byte blocks the installer carries.
#include "blocks.h"

#include <cstring>

extern "C" const unsigned char korvexaWindowPictureBlock[];
extern "C" const unsigned char korvexaClientArchiveBlock[];
extern "C" const unsigned char korvexaUninstallerBlock[];

BlockView ViewOfBlock(const unsigned char* block)
{
    std::int32_t length = 0;
    std::memcpy(&length, block + 4, sizeof length);
    if (length < 0)
        length = 0;
    return {block + 8, static_cast<std::size_t>(length)};
}

BlockView WindowPictureBlock()
{
    return ViewOfBlock(korvexaWindowPictureBlock);
}

BlockView ClientArchiveBlock()
{
    return ViewOfBlock(korvexaClientArchiveBlock);
}

BlockView UninstallerBlock()
{
    return ViewOfBlock(korvexaUninstallerBlock);
}
