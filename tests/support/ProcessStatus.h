#pragma once
// This process's memory as the kernel counts it, for the probes and
// benchmarks that measure what a load costs.
#include <fstream>
#include <string>

// A "Name:" line of /proc/self/status (Field with its colon), in KiB; -1
// when there is none.
inline long StatusKiB(const std::string &Field)
{
    std::ifstream Status("/proc/self/status");
    std::string Name;
    long Value = 0;
    while (Status >> Name) {
        if (Name == Field && Status >> Value)
            return Value;
        Status.ignore(1 << 12, '\n');
    }
    return -1;
}
