// Scoring the correspondence that an edit-path log records: its "n" lines
// give the new number of every old vertex (-1 when it was deleted); the
// matcher's own cost function prices that matching.
#include <climits>
#include <fstream>
#include <iostream>

#include "graph/CommandLine.h"
#include "graph/InputFiles.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

// Why an "n" line cannot be taken; empty when it can, with old and fresh set.
std::string readVertexLine(const std::vector<std::string>& fields, int vertices1, int vertices2, int& old,
                           int& fresh) {
    if (fields.size() < 3) return "an \"n\" line needs the old and the new number";
    if (!readWholeNumber(fields[1], INT_MIN, INT_MAX, old) || !readWholeNumber(fields[2], INT_MIN, INT_MAX, fresh)) return "a vertex number is not a number";
    if (old < 0 || old >= vertices1) return "old number " + fields[1] + " is outside graph 1";
    if (fresh < -1 || fresh >= vertices2) return "new number " + fields[2] + " is outside graph 2";
    return "";
}

}  // namespace

double Match::getLog(std::string log) {
    InputFile file;
    const bool opened = file.open(log);
    const int vertices1 = g1->vertices, vertices2 = g2->vertices;
    log_matching.assign(vertices1, -1);

    std::string line;
    for (int number = 1; opened && readLine(file, line); ++number) {
        auto fields = splitString(line, ",");
        if (!fields || (*fields)[0] != "n") continue;
        int old = -1, fresh = -1;
        const std::string problem = readVertexLine(*fields, vertices1, vertices2, old, fresh);
        if (!problem.empty()) {
            std::cerr << log << ", line " << number << ": " << problem << "; line skipped" << std::endl;
            continue;
        }
        log_matching[old] = fresh;
    }

    auto clear = [this, vertices1, vertices2] {
        for (int i = 0; i < vertices1 && i < static_cast<int>(M12.size()); ++i) M12[i] = -1;
        for (int j = 0; j < vertices2 && j < static_cast<int>(M21.size()); ++j) M21[j] = -1;
    };
    clear();
    if (!opened) return 0;
    for (int r = 0; r < vertices1; ++r) {
        M12[r] = log_matching[r];
        if (log_matching[r] != -1) M21[log_matching[r]] = r;
    }
    const double result = cost(cost_mode);
    clear();
    return result;
}

}  // namespace graphmat
