#pragma once
// Layout of the SNMP agent's shared tables, shared by the stand-in library and
// its viewer. On a simulated board the segment is named after the board root,
// so boards running side by side never see each other's tables.
#include <limits.h>
#include <semaphore.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace agentlink
{
// Table t holds kTableWords[t] 32-bit words: the unit, its 60 outlets x 7,
// four slave heads x 9 and four slaves' 60 outlets x 6.
constexpr int kTables = 10;
constexpr int kTableWords[kTables] = {13, 420, 9, 9, 9, 9, 360, 360, 360, 360};
constexpr uint32_t kMagic = 0x41474C4B;  // "AGLK"

constexpr int tableOffset(int table)
{
    int offset = 0;
    for (int t = 0; t < table; ++t)
        offset += kTableWords[t];
    return offset;
}
constexpr int kTotalWords = tableOffset(kTables);

struct Segment
{
    uint32_t magic;  // written last by the master, once the semaphore is ready
    sem_t lock;
    int32_t words[kTotalWords];
};

inline std::string normalizedRoot(const char* env)
{
    std::string r = env ? env : "";
    while (r.size() > 1 && r.back() == '/')
        r.pop_back();
    return r == "/" ? std::string() : r;
}

// One spelling of a board root, so that a relative path or one through a
// symbolic link names the tables the daemon made under its absolute root:
// the resolved path, or (for a folder gone by now) the path made absolute.
inline std::string canonicalRoot(const std::string& root)
{
    char resolved[PATH_MAX];
    if (::realpath(root.c_str(), resolved))
        return normalizedRoot(resolved);
    char cwd[PATH_MAX];
    if (root[0] == '/' || !::getcwd(cwd, sizeof cwd))
        return root;
    return normalizedRoot((std::string(cwd) + "/" + root).c_str());
}

// "/railbox-agentlink" on the unit; with a board root, a FNV-1a hash of it.
inline std::string segmentName(const std::string& givenRoot)
{
    const std::string root = givenRoot.empty() ? givenRoot : canonicalRoot(givenRoot);
    if (root.empty())
        return "/railbox-agentlink";
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : root)
        h = (h ^ c) * 1099511628211ull;
    char buf[64];
    std::snprintf(buf, sizeof buf, "/railbox-agentlink-%016llx", static_cast<unsigned long long>(h));
    return buf;
}

inline std::string segmentNameFromEnv() { return segmentName(normalizedRoot(std::getenv("RAILBOX_ROOT"))); }
}
