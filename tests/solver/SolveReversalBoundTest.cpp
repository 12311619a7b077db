// Small random networks drawn with pipes pointing either way, every reversal the
// solver asks for allowed: whatever the network, a solve turns each pipe round at
// most once and ends within a bounded number of attempts.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "RandomNetworks.h"
#include "ScriptedUserMessages.h"

namespace {

const std::string kReversedLine = "Direction of pipe ";

// A pass over the ladder is 100 attempts; after the first pass, a second one may
// turn pipes round, and a failed refinement starts over at most ten times.
constexpr std::size_t kMostAttempts = 100 * 2 * 11;

TEST(SolveReversalBound, NoPipeTurnsTwiceAndEverySolveEnds) {
    std::size_t reversals = 0;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        TRandomNetworkSpec plan;
        plan.Seed = seed;
        plan.Nodes = 5 + static_cast<std::int32_t>(seed % 6) * 4;
        plan.Links = plan.Nodes + 2 + static_cast<std::int32_t>(seed % 4) * 3;
        plan.ParallelShare = 0.0;
        plan.ClosedPipes = 0;
        TNetwork network;
        BuildRandomNetwork(network, plan);
        network.Settings.MaxIterationsApproxSolution = 50;
        network.Settings.MaxIterationsFinalSolution = 400;
        TScriptedUserMessages user;
        user.DefaultAnswer = true;
        network.UserMessages = &user;
        std::vector<std::string> log;
        network.SolveNetwork(log);

        std::multiset<std::string> reversed;
        std::size_t attempts = 0;
        for (const std::string& line : log) {
            if (line.rfind(kReversedLine, 0) == 0) reversed.insert(line.substr(0, line.find(',')));
            if (line.rfind("Iteration ", 0) == 0 && line.find(':') == std::string::npos) ++attempts;
        }
        for (const std::string& pipe : reversed) EXPECT_EQ(reversed.count(pipe), 1u) << "seed " << seed << ": " << pipe;
        EXPECT_EQ(user.Questions.size(), reversed.size()) << "seed " << seed;
        EXPECT_LE(attempts, kMostAttempts) << "seed " << seed;
        reversals += reversed.size();
    }
    EXPECT_GT(reversals, 0u) << "no network asked for a reversal: the set tests nothing";
}

}  // namespace
