// The table of records: where games rank, its file read back as written, the replays it
// keeps and deletes, and what it does with a hiscore file and with damaged tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/files.h"
#include "support/tempdir.h"
#include "tarvex/recordstore.h"
#include "tarvex/replay/replayfile.h"

namespace {

using namespace Tarvex;
using TestSupport::readFile;
using TestSupport::writeFile;
namespace fs = std::filesystem;

Record game(float score, const std::string& initials) {
    Record r;
    r.score = score;
    r.initials = initials;
    r.kills = 12;
    r.accuracy = 75;
    r.coreHits = 3;
    r.date = "2026-12-07";
    return r;
}

std::vector<std::string> initialsOf(const RecordTable& table) {
    std::vector<std::string> all;
    for (const Record& r : table.records)
        all.push_back(r.initials);
    return all;
}

TEST(RecordTable, AGameRanksBelowEveryEqualOrBetterScoreAndPushesTheEleventhOut) {
    RecordTable table;
    EXPECT_FALSE(table.enters(0)) << "a game without a point";
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(table.insert(game(float(100 * (i % 5)) + 100, std::string(3, char('A' + i))))
                        .empty());
    // Scores 100..500 twice: each second one below the first with its score.
    EXPECT_EQ(initialsOf(table), (std::vector<std::string>{"EEE", "JJJ", "DDD", "III", "CCC",
                                                           "HHH", "BBB", "GGG", "AAA", "FFF"}));
    EXPECT_FALSE(table.enters(100)) << "equal to the last, and later";
    EXPECT_EQ(table.rankOf(300), 6u);
    const std::vector<Record> dropped = table.insert(game(300, "NEW"));
    EXPECT_EQ(table.records[6].initials, "NEW");
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].initials, "FFF");
    EXPECT_EQ(table.records.size(), 10u);
}

TEST(RecordTable, EachKindOfFaultIsNamedAndTheReadableRecordsKept) {
    const std::string good = "record score=500 initials=\"ABC\" kills=1 accuracy=50 corehits=0 "
                             "date=2026-12-07 replay=-\n";
    struct Case {
        std::string text;
        std::string fault; // the first
        std::size_t kept;
    };
    const Case cases[] = {
        {"kestrane-records 1\n" + good + "record score=12 initials=\"AB\n" + good,
         "line 3: cannot read this line", 2},
        {"kestrane-records 1\n" + good + good.substr(0, 30), "line 3: the file is cut short", 1},
        {"kestrane-records 2\n" + good, "line 1: written by a newer version of the game (2)", 1},
        {"<html>\n" + good, "line 1: not a table of records", 0},
        {"", "line 1: the file is empty", 0},
        // A name that would reach outside the folder is no replay of the table's.
        {"kestrane-records 1\n" + good.substr(0, good.size() - 2) + "../../.bashrc.replay\n",
         "line 2: cannot read this line", 0},
        // Only the same name twice is a fault, however short the names are.
        {"kestrane-records 1\n" + good.substr(0, good.size() - 2) + "a.replay\n" +
             good.substr(0, good.size() - 2) + "b.replay\n" + good.substr(0, good.size() - 2) +
             "a.replay\n",
         "line 4: the replay a.replay belongs to an earlier record", 3},
    };
    for (const Case& c : cases) {
        const RecordsReading reading = readRecords(c.text);
        EXPECT_TRUE(reading.damaged) << c.text;
        ASSERT_FALSE(reading.faults.empty()) << c.text;
        EXPECT_EQ(reading.faults[0], c.fault);
        EXPECT_EQ(reading.table.records.size(), c.kept) << c.text;
    }
}

class RecordStoreTest : public ::testing::Test {
protected:
    std::string open(bool repair = true) {
        std::ostringstream err;
        store.open(dir.dir().string(), dir.path("kestrane.dat"), err, repair);
        return err.str();
    }
    Replay replay(int frames) {
        Replay r;
        r.frames.resize(std::size_t(frames), ReplayFrame{1.0 / 60, {}});
        return r;
    }

    TestSupport::TempDir dir;
    RecordStore store;
};

