// Loading a version series: the series list file, the versions, the match
// result file of each step, the cost model from the parameters of the last
// match result file name, and the creation costs of the oldest classes.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "graph/InputFiles.h"
#include "tunnel/Tunnel.h"
#include "tunnel/TunnelNumbers.h"

namespace graphmat {

namespace {

constexpr std::size_t LIST_FIELDS = 10;  // fields kept of a series list line

// The first `count` fields of a line cut at ","; missing fields are empty,
// further fields are dropped.
std::vector<std::string> listFields(const std::string& line) {
    std::vector<std::string> fields(LIST_FIELDS);
    auto pieces = splitString(line, SEPARATOR);
    if (pieces)
        for (std::size_t k = 0; k < pieces->size() && k < LIST_FIELDS; ++k) fields[k] = (*pieces)[k];
    return fields;
}

// The older name, the newer name and the parameter text of a match result
// file path "dir/older__newer__parameters": the first "__" of the path and
// the next one at least one character later delimit the two names.
// `namesAnOlderVersion` tells a name with one "__" after its older name
// ("older__newer.csv": the parameters are missing) from one without.
struct RunNameParts {
    std::string older, newer, parameters;
    bool namesAnOlderVersion = false;
};

RunNameParts runNameParts(const std::string& path) {
    RunNameParts parts;
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t u1 = path.find("__");
    if (u1 == std::string::npos) return parts;
    if (u1 >= nameStart) parts.older = path.substr(nameStart, u1 - nameStart);
    parts.namesAnOlderVersion = !parts.older.empty() && u1 + 2 < path.size();
    const std::size_t u2 = path.find("__", u1 + 3);
    if (u2 == std::string::npos) return parts;
    parts.newer = path.substr(u1 + 2, u2 - (u1 + 2));
    parts.parameters = path.substr(u2 + 2);
    return parts;
}

// Why the name of a match result file fits no run name: empty when it
// names two versions.
std::string runNameFault(const RunNameParts& parts) {
    if (!parts.older.empty() && !parts.newer.empty()) return "";
    if (parts.namesAnOlderVersion)
        return "its name holds no cost parameters after the names of its two versions "
               "(OLDER__NEWER__dwn__dwe__ew__asy__lw__seed.csv, as graphmat names it)";
    return "its name does not name two versions (OLDER__NEWER__...csv)";
}

// A version of the series list: its path and its line.
struct ListedVersion {
    std::string path;
    int line = 0;
};

std::string describe(const ListedVersion& version) {
    return "\"" + version.path + "\" (line " + to_string(version.line) + ")";
}

// The message for an "m" line whose older version is listed right before its
// newer one: either the versions were listed oldest first, or the step was
// matched with its versions swapped (the newer one as -o). `listedFirst` and
// `listedSecond` are the paths of the two versions in list order.
std::string olderListedFirst(const std::string& where, const std::string& file, const RunNameParts& parts,
                             const std::string& listedFirst, const std::string& listedSecond) {
    return where + ": the match result file " + file + " pairs \"" + parts.older + "\" (older, -o) with \"" +
           parts.newer + "\" (newer, -n), but the series lists \"" + parts.older + "\" before \"" + parts.newer +
           "\", as the newer version: either the \"g\" lines list the versions oldest first (list them newest "
           "first), or the step was matched with its versions swapped (match it again with the older version as "
           "-o: graphmat -h 4 -o " + listedSecond + " -n " + listedFirst + " and the same weights)";
}

// A hint for a path that does not open from the current folder but exists
// beside the series list.
std::string besideTheList(const std::string& listPath, const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(listPath).parent_path();
    std::error_code ignored;
    if (folder.empty() || fs::path(path).is_absolute() || !fs::is_regular_file(folder / path, ignored)) return "";
    return " (paths in a series list are read from the current folder, and " + (folder / path).string() +
           " exists: run tunnel from the list's folder)";
}

// The text with each byte outside printable ASCII written as \xHH, so that
// a message shows what an editor hides (a byte-order mark).
std::string visible(const std::string& text) {
    static const char* const digits = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            shown += "\\x";
            shown += digits[byte >> 4];
            shown += digits[byte & 0xF];
        }
    }
    return shown;
}

