// What every fuzz harness shares: a quiet console (the readers report a lot),
// a memory figure small enough that counts read from an input are refused
// long before the fuzzer's own limits, and the input written to files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "graph/CapacityChecks.h"
#include "graph/OutputFiles.h"

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

// The folder in which a harness whose code writes files runs one input:
// WORK_FOLDER under the folder the harness was started in, emptied first and
// given `folders`, so that every input meets the same files (a run stays
// deterministic), the files of many inputs do not pile up, and nothing is
// written elsewhere. The harness is back in its own folder afterwards, where
// libFuzzer reads and writes its corpus and findings by relative paths.
constexpr const char* WORK_FOLDER = "fuzz-work";

class WorkFolder {
public:
    explicit WorkFolder(std::initializer_list<const char*> folders) : home_(std::filesystem::current_path()) {
        const std::filesystem::path work = home_ / WORK_FOLDER;
        std::filesystem::create_directories(work);
        for (const auto& entry : std::filesystem::directory_iterator(work)) std::filesystem::remove_all(entry.path());
        std::filesystem::current_path(work);
        for (const char* folder : folders) std::filesystem::create_directories(folder);
        resetOutputFailed();
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder() { std::filesystem::current_path(home_); }

private:
    std::filesystem::path home_;
};

inline void writeInput(const std::string& path, const std::string& content) {
    writeInput(path, reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
}

}  // namespace graphmat::fuzz
