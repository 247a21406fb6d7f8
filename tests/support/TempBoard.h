#pragma once
#include <string>

namespace test
{
// A fresh directory under $TMPDIR (or /tmp); the caller owns it.
std::string makeTempDir(const std::string& prefix);
// Removes a directory tree (used for temporary board roots).
void removeTree(const std::string& dir);
// Path of a program or file in the build tree / source tree (a built
// program under emulation: see support/Emulation.h).
std::string buildPath(const std::string& relative);
std::string sourcePath(const std::string& relative);
}