// Why a line of another kind than "g" and "m" is ignored; empty for a
// blank line, which is ignored without a word.
std::string otherLineReason(const std::string& line, const std::string& first) {
    if (line.find_first_not_of(" \t") == std::string::npos) return "";
    std::string reason = "line ignored: its first field \"" + visible(first) +
                         "\" is neither \"g\" (a version) nor \"m\" (a match result file)";
    // A kind letter among bytes that do not show, most often the bytes of a
    // byte-order mark that is not the first of the file.
    std::string letters;
    bool markBytes = false;
    for (const char c : first) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0xEF || byte == 0xBB || byte == 0xBF) markBytes = true;
        if (byte > 0x20 && byte < 0x7F) letters += c;
    }
    if ((letters == "g" || letters == "m") && letters != first) {
        reason += "; without the other bytes it would be a \"" + letters + "\" line";
        if (markBytes)
            reason += " (a UTF-8 byte-order mark, EF BB BF, is skipped only once, at the very start of the file)";
    }
    return reason;
}

// For a version that reads as a model graph file, how to convert it into the
// class diagram file the tracker reads; nothing for other files.
std::string conversion(const Graph& version, const std::string& path) {
    if (version.reading.verdict.otherMode != 12) return "";
    return "; it is a model graph file (reader mode 12): convert it with awk -f tools/model-to-class-diagram.awk " +
           path + " > CLASS_DIAGRAM.txt and list the class diagram file";
}

}  // namespace

Tunnel::Tunnel(std::string load_paths) : build_path(load_paths) {
    CR_multiplier = 1000;
    loadSeries(build_path);
    std::vector<int> ms(matchings.size(), 0);
    std::cout << "\n Creating Tunnel \n";
    createTunnel(ms);
}

void Tunnel::addVersion(std::unique_ptr<Graph> version) {
    // Reader mode 4 ranks nothing; every version needs its rank and hub
    // scores for the metrics.
    if (!version->hasRanking) version->nodeRank(0.15, 1e-8);
    gseries.push_back(std::move(version));
    if (gseries.size() == 1) {
        firstG = gseries.front().get();
        return;
    }
    auto record = std::make_unique<matching>();
    record->gseries = &gseries;
    record->position = static_cast<int>(gseries.size()) - 2;
    record->g1 = gseries[gseries.size() - 2].get();
    record->g2 = gseries.back().get();
    std::cout << record->position << "\t";
    matchings.push_back(std::move(record));
}

