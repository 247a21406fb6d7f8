// Drawing and editing of CaliParamMenu's rows and pop-ups.
#include "LcdModule.h"
#include "menu/CaliParamMenu.h"

namespace menu
{
namespace
{
const int kLabelX = 5;
const int kValueX = 80;
const int kConfirmX = 95;
const int kConfirmY = 48;
const char* const kLabels[2][3] = {
    {"\xD0\xA3\xD7\xBC\xB5\xE7\xD1\xB9:", "\xD0\xA3\xD7\xBC\xB5\xE7\xC1\xF7:", "\xD0\xA3\xD7\xBC\xB9\xA6\xC2\xCA:"},
    {"Cali Volt:", "Cali Cur:", "Cali Pow:"},
};
const char* const kUnits[3] = {"  V", " mA", "  W"};
const char* const kConfirm[2] = {"\xC8\xB7\xB6\xA8", "OK"};

struct Tip
{
    int box[2][4];  // by language: x, y, width, height
    int textX[2];
    const char* text[2];
};
const Tip kTips[3] = {
    {{{20, 20, 88, 24}, {20, 20, 88, 24}}, {46, 31}, {"\xC7\xEB\xC9\xD4\xBA\xF3", "Please Wait"}},
    {{{10, 20, 108, 24}, {1, 20, 126, 24}},
     {16, 4},
     {"\xBB\xF1\xC8\xA1\xD0\xA3\xD7\xBC\xB2\xCE\xCA\xFD\xCA\xA7\xB0\xDC", "Request Param Failed"}},
    {{{10, 20, 108, 24}, {0, 20, 128, 24}},
     {16, 1},
     {"\xB4\xAB\xCA\xE4\xD0\xA3\xD7\xBC\xB2\xCE\xCA\xFD\xCA\xA7\xB0\xDC", "Transfer Param Failed"}},
};
const int kTipTextY = 26;

int rowY(int row) { return 16 * row; }
}

void CaliParamMenu::bindFunctions()
{
    for (int l = 0; l < 2; ++l)
    {
        drawCaliParamFun_[l] = [this, l] { drawCaliParam(l); };
        drawWaitTipFun_[l] = [this, l] { drawTip(0, l); };
        drawRequestCaliParamFailedTipFun_[l] = [this, l] { drawTip(1, l); };
        drawTransferCaliParamFailedTipFun_[l] = [this, l] { drawTip(2, l); };
        for (int row = 0; row < 3; ++row)
        {
            enterFun_[l][row] = [this, row] { drawValueRow(row, true); };
            leaveFun_[l][row] = [this, row] { drawValueRow(row, false); };
        }
        enterFun_[l][kConfirmRow] = [this, l] { drawConfirmRow(l, true); };
        leaveFun_[l][kConfirmRow] = [this, l] { drawConfirmRow(l, false); };
    }
    for (int row = 0; row < 3; ++row)
    {
        startEditFun_[row] = [this, row] { startEdit(row); };
        endEditFun_[row] = [this, row] { endEdit(row); };
        editFun_[row] = [this, row](unsigned short key) { edit(row, key); };
    }
}

unsigned short CaliParamMenu::bufferToValue() const
{
    unsigned short value = 0;
    for (char digit : editBuffer_)
        value = static_cast<unsigned short>(value * 10 + (digit - '0'));
    return value;
}

void CaliParamMenu::valueToBuffer(unsigned short value)
{
    for (int i = kDigits - 1; i >= 0; --i, value = static_cast<unsigned short>(value / 10))
        editBuffer_[i] = static_cast<char>('0' + value % 10);
}

void CaliParamMenu::drawCaliParam(int language)
{
    for (int row = 0; row < 3; ++row)
    {
        drawText(kLabelX, rowY(row), kLabels[language][row], false);
        const int w = drawNumberFun_[fontSize_](kValueX, rowY(row), value(row), kDigits, '0', false);
        drawAsciiStringFun_[fontSize_](kValueX + w, rowY(row), kUnits[row], false);
    }
    drawText(kConfirmX, kConfirmY, kConfirm[language], false);
}

void CaliParamMenu::drawValueRow(int row, bool selected)
{
    // Nothing of a wider value drawn before may stay beside the digits.
    lcd_->clearRect(kValueX, rowY(row), kDigits * getCharWidthFun_[fontSize_](), getCharHeightFun_[fontSize_]());
    const int w = drawNumberFun_[fontSize_](kValueX, rowY(row), value(row), kDigits, '0', selected);
    drawFrame(kValueX, rowY(row), w, !selected);
}

void CaliParamMenu::drawConfirmRow(int language, bool selected)
{
    drawFrame(kConfirmX, kConfirmY, drawText(kConfirmX, kConfirmY, kConfirm[language], selected), !selected);
}

void CaliParamMenu::drawEditDigit(bool cursor)
{
    drawAsciiCharFun_[fontSize_](kValueX + getCharWidthFun_[fontSize_]() * editPos_, rowY(editRow_),
                                 editBuffer_[editPos_], cursor);
}

void CaliParamMenu::startEdit(int row)
{
    valueToBuffer(value(row));
    drawValueRow(row, false);
    editPos_ = 0;
    drawEditDigit(true);
}

void CaliParamMenu::endEdit(int row)
{
    value(row) = bufferToValue();
    drawValueRow(row, true);
}

void CaliParamMenu::edit(int, unsigned short key)
{
    char& digit = editBuffer_[editPos_];
    if (key == kKeyUp)
        digit = digit == '9' ? '0' : static_cast<char>(digit + 1);
    else if (key == kKeyDown)
        digit = digit == '0' ? '9' : static_cast<char>(digit - 1);
    else if ((key == kKeyPrev && editPos_ > 0) || (key == kKeyNext && editPos_ < kDigits - 1))
    {
        drawEditDigit(false);
        editPos_ += key == kKeyPrev ? -1 : 1;
    }
    drawEditDigit(true);
}

void CaliParamMenu::drawTip(int tip, int language)
{
    const Tip& t = kTips[tip];
    const int* box = t.box[language];
    lcd_->createRegion(box[0], box[1], box[2], box[3]);
    drawText(t.textX[language], kTipTextY, t.text[language], false);
}
}
