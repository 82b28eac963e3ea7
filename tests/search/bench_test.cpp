// The benchmark's node count is the search's signature: it changes only when
// the search (or the evaluation) changes on purpose. Update both numbers and the
// README together.
#include "tests/search/search_fixture.h"

#include "engine/search/searchbench.h"

using namespace searchtest;

namespace {

TEST(SearchBench, NodeCountSignatureAtDepthFour) {
    freshEngine();
    SearchBenchResult slotTo = runSearchBench(4, HistoryIndex::SlotTo, false);
    EXPECT_EQ(slotTo.positions, searchBenchPositionCount);
    EXPECT_EQ(slotTo.nodes, 421560u) << "the search or the evaluation changed: if on purpose, put the new "
                                        "signatures here and in the README";
    EXPECT_EQ(historyIndexKind, HistoryIndex::SlotTo);
}

} // namespace
