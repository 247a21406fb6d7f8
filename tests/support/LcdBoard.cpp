#include "support/LcdBoard.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/BoardRoot.h"
#include "support/TempBoard.h"

namespace test
{
void prepareLcdBoard()
{
    namespace fs = std::filesystem;
    fs::create_directories(board::path("/dev"));
    fs::create_directories(board::path("/usr/app"));
    std::ofstream(board::path("/dev/lcd"), std::ios::trunc);
    for (const char* name : {"asc16", "hzk16s", "asc12", "hzk12"})
        fs::copy_file(buildPath(std::string("fonts/") + name), board::path(std::string("/usr/app/") + name),
                      fs::copy_options::overwrite_existing);
}
}
