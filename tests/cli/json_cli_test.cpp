// --json of list, info and macro list: it parses, and it carries what the text says.
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "tests/cli/cli_fixture.h"
#include "tests/cli/parse_json.h"

namespace q30x {
namespace {

using test::CliResult;
using test::runCli;

QJsonObject parsed(const CliResult& r) {
    QJsonParseError error;
    const QJsonDocument document = test::parseJson(r.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out;
    return document.object();
}

std::string text(const QJsonValue& value) { return value.toString().toStdString(); }

TEST(VirtualMouseJson, ListCarriesEveryInterfaceAndItsVerdict) {
    test::VirtualEnvironment decoy(nullptr, nullptr, "1");
    const CliResult plain = runCli({"--virtual-mouse", "list"});
    const CliResult json = runCli({"--virtual-mouse", "list", "--json"});
    EXPECT_EQ(json.status, plain.status);
    const QJsonObject o = parsed(json);
    EXPECT_EQ(text(o["opened"]), "virtual/vendor");
    const QJsonArray interfaces = o["interfaces"].toArray();
    ASSERT_EQ(interfaces.size(), 4);
    const char* verdicts[] = {"no-feature-values", "no-feature-values", "no-feature-values", "opened"};
    for (qsizetype i = 0; i < interfaces.size(); ++i) {
        const QJsonObject entry = interfaces[i].toObject();
        EXPECT_EQ(text(entry["verdict"]), verdicts[i]);
        const std::string head = text(entry["path"]) + "  " + text(entry["vendorId"]).substr(2) + ":" +
                                 text(entry["productId"]).substr(2) + "  collection " + text(entry["usagePage"]) + ":" +
                                 text(entry["usage"]) + "\n";
        EXPECT_NE(plain.out.find(head), std::string::npos) << head;
        EXPECT_NE(plain.out.find("  " + text(entry["verdictText"]) + "\n"), std::string::npos);
    }
    const QJsonObject value = interfaces[3].toObject()["featureValues"].toArray()[0].toObject();
    EXPECT_EQ(text(value["usagePage"]), "0xFF01");
    EXPECT_EQ(text(value["usage"]), "0x0022");
    EXPECT_EQ(value["reportId"].toInt(), 6);
    EXPECT_EQ(value["reportCount"].toInt(), 8);
    EXPECT_EQ(value["bitSize"].toInt(), 8);

    test::VirtualEnvironment noMouse("open");
    const CliResult none = runCli({"--virtual-mouse", "list", "--json"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(parsed(none)["opened"].isNull());
}

TEST(VirtualMouseJson, InfoCarriesTheVersionAsTheTextShowsIt) {
    struct Case {
        const char* firmware;
        const char* fail;
        int version;  // -1: none
        const char* shown;
    };
    const Case cases[] = {{"12", nullptr, 12, "V 0.1.2"}, {"7", nullptr, 7, "V 0.0.7"}, {"0", nullptr, -1, "Unknown"},
                          {nullptr, "80", -1, "Unknown"}};
    for (const Case& c : cases) {
        test::VirtualEnvironment env(c.fail, c.firmware);
        const CliResult plain = runCli({"--virtual-mouse", "--no-delays", "info"});
        const CliResult json = runCli({"--virtual-mouse", "--no-delays", "info", "--json"});
        EXPECT_EQ(json.status, 0);
        const QJsonObject o = parsed(json);
        EXPECT_EQ(plain.out, "mouse: " + text(o["path"]) + " (report id " + std::to_string(o["reportId"].toInt()) +
                                 ", report length " + std::to_string(o["reportLength"].toInt()) +
                                 ")\nfirmware version: " + text(o["firmwareVersionShown"]) + "\n");
        EXPECT_EQ(text(o["firmwareVersionShown"]), c.shown);
        if (c.version < 0) EXPECT_TRUE(o["firmwareVersion"].isNull()) << c.shown;
        else EXPECT_EQ(o["firmwareVersion"].toInt(), c.version);
        EXPECT_EQ(json.err, plain.err);
    }
}

TEST(VirtualMouseJson, OnlyTheCommandsThatShowItTakeJson) {
    test::VirtualEnvironment env(nullptr);
    for (const char* command : {"apply", "init", "watch", "update"}) {
        const CliResult r = runCli({"--virtual-mouse", command, "--json"});
        EXPECT_EQ(r.status, 64) << command;
        EXPECT_EQ(r.err, std::string("q30xctl: ") + command + " takes no --json (see q30xctl " + command + " --help)\n");
    }
}

class MacroListJson : public test::CliTest {};

TEST_F(MacroListJson, CarriesEveryRowOfTheTable) {
    runIn({"init"});
    test::MacroFileImage()
        .put(0, 0x15012345, u"Jump", std::vector<MacroEvent>(6, 0xC0000041), 1)
        .put(4, 0x03000001, u"Sp\"ray\u001b", std::vector<MacroEvent>(3, 0xC0000041), 65534)
        .put(7, 0x11ABCDEF, u"连招", std::vector<MacroEvent>(2, 0xC0000041), 9)
        .write(work() + "/Macro.cfg");

    const CliResult plain = runIn({"macro", "list"});
    const QJsonArray macros = parsed(runIn({"macro", "list", "--json"}))["macros"].toArray();
    ASSERT_EQ(macros.size(), 3);
    const char* names[] = {"Jump", "Sp\"ray\x1b", "\xe8\xbf\x9e\xe6\x8b\x9b"};
    for (qsizetype i = 0; i < macros.size(); ++i) {
        const QJsonObject m = macros[i].toObject();
        EXPECT_EQ(text(m["name"]), names[i]);
        // The text row holds the same values in its columns.
        const std::string id = text(m["id"]);
        const std::size_t at = plain.out.find(id + "  " + std::to_string(m["group"].toInt()) + " " + text(m["groupName"]));
        ASSERT_NE(at, std::string::npos) << id;
        const std::string row = plain.out.substr(at, plain.out.find('\n', at) - at);
        EXPECT_NE(row.find(" " + std::to_string(m["events"].toInt()) + " "), std::string::npos) << row;
        EXPECT_NE(row.find(" " + std::to_string(m["loops"].toInteger()) + "  \""), std::string::npos) << row;
    }
    const QJsonArray group = parsed(runIn({"macro", "list", "20", "--json"}))["macros"].toArray();
    EXPECT_TRUE(group.isEmpty());
}

}  // namespace
}  // namespace q30x
