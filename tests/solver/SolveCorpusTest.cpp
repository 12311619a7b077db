// Irregular looped networks of 20 to 1000 pipes, as engineers draw them: each must
// solve in the first pass of start velocities, and its results must balance when
// checked without the solver (continuity at every join point, every pipe's head
// difference against its loss from the exact Colebrook-White friction factor).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IrregularNetworks.h"
#include "ScriptedUserMessages.h"
#include "SolutionCheck.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr std::int32_t kLargestPipes = 250;  // the larger ones take minutes under the sanitizers
#else
constexpr std::int32_t kLargestPipes = 1000;
#endif

std::vector<TIrregularNetworkPlan> corpus() {
    std::vector<TIrregularNetworkPlan> plans;
    std::uint32_t seed = 1;
    for (const std::int32_t pipes : {20, 45, 80, 120, 200, 250, 350, 500, 700, 850, 1000}) {
        if (pipes > kLargestPipes) break;
        for (int repeat = 0; repeat < 3; ++repeat) plans.push_back({seed++, pipes});
    }
    return plans;
}

std::string lastLines(const std::vector<std::string>& log, std::size_t count) {
    std::string text;
    for (std::size_t n = log.size() > count ? log.size() - count : 0; n < log.size(); ++n) text += log[n] + "\n";
    return text;
}

class IrregularNetworkSolveTest : public ::testing::TestWithParam<TIrregularNetworkPlan> {};

TEST_P(IrregularNetworkSolveTest, SolvesInTheFirstPassAndBalances) {
    TNetwork network;
    BuildIrregularNetwork(network, GetParam());
    DrawPipesAlongFlow(network);
    TScriptedUserMessages user;
    user.DefaultAnswer = true;
    network.UserMessages = &user;
    std::vector<std::string> log;

    ASSERT_TRUE(network.SolveNetwork(log)) << lastLines(log, 30);

    EXPECT_TRUE(user.Questions.empty()) << "a pipe drawn along the flow was offered for reversal";
    const TSolutionCheck check = CheckSolution(network);
    EXPECT_LE(check.WorstContinuity_m3s, 1.5 * network.Settings.FlowBalancingTolerance) << check.WorstContinuityAt;
    EXPECT_EQ(check.WorstHeadMismatch_m, 0.0) << check.WorstHeadMismatchAt;
}

INSTANTIATE_TEST_SUITE_P(Corpus, IrregularNetworkSolveTest, ::testing::ValuesIn(corpus()),
                         [](const ::testing::TestParamInfo<TIrregularNetworkPlan>& info) {
                             return "Seed" + std::to_string(info.param.Seed) + "Of" +
                                    std::to_string(info.param.Pipes) + "Pipes";
                         });

}  // namespace
