// Peak resident memory of this process, for benchmarks that must show it flat.
#pragma once

#include <fstream>
#include <string>

// VmHWM in MB: the high-water mark of resident memory (Linux).
inline double Peak_Resident_MB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}
