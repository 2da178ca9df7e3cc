// Decoding the window picture (PNG) into a top-down 24-bit DIB.
#pragma once

#include "blocks.h"

#include <windows.h>

#include <optional>
#include <vector>

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rows; // BGR, top-down, each row padded to 4 bytes
    BITMAPINFO info{};
};

std::optional<DecodedPicture> DecodePng(BlockView png);
