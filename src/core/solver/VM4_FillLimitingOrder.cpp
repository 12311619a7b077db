#include "solver/VM4_FillLimitingOrder.h"

#include <bit>
#include <cstddef>
#include <limits>

namespace {

// One bit per column; the column graph of a network's Jacobian has at most
// 1000 vertices, so a dense bit set per vertex is small and its unions cheap.
class TColumnGraph {
public:
    explicit TColumnGraph(std::int32_t columns)
        : words_((static_cast<std::size_t>(columns) + 63) / 64),
          bits_(words_ * static_cast<std::size_t>(columns), 0), alive_(words_, 0) {
        for (std::int32_t c = 0; c < columns; ++c) set(alive_.data(), c);
    }

    void Join(std::int32_t a, std::int32_t b) {
        set(row(a), b);
        set(row(b), a);
    }

    std::int32_t Degree(std::int32_t c) const {
        std::int32_t degree = 0;
        const std::uint64_t* neighbours = row(c);
        for (std::size_t w = 0; w < words_; ++w) degree += std::popcount(neighbours[w] & alive_[w]);
        return degree;
    }

    // Eliminating c makes its remaining neighbours a clique.
    template <typename Visit>
    void Eliminate(std::int32_t c, Visit visitNeighbour) {
        clear(alive_.data(), c);
        const std::uint64_t* neighbours = row(c);
        for (std::size_t w = 0; w < words_; ++w) {
            std::uint64_t word = neighbours[w] & alive_[w];
            while (word != 0) {
                const auto neighbour = static_cast<std::int32_t>(w * 64 + static_cast<std::size_t>(std::countr_zero(word)));
                word &= word - 1;
                std::uint64_t* merged = row(neighbour);
                for (std::size_t v = 0; v < words_; ++v) merged[v] |= neighbours[v];
                clear(merged, neighbour);
                visitNeighbour(neighbour);
            }
        }
    }

private:
    std::uint64_t* row(std::int32_t c) { return bits_.data() + words_ * static_cast<std::size_t>(c); }
    const std::uint64_t* row(std::int32_t c) const { return bits_.data() + words_ * static_cast<std::size_t>(c); }
    static void set(std::uint64_t* bits, std::int32_t c) {
        bits[static_cast<std::size_t>(c) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(c) % 64);
    }
    static void clear(std::uint64_t* bits, std::int32_t c) {
        bits[static_cast<std::size_t>(c) / 64] &= ~(std::uint64_t{1} << (static_cast<unsigned>(c) % 64));
    }

    std::size_t words_;
    std::vector<std::uint64_t> bits_;
    std::vector<std::uint64_t> alive_;
};

// Columns of each row, from the column-wise storage.
std::vector<std::vector<std::int32_t>> columnsOfRows(const TSparseColumns& matrix) {
    std::vector<std::vector<std::int32_t>> rows(static_cast<std::size_t>(matrix.Rows));
    for (std::int32_t c = 0; c < matrix.Columns; ++c) {
        for (std::int32_t k = matrix.ColumnStart[static_cast<std::size_t>(c)];
             k < matrix.ColumnStart[static_cast<std::size_t>(c) + 1]; ++k)
            rows[static_cast<std::size_t>(matrix.RowIndex[static_cast<std::size_t>(k)])].push_back(c);
    }
    return rows;
}

TColumnGraph columnGraph(const TSparseColumns& matrix) {
    TColumnGraph graph(matrix.Columns);
    for (const std::vector<std::int32_t>& columns : columnsOfRows(matrix)) {
        for (std::size_t a = 0; a < columns.size(); ++a)
            for (std::size_t b = a + 1; b < columns.size(); ++b) graph.Join(columns[a], columns[b]);
    }
    return graph;
}

std::int32_t columnOfLeastDegree(const std::vector<std::int32_t>& degree, const std::vector<bool>& eliminated) {
    std::int32_t best = -1;
    std::int32_t bestDegree = std::numeric_limits<std::int32_t>::max();
    for (std::size_t c = 0; c < degree.size(); ++c) {
        if (!eliminated[c] && degree[c] < bestDegree) {
            bestDegree = degree[c];
            best = static_cast<std::int32_t>(c);
        }
    }
    return best;
}

}  // namespace

std::vector<std::int32_t> FillLimitingColumnOrder(const TSparseColumns& matrix) {
    TColumnGraph graph = columnGraph(matrix);
    const auto columns = static_cast<std::size_t>(matrix.Columns);
    std::vector<std::int32_t> degree(columns);
    for (std::size_t c = 0; c < columns; ++c) degree[c] = graph.Degree(static_cast<std::int32_t>(c));
    std::vector<bool> eliminated(columns, false);
    std::vector<std::int32_t> order;
    order.reserve(columns);
    std::vector<std::int32_t> touched;
    for (std::size_t step = 0; step < columns; ++step) {
        const std::int32_t next = columnOfLeastDegree(degree, eliminated);
        eliminated[static_cast<std::size_t>(next)] = true;
        order.push_back(next);
        touched.clear();
        graph.Eliminate(next, [&](std::int32_t neighbour) { touched.push_back(neighbour); });
        for (const std::int32_t c : touched) degree[static_cast<std::size_t>(c)] = graph.Degree(c);
    }
    return order;
}
