// Capacity checks: what a count read from a file (or given on a command
// line) asks of the machine, checked before anything is made - a table
// against the physical memory - with the test hook that stands in for the
// machine's figure.
#pragma once

#include <stdexcept>
#include <string>

namespace graphmat {

// A table that a count read from a file asks for and that cannot fit in the
// machine's physical memory: the run ends with status 1 and the message.
class MemoryLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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

}  // namespace graphmat
