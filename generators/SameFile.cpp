#include "generators/SameFile.h"

#include <filesystem>
#include <system_error>

namespace graphmat {

namespace {

namespace fs = std::filesystem;

// The file that opening `path` reaches: symbolic links followed, also one
// whose target does not exist yet, then made absolute without "." and ".."
// (links in the folders resolved as far as they exist).
fs::path reachedFile(const std::string& path) {
    std::error_code error;
    fs::path p = fs::absolute(path, error);
    if (error) return fs::path(path).lexically_normal();
    for (int hops = 0; hops < 40; ++hops) {  // a loop of links ends too
        const fs::file_status status = fs::symlink_status(p, error);
        if (error || !fs::is_symlink(status)) break;
        const fs::path target = fs::read_symlink(p, error);
        if (error) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    const fs::path resolved = fs::weakly_canonical(p, error);
    return error ? p.lexically_normal() : resolved;
}

std::string describe(const RoleAndPath& file) { return file.role + " " + file.path; }

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error) && !error) return true;  // both exist: one inode
    return reachedFile(a) == reachedFile(b);
}

std::string coincidingFiles(const std::vector<RoleAndPath>& inputs, const std::vector<RoleAndPath>& outputs) {
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        for (std::size_t j = 0; j < k; ++j)
            if (sameFile(outputs[j].path, outputs[k].path))
                return describe(outputs[j]) + " and " + describe(outputs[k]) + " are the same file";
        for (const RoleAndPath& input : inputs)
            if (sameFile(input.path, outputs[k].path))
                return describe(input) + " and " + describe(outputs[k]) + " are the same file";
    }
    return "";
}

}  // namespace graphmat
