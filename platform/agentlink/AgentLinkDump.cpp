// Prints the SNMP agent's tables as the daemon mirrored them:
//   agentlink-dump [--root DIR] [TABLE]
// per table a line "table N:" followed by its words in decimal, then its
// records labelled, one an indented line ("  outlet 1: on, 230.1 V, ...").
//   agentlink-dump [--root DIR] --remove
// removes the board's tables, which a daemon ended by a signal leaves behind.
// DIR is the board root the daemon ran on ($RAILBOX_ROOT), as any path to it.
#include "AgentLinkLayout.h"
#include "AgentTableText.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

namespace
{
int usage(const char* self, FILE* out, int status)
{
    std::fprintf(out,
                 "usage: %s [--root DIR] [TABLE 0-%d]\n"
                 "       %s [--root DIR] --remove\n"
                 "Prints the SNMP agent's tables of the daemon on board root DIR (default $RAILBOX_ROOT):\n"
                 "0 the unit, 1 its outlets, 2-5 slave slots 1-4, 6-9 their outlets; each as its words,\n"
                 "then its records labelled. --remove removes the tables.\n",
                 self, agentlink::kTables - 1, self);
    return status;
}
}

int main(int argc, char** argv)
{
    std::string root = agentlink::normalizedRoot(std::getenv("RAILBOX_ROOT"));
    int only = -1;
    bool remove = false;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc)
            root = agentlink::normalizedRoot(argv[++i]);
        else if (std::strcmp(argv[i], "--remove") == 0)
            remove = true;
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return usage(argv[0], stdout, 0);
        else if (argv[i][0] >= '0' && argv[i][0] <= '9' && std::atoi(argv[i]) < agentlink::kTables)
            only = std::atoi(argv[i]);
        else
            return usage(argv[0], stderr, 2);
    }
    const std::string name = agentlink::segmentName(root);
    if (remove)
    {
        if (::shm_unlink(name.c_str()) == 0)
            return 0;
        std::fprintf(stderr, "agentlink-dump: no shared tables %s to remove: %s\n", name.c_str(),
                     std::strerror(errno));
        return 1;
    }
    int fd = ::shm_open(name.c_str(), O_RDWR, 0);
    if (fd < 0)
    {
        std::fprintf(stderr, "agentlink-dump: no shared tables %s: %s\n", name.c_str(), std::strerror(errno));
        return 1;
    }
    void* p = ::mmap(nullptr, sizeof(agentlink::Segment), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED)
    {
        std::fprintf(stderr, "agentlink-dump: cannot map %s: %s\n", name.c_str(), std::strerror(errno));
        return 1;
    }
    auto* seg = static_cast<agentlink::Segment*>(p);
    if (__atomic_load_n(&seg->magic, __ATOMIC_ACQUIRE) != agentlink::kMagic)
    {
        std::fprintf(stderr, "agentlink-dump: %s is not initialised\n", name.c_str());
        return 1;
    }
    std::vector<int32_t> copy(agentlink::kTotalWords);
    timespec deadline;
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += 2;
    bool locked = ::sem_timedwait(&seg->lock, &deadline) == 0;
    std::memcpy(copy.data(), seg->words, sizeof seg->words);
    if (locked)
        ::sem_post(&seg->lock);
    ::munmap(p, sizeof(agentlink::Segment));

    for (int t = 0; t < agentlink::kTables; ++t)
    {
        if (only >= 0 && t != only)
            continue;
        std::printf("table %d:", t);
        for (int i = 0; i < agentlink::kTableWords[t]; ++i)
            std::printf(" %d", copy[agentlink::tableOffset(t) + i]);
        std::printf("\n");
        for (const std::string& line : agentlink::AgentTableText::lines(copy, t))
            std::printf("  %s\n", line.c_str());
    }
    return 0;
}
