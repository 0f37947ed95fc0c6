// What every fuzz harness shares: a quiet console (the readers report a lot),
// a memory figure small enough that counts read from an input are refused
// long before the fuzzer's own limits, and the input written to files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "graph/platform.h"

namespace graphmat::fuzz {

// A stream buffer that drops everything.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Silences std::cout and std::cerr and sets the memory figure that the
// memory checks compare with (2 MB: a few thousand vertices, so that
// every input runs in milliseconds, far below the fuzzer's limits). Call
// once, from LLVMFuzzerInitialize.
inline void quietHarness() {
    static NullBuffer null;
    std::cout.rdbuf(&null);
    std::cerr.rdbuf(&null);
    setPhysicalMemoryOverride(2.0 * 1024 * 1024);
}

// Writes `size` bytes of `data` to `path` (in the harness's working folder).
inline void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The input cut at every NUL byte into at least `count` parts (missing parts
// are empty), so one input can feed several files.
inline std::vector<std::string> splitInput(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            parts.emplace_back();
        else
            parts.back().push_back(static_cast<char>(data[i]));
    }
    if (parts.size() < count) parts.resize(count);
    return parts;
}

}  // namespace graphmat::fuzz
