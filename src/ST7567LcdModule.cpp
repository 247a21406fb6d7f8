#include "ST7567LcdModule.h"

#include <fcntl.h>
#include <qrencode.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "muduo/base/Logging.h"
#include "platform/core/BoardDevice.h"
#include "platform/core/BoardRoot.h"

const char* const ST7567LcdModule::kDevName = "/dev/lcd";
const unsigned char ST7567LcdModule::s_maskDst[8] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
const unsigned char ST7567LcdModule::s_maskSrc[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};

ST7567LcdModule::ST7567LcdModule()
{
    std::string path = board::path(kDevName);
    fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0)
        LOG_FATAL << "Failed in open " << path << ": " << muduo::strerror_tl(errno);
    resetDirty();
    loadFont(k8x16AsciiFileName, ascii16_);
    loadFont(k16x16HanziFileName, hanzi16_);
    loadFont(k6x12AsciiFileName, ascii12_);
    loadFont(k12x12HanziFileName, hanzi12_);
}

ST7567LcdModule::~ST7567LcdModule()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int ST7567LcdModule::turnOnBacklight(bool on)
{
    int value = on ? 1 : 0;
    backlightOn_ = on;
    return board::deviceIoctl(fd_, kBacklightRequest, &value);
}

int ST7567LcdModule::setDir(LcdDirection dir)
{
    int value = dir != kLcdNormal ? 1 : 0;
    dir_ = dir;
    return board::deviceIoctl(fd_, kDirectionRequest, &value);
}

void ST7567LcdModule::resetDirty()
{
    dirtyFirstColumn_ = kWidth - 1;
    dirtyLastColumn_ = 0;
    dirtyFirstPage_ = kPages - 1;
    dirtyLastPage_ = 0;
}

void ST7567LcdModule::touch(int page, int column)
{
    dirtyFirstColumn_ = std::min(dirtyFirstColumn_, column);
    dirtyLastColumn_ = std::max(dirtyLastColumn_, column);
    dirtyFirstPage_ = std::min(dirtyFirstPage_, page);
    dirtyLastPage_ = std::max(dirtyLastPage_, page);
}

void ST7567LcdModule::flush()
{
    std::memset(frame_, 0, sizeof frame_);
    touch(0, 0);
    touch(kPages - 1, kWidth - 1);
}

void ST7567LcdModule::refresh()
{
    refreshRegion(dirtyFirstPage_, dirtyLastPage_, dirtyFirstColumn_, dirtyLastColumn_);
    resetDirty();
}

void ST7567LcdModule::refreshRegion(int firstPage, int lastPage, int firstColumn, int lastColumn)
{
    firstPage = std::max(firstPage, 0);
    lastPage = std::min(lastPage, kPages - 1);
    firstColumn = std::max(firstColumn, 0);
    lastColumn = std::min(lastColumn, kWidth - 1);
    if (firstColumn > lastColumn)
        return;
    int offset = dir_ != kLcdNormal ? kFlippedColumnOffset : 0;
    for (int page = firstPage; page <= lastPage; ++page)
    {
        int position[2] = {page, firstColumn + offset};
        board::deviceIoctl(fd_, kPositionRequest, position);
        board::deviceWrite(fd_, &frame_[page][firstColumn], static_cast<size_t>(lastColumn - firstColumn + 1));
    }
}

void ST7567LcdModule::orPage(int page, int column, uint8_t bits)
{
    if (page < 0 || page >= kPages || column < 0 || column >= kWidth)
        return;
    frame_[page][column] |= bits;
    touch(page, column);
}

void ST7567LcdModule::andPage(int page, int column, uint8_t bits)
{
    if (page < 0 || page >= kPages || column < 0 || column >= kWidth)
        return;
    frame_[page][column] &= bits;
    touch(page, column);
}

void ST7567LcdModule::setPixel(int x, int y, bool dark)
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight)
        return;
    if (dark)
        orPage(y / 8, x, s_maskDst[y % 8]);
    else
        andPage(y / 8, x, static_cast<uint8_t>(~s_maskDst[y % 8]));
}

void ST7567LcdModule::drawDot(int x, int y, bool reverse) { setPixel(x, y, !reverse); }

void ST7567LcdModule::fillRect(int x, int y, int w, int h) { paintRect(x, y, w, h, true); }

void ST7567LcdModule::clearRect(int x, int y, int w, int h) { paintRect(x, y, w, h, false); }

