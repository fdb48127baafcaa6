// The memory a benchmark holds, as the system counts it.
#pragma once

#include <sys/resource.h>

#include <cstdio>

// The resident set of this process in KiB (4 KiB pages); 0 when unknown.
inline long ResidentKiB()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

// The largest resident set this process has had, in MiB.
inline double PeakMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}