void Tunnel::loadSeries(const std::string& path) {
    InputFile list;
    if (!list.open(path)) throw TunnelError("Cannot read the series list file " + path + ": " + list.text().failure());

    std::cout << "\n TUNNEL To Be Loaded";
    std::vector<std::string> lines;
    for (std::string line; readLine(list, line);) lines.push_back(line);
    // The last "m" line gives the cost parameters: when its name holds none,
    // the run ends saying so, and the line is not named a second time. Its
    // message waits (with the warnings of the lines after it, to keep their
    // order) until the run ends on another fault or goes on.
    std::size_t lastMatchLine = lines.size();
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (listFields(lines[k])[0] == "m") lastMatchLine = k;
    std::string unsaid, saidAfter;
    auto warn = [&](const std::string& text) {
        if (unsaid.empty())
            std::cerr << text;
        else
            saidAfter += text;
    };
    auto sayUnsaid = [&] {
        std::cerr << unsaid << saidAfter;
        unsaid.clear();
        saidAfter.clear();
    };
    auto fail = [&](const std::string& message) {
        sayUnsaid();
        return TunnelError(message);
    };

    std::string parameters;  // of the last "m" line
    std::string lastMatchFile;
    std::vector<ListedVersion> listed;  // one per version, newest first
    std::string listedOlderFirst;       // the message for the first "m" line that shows it
    std::map<std::size_t, ListedVersion> stepFiles;  // per step read, its match result file
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string& line = lines[k];
        const int lineNumber = static_cast<int>(k) + 1;
        const std::string where = path + " line " + to_string(lineNumber);
        std::vector<std::string> fields = listFields(line);
        if (fields[0] == "g") {
            if (fields[1].empty()) throw fail(where + ": a \"g\" line without the path of a class diagram file");
            std::cout << "\n" << fields[1];
            auto version = std::make_unique<Graph>(4, fields[1]);
            if (!version->reading.opened)
                throw fail(where + ": the class diagram file " + fields[1] + " does not open" +
                           (version->reading.openFailure.empty() ? "" : ": " + version->reading.openFailure) +
                           besideTheList(path, fields[1]));
            if (version->reading.verdict.nothingRead())
                throw fail(where + ": no line of " + fields[1] + " reads as a class diagram file" +
                           conversion(*version, fields[1]));
            if (version->reading.verdict.refused())
                throw fail(where + ": " + fields[1] + " does not read as a class diagram file" +
                           conversion(*version, fields[1]));
            std::cout << "\n" << fields[1];
            listed.push_back({fields[1], lineNumber});
            addVersion(std::move(version));
        } else if (fields[0] == "m") {
            if (fields[1].empty()) throw fail(where + ": an \"m\" line without the path of a match result file");
            std::cout << "\nTreat Match\n";
            const std::string& file = fields[1];
            RunNameParts parts = runNameParts(file);
            parameters = parts.parameters;
            lastMatchFile = file;
            int hits = 0;
            std::size_t q = 0;
            for (; q < gseries.size(); ++q) {
                std::cout << "g1 : " << gseries[q]->name << " nameg1 : " << parts.newer << "\n";
                if (parts.newer.empty() || gseries[q]->name != parts.newer) continue;
                const bool olderListedBefore = q > 0 && gseries[q - 1]->name == parts.older;
                if (olderListedBefore && listedOlderFirst.empty())
                    listedOlderFirst = olderListedFirst(where, file, parts, listed[q - 1].path, listed[q].path);
                if (q + 1 >= gseries.size() && olderListedBefore) throw fail(listedOlderFirst);
                if (q + 1 >= gseries.size())
                    throw fail(where + ": the match result file " + file + " names \"" + parts.newer +
                               "\" as the newer version, but no older version is listed after it");
                hits = 1;
                if (gseries[q + 1]->name == parts.older) hits = 2;
                break;
            }
            const auto earlier = stepFiles.find(q);
            if (hits == 2 && earlier == stepFiles.end()) {
                std::cout << "\nFOUND TWICE\n";
                matching* record = matchings[q].get();
                try {
                    getMatches(record, file);
                } catch (const TunnelError& foreign) {
                    throw fail(where + ": " + foreign.what() +
                               "; it was made from another reading of the versions (a reader mode other "
                               "than 4, 5, 8 and 9) or from other files: match the step's class diagram "
                               "files with graphmat -h 4 -o " + listed[q + 1].path + " -n " + listed[q].path +
                               " (or -h 5, 8 or 9) and list that run's match result file");
                }
                stepFiles[q] = {file, lineNumber};
                std::cout << "G1 : " << record->g1->name << " G2 : " << record->g2->name << " seed : " << parameters
                          << "\n";
            } else {
                // Its name still gives the cost parameters when it is the
                // last "m" line.
                const std::string notRead = where + ": the match result file " + file + " is not read: ";
                const std::string nameFault = runNameFault(parts);
                if (hits == 2)
                    std::cerr << notRead << "the step from \"" << parts.newer << "\" to \"" << parts.older
                              << "\" reads the match result file " << earlier->second.path << " (line "
                              << earlier->second.line << "); an \"m\" line after the first for a step is ignored\n";
                else if (nameFault.empty())
                    std::cerr << notRead << "no two consecutive versions listed above this line are \"" << parts.older
                              << "\" (older) and \"" << parts.newer << "\" (newer)\n";
                else if (k == lastMatchLine)
                    unsaid = notRead + nameFault + "\n";
                else
                    std::cerr << notRead << nameFault << "\n";
            }
        } else {
            const std::string reason = otherLineReason(line, fields[0]);
            if (!reason.empty()) warn(where + ": " + reason + "\n");
        }
    }

    if (gseries.size() < 2)
        throw fail(path + ": a series needs at least two versions (\"g\" lines); it lists " +
                   to_string(gseries.size()));
    std::cout << "\n TUNNEL Loaded";
    for (const auto& record : matchings) {
        if (!record->matchList.empty()) continue;
        // Another step between versions of the same two names: one match
        // result file name stands for both.
        for (const auto& other : matchings)
            if (other != record && other->g1->name == record->g1->name && other->g2->name == record->g2->name) {
                const std::size_t a = static_cast<std::size_t>(record->position);
                const std::size_t b = static_cast<std::size_t>(other->position);
                throw fail(path + ": the step from " + describe(listed[a]) + " to " + describe(listed[a + 1]) +
                           " and the step from " + describe(listed[b]) + " to " + describe(listed[b + 1]) +
                           " join versions of the same names, \"" + record->g1->name + "\" and \"" +
                           record->g2->name + "\": a match result file is named after the file names of its "
                           "versions without folder and extension, so one name stands for both steps; give "
                           "the versions files of different names");
            }
        if (!listedOlderFirst.empty()) throw fail(listedOlderFirst);
        throw fail(path + ": no match result file for the step from \"" + record->g1->name + "\" to \"" +
                   record->g2->name + "\" (an \"m\" line naming ./results/" + record->g2->name + "__" +
                   record->g1->name + "__...csv)");
    }
    // The last "m" line's name without cost parameters is said here.
    if (!setCostParameters(parameters)) {
        std::cerr << saidAfter;
        throw TunnelError(path + ": no usable cost parameters in the name of the last match result file " +
                          lastMatchFile + " (expected older__newer__dwn__dwe__ew__asy__lw__seed.csv)");
    }
    sayUnsaid();  // a name that names no two versions and still gives the parameters
    prepareAnalysis();
}

