#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <string>
#include <unistd.h>

#include "FileLog.h"
#include "muduo/base/Logging.h"
#include "support/TempBoard.h"

TEST(FileLogTest, LinesGoToAFileNamedAfterTheProgram)
{
    std::string dir = test::makeTempDir("railbox-filelog");
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(dir.c_str()), 0);

    FileLog::instance().start("/usr/app/first");
    LOG_WARN << "into the file";
    // Replacing the back end stops the first one, which writes out its lines.
    FileLog::instance().start("second");
    muduo::Logger::setOutput(nullptr);
    ASSERT_EQ(::chdir(cwd), 0);

    std::string firstFile, content;
    int secondFiles = 0;
    if (DIR* d = ::opendir(dir.c_str()))
    {
        while (dirent* e = ::readdir(d))
        {
            std::string name = e->d_name;
            if (name.rfind("first.", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".log")
                firstFile = name;
            if (name.rfind("second.", 0) == 0)
                ++secondFiles;
        }
        ::closedir(d);
    }
    ASSERT_FALSE(firstFile.empty());
    EXPECT_EQ(secondFiles, 1);
    std::ifstream in(dir + "/" + firstFile);
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    EXPECT_NE(content.find("WARN  into the file - FileLogTest.cpp:"), std::string::npos) << content;
    test::removeTree(dir);
}
