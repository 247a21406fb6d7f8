// Stand-in of the SNMP agent's link library: the daemon is the master that
// creates the tables; the agent (or the viewer) maps the same segment.
#include "AgentLinkApi.h"
#include "AgentLinkLayout.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace
{
agentlink::Segment* g_segment = nullptr;
std::string g_name;

bool lock()
{
    timespec deadline;
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += 2;  // a reader that died holding the lock must not hang us
    while (::sem_timedwait(&g_segment->lock, &deadline) != 0)
    {
        if (errno != EINTR)
            return false;
    }
    return true;
}

int transfer(int table, int item, int size, void* data, bool toTable)
{
    if (!g_segment || !data || table < 0 || table >= agentlink::kTables || item < 0 || size <= 0)
        return -1;
    const int words = (size + 3) / 4;
    if (words > agentlink::kTableWords[table] - item)
        return -1;
    int32_t* at = g_segment->words + agentlink::tableOffset(table) + item;
    if (!lock())
        return -1;
    if (toTable)
        std::memcpy(at, data, static_cast<size_t>(size));
    else
        std::memcpy(data, at, static_cast<size_t>(size));
    ::sem_post(&g_segment->lock);
    return size;
}
}

int init_shm_sem_master()
{
    if (g_segment)
        return 0;
    const std::string name = agentlink::segmentNameFromEnv();
    int fd = ::shm_open(name.c_str(), O_CREAT | O_RDWR, 0660);
    if (fd < 0)
        return -1;
    void* p = MAP_FAILED;
    if (::ftruncate(fd, sizeof(agentlink::Segment)) == 0)
        p = ::mmap(nullptr, sizeof(agentlink::Segment), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED)
    {
        ::shm_unlink(name.c_str());
        return -1;
    }
    auto* seg = static_cast<agentlink::Segment*>(p);
    seg->magic = 0;
    std::memset(seg->words, 0, sizeof seg->words);
    if (::sem_init(&seg->lock, 1, 1) != 0)
    {
        ::munmap(p, sizeof(agentlink::Segment));
        ::shm_unlink(name.c_str());
        return -1;
    }
    __atomic_store_n(&seg->magic, agentlink::kMagic, __ATOMIC_RELEASE);
    g_segment = seg;
    g_name = name;
    return 0;
}

int snmp_set_data(int table, int item, int size, void* data)
{
    return transfer(table, item, size, data, true);
}

int snmp_get_data(int table, int item, int size, void* data)
{
    return transfer(table, item, size, data, false);
}

int del_sem()
{
    if (!g_segment)
        return -1;
    __atomic_store_n(&g_segment->magic, 0u, __ATOMIC_RELEASE);
    ::sem_destroy(&g_segment->lock);
    return 0;
}

int del_shm()
{
    if (!g_segment)
        return -1;
    ::munmap(g_segment, sizeof(agentlink::Segment));
    ::shm_unlink(g_name.c_str());
    g_segment = nullptr;
    return 0;
}
