#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "LcdFont.h"
#include "LcdModule.h"

// The front panel's 128 x 64 LCD on an ST7567 controller behind /dev/lcd.
// The frame buffer is 8 pages of 128 columns; in each byte bit k is row
// 8 * page + k. Only the rectangle touched since the last refresh is sent.
class ST7567LcdModule : public LcdModule
{
public:
    static const char* const kDevName;
    static const char* const k8x16AsciiFileName;
    static const char* const k16x16HanziFileName;
    static const char* const k6x12AsciiFileName;
    static const char* const k12x12HanziFileName;
    static const unsigned char s_maskDst[8];  // bit of row k within a page byte
    static const unsigned char s_maskSrc[8];  // bit of column c within a font row byte

    static constexpr int kWidth = 128;
    static constexpr int kHeight = 64;
    static constexpr int kPages = kHeight / 8;
    static constexpr unsigned long kBacklightRequest = 0x40046C01;
    static constexpr unsigned long kPositionRequest = 0x40086C02;
    static constexpr unsigned long kDirectionRequest = 0x40046C03;
    // A flipped controller shows its memory columns 4 to 131.
    static constexpr int kFlippedColumnOffset = 4;

    ST7567LcdModule();
    ~ST7567LcdModule() override;

    int turnOnBacklight(bool on) override;
    bool isBacklightOn() const override { return backlightOn_; }
    int setDir(LcdDirection dir) override;
    LcdDirection getDir() const override { return dir_; }
    void setAutoOff(int minutes) override { autoOff_ = minutes; }
    int getAutoOff() const override { return autoOff_; }

    void flush() override;
    bool createRegion(int x, int y, int w, int h) override;
    bool destroyRegion() override;
    bool isRegionEmpty() const override { return regions_.empty(); }
    void clearRect(int x, int y, int w, int h) override;
    void refresh() override;
    void refreshRegion(int firstPage, int lastPage, int firstColumn, int lastColumn);
    void drawDot(int x, int y, bool reverse) override;
    void drawRect(int x, int y, int w, int h, bool reverse) override;
    void fillRect(int x, int y, int w, int h) override;
    void orPage(int page, int column, uint8_t bits);
    void andPage(int page, int column, uint8_t bits);

    int drawAsciiChar8x16(int x, int y, char c, bool reverse) override;
    unsigned short drawAsciiString8x16(int x, int y, const char* text, bool reverse) override;
    int drawHanzi16x16(int x, int y, const char* code, bool reverse);
    unsigned short drawHanziString16x16(int x, int y, const char* text, bool reverse) override;
    int drawBaseNumber8x16(int x, int y, unsigned short value, int base, int width, char fill, bool reverse);
    int drawNumber8x16(int x, int y, unsigned short value, int width, char fill, bool reverse) override;
    int drawHexNumber8x16(int x, int y, unsigned short value, int width, char fill, bool reverse) override;
    int drawFloat8x16(int x, int y, double value, int width, char fill, int decimals, bool reverse) override;
    unsigned short drawIp8x16(int x, int y, unsigned int ip, bool zeroPad, bool reverse) override;
    unsigned short drawMac8x16(int x, int y, const unsigned char* mac, char separator, bool reverse) override;

    int drawAsciiChar6x12(int x, int y, char c, bool reverse) override;
    unsigned short drawAsciiString6x12(int x, int y, const char* text, bool reverse) override;
    int drawHanzi12x12(int x, int y, const char* code, bool reverse);
    unsigned short drawHanziString12x12(int x, int y, const char* text, bool reverse) override;
    int drawBaseNumber6x12(int x, int y, unsigned short value, int base, int width, char fill, bool reverse);
    int drawNumber6x12(int x, int y, unsigned short value, int width, char fill, bool reverse) override;
    int drawHexNumber6x12(int x, int y, unsigned short value, int width, char fill, bool reverse) override;
    int drawFloat6x12(int x, int y, double value, int width, char fill, int decimals, bool reverse) override;
    unsigned short drawIp6x12(int x, int y, unsigned int ip, bool zeroPad, bool reverse) override;
    unsigned short drawMac6x12(int x, int y, const unsigned char* mac, char separator, bool reverse) override;

    void drawPicture(int x, int y, const _PICTURE* picture, bool reverse) override;
    void drawQrcode(int x, int y, const char* text, bool reverse) override;
    int getLCDWidth() const override { return kWidth; }
    int getLCDHeight() const override { return kHeight; }

    static bool loadFontFile(const char* path, std::vector<unsigned char>& out);

private:
    struct SavedRegion
    {
        int firstPage;
        int firstColumn;
        int pageCount;
        int columnCount;
        std::unique_ptr<uint8_t[]> bytes;
    };
    // Both font sizes share the text rules; Small picks 6x12 and 12x12.
    enum FontSize
    {
        kLarge,
        kSmall,
    };

    void setPixel(int x, int y, bool dark);
    void paintRect(int x, int y, int w, int h, bool dark);
    void touch(int page, int column);
    void resetDirty();
    void loadFont(const char* name, LcdFont& font);
    int drawGlyph(int x, int y, const LcdFont& font, const unsigned char* glyph, bool reverse);
    int drawAsciiChar(FontSize size, int x, int y, char c, bool reverse);
    int drawHanzi(FontSize size, int x, int y, const char* code, bool reverse);
    // Moves the cursor past a glyph w wide, wrapping at the right edge; false
    // once the next line would start below the screen.
    bool advance(FontSize size, int w, int& x, int& y, unsigned short& total);
    unsigned short drawAsciiString(FontSize size, int x, int y, const char* text, bool reverse);
    unsigned short drawHanziString(FontSize size, int x, int y, const char* text, bool reverse);
    int drawCharacters(FontSize size, int x, int y, const std::string& text, bool reverse);
    int drawBaseNumber(FontSize size, int x, int y, unsigned short value, int base, int width, char fill,
                       bool reverse);
    int drawFloat(FontSize size, int x, int y, double value, int width, char fill, int decimals, bool reverse);
    unsigned short drawIp(FontSize size, int x, int y, unsigned int ip, bool zeroPad, bool reverse);
    unsigned short drawMac(FontSize size, int x, int y, const unsigned char* mac, char separator, bool reverse);

    int fd_;
    bool backlightOn_ = false;
    LcdDirection dir_ = kLcdNormal;
    int autoOff_ = 0;
    int dirtyFirstColumn_ = 0;
    int dirtyLastColumn_ = 0;
    int dirtyFirstPage_ = 0;
    int dirtyLastPage_ = 0;
    std::deque<SavedRegion> regions_;
    LcdFont hanzi16_{16, 16};
    LcdFont ascii16_{8, 16};
    LcdFont hanzi12_{12, 12};
    LcdFont ascii12_{6, 12};
    uint8_t frame_[kPages][kWidth] = {};
};