bool Tunnel::setCostParameters(const std::string& parameters) {
    auto pieces = splitString(parameters, "__");
    if (!pieces || pieces->size() < 5) return false;
    double value[5];
    for (int k = 0; k < 5; ++k)
        if (!readWholeNumber((*pieces)[k], value[k])) return false;
    const double dwn = value[0], dwe = value[1], ew = value[2], asy = value[3], lab_w = value[4];
    // Every price divides by asymmetry + 1.
    if (asy == -1) return false;
    std::cout << "\n" << dwn << "," << dwe << "," << ew << "," << asy << "," << lab_w;
    costs = std::make_unique<Cost>();
    costs->initMode1(dwn, dwe, ew, asy, lab_w);
    return true;
}

void Tunnel::prepareAnalysis() {
    firstG = gseries.front().get();
    lastG = gseries.back().get();
    const int oldest = lastG->vertices;
    original_cost.assign(oldest, 0);
    b_original_cost.assign(oldest, 0);
    for (int c = 0; c < oldest; ++c) {
        const Vertex& v = *lastG->V[c];
        original_cost[c] = truncToInt(costs->classInsertion);
        for (const Edge* e : v.out) original_cost[c] = truncToInt(original_cost[c] + costs->cei(3, e, -1, -1));
        b_original_cost[c] =
            truncToInt(static_cast<double>(v.attributes.size() + v.methods.size()) + static_cast<double>(v.sum_out));
    }
    const int steps = static_cast<int>(matchings.size());
    std::cout << "\nMatchings : " << steps;
    mseries.assign(steps, 0);
    m.assign(firstG->vertices, std::vector<int>(steps + 1, -1));
    for (int j = 0; j < firstG->vertices; ++j) m[j][0] = j;
}

std::string Tunnel::tracePath() const { return "./results/_tunnel_" + firstG->name + ".csv"; }
std::string Tunnel::metricsPath() const { return "./results/tunnel_" + firstG->name + ".csv"; }
std::string Tunnel::rawPath() const { return "./results/raw_tunnel_" + firstG->name + ".csv"; }
std::string Tunnel::classThreadPath() const { return "./results/ctunnel_" + firstG->name + ".csv"; }
std::string Tunnel::relationThreadPath() const { return "./results/rtunnel_" + firstG->name + ".csv"; }

}  // namespace graphmat
