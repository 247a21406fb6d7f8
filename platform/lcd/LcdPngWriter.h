#pragma once
#include <string>

class LcdPanel;

// Renders what the panel shows as a PNG image: each dot is scale x scale
// pixels inside a dark bezel; a lit backlight shows as a bright
// yellow-green background, an unlit one as a dim grey one.
class LcdPngWriter
{
public:
    static constexpr int kBezelDots = 4;

    // Writes atomically (a temporary file renamed over path); false with a
    // reason in *error when the image cannot be written.
    static bool write(const LcdPanel& panel, const std::string& path, int scale, std::string* error);
    static int imageWidth(int scale);
    static int imageHeight(int scale);
};
