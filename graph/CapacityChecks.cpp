// The machine's figures - its physical memory, read once, and the free
// space of a disk, asked each time - with the overrides of the tests, and
// the refusals that compare a size with them.
#include "graph/CapacityChecks.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cmath>
#include <iomanip>
#include <sstream>

namespace graphmat {

namespace {
double g_memoryOverride = 0.0;
double g_diskOverride = -1.0;
double g_vertexBytes = vertex_bytes::reading;
double g_heldVertices = 0.0;

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

// The folder that `path` is written into, for the system: "." for a name
// without a folder, "/" for a file of the root.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
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
    // The tables and the graphs the run holds (at this program's price).
    const double bytes = rows * cols * bytesPerPair + g_heldVertices * g_vertexBytes;
    if (!(bytes > physicalMemoryBytes())) return;  // the common case, no message built
    std::ostringstream what;
    what << std::fixed << std::setprecision(0) << rows << " x " << cols << " vertex pairs";
    checkMemoryFits(bytes, what.str());
}

void setVertexBytes(double bytesPerVertex) { g_vertexBytes = bytesPerVertex; }

double vertexBytes() { return g_vertexBytes; }

HeldVertices::HeldVertices(double count) : count_(count) { g_heldVertices += count_; }

HeldVertices& HeldVertices::operator=(HeldVertices&& other) noexcept {
    if (this != &other) {
        g_heldVertices -= count_;
        count_ = other.count_;
        other.count_ = 0;
    }
    return *this;
}

HeldVertices::~HeldVertices() { g_heldVertices -= count_; }

double heldVertices() { return g_heldVertices; }

void checkVertexCountFits(double count) {
    const double bytes = (count + g_heldVertices) * g_vertexBytes;
    if (!(bytes > physicalMemoryBytes())) return;
    std::ostringstream what;
    what << std::fixed << std::setprecision(0) << count << " vertices";
    checkMemoryFits(bytes, what.str());
}

double freeDiskBytes(const std::string& place) {
    if (g_diskOverride >= 0) return g_diskOverride;
    struct statvfs disk {};
    if (statvfs(place.c_str(), &disk) != 0) return INFINITY;  // unknown: the writing itself is checked
    return static_cast<double>(disk.f_bavail) * static_cast<double>(disk.f_frsize);
}

void setFreeDiskOverride(double bytes) { g_diskOverride = bytes >= 0 ? bytes : -1.0; }

std::string diskSpaceRefusal(const std::vector<PlannedFile>& files, const std::string& what) {
    if (files.empty()) return "";
    double needed = 0, givenBack = 0;
    // The disk of the first file: the file itself where it is (a link
    // leads to it), else its folder.
    std::string disk = folderOf(files.front().path);
    for (const PlannedFile& file : files) {
        struct stat info {};
        if (stat(file.path.c_str(), &info) != 0) {
            needed += file.bytes;  // a new file
            continue;
        }
        if (&file == &files.front()) disk = file.path;
        if (!S_ISREG(info.st_mode)) continue;  // a named pipe or a device keeps nothing
        needed += file.bytes;
        // Emptied, a file of one name gives its blocks back; one with other
        // names keeps them for those.
        if (info.st_nlink == 1) givenBack += static_cast<double>(info.st_blocks) * 512.0;
    }
    const double available = freeDiskBytes(disk) + givenBack;
    if (!(needed > available)) return "";
    return "needs " + gigabytes(needed) + " GB for " + what + "; the disk has " + gigabytes(available) + " GB free";
}

void checkDiskFits(const PlannedFile& file, const std::string& what) {
    const std::string refusal = diskSpaceRefusal({file}, what);
    if (!refusal.empty()) throw DiskSpaceError(refusal);
}

}  // namespace graphmat