TEST_F(RecordStoreTest, TheEleventhGameDropsTheLastRecordAndDeletesItsReplay) {
    open();
    std::ostringstream err;
    for (int i = 1; i <= 10; ++i) {
        const Replay played = replay(i);
        ASSERT_TRUE(store.add(game(float(i), "P" + std::to_string(i % 10) + "X"), &played, err));
    }
    const std::string lastReplay = store.replayPath(store.table().records.back());
    ASSERT_EQ(loadReplayFile(lastReplay).replay, replay(1)) << "the worst game's own replay";

    const Replay low = replay(5), better = replay(11);
    EXPECT_FALSE(store.add(game(1, "LOW"), &low, err)) << "equal to the last";
    EXPECT_TRUE(store.add(game(7, "NEW"), &better, err));
    EXPECT_TRUE(err.str().empty()) << err.str();
    EXPECT_FALSE(fs::exists(lastReplay));
    std::size_t replays = 0;
    for (const auto& entry : fs::directory_iterator(dir.dir()))
        replays += entry.path().extension() == ".replay";
    EXPECT_EQ(replays, 10u) << "nothing written for the game that stayed out";

    // What a new start reads is what was kept.
    const RecordTable kept = store.table();
    EXPECT_EQ(kept.records[3].initials, "P7X") << "the older 7 ranks above";
    EXPECT_EQ(kept.records[4].initials, "NEW");
    EXPECT_EQ(kept.lastInitials, "NEW");
    EXPECT_EQ(open(), "");
    EXPECT_EQ(store.table(), kept);
    EXPECT_EQ(loadReplayFile(store.replayPath(kept.records[4])).replay, replay(11));
}

TEST_F(RecordStoreTest, AnEmptyTableTakesTheHiscoreFileAsItsFirstRecord) {
    writeFile(dir.path("kestrane.dat"), std::string("\0\0\x48\x42", 4));
    open();
    ASSERT_EQ(store.table().records.size(), 1u);
    const Record& best = store.table().records[0];
    EXPECT_EQ(best.score, 50);
    EXPECT_EQ(best.initials, "---");
    EXPECT_EQ(best.kills, Record::unknown);
    EXPECT_EQ(best.date.size(), 10u);
    EXPECT_FALSE(fs::exists(store.tablePath())) << "reading writes nothing";
    // Once the table holds games, the hiscore file is no record of its own.
    std::ostringstream err;
    store.add(game(20, "ABC"), nullptr, err);
    open();
    EXPECT_EQ(initialsOf(store.table()), (std::vector<std::string>{"---", "ABC"}));
}

TEST_F(RecordStoreTest, ADamagedTableIsReportedOnceAndKeptAsideBeforeTheGoodRecordsAreWritten) {
    const std::string damaged = "kestrane-records 1\nlast \"ZZZ\"\n"
                                "record score=900 initials=\"ABC\" kills=1 accuracy=50 "
                                "corehits=0 date=2026-12-07 replay=gone.replay\n"
                                "record score=800 garbage\n"
                                "record score=700 initials=\"DEF\" kills=1 accuracy=50 "
                                "corehits=0 date=- replay=-\n";
    writeFile(dir.path(RecordStore::tableName), damaged);
    writeFile(dir.path(std::string(RecordStore::tableName) + ".bad"), "an older one");

    const std::string first = open(false);
    EXPECT_NE(first.find("line 4: cannot read this line"), std::string::npos) << first;
    EXPECT_NE(first.find("gone.replay, which is missing"), std::string::npos) << first;
    EXPECT_EQ(readFile(store.tablePath()), damaged) << "--scores changes nothing";

    const std::string repaired = open();
    EXPECT_NE(repaired.find("the damaged table was kept as " + store.tablePath() + ".bad.2\n"),
              std::string::npos)
        << repaired;
    EXPECT_EQ(readFile(store.tablePath() + ".bad.2"), damaged);
    EXPECT_EQ(readFile(store.tablePath() + ".bad"), "an older one");
    EXPECT_EQ(initialsOf(store.table()), (std::vector<std::string>{"ABC", "DEF"}));
    EXPECT_EQ(store.table().records[0].replay, "");
    EXPECT_EQ(store.table().lastInitials, "ZZZ");
    EXPECT_EQ(open(), "") << "reported once";
    EXPECT_EQ(initialsOf(store.table()), (std::vector<std::string>{"ABC", "DEF"}));
}

TEST_F(RecordStoreTest, ADamagedTableThatCannotBeKeptAsideIsNeverOverwritten) {
    const std::string path = dir.path(RecordStore::tableName);
    const std::string damaged = "kestrane-records 1\n"
                                "record score=900 initials=\"ABC\" kills=1 accuracy=50 "
                                "corehits=0 date=2026-12-07 replay=loop.replay\n"
                                "record score=800 garbage\n";
    writeFile(path, damaged);
    for (int n = 1; n < 1000; ++n) // every name it could be kept as is taken
        writeFile(path + ".bad" + (n > 1 ? "." + std::to_string(n) : ""), "");
    // A replay that cannot be looked at (as root too) is not known to be missing.
    fs::create_symlink("loop.replay", dir.path("loop.replay"));

    const std::string said = open();
    EXPECT_NE(said.find("could not be kept aside"), std::string::npos) << said;
    EXPECT_EQ(store.table().records[0].replay, "loop.replay");
    std::ostringstream err;
    EXPECT_FALSE(store.add(game(950, "NEW"), nullptr, err));
    EXPECT_EQ(readFile(path), damaged);
}

} // namespace