void ST7567LcdModule::paintRect(int x, int y, int w, int h, bool dark)
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight || w < 1)
        return;
    int right = static_cast<int>(std::min<int64_t>(int64_t{x} + w, kWidth));
    int bottom = static_cast<int>(std::min<int64_t>(int64_t{y} + h, kHeight));
    for (int row = y; row < bottom; ++row)
        for (int column = x; column < right; ++column)
            setPixel(column, row, dark);
}

void ST7567LcdModule::drawRect(int x, int y, int w, int h, bool reverse)
{
    if (x >= kWidth || y >= kHeight || w < 1 || h < 1)
        return;
    // A side off the screen is clipped away, not moved onto the screen's edge:
    // the pages outline boxes at -1 to hide those sides.
    int64_t left = x, top = y, right = int64_t{x} + w - 1, bottom = int64_t{y} + h - 1;
    int fromRow = static_cast<int>(std::max<int64_t>(top, 0));
    int toRow = static_cast<int>(std::min<int64_t>(bottom, kHeight - 1));
    int fromColumn = static_cast<int>(std::max<int64_t>(left, 0));
    int toColumn = static_cast<int>(std::min<int64_t>(right, kWidth - 1));
    for (int row = fromRow; row <= toRow; ++row)
    {
        if (left >= 0)
            setPixel(x, row, !reverse);
        if (right < kWidth)
            setPixel(static_cast<int>(right), row, !reverse);
    }
    for (int column = fromColumn; column <= toColumn; ++column)
    {
        if (top >= 0)
            setPixel(column, y, !reverse);
        if (bottom < kHeight)
            setPixel(column, static_cast<int>(bottom), !reverse);
    }
}

bool ST7567LcdModule::createRegion(int x, int y, int w, int h)
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight || w < 0 || h < 0 || x + w > kWidth || y + h > kHeight)
        return false;
    SavedRegion region;
    region.firstPage = y / 8;
    region.firstColumn = x;
    region.pageCount = std::max(0, (y + h - 1) / 8 - region.firstPage + 1);
    region.columnCount = w;
    region.bytes.reset(new uint8_t[static_cast<size_t>(region.pageCount * region.columnCount) + 1]);
    for (int p = 0; p < region.pageCount; ++p)
        std::memcpy(&region.bytes[static_cast<size_t>(p * w)], &frame_[region.firstPage + p][x], static_cast<size_t>(w));
    regions_.push_back(std::move(region));
    clearRect(x, y, w, h);
    drawRect(x, y, w, h, false);
    return true;
}

bool ST7567LcdModule::destroyRegion()
{
    if (regions_.empty())
        return false;
    SavedRegion& region = regions_.back();
    size_t w = static_cast<size_t>(region.columnCount);
    for (int p = 0; p < region.pageCount; ++p)
        std::memcpy(&frame_[region.firstPage + p][region.firstColumn], &region.bytes[static_cast<size_t>(p) * w], w);
    if (region.pageCount > 0 && region.columnCount > 0)
    {
        touch(region.firstPage, region.firstColumn);
        touch(region.firstPage + region.pageCount - 1, region.firstColumn + region.columnCount - 1);
    }
    regions_.pop_back();
    return true;
}

void ST7567LcdModule::drawPicture(int x, int y, const _PICTURE* picture, bool reverse)
{
    if (!picture || !picture->data || picture->width < 1 || picture->height < 8 || x >= kWidth || y >= kHeight)
        return;
    // Only whole strips are drawn; the bytes of a partial one are not there.
    int strips = picture->height / 8;
    for (int s = 0; s < strips; ++s)
    {
        for (int c = 0; c < picture->width && x + c < kWidth; ++c)
        {
            uint8_t byte = picture->data[static_cast<size_t>(s) * static_cast<size_t>(picture->width) + static_cast<size_t>(c)];
            if (reverse)
                byte = static_cast<uint8_t>(~byte);
            for (int k = 0; k < 8; ++k)
                setPixel(x + c, y + 8 * s + k, (byte & s_maskDst[k]) != 0);
        }
    }
}

void ST7567LcdModule::drawQrcode(int x, int y, const char* text, bool reverse)
{
    if (!text || x >= kWidth || y >= kHeight)
        return;
    QRcode* code = QRcode_encodeString(text, 1, QR_ECLEVEL_H, QR_MODE_8, 1);
    if (!code)
        return;
    for (int r = 0; r < code->width; ++r)
    {
        for (int c = 0; c < code->width; ++c)
        {
            bool dark = (code->data[r * code->width + c] & 1) != 0;
            setPixel(x + c, y + r, dark != reverse);
        }
    }
    QRcode_free(code);
}
