// The version-series tracker: follows every class of the newest version of a
// system back through a series of older versions, using the match result
// files of each consecutive pair, and writes per-class history metrics,
// relation-label statistics and rename and label histories.
//
// Definitions by concern: TunnelLoading.cpp (the series list and the cost
// model), TunnelSteps.cpp (per-step change counts, classDiff, relDiff),
// TunnelThreads.cpp (class threads and history metrics), TunnelEdges.cpp
// (tunnel edges and label statistics), TunnelHistories.cpp (class and
// relation thread files).
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "graph/Graph.h"
#include "graph/stdafx.h"
#include "matching/Cost.h"

namespace graphmat {

// A series that cannot be tracked (a bad series list, a version that does
// not open, a step without a match result file): the message names the file
// and line. Thrown before any report is written.
class TunnelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Tunnel {
public:
    // One step of the series: the newer version g1 (version `position`) and
    // the older version g2 (the next one). Every list gets one array per
    // reading of a match result file of the step, one int per class of g1.
    struct matching {
        std::vector<std::unique_ptr<Graph>>* gseries = nullptr;
        int position = 0;
        Graph* g1 = nullptr;  // newer version
        Graph* g2 = nullptr;  // older version
        using List = std::vector<std::vector<int>>;
        List matchList;  // image in g2, -1 for none
        List costList;   // step cost from the match result file
        List bCostList;  // basic step cost
        List nbAttList, nbMetList;
        List nbRelInList, nbRelOutList, nbRelList;
        List nbDelAttList, nbAddAttList, nbDelMetList, nbAddMetList, nbRenMetList, nbModMetList;
        List nbDelRelList, nbAddRelList, nbModRelList;
        List nbDelRelInList, nbAddRelInList, nbModRelInList;
        List nbDelRelOutList, nbAddRelOutList, nbModRelOutList;
        List p_DelAttList, p_AddAttList, p_DelMetList, p_AddMetList, p_RenMetList, p_ModMetList;
        List p_DelRelList, p_AddRelList, p_ModRelList;
        List p_DelRelInList, p_AddRelInList, p_ModRelInList;
        List p_DelRelOutList, p_AddRelOutList, p_ModRelOutList;
    };

    // The 15 change kinds in the order of the metrics columns, with the
    // count list and the percentage list of each.
    static constexpr int CHANGE_KINDS = 15;
    struct ChangeKind {
        const char* name;  // DelAtt, AddAtt, ...
        matching::List matching::*counts;
        matching::List matching::*percentages;
    };
    static const ChangeKind changeKinds[CHANGE_KINDS];

    std::vector<std::unique_ptr<Graph>> gseries;     // versions, newest first
    std::vector<std::unique_ptr<matching>> matchings;  // step q: versions q and q + 1
    std::vector<int> mseries;  // per step, the entry of its lists that is read
    std::vector<std::vector<int>> m;   // per newest class: its image in every version
    std::vector<std::vector<int>> _m;  // per version and vertex: the newest class reaching it
    std::unique_ptr<Cost> costs;
    Graph* firstG = nullptr;  // newest version
    Graph* lastG = nullptr;   // oldest version
    int CR_multiplier = 1000;  // scale of rank and hub scores
    std::vector<int> check;    // classes selected for a detailed dump (none)
    std::vector<int> tunnelled;   // classes whose thread reaches the oldest version
    std::vector<int> _tunnelled;  // per class, its position in tunnelled or -1
    std::vector<int> _cost;       // per class, the sum of its step costs
    std::vector<int> b_cost;      // per class, the sum of its basic step costs
    std::vector<int> original_cost;    // per oldest class, its creation cost
    std::vector<int> b_original_cost;  // per oldest class, members + out-arc weights
    std::vector<int> threads;          // per class, the versions of its thread
    int tunnelSize = 0;
    // Label signatures of the edges between two tunnelled classes, by
    // (tunnel index of the source, tunnel index of the target); pairs that
    // never have an edge hold no entry.
    std::map<std::pair<int, int>, std::vector<occurrence>> tunnelEdges;
    std::string build_path;

    // Runs the whole tracker on the series list file at load_paths: loads the
    // versions and match result files, then writes the five reports. Throws
    // TunnelError, before writing anything, when the series cannot be tracked.
    explicit Tunnel(std::string load_paths);
    // An empty tracker, filled step by step (addVersion, getMatches,
    // setCostParameters, prepareAnalysis, createTunnel).
    Tunnel() = default;
    Tunnel(const Tunnel&) = delete;
    Tunnel& operator=(const Tunnel&) = delete;

    // Appends a version (the next older one), ranks it, and creates the
    // record of the step from the version before it.
    void addVersion(std::unique_ptr<Graph> version);
    // Reads the match result file of one step (older version as graph 1,
    // newer as graph 2) and appends one array to each list of the record.
    // Returns the number of rows it skipped. Throws TunnelError, appending
    // nothing, at a row whose two numbers are classes of the versions and
    // whose labels are not theirs (a file of another reading or pair).
    int getMatches(matching* mat, std::string file_path);
    // Builds the cost model from a parameter text
    // "dwn__dwe__ew__asy__lab_w__seed.csv"; false when it holds no usable
    // parameters.
    bool setCostParameters(const std::string& parameters);
    // Creation costs of the oldest classes, mseries and the first column of m.
    void prepareAnalysis();
    // The analysis: threads and metrics, tunnel edges, histories, with their
    // five reports. ms: per step, the entry of its lists to read.
    void createTunnel(const std::vector<int>& ms);

    // Report paths (under ./results/, named after the newest version).
    std::string tracePath() const;
    std::string metricsPath() const;
    std::string rawPath() const;
    std::string classThreadPath() const;
    std::string relationThreadPath() const;

private:
    void loadSeries(const std::string& path);
    void createThreads();      // threads and history metrics
    void createTunnelEdges();  // tunnel edges and label statistics
    void createHistories();    // class and relation thread files
};

// Member comparison of a class (older version) with its partner (newer
// version): "sameAtt", "sameMet", "renMet" and "modMet".
std::map<std::string, int> classDiff(const Vertex* older, const Vertex* newer);
// Relation arcs (kinds 1 to 3) that only the newer edge has ("addRel") and
// that only the older edge has ("delRel"); either edge may be null.
std::map<std::string, int> relDiff(const Edge* e, const Edge* _e);

// Number of arcs of an edge (one label character per arc) and of a list.
int arcCount(const Edge* e);
int arcCount(const std::vector<Edge*>& list);

}  // namespace graphmat
