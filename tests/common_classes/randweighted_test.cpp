#include <gtest/gtest.h>

#include <map>

#include "common_classes/randweighted.h"

namespace {

enum class Drop { None, Fire, BombWhite, BombBlack };

RandWeighted<int> dropTable() {
    RandWeighted<int> table;
    table.addValue(0, 10);
    table.addValue(3, 2);
    table.addValue(2, 2);
    table.addValue(1, 2);
    return table;
}

TEST(RandWeighted, DrawsFallToTheFirstEntryWhoseRunningSumReachesThem) {
    const RandWeighted<int> table = dropTable();
    EXPECT_EQ(table.totalWeight(), 16.0f);
    EXPECT_EQ(table.pick(0.0), 0);
    EXPECT_EQ(table.pick(10.0), 0);
    EXPECT_EQ(table.pick(10.0001), 3);
    EXPECT_EQ(table.pick(12.0), 3);
    EXPECT_EQ(table.pick(12.0001), 2);
    EXPECT_EQ(table.pick(14.0), 2);
    EXPECT_EQ(table.pick(14.0001), 1);
    EXPECT_EQ(table.pick(16.0), 1);
}

TEST(RandWeighted, ZeroWeightsAreReachedOnlyAtTheirRunningSum) {
    RandWeighted<Drop> table;
    table.addValue(Drop::None, 0);
    table.addValue(Drop::Fire, 1);
    table.addValue(Drop::BombWhite, 0);
    table.addValue(Drop::BombBlack, 1);
    EXPECT_EQ(table.pick(0.0), Drop::None);
    EXPECT_EQ(table.pick(1.0), Drop::Fire);
    EXPECT_EQ(table.pick(1.5), Drop::BombBlack);
    for (int i = 0; i < 10000; ++i)
        ASSERT_NE(table(), Drop::BombWhite);
}

TEST(RandWeighted, AddingAValueAgainReplacesItsWeightWhereItStands) {
    RandWeighted<int> table = dropTable();
    table.addValue(2, 5);
    EXPECT_EQ(table.entries().size(), 4u);
    EXPECT_EQ(table.totalWeight(), 19.0f);
    // 2 stays third: 0 up to 10, 3 up to 12, 2 up to 17, 1 up to 19.
    EXPECT_EQ(table.pick(12.5), 2);
    EXPECT_EQ(table.pick(17.0), 2);
    EXPECT_EQ(table.pick(17.5), 1);
}

TEST(RandWeighted, UpdateWeightChangesOnlyValuesInTheTable) {
    RandWeighted<int> table = dropTable();
    table.updateWeight(3, 0);
    EXPECT_EQ(table.totalWeight(), 14.0f);
    EXPECT_EQ(table.pick(10.5), 2);
    table.updateWeight(7, 100);
    EXPECT_EQ(table.entries().size(), 4u);
    EXPECT_EQ(table.totalWeight(), 14.0f);
}

TEST(RandWeighted, TinyWeightOfASingleEntryStillWinsEveryDraw) {
    RandWeighted<Drop> table;
    table.addValue(Drop::Fire, 0.0001f);
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(table(), Drop::Fire);
    EXPECT_EQ(table.pick(table.totalWeight()), Drop::Fire);
}

TEST(RandWeighted, DrawsFollowTheWeights) {
    RandWeighted<int> table = dropTable();
    table.seed(1234);
    constexpr int draws = 160000;
    std::map<int, int> counts;
    for (int i = 0; i < draws; ++i)
        ++counts[table()];
    EXPECT_EQ(counts.size(), 4u);
    EXPECT_NEAR(counts[0], draws * 10 / 16, draws * 0.01);
    for (int value : {1, 2, 3})
        EXPECT_NEAR(counts[value], draws * 2 / 16, draws * 0.01) << value;
}

TEST(RandWeighted, DrawsComeFromTheTablesOwnGeneratorWithItsDefaultSeed) {
    RandWeighted<int> table = dropTable();
    RandGenerator reference;
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(table(), table.pick(reference(0.0, 16.0)));

    RandWeighted<int> a = dropTable();
    RandWeighted<int> b = dropTable();
    a.seed(99);
    b.seed(99);
    reference.seed(99);
    for (int i = 0; i < 1000; ++i) {
        const int expected = a.pick(reference(0.0, 16.0));
        ASSERT_EQ(a(), expected);
        ASSERT_EQ(b(), expected);
    }
}

} // namespace
