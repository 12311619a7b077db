#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "solver/VM4_SparseLU.h"

// The factorization on random sparse systems with a known answer: x is drawn,
// b = A·x, and the solve must give x back. The systems look like a network's:
// rows of ±1 and rows of values of very different sizes, a few entries each.

namespace {

struct TDenseSystem {
    std::int32_t Rows = 0;
    std::int32_t Columns = 0;
    std::vector<std::vector<long double>> Entries;  // [row][column]
};

TSparseColumns ByColumns(const TDenseSystem& system) {
    TSparseColumns matrix;
    matrix.Rows = system.Rows;
    matrix.Columns = system.Columns;
    for (std::int32_t c = 0; c < system.Columns; ++c) {
        for (std::int32_t r = 0; r < system.Rows; ++r) {
            const long double value = system.Entries[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (value == 0.0L) continue;
            matrix.RowIndex.push_back(r);
            matrix.Value.push_back(value);
        }
        matrix.ColumnStart.push_back(matrix.EntryCount());
    }
    return matrix;
}

// A square system, non-singular by construction: a random permutation of a
// diagonal of sizes from 1e-3 to 1e3 (rows of ±1 among them), plus a few
// off-diagonal entries per row, kept small against the diagonal.
TDenseSystem RandomSystem(std::uint32_t seed, std::int32_t size) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> column(0, size - 1);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<std::int32_t> diagonalColumn(static_cast<std::size_t>(size));
    for (std::int32_t k = 0; k < size; ++k) diagonalColumn[static_cast<std::size_t>(k)] = k;
    std::shuffle(diagonalColumn.begin(), diagonalColumn.end(), random);
    TDenseSystem system{size, size, std::vector<std::vector<long double>>(static_cast<std::size_t>(size),
                                                                          std::vector<long double>(static_cast<std::size_t>(size)))};
    for (std::int32_t r = 0; r < size; ++r) {
        auto& row = system.Entries[static_cast<std::size_t>(r)];
        const bool continuity = r % 2 == 0;
        const long double scale = continuity ? 1.0L : std::pow(10.0L, 3.0L * unit(random));
        row[static_cast<std::size_t>(diagonalColumn[static_cast<std::size_t>(r)])] = continuity ? 1.0L : 4.0L * scale;
        for (int extra = 0; extra < 3; ++extra) {
            long double& entry = row[static_cast<std::size_t>(column(random))];
            if (entry == 0.0L) entry = continuity ? (unit(random) < 0.0 ? -0.25L : 0.25L) : scale * unit(random) * 0.5L;
        }
    }
    return system;
}

std::vector<long double> Multiply(const TDenseSystem& system, const std::vector<long double>& x) {
    std::vector<long double> b(static_cast<std::size_t>(system.Rows), 0.0L);
    for (std::size_t r = 0; r < b.size(); ++r)
        for (std::size_t c = 0; c < x.size(); ++c) b[r] += system.Entries[r][c] * x[c];
    return b;
}

std::vector<long double> RandomVector(std::uint32_t seed, std::int32_t size) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<long double> x(static_cast<std::size_t>(size));
    for (long double& value : x) value = unit(random);
    return x;
}

// Factors and solves A·x = A·expected; x must come back to extended precision.
void ExpectSolvesBack(TSparseLU& lu, const TDenseSystem& system, std::uint32_t seed) {
    ASSERT_TRUE(lu.Factor(ByColumns(system)));
    const std::vector<long double> expected = RandomVector(seed, system.Columns);
    std::vector<long double> b = Multiply(system, expected);
    std::vector<long double> x(expected.size());
    ASSERT_TRUE(lu.Solve(b, x));
    for (std::size_t c = 0; c < x.size(); ++c) EXPECT_NEAR(static_cast<double>(x[c]), static_cast<double>(expected[c]), 1e-12) << "x" << c;
}

class SparseLURandom : public ::testing::TestWithParam<std::uint32_t> {};

}  // namespace

TEST_P(SparseLURandom, SolvesWhatItFactored) {
    TSparseLU lu;
    ExpectSolvesBack(lu, RandomSystem(GetParam(), 60), GetParam());
}

// New values on the same pattern: the recorded analysis is reused while its
// pivots hold, and replaced when they do not; the answer is right either way.
TEST_P(SparseLURandom, SolvesNewValuesOnTheSamePattern) {
    TSparseLU lu;
    TDenseSystem system = RandomSystem(GetParam(), 60);
    ExpectSolvesBack(lu, system, GetParam());
    std::mt19937 random(GetParam() + 1000);
    std::uniform_real_distribution<double> factor(0.5, 2.0);
    for (auto& row : system.Entries)
        for (long double& entry : row) entry *= factor(random);
    ExpectSolvesBack(lu, system, GetParam() + 1);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SparseLURandom, ::testing::Range<std::uint32_t>(1, 9));

// A recorded pivot that becomes 0 is not used again: the columns are pivoted afresh.
TEST(SparseLU, PivotThatVanishesIsReplaced) {
    TDenseSystem system{2, 2, {{2.0L, 1.0L}, {1.0L, 1.0L}}};
    TSparseLU lu;
    ExpectSolvesBack(lu, system, 7);
    ASSERT_EQ(lu.RowOrder(), (std::vector<std::int32_t>{0, 1}));
    // The same pattern, with (0, 0) an explicit 0: rows (0, 1) and (1, 1).
    TSparseColumns matrix = ByColumns(TDenseSystem{2, 2, {{1.0L, 1.0L}, {1.0L, 1.0L}}});
    matrix.Value[0] = 0.0L;
    ASSERT_TRUE(lu.Factor(matrix));
    EXPECT_EQ(lu.AnalysisCount(), 2);
    EXPECT_EQ(lu.RowOrder(), (std::vector<std::int32_t>{1, 0}));
    std::vector<long double> b{3.0L, 5.0L};  // y = 3, x + y = 5
    std::vector<long double> x(2);
    ASSERT_TRUE(lu.Solve(b, x));
    EXPECT_NEAR(static_cast<double>(x[0]), 2.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(x[1]), 3.0, 1e-15);
}

// With more rows than columns the rows never chosen come last, ascending.
TEST(SparseLU, RowsLeftOverComeAfterThePivotRows) {
    // Row 0 repeats row 2 (negated); row 1 is independent.
    const TDenseSystem system{3, 2, {{-1.0L, 1.0L}, {4.0L, 2.0L}, {1.0L, -1.0L}}};
    TSparseLU lu;
    ASSERT_TRUE(lu.Factor(ByColumns(system)));
    const std::vector<std::int32_t>& order = lu.RowOrder();
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(std::set<std::int32_t>(order.begin(), order.end()), (std::set<std::int32_t>{0, 1, 2}));
    EXPECT_TRUE(order[2] == 0 || order[2] == 2) << "one of the twins is left over";
    EXPECT_TRUE(order[0] == 1 || order[1] == 1) << "the independent row is a pivot";
}

TEST(SparseLU, ColumnWithoutANonZeroCandidateFails) {
    TSparseLU lu;
    EXPECT_FALSE(lu.Factor(ByColumns(TDenseSystem{2, 2, {{1.0L, 2.0L}, {2.0L, 4.0L}}})));
    EXPECT_FALSE(lu.Factor(ByColumns(TDenseSystem{1, 2, {{1.0L, 1.0L}}})));
}
