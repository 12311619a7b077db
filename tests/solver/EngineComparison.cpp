#include "EngineComparison.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended: 10 significant bytes");
constexpr std::size_t kExtendedBytes = 10;

// Reports the first differing entry of a 1-based table, if any.
template <typename Same, typename Describe>
void expectSameEntries(const char* table, std::int32_t count, Same same, Describe describe) {
    for (std::int32_t i = 1; i <= count; ++i) {
        if (!same(i)) {
            ADD_FAILURE() << table << "[" << i << "] differs: " << describe(i);
            return;
        }
    }
}

std::string pair(long double reference, long double fast) {
    return "reference " + std::to_string(static_cast<double>(reference)) + ", fast " +
           std::to_string(static_cast<double>(fast));
}

}  // namespace

bool IdenticalExtended(long double a, long double b) {
    unsigned char bytesA[sizeof(long double)];
    unsigned char bytesB[sizeof(long double)];
    std::memcpy(bytesA, &a, sizeof a);
    std::memcpy(bytesB, &b, sizeof b);
    return std::memcmp(bytesA, bytesB, kExtendedBytes) == 0;
}

TNewtonOutcome RunNewton(TMatrixEquations& engine) {
    TNewtonOutcome outcome;
    engine.SolveQVariables(outcome.Solved, outcome.ErrorCode, outcome.Log, outcome.ErrorMessage);
    outcome.IterationCount = engine.IterationCount;
    return outcome;
}

void ExpectIdenticalOutcomes(const TNewtonOutcome& reference, const TNewtonOutcome& fast) {
    EXPECT_EQ(fast.Solved, reference.Solved);
    EXPECT_EQ(fast.ErrorCode, reference.ErrorCode);
    EXPECT_EQ(fast.ErrorMessage, reference.ErrorMessage);
    EXPECT_EQ(fast.IterationCount, reference.IterationCount);
    EXPECT_EQ(fast.Log, reference.Log);
}

void ExpectIdenticalEngines(const TMatrixEquations& reference, const TMatrixEquations& fast) {
    ASSERT_EQ(fast.NumberOfQVariables, reference.NumberOfQVariables);
    ASSERT_EQ(fast.NumberOfEquations, reference.NumberOfEquations);
    const std::int32_t N = reference.NumberOfQVariables;
    const std::int32_t M = reference.NumberOfEquations;
    const auto extended = [](const TOneBasedArray<long double>& a, const TOneBasedArray<long double>& b) {
        return [&a, &b](std::int32_t i) { return IdenticalExtended(a[i], b[i]); };
    };
    const auto describe = [](const TOneBasedArray<long double>& a, const TOneBasedArray<long double>& b) {
        return [&a, &b](std::int32_t i) { return pair(a[i], b[i]); };
    };
    expectSameEntries("QVariables", N, extended(reference.QVariables, fast.QVariables),
                      describe(reference.QVariables, fast.QVariables));
    expectSameEntries("QDeltas", N, extended(reference.QDeltas, fast.QDeltas),
                      describe(reference.QDeltas, fast.QDeltas));
    expectSameEntries("FResults", M, extended(reference.FResults, fast.FResults),
                      describe(reference.FResults, fast.FResults));
    expectSameEntries(
        "FIsHeadEquation", M, [&](std::int32_t i) { return reference.FIsHeadEquation[i] == fast.FIsHeadEquation[i]; },
        [](std::int32_t) { return std::string("head flag"); });
    expectSameEntries(
        "QKnowns", M,
        [&](std::int32_t i) { return std::memcmp(&reference.QKnowns[i], &fast.QKnowns[i], sizeof(double)) == 0; },
        [&](std::int32_t i) { return pair(reference.QKnowns[i], fast.QKnowns[i]); });
    for (std::int32_t i = 1; i <= M; ++i) {
        for (std::int32_t j = 1; j <= N; ++j) {
            if (reference.QMatrix[i][j] != fast.QMatrix[i][j]) {
                ADD_FAILURE() << "QMatrix[" << i << "][" << j << "] differs: the equations are in another order";
                return;
            }
            const long double referenceEntry = reference.JacobianEntry(i, j);
            const long double fastEntry = fast.JacobianEntry(i, j);
            if (!IdenticalExtended(referenceEntry, fastEntry)) {
                ADD_FAILURE() << "Jacobian entry [" << i << "][" << j << "] differs: " << pair(referenceEntry, fastEntry);
                return;
            }
        }
    }
}
