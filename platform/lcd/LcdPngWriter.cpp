#include "LcdPngWriter.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "LcdPanel.h"

namespace
{
struct Rgb
{
    uint8_t r, g, b;
};
constexpr Rgb kBezel{0x2A, 0x2A, 0x2E};
constexpr Rgb kLitBackground{0xB8, 0xE0, 0x58};
constexpr Rgb kLitDot{0x1C, 0x2C, 0x14};
constexpr Rgb kDarkBackground{0x4A, 0x50, 0x44};
constexpr Rgb kDarkDot{0x16, 0x1A, 0x14};

std::vector<uint8_t> renderRows(const LcdPanel& panel, int scale)
{
    int width = LcdPngWriter::imageWidth(scale);
    int height = LcdPngWriter::imageHeight(scale);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    Rgb background = panel.backlight() ? kLitBackground : kDarkBackground;
    Rgb dot = panel.backlight() ? kLitDot : kDarkDot;
    int bezel = LcdPngWriter::kBezelDots * scale;
    for (int py = 0; py < height; ++py)
    {
        for (int px = 0; px < width; ++px)
        {
            Rgb c = kBezel;
            int x = (px - bezel) / scale, y = (py - bezel) / scale;
            if (px >= bezel && py >= bezel && x < LcdPanel::kWidth && y < LcdPanel::kHeight)
                c = panel.pixel(x, y) ? dot : background;
            uint8_t* p = &pixels[(static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    return pixels;
}

bool encode(FILE* file, const std::vector<uint8_t>& pixels, int width, int height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, &pixels[static_cast<size_t>(y) * static_cast<size_t>(width) * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
}

int LcdPngWriter::imageWidth(int scale) { return (LcdPanel::kWidth + 2 * kBezelDots) * scale; }
int LcdPngWriter::imageHeight(int scale) { return (LcdPanel::kHeight + 2 * kBezelDots) * scale; }

bool LcdPngWriter::write(const LcdPanel& panel, const std::string& path, int scale, std::string* error)
{
    if (scale < 1 || scale > 8)
    {
        *error = "scale must be 1 to 8";
        return false;
    }
    std::vector<uint8_t> pixels = renderRows(panel, scale);
    std::string tmp = path + ".tmp";
    FILE* file = std::fopen(tmp.c_str(), "wb");
    if (!file)
    {
        *error = "cannot create " + tmp + ": " + std::strerror(errno);
        return false;
    }
    bool ok = encode(file, pixels, imageWidth(scale), imageHeight(scale));
    ok = (std::fclose(file) == 0) && ok;
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0)
    {
        *error = "cannot write " + path;
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}
