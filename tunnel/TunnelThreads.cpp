// Class threads and history metrics: every class of the newest version is
// followed back through the steps; its step costs, change counts, sizes and
// rank and hub scores along the thread go to the tunnel trace file and the
// tunnel metrics file.
#include <cmath>
#include <fstream>
#include <iostream>

#include "graph/OutputFiles.h"
#include "tunnel/Tunnel.h"
#include "tunnel/TunnelNumbers.h"

namespace graphmat {

namespace {

const char* const METRICS_HEADER =
    "class,LastEC,EC,MeanEC,StdEC,logLastEC,logEC,logMeanEC,logStdEC,bLastEC,bEC,bMeanEC,bStdEC,blogLastEC,blogEC,"
    "blogMeanEC,blogStdEC,CR,MeanCR,StdCR,logCR,logMeanCR,logStdCR,Hub,MeanHub,StdHub,logHub,logMeanHub,logStdHub,"
    "nbBugs"
    ",nbAtt,lastNbAtt,nbMet,lastNbMet,nbRel,lastNbRel,nbRelIn,lastNbRelIn,nbRelOut,lastNbRelOut,"
    "nbDelAtt,lastNbDelAtt,nbAddAtt,lastNbAddAtt,nbDelMet,lastNbDelMet,nbAddMet,lastNbAddMet,"
    "nbRenMet,lastNbRenMet,nbModMet,lastNbModMet,nbDelRel,lastNbDelRel,nbAddRel,lastNbAddRel,nbModRel,lastNbModRel,"
    "nbDelRelIn,lastNbDelRelIn,nbAddRelIn,lastNbAddRelIn,nbModRelIn,lastNbModRelIn,"
    "nbDelRelOut,lastNbDelRelOut,nbAddRelOut,lastNbAddRelOut,nbModRelOut,lastNbModRelOut,"
    "p_DelAtt,lastP_DelAtt,p_AddAtt,lastP_AddAtt,p_DelMet,lastP_DelMet,p_AddMet,lastP_AddMet,"
    "p_RenMet,lastP_RenMet,p_ModMet,lastP_ModMet,p_DelRel,lastP_DelRel,p_AddRel,lastP_AddRel,p_ModRel,lastP_ModRel,"
    "p_DelRelIn,lastP_DelRelIn,p_AddRelIn,lastP_AddRelIn,p_ModRelIn,lastP_ModRelIn,"
    "p_DelRelOut,lastP_DelRelOut,p_AddRelOut,lastP_AddRelOut,p_ModRelOut,lastP_ModRelOut"
    ",newClass\n";

double log1(double x) { return std::log10(x + 1); }

// Sum, mean and deviation over the M + 1 versions of a series of a score
// taken along a thread (versions outside it count as zeros).
struct Spread {
    double first = 0, sum = 0, squares = 0;
    void add(double x) {
        sum += x;
        squares += x * x;
    }
    double mean(int versions) const { return sum / versions; }
    double std(int versions) const { return deviation(squares, versions, mean(versions)); }
};

}  // namespace

void Tunnel::createTunnel(const std::vector<int>& ms) {
    const int steps = static_cast<int>(matchings.size());
    if (steps == 0) throw TunnelError("A series needs at least two versions");
    if (static_cast<int>(ms.size()) < steps) throw TunnelError("One list entry per step is needed");
    for (int j = 0; j < steps; ++j)
        if (ms[j] < 0 || ms[j] >= static_cast<int>(matchings[j]->matchList.size()))
            throw TunnelError("No match result file read for the step from \"" + matchings[j]->g1->name +
                              "\" to \"" + matchings[j]->g2->name + "\" (entry " + to_string(ms[j]) + ")");
    mseries.assign(ms.begin(), ms.begin() + steps);
    std::cout << "\n Setted Series \n";
    createThreads();
    createTunnelEdges();
    createHistories();
}

void Tunnel::createThreads() {
    const int N = static_cast<int>(gseries.size());
    const int M = N - 1;
    const Graph& g0 = *gseries[0];
    const int n = g0.vertices;
    const int versions = M + 1;

    _cost.assign(n, 0);
    b_cost.assign(n, 0);
    std::vector<std::vector<std::int32_t>> _pr(n, std::vector<std::int32_t>(M + 1, 0));
    std::vector<std::vector<std::int32_t>> hub(n, std::vector<std::int32_t>(M + 1, 0));
    std::vector<std::vector<int>> _cs(n, std::vector<int>(M + 1, 0));
    std::vector<std::vector<int>> b_cs(n, std::vector<int>(M + 1, 0));
    auto scaled = [&](const std::vector<double>& score, int v) {
        const double x = v < static_cast<int>(score.size()) ? score[v] : 0.0;
        return static_cast<std::int32_t>(truncToInt(x * CR_multiplier));
    };
    for (int i = 0; i < n; ++i) {
        _pr[i][0] = scaled(g0.u, i);
        hub[i][0] = scaled(g0.hub, i);
    }

    // Chaining: the image in version j + 1 is the partner of the image in
    // version j.
    for (int j = 0; j < M; ++j) {
        std::cout << "\n Match " << j << " : " << mseries[j] << " \n";
        const matching& step = *matchings[j];
        const std::vector<int>& mj = step.matchList[mseries[j]];
        const std::vector<int>& cj = step.costList[mseries[j]];
        const std::vector<int>& bcj = step.bCostList[mseries[j]];
        const Graph& older = *gseries[j + 1];
        for (int i = 0; i < n; ++i) {
            if (m[i][j] == -1) {
                m[i][j + 1] = -1;
                _cs[i][j] = b_cs[i][j] = 0;
                continue;
            }
            const int k = m[i][j];
            m[i][j + 1] = mj[k];
            _cost[i] = saturatingAdd(_cost[i], cj[k]);
            b_cost[i] = saturatingAdd(b_cost[i], bcj[k]);
            if (m[i][j + 1] != -1) {
                _pr[i][j + 1] = scaled(older.u, m[i][j + 1]);
                hub[i][j + 1] = scaled(older.hub, m[i][j + 1]);
            }
            _cs[i][j] = cj[k];
            b_cs[i][j] = bcj[k];
        }
    }

    std::ofstream trace, metrics;
    openForWriting(trace, tracePath());
    openForWriting(metrics, metricsPath());
    metrics << METRICS_HEADER;

    const matching& first = *matchings[0];
    const int e0 = mseries[0];
    for (int i = 0; i < n; ++i) {
        const Vertex& v = *g0.V[i];
        const bool newClass = m[i][1] == -1;

        // Rank and hub scores along the thread; the "p" line.
        Spread cr, hb;
        cr.first = _pr[i][0];
        hb.first = hub[i][0];
        cr.add(_pr[i][0]);
        hb.add(hub[i][0]);
        trace << "p," << i << "," << v.label << "," << _pr[i][0] << ",";
        for (int j = 0; j < M && m[i][j + 1] != -1; ++j) {
            trace << _pr[i][j + 1] << ",";
            cr.add(_pr[i][j + 1]);
            hb.add(hub[i][j + 1]);
        }
        trace << "\n";

        // Sizes in version 0 and of the image in version 1.
        const double nbAtt = static_cast<double>(v.attributes.size());
        const double nbMet = static_cast<double>(v.methods.size());
        const double nbRel = first.nbRelList[e0][i];
        const double nbRelIn = first.nbRelInList[e0][i];
        const double nbRelOut = first.nbRelOutList[e0][i];
        double lastNbAtt = 0, lastNbMet = 0, lastNbRel = 0, lastNbRelIn = 0, lastNbRelOut = 0;
        if (!newClass) {
            const Vertex& w = *gseries[1]->V[m[i][1]];
            lastNbAtt = static_cast<double>(w.attributes.size());
            lastNbMet = static_cast<double>(w.methods.size());
            lastNbRel = arcCount(w.edges);
            lastNbRelIn = arcCount(w.in);
            lastNbRelOut = arcCount(w.out);
        }

        // Step costs and change counts along the thread; the "c" line.
        Spread ec, bec;
        double lastEC = 0, bLastEC = 0;
        double nbX[CHANGE_KINDS] = {}, lastNbX[CHANGE_KINDS] = {}, pX[CHANGE_KINDS] = {}, lastPX[CHANGE_KINDS] = {};
        trace << "c," << i << "," << v.label << ",";
        for (int u = 0; u < M; ++u) {
            trace << _cs[i][u] << ",";
            ec.add(_cs[i][u]);
            bec.add(b_cs[i][u]);
            if (u == 0) {
                lastEC = _cs[i][0];
                bLastEC = b_cs[i][0];
                for (int k = 0; k < CHANGE_KINDS; ++k) {
                    lastNbX[k] = (first.*changeKinds[k].counts)[e0][i];
                    lastPX[k] = (first.*changeKinds[k].percentages)[e0][i];
                }
            }
            const matching& step = *matchings[u];
            for (int k = 0; k < CHANGE_KINDS; ++k) {
                nbX[k] += (step.*changeKinds[k].counts)[mseries[u]][m[i][u]];
                pX[k] += (step.*changeKinds[k].percentages)[mseries[u]][m[i][u]];
            }
            if (m[i][u + 1] == -1) break;
        }

        // The class was created in its oldest version: its insertion with
        // its outgoing relations there.
        int origin = 0;
        while (origin + 1 < N && m[i][origin + 1] != -1) ++origin;
        const Vertex& w = *gseries[origin]->V[m[i][origin]];
        double creationCost = costs->classInsertion;
        for (const Edge* e : w.out) creationCost += costs->cei(3, e, -1, -1);
        const double bCreationCost =
            static_cast<double>(w.attributes.size() + w.methods.size()) + static_cast<double>(w.sum_out);
        if (newClass) {
            lastEC = creationCost;
            bLastEC = bCreationCost;
        }
        ec.add(creationCost);
        bec.add(bCreationCost);
        trace << finiteOr0(creationCost) << ",\n";

        const double EC = ec.sum, MeanEC = ec.mean(versions), StdEC = ec.std(versions);
        const double bEC = bec.sum, bMeanEC = bec.mean(versions), bStdEC = bec.std(versions);
        const double CR = cr.first, MeanCR = cr.mean(versions), StdCR = cr.std(versions);
        const double Hub = hb.first, MeanHub = hb.mean(versions), StdHub = hb.std(versions);
        const double row[] = {lastEC, EC, MeanEC, StdEC, log1(lastEC), log1(EC), log1(MeanEC), log1(StdEC),
                              bLastEC, bEC, bMeanEC, bStdEC, log1(bLastEC), log1(bEC), log1(bMeanEC), log1(bStdEC),
                              CR, MeanCR, StdCR, log1(CR), log1(MeanCR), log1(StdCR),
                              Hub, MeanHub, StdHub, log1(Hub), log1(MeanHub), log1(StdHub)};
        metrics << v.label;
        for (double x : row) metrics << "," << finiteOr0(x);
        metrics << ",0";  // nbBugs
        for (double x : {nbAtt, lastNbAtt, nbMet, lastNbMet, nbRel, lastNbRel, nbRelIn, lastNbRelIn, nbRelOut,
                         lastNbRelOut})
            metrics << "," << finiteOr0(x);
        for (int k = 0; k < CHANGE_KINDS; ++k) metrics << "," << nbX[k] << "," << lastNbX[k];
        for (int k = 0; k < CHANGE_KINDS; ++k) metrics << "," << pX[k] << "," << lastPX[k];
        metrics << "," << (newClass ? 1 : 0) << "\n";
    }
    closeWritten(trace, tracePath());
    closeWritten(metrics, metricsPath());
    std::cout << "\n Created Tunnel \n";
}

}  // namespace graphmat
