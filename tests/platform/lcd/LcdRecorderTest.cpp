// lcd-recorder: the daemon's LCD driver draws a screen, the recorder turns
// the stand-in device's records into a PNG image of the panel.
#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "LcdPanel.h"
#include "LcdPngWriter.h"
#include "LcdRecordParser.h"
#include "ST7567LcdModule.h"
#include "platform/core/BoardDevice.h"
#include "platform/core/BoardRoot.h"
#include "support/LcdBoard.h"
#include "support/TempBoard.h"

namespace fs = std::filesystem;

namespace
{
struct Image
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    uint32_t at(int x, int y) const
    {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3];
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
    // The colour in the middle of dot (x, y) of the panel.
    uint32_t dot(int x, int y, int scale) const
    {
        int bezel = LcdPngWriter::kBezelDots * scale;
        return at(bezel + x * scale + scale / 2, bezel + y * scale + scale / 2);
    }
};

bool readPng(const std::string& path, Image& out)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

LcdPanel panelOf(const std::string& device)
{
    LcdPanel panel;
    std::ifstream in(device, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LcdRecordParser parser([&panel](const LcdRecord& r) { panel.apply(r); });
    parser.feed(bytes.data(), bytes.size());
    return panel;
}

// A page as the unit might show it: title, Chinese label, reading, address,
// a QR code and a highlighted line.
void drawSampleScreen(ST7567LcdModule& lcd)
{
    lcd.turnOnBacklight(true);
    lcd.flush();
    lcd.drawAsciiString8x16(0, 0, "RAILBOX", false);
    lcd.drawHanziString12x12(0, 17, "\xB5\xE7\xD1\xB9", false);  // "voltage"
    lcd.drawFloat6x12(26, 17, 230.96, 0, ' ', 1, false);
    lcd.drawAsciiChar6x12(56, 17, 'V', false);
    lcd.drawIp6x12(0, 30, 192u << 24 | 168u << 16 | 1u << 8 | 100u, false, false);
    lcd.fillRect(0, 50, 96, 14);
    lcd.drawAsciiString6x12(3, 51, "OUTLET 1  ON", true);
    lcd.drawRect(-1, -1, 97, 49, false);  // only its right and bottom sides show
    lcd.drawQrcode(99, 0, "http://192.168.1.100/", false);
    lcd.refresh();
}

class Child
{
public:
    explicit Child(std::vector<std::string> args)
    {
        pid_ = ::fork();
        if (pid_ == 0)
        {
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~Child()
    {
        if (pid_ > 0)
        {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_ = -1;
};

// Waits (bounded) until the image exists and satisfies check.
template <typename Check>
bool waitForImage(const std::string& path, Check check)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    Image image;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (readPng(path, image) && check(image))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

const uint32_t kLitBackground = 0xB8E058;
const uint32_t kLitDot = 0x1C2C14;
const uint32_t kDarkBackground = 0x4A5044;
const std::string kRecorder = test::buildPath("platform/lcd/lcd-recorder");
}

TEST(LcdRecorderTest, SampleScreenRendersDotForDot)
{
    test::prepareLcdBoard();
    ST7567LcdModule lcd;
    drawSampleScreen(lcd);
    LcdPanel panel = panelOf(board::path("/dev/lcd"));
    EXPECT_TRUE(panel.backlight());

    // Kept in the build tree for a person to look at.
    fs::create_directories(test::buildPath("artifacts"));
    std::string artefact = test::buildPath("artifacts/lcd-sample-screen.png");
    std::string small = board::path("/lcd-2x.png");
    for (auto [scale, image] : {std::pair<int, std::string>{4, artefact}, {2, small}})
    {
        std::string cmd = kRecorder + " --once --scale " + std::to_string(scale) + " " + board::path("/dev/lcd") + " " + image;
        ASSERT_EQ(0, std::system(cmd.c_str())) << cmd;
        Image png;
        ASSERT_TRUE(readPng(image, png));
        EXPECT_EQ((128 + 8) * scale, png.width);
        EXPECT_EQ((64 + 8) * scale, png.height);
        int dark = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 128; ++x)
            {
                ASSERT_EQ(panel.pixel(x, y) ? kLitDot : kLitBackground, png.dot(x, y, scale)) << x << "," << y;
                dark += panel.pixel(x, y);
            }
        EXPECT_GT(dark, 600);
    }
    EXPECT_FALSE(panel.pixel(0, 0)) << "the outline's left and top sides lie off the screen";
    EXPECT_TRUE(panel.pixel(95, 20));
    EXPECT_TRUE(panel.pixel(99, 0)) << "QR finder corner";
}

TEST(LcdRecorderTest, FollowsAFifoAndAPlainFile)
{
    std::string dir = board::path("/follow");
    fs::create_directories(dir);
    for (bool fifo : {true, false})
    {
        SCOPED_TRACE(fifo ? "fifo" : "file");
        std::string device = dir + (fifo ? "/lcd-fifo" : "/lcd-file");
        std::string image = dir + (fifo ? "/fifo.png" : "/file.png");
        if (!fifo)
            std::ofstream(device, std::ios::trunc);
        Child recorder({kRecorder, device, image});  // makes the FIFO itself
        ASSERT_TRUE(waitForImage(image, [](const Image& i) { return i.dot(5, 5, 2) == kDarkBackground; }));
        int fd = ::open(device.c_str(), O_WRONLY | O_CLOEXEC | (fifo ? 0 : O_APPEND));
        ASSERT_GE(fd, 0);
        int on = 1;
        int position[2] = {1, 7};
        const uint8_t column = 0x81;
        ASSERT_EQ(0, board::deviceIoctl(fd, LcdPanel::kBacklightRequest, &on));
        ASSERT_EQ(0, board::deviceIoctl(fd, LcdPanel::kPositionRequest, position));
        ASSERT_EQ(1, board::deviceWrite(fd, &column, 1));
        ::close(fd);
        EXPECT_TRUE(waitForImage(image, [](const Image& i) {
            return i.dot(7, 8, 2) == kLitDot && i.dot(7, 15, 2) == kLitDot && i.dot(7, 9, 2) == kLitBackground;
        }));
    }
}
