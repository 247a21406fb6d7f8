#pragma once
// The SNMP agent's link library (libagentlink.so) as the daemon calls it:
// init and the del_* calls return 0 on success, the data calls the byte
// count; every failure is -1.
#define AGENTLINK_API __attribute__((visibility("default")))

extern "C"
{
AGENTLINK_API int init_shm_sem_master();
AGENTLINK_API int snmp_set_data(int table, int item, int size, void* data);
AGENTLINK_API int snmp_get_data(int table, int item, int size, void* data);
AGENTLINK_API int del_sem();
AGENTLINK_API int del_shm();
}
