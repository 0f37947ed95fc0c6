// The machine's physical memory, read once, with the override of the
// tests, and the refusals that compare a size with it.
#include "graph/CapacityChecks.h"

#include <unistd.h>

#include <cmath>
#include <iomanip>
#include <sstream>

namespace graphmat {

namespace {
double g_memoryOverride = 0.0;

// Bytes as gigabytes (2^30): whole from 100 on, one decimal from 1 on,
// three significant digits below.
std::string gigabytes(double bytes) {
    const double gb = bytes / 1073741824.0;
    std::ostringstream text;
    if (gb >= 100)
        text << std::fixed << std::setprecision(0) << gb;
    else if (gb >= 1)
        text << std::fixed << std::setprecision(1) << gb;
    else
        text << std::setprecision(3) << gb;
    return text.str();
}
}  // namespace

double physicalMemoryBytes() {
    if (g_memoryOverride > 0) return g_memoryOverride;
    // Read once: the size of the machine does not change during a run, and
    // the small tables of the search ask for it many thousand times.
    static const double installed = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        if (pages <= 0 || pageSize <= 0) return static_cast<double>(INFINITY);  // unknown: no limit
        return static_cast<double>(pages) * static_cast<double>(pageSize);
    }();
    return installed;
}

void setPhysicalMemoryOverride(double bytes) { g_memoryOverride = bytes > 0 ? bytes : 0.0; }

void checkMemoryFits(double bytes, const std::string& what) {
    const double available = physicalMemoryBytes();
    if (!(bytes > available)) return;
    throw MemoryLimitError("needs " + gigabytes(bytes) + " GB for " + what + "; this machine has " +
                           gigabytes(available) + " GB");
}

void checkPairTableFits(double rows, double cols, double bytesPerPair) {
    if (!(rows * cols * bytesPerPair > physicalMemoryBytes())) return;  // the common case, no message built
    std::ostringstream what;
    what << std::fixed << std::setprecision(0) << rows << " x " << cols << " vertex pairs";
    checkMemoryFits(rows * cols * bytesPerPair, what.str());
}

}  // namespace graphmat
