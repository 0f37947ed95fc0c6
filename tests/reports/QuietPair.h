// A matcher on two graph files under the weights of the demo runs (-d 1
// -g 0.5 -e 1 -y 1, cost mode 3, seed 1), built without its console lines.
#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include "support/TestSupport.h"
#include "matching/Cost.h"
#include "matching/Match.h"

namespace graphmat::test {

class QuietPair {
public:
    Cost costs;
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Match> m;

    QuietPair(int readerMode, const std::string& fixture1, const std::string& fixture2) {
        CaptureStdout quiet;
        costs.initMode1(1, 0.5, 1, 1, 0);
        g1 = std::make_unique<Graph>(readerMode, fixture(fixture1));
        g2 = std::make_unique<Graph>(readerMode, fixture(fixture2));
        m = std::make_unique<Match>(g1.get(), g2.get(), &costs, 1, 3);
    }

    // Drops the pre-matching: every vertex of both graphs unpaired.
    void clearMatching() {
        std::fill(m->M12.begin(), m->M12.end(), -1);
        std::fill(m->M21.begin(), m->M21.end(), -1);
    }
};

}  // namespace graphmat::test
