// What every fuzz harness shares: a quiet console (the readers report a lot),
// a memory figure small enough that counts read from an input are refused
// long before the fuzzer's own limits, and the input written to files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
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

// The name of the folder in which a harness that writes files works.
constexpr const char* WORK_FOLDER = "fuzz-work";

// Moves the harness into WORK_FOLDER under the folder it was started in
// (created when missing), so that every file it makes stays there. Call
// once, from LLVMFuzzerInitialize.
inline void enterWorkFolder() {
    std::filesystem::create_directories(WORK_FOLDER);
    std::filesystem::current_path(WORK_FOLDER);
}

// Empties the work folder and makes `folders` in it: every input starts
// from the same files, so that a run stays deterministic and the files of
// many inputs do not pile up. Refuses (ends the process) anywhere but in
// the work folder.
inline void resetWorkFolder(std::initializer_list<const char*> folders) {
    const std::filesystem::path here = std::filesystem::current_path();
    if (here.filename() != WORK_FOLDER) {
        std::fprintf(stderr, "fuzz harness: not in its work folder (%s); nothing removed\n", here.c_str());
        std::abort();
    }
    for (const auto& entry : std::filesystem::directory_iterator(here)) std::filesystem::remove_all(entry.path());
    for (const char* folder : folders) std::filesystem::create_directories(folder);
    resetOutputFailed();
}

inline void writeInput(const std::string& path, const std::string& content) {
    writeInput(path, reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
}

}  // namespace graphmat::fuzz
