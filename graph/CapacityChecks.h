// Capacity checks: what a count read from a file (or given on a command
// line) asks of the machine, checked before anything is made - a table
// against the physical memory, an output whose size grows with the square
// of a vertex count against the free space of its disk - with the test
// hooks that stand in for the machine's figures.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace graphmat {

// A run that asks for more than the machine has: it ends with status 1 and
// the message, before the table or file is made.
class CapacityError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A table that a count read from a file asks for and that cannot fit in the
// machine's physical memory.
class MemoryLimitError : public CapacityError {
public:
    using CapacityError::CapacityError;
};

// An output file, its size known before it is written, that cannot fit in
// the free space of its folder's disk.
class DiskSpaceError : public CapacityError {
public:
    using CapacityError::CapacityError;
};

// Bytes of physical memory of the machine (or the test override).
double physicalMemoryBytes();
// Test hook: when set to a value > 0, physicalMemoryBytes() returns it; 0
// restores the machine's figure.
void setPhysicalMemoryOverride(double bytes);

// Throws MemoryLimitError ("needs N GB for <what>; this machine has M GB")
// when `bytes` exceed the physical memory. Sizes are doubles so that no
// product of counts overflows on the way.
void checkMemoryFits(double bytes, const std::string& what);
// The same for a table of rows x cols vertex pairs of `bytesPerPair` each.
void checkPairTableFits(double rows, double cols, double bytesPerPair);

// Bytes that the run may still write on the disk that holds `place` (a
// file or a folder; statvfs: the blocks free to an unprivileged user, as df
// shows them), or the test override; infinite when the disk does not say.
double freeDiskBytes(const std::string& place);
// Test hook: when set to a value >= 0, freeDiskBytes() returns it for every
// place; a negative value restores the disks' figures.
void setFreeDiskOverride(double bytes);

// An output file whose size is known before it is written.
struct PlannedFile {
    std::string path;
    double bytes;
};

// Why `files`, all in one folder, each written over whatever it holds now,
// cannot fit on the disk of that folder: "needs N GB for <what>; the disk
// has M GB free", where M counts the space that the files they replace
// give back; empty when they fit. A file that is a named pipe or a device
// takes no space of the disk. Looks only: creates and empties nothing.
std::string diskSpaceRefusal(const std::vector<PlannedFile>& files, const std::string& what);
// Throws DiskSpaceError with that refusal when `file` cannot fit.
void checkDiskFits(const PlannedFile& file, const std::string& what);

}  // namespace graphmat
