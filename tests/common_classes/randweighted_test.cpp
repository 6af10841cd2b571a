#include "common_classes/randweighted.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The game's drop table: nothing 10, then three kinds of drop at 2 each.
RandWeighted<int> dropTable() {
    RandWeighted<int> table;
    table.addValue(0, 10);
    table.addValue(3, 2);
    table.addValue(2, 2);
    table.addValue(1, 2);
    return table;
}

TEST(RandWeighted, ADrawFallsToTheFirstEntryWhoseRunningSumReachesIt) {
    RandWeighted<int> table = dropTable();
    const std::pair<double, int> draws[] = {{0, 0},       {10, 0}, {10.0001, 3}, {12, 3},
                                            {12.0001, 2}, {14, 2}, {14.0001, 1}, {16, 1}};
    for (auto [draw, value] : draws)
        EXPECT_EQ(table.pick(draw), value) << draw;

    // Adding a value again replaces its weight where it stands: 2 now reaches 17.
    table.addValue(2, 5);
    EXPECT_EQ(table.totalWeight(), 19.0f);
    EXPECT_EQ(table.pick(17.0), 2);
    EXPECT_EQ(table.pick(17.5), 1);
    // A value not in the table changes nothing; a weight of 0 is reached only at a tie.
    table.updateWeight(7, 100);
    table.updateWeight(3, 0);
    EXPECT_EQ(table.entries().size(), 4u);
    EXPECT_EQ(table.totalWeight(), 17.0f);
    EXPECT_EQ(table.pick(10.0), 0);
    EXPECT_EQ(table.pick(10.5), 2);
}

TEST(RandWeighted, DrawsFollowTheWeightsFromTheTablesOwnGenerator) {
    RandWeighted<int> table = dropTable();
    RandGenerator reference; // the default seed, until the owner seeds the table
    for (int i = 0; i < 2000; ++i) {
        if (i == 1000) {
            table.seed(99);
            reference.seed(99);
        }
        ASSERT_EQ(table(), table.pick(reference(0.0, 16.0))) << i;
    }
    constexpr int draws = 160000;
    std::map<int, int> counts;
    for (int i = 0; i < draws; ++i)
        ++counts[table()];
    EXPECT_NEAR(counts[0], draws * 10 / 16, draws * 0.01);
    for (int value : {1, 2, 3})
        EXPECT_NEAR(counts[value], draws * 2 / 16, draws * 0.01) << value;

    RandWeighted<int> tiny; // a single entry wins every draw, however small its weight
    tiny.addValue(4, 0.0001f);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(tiny(), 4);
}

} // namespace
