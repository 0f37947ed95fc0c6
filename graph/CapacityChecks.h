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
// The same for a table of rows x cols vertex pairs of `bytesPerPair` each,
// with the vertices of the graphs the run holds at this program's price.
void checkPairTableFits(double rows, double cols, double bytesPerPair);

// What a vertex made from a count read from a file costs in memory, in the
// program that reads it: the vertex with every table the program builds per
// vertex before its work starts. Measured whole-process peaks per vertex,
// with a margin of about a quarter (tools/vertex-cost-benchmark.sh prints
// the measured figures beside these):
namespace vertex_bytes {
// Reading alone (graphstats, reduce, tunnel, evaluate): the vertex, its
// neighbour sets, relation maps and ranking tables; measured 800 to 820.
constexpr double reading = 1100;
// A matching run (graphmat, logcost): per vertex of either graph, the
// graph and the matcher's tables prepared up to its first move, with the
// one candidate pair a vertex of a numbered file gives; measured 1,370.
constexpr double matching = 1800;
// The common-edge-subgraph matcher (mces): the graph and the matcher's
// per-vertex tables (its pair tables are checked apart); measured 960.
constexpr double commonEdges = 1300;
// A graph copied (graphgen mutate, shuffle): the graph read and its copy;
// measured 1,110.
constexpr double copying = 1400;
}  // namespace vertex_bytes

// The price of a vertex in this program (vertex_bytes::reading until a
// program sets its own, once, before it reads a graph).
void setVertexBytes(double bytesPerVertex);
double vertexBytes();

// Vertices that the graphs of the run hold now: the check of a count adds
// them, so that graph 2 is checked with graph 1 in memory. A graph holds
// its vertices from the end of its reading until it is destroyed.
class HeldVertices {
public:
    HeldVertices() = default;
    explicit HeldVertices(double count);
    HeldVertices(const HeldVertices&) = delete;
    HeldVertices& operator=(HeldVertices&& other) noexcept;
    ~HeldVertices();

private:
    double count_ = 0;
};
double heldVertices();

// Throws MemoryLimitError ("needs N GB for C vertices; this machine has M
// GB") when `count` more vertices, with those the run holds, at the price
// of this program, exceed the physical memory; N counts both.
void checkVertexCountFits(double count);

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
