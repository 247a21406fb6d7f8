// Prints the SNMP agent's tables as the daemon mirrored them:
//   agentlink-dump [--root DIR] [TABLE]
// one line per table, "table N:" followed by its words in decimal.
#include "AgentLinkLayout.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

int main(int argc, char** argv)
{
    std::string root = agentlink::normalizedRoot(std::getenv("RAILBOX_ROOT"));
    int only = -1;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc)
            root = agentlink::normalizedRoot(argv[++i]);
        else if (argv[i][0] >= '0' && argv[i][0] <= '9' && std::atoi(argv[i]) < agentlink::kTables)
            only = std::atoi(argv[i]);
        else
        {
            std::fprintf(stderr, "usage: %s [--root DIR] [TABLE 0-%d]\n", argv[0], agentlink::kTables - 1);
            return 2;
        }
    }
    const std::string name = agentlink::segmentName(root);
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
    }
    return 0;
}
