// Reading a PNG the tool wrote back as RGBA pixels, to look at what a picture shows.
#pragma once

#include <gtest/gtest.h>

#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace hxtest {

struct Image
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    const std::uint8_t* at(int x, int y) const { return &rgba[(std::size_t(y) * width + x) * 4]; }
};

// The picture at `path`; an empty one, and a test failure, where it cannot be read.
inline Image readPng(const std::string& path)
{
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    Image image;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        ADD_FAILURE() << "cannot read " << path << ": " << png.message;
        return image;
    }
    png.format = PNG_FORMAT_RGBA;
    image.rgba.resize(PNG_IMAGE_SIZE(png));
    EXPECT_TRUE(png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr));
    image.width = int(png.width);
    image.height = int(png.height);
    return image;
}

} // namespace hxtest
