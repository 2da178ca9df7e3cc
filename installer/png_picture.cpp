// Decoding the window picture (PNG) into a top-down 24-bit DIB.
#include "png_picture.h"

#include <png.h>

std::optional<DecodedPicture> DecodePng(BlockView png)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data, png.size))
        return std::nullopt;

    image.format = PNG_FORMAT_BGR;
    DecodedPicture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    const png_int_32 stride = static_cast<png_int_32>((image.width * 3 + 3) & ~3u);
    picture.rows.resize(static_cast<std::size_t>(stride) * image.height);
    if (!png_image_finish_read(&image, nullptr, picture.rows.data(), stride, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }

    BITMAPINFOHEADER& header = picture.info.bmiHeader;
    header.biSize = sizeof header;
    header.biWidth = picture.width;
    header.biHeight = -picture.height; // top-down
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return picture;
}
