#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/session.h"
#include "pages/stats.h"
#include "platform/utf16.h"

namespace q30x::cli {
namespace {

// The statistics page's values, top to bottom, then the level it shows.
struct StatsLine {
    const char* label;
    const char* key;  // in the JSON object
    uint32_t value;
};

void printStats(std::ostream& out, const Statistics& stats) {
    const StatsBlock& b = stats.block();
    const StatsLine lines[] = {
        {"left clicks", "leftClicks", b.leftClicks},         {"middle clicks", "middleClicks", b.middleClicks},
        {"right clicks", "rightClicks", b.rightClicks},      {"clicks", "clicks", clicksTotal(b)},
        {"wheel forward", "wheelForward", b.wheelForward},   {"wheel backward", "wheelBackward", b.wheelBackward},
        {"scrolls", "scrolls", scrollsTotal(b)},
    };
    for (const StatsLine& line : lines) {
        const std::string label = line.label;
        out << label << std::string(16 - label.size(), ' ') << line.value << "\n";
    }
    out << "distance        " << toUtf8(distanceText(b.distance)) << " (" << b.distance << " pixels)\n"
        << "trophy level    " << stats.level() << " of " << kTrophyLevelCount - 1 << "\n";
}

void printStatsJson(std::ostream& out, const Statistics& stats) {
    const StatsBlock& b = stats.block();
    JsonWriter json(out);
    json.beginObject();
    json.key("leftClicks").value(b.leftClicks);
    json.key("middleClicks").value(b.middleClicks);
    json.key("rightClicks").value(b.rightClicks);
    json.key("clicks").value(clicksTotal(b));
    json.key("wheelForward").value(b.wheelForward);
    json.key("wheelBackward").value(b.wheelBackward);
    json.key("scrolls").value(scrollsTotal(b));
    json.key("distance").value(b.distance);
    json.key("distanceShown").value(toUtf8(distanceText(b.distance)));
    json.key("trophyLevel").value(stats.level());
    json.endObject();
}

int runStats(Invocation& call) {
    const bool reset = call.args.size() == 1 && call.args[0] == "reset";
    if (call.args.size() > 1 || (call.args.size() == 1 && !reset)) {
        call.err << "usage: q30xctl stats [reset] [--json]\n";
        return kExitUsage;
    }
    Session session(call);
    if (!session.startUp()) return kExitUsage;
    Statistics stats;
    if (reset) {
        // The page's reset button, once its question is answered with OK.
        stats.reset();
        if (!saveStatsFile(session.folders, session.messages, session.strings, stats.block(),
                           session.language.chineseUi)) return kExitFailure;
    } else {
        stats.setBlock(loadStatsFile(session.folders, session.messages));
    }
    stats.updateLevel();
    if (reset && !call.has("json")) call.out << "every counter and the trophy level reset to 0\n";
    if (call.has("json")) printStatsJson(call.out, stats);
    else printStats(call.out, stats);
    return kExitOk;
}

}  // namespace

const Command kStatsCommand = {
    "stats", "[reset] [--json]", "print the usage counters and the trophy level, or reset them",
    "Prints what the statistics page shows from Sts.cfg of the working folder:\n"
    "the clicks of the left, middle and right button and their total, the wheel\n"
    "notches each way and their total, the pointer's travel (in ten thousands of\n"
    "pixels, as the page shows it, and in pixels) and the trophy level 0..12, the\n"
    "better of the levels the clicks and the scrolls earn.\n"
    "reset sets every counter and the level to 0 and saves the file, as the\n"
    "page's reset button does once confirmed. A running q30x keeps its own\n"
    "counts and writes them back when it ends.\n"
    "With --json: {\"leftClicks\": 12, \"middleClicks\": 0, \"rightClicks\": 3,\n"
    "\"clicks\": 15, \"wheelForward\": 7, \"wheelBackward\": 2, \"scrolls\": 9,\n"
    "\"distance\": 123456, \"distanceShown\": \"12.35\", \"trophyLevel\": 0}.\n"
    "A missing Sts.cfg is reported as the program reports it and counts as zeros.",
    runStats};

}  // namespace q30x::cli
