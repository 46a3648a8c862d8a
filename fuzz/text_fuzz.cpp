// Runs the text functions on arbitrary bytes. The first byte picks the
// flags and a column budget; the rest is the text, copied to a heap block of
// exactly its size so that a read past len is caught. Checks that the
// clusters tile the text, that the width is the sum of their columns, and
// that fitting stops on a cluster boundary with the columns up to it.
#include "fuzz_support.hpp"
#include "wcwidthtab.h"
#include "wcwidthtab_text.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using fuzz_support::check;

namespace {

struct Boundary {
    std::size_t offset;
    std::size_t columns; // of the text before it
};

std::vector<Boundary> cluster_boundaries(const char* text, std::size_t len) {
    std::vector<Boundary> boundaries{{0, 0}};
    std::size_t at = 0, total = 0;
    while (at < len) {
        int columns = -1;
        const std::size_t size = KVwchar_utf8_cluster(text + at, len - at, &columns);
        check(size > 0 && size <= len - at, "a cluster is 1 to len bytes");
        check(columns >= 0, "a cluster's columns are not negative");
        at += size;
        total += static_cast<std::size_t>(columns);
        boundaries.push_back({at, total});
    }
    return boundaries;
}

void check_fit(const char* text, std::size_t len, std::size_t max_columns,
               const std::vector<Boundary>& boundaries) {
    std::size_t columns = SIZE_MAX;
    const std::size_t used = KVwchar_utf8_fit(text, len, max_columns, &columns);
    check(used <= len, "fit stays within len");
    check(columns <= max_columns, "fit stays within the budget");
    // The last boundary whose columns are within the budget.
    const Boundary* expected = &boundaries.front();
    for (const Boundary& boundary : boundaries) {
        if (boundary.columns <= max_columns) {
            expected = &boundary;
        }
    }
    check(used == expected->offset, "fit ends at the last boundary within the budget");
    check(columns == expected->columns, "fit reports the columns up to it");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::int32_t previous = KVwchar_set_wcwidth_flags(data[0] & 3);
    const std::size_t budget = data[0] >> 2;
    const std::size_t len = size - 1;
    const std::unique_ptr<char[]> text(new char[len == 0 ? 1 : len]);
    std::memcpy(text.get(), data + 1, len);

    const std::vector<Boundary> boundaries = cluster_boundaries(text.get(), len);
    const std::size_t width = boundaries.back().columns;
    check(boundaries.back().offset == len, "the clusters add up to len");
    check(KVwchar_utf8_cluster_width(text.get(), len) == width,
          "the width is the sum of the clusters' columns");
    check_fit(text.get(), len, budget, boundaries);
    check_fit(text.get(), len, width / 2, boundaries);
    check_fit(text.get(), len, width, boundaries);
    KVwchar_set_wcwidth_flags(previous);
    return 0;
}
