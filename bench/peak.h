// Peak resident memory of a running process, from /proc/PID/status (VmHWM).
// Not getrusage's ru_maxrss: a spawned child's figure keeps the size of the
// parent it was forked from, which it shares until its exec.
#pragma once

#include <cstdio>
#include <string>

// In KiB; -1 when it cannot be read. `process` is a pid or "self".
inline long peakResidentKiB(const std::string &process)
{
    std::FILE *status = std::fopen(("/proc/" + process + "/status").c_str(), "r");
    if (!status)
        return -1;
    long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1)
            break;
    std::fclose(status);
    return kib;
}
