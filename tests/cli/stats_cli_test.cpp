#include <QJsonObject>
#include <cstdio>
#include <gtest/gtest.h>

#include "pages/stats.h"
#include "tests/cli/cli_fixture.h"
#include "tests/cli/parse_json.h"
#include "tests/support/bytes.h"

namespace q30x {
namespace {

using test::CliResult;

class StatsCommand : public test::CliTest {
protected:
    StatsCommand() { runIn({"init"}); }
    std::string statsFile() const { return work() + "/Sts.cfg"; }
    void writeCounters(const StatsBlock& block) { test::writeAll(statsFile(), test::bytesOf(block)); }
};

std::string lines(uint32_t left, uint32_t middle, uint32_t right, uint32_t forward, uint32_t backward,
                  const char* distance, int level) {
    auto line = [](const std::string& label, const std::string& value) {
        return label + std::string(16 - label.size(), ' ') + value + "\n";
    };
    return line("left clicks", std::to_string(left)) + line("middle clicks", std::to_string(middle)) +
           line("right clicks", std::to_string(right)) + line("clicks", std::to_string(left + middle + right)) +
           line("wheel forward", std::to_string(forward)) + line("wheel backward", std::to_string(backward)) +
           line("scrolls", std::to_string(forward + backward)) + line("distance", distance) +
           line("trophy level", std::to_string(level) + " of 12");
}

TEST_F(StatsCommand, PrintsTheCountersTotalsDistanceAndLevelAsThePageShowsThem) {
    struct Case {
        StatsBlock block;
        const char* distance;
        int level;
    };
    const Case cases[] = {
        {{99'999, 0, 0, 0, 0, 0}, "0.00 (0 pixels)", 0},
        {{99'999, 1, 0, 0, 0, 123'456}, "12.35 (123456 pixels)", 1},
        {{30'000, 30'000, 0, 60'000, 0, 0}, "0.00 (0 pixels)", 0},  // the two totals never add up
        {{0, 0, 0, 50'000, 50'000, 0}, "0.00 (0 pixels)", 1},
        {{10'000'000, 0, 0, 0, 0, 4'294'967'295u}, "429496.73 (4294967295 pixels)", 12},
    };
    for (const Case& c : cases) {
        writeCounters(c.block);
        CliResult text = runIn({"stats"});
        EXPECT_EQ(text.status, 0) << text.err;
        const StatsBlock& b = c.block;
        EXPECT_EQ(text.out, lines(b.leftClicks, b.middleClicks, b.rightClicks, b.wheelForward, b.wheelBackward,
                                  c.distance, c.level));

        CliResult json = runIn({"stats", "--json"});
        ASSERT_EQ(json.status, 0);
        const QJsonObject o = test::parseJson(json.out).object();
        EXPECT_EQ(o["leftClicks"].toInteger(), b.leftClicks);
        EXPECT_EQ(o["middleClicks"].toInteger(), b.middleClicks);
        EXPECT_EQ(o["rightClicks"].toInteger(), b.rightClicks);
        EXPECT_EQ(o["clicks"].toInteger(), clicksTotal(b));
        EXPECT_EQ(o["wheelForward"].toInteger(), b.wheelForward);
        EXPECT_EQ(o["wheelBackward"].toInteger(), b.wheelBackward);
        EXPECT_EQ(o["scrolls"].toInteger(), scrollsTotal(b));
        EXPECT_EQ(o["distance"].toInteger(), b.distance);
        EXPECT_NE(text.out.find("distance        " + o["distanceShown"].toString().toStdString() + " ("),
                  std::string::npos);
        EXPECT_EQ(o["trophyLevel"].toInt(), c.level);
    }
}

TEST_F(StatsCommand, AShortFileFillsWhatItHoldsAndAMissingOneIsToldAsByTheProgram) {
    test::writeAll(statsFile(), {0x10, 0, 0, 0, 0x20, 0, 0, 0});
    EXPECT_EQ(runIn({"stats"}).out, lines(16, 32, 0, 0, 0, "0.00 (0 pixels)", 0));
    std::remove(statsFile().c_str());
    CliResult r = runIn({"stats"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Failed to open file, check whether there is a " + statsFile() + " path?\n");
    EXPECT_EQ(r.out, lines(0, 0, 0, 0, 0, "0.00 (0 pixels)", 0));
}

TEST_F(StatsCommand, ResetZeroesTheFile) {
    writeCounters({2'000'000, 3, 4, 5, 6, 7});
    CliResult r = runIn({"stats", "reset"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "every counter and the trophy level reset to 0\n" + lines(0, 0, 0, 0, 0, "0.00 (0 pixels)", 0));
    EXPECT_EQ(test::readAll(statsFile()), std::vector<uint8_t>(24, 0));
    EXPECT_EQ(runIn({"stats", "again"}).status, 64);
    EXPECT_EQ(runIn({"stats", "reset", "now"}).status, 64);
}

}  // namespace
}  // namespace q30x
