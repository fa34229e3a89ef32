#include "cli/json_writer.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sstream>

#include "tests/cli/parse_json.h"

namespace q30x {
namespace {

using cli::JsonWriter;

std::string written(void (*write)(JsonWriter&)) {
    std::ostringstream out;
    {
        JsonWriter json(out);
        write(json);
    }
    return out.str();
}

TEST(JsonWriter, NestedValuesReadBackWithAnotherParser) {
    std::string text = written([](JsonWriter& json) {
        json.beginObject();
        json.key("profile").value(3);
        json.key("dpi").beginArray().value(800).value(1600).endArray();
        json.key("empty").beginArray().endArray();
        json.key("none").beginObject().endObject();
        json.key("on").value(true);
        json.key("ratio").value(0.25);
        json.key("missing").null();
        json.endObject();
    });
    QJsonParseError error;
    QJsonObject object = test::parseJson(text, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << text;
    EXPECT_EQ(object["profile"].toInt(), 3);
    EXPECT_EQ(object["dpi"].toArray(), (QJsonArray{800, 1600}));
    EXPECT_TRUE(object["empty"].toArray().isEmpty());
    EXPECT_TRUE(object["none"].toObject().isEmpty());
    EXPECT_TRUE(object["on"].toBool());
    EXPECT_DOUBLE_EQ(object["ratio"].toDouble(), 0.25);
    EXPECT_TRUE(object["missing"].isNull());
    EXPECT_EQ(text.back(), '\n');
}

TEST(JsonWriter, StringsAreEscapedAndDamagedUtf8IsReplaced) {
    struct Case {
        std::string raw;
        QString expected;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"quote \" and \\ back", "quote \" and \\ back"},
        {"line\nfeed\ttab\x1b[31m", "line\nfeed\ttab\x1b[31m"},
        {"\xE4\xB8\xAD\xE6\x96\x87", QString::fromUtf8("\xE4\xB8\xAD\xE6\x96\x87")},
        {"\xF0\x9F\x96\xB1", QString::fromUtf8("\xF0\x9F\x96\xB1")},
        {"bad \xFF byte", QString::fromUtf8("bad \xEF\xBF\xBD byte")},
        {"cut \xE4\xB8", QString::fromUtf8("cut \xEF\xBF\xBD\xEF\xBF\xBD")},
        {"overlong \xC0\xAF", QString::fromUtf8("overlong \xEF\xBF\xBD\xEF\xBF\xBD")},
        {"surrogate \xED\xA0\x80", QString::fromUtf8("surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")},
        {std::string("nul\0inside", 10), QString("nul") + QChar(0) + "inside"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        {
            JsonWriter json(out);
            json.beginArray().value(c.raw).endArray();
        }
        QJsonParseError error;
        QJsonArray array = test::parseJson(out.str(), &error).array();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << out.str();
        EXPECT_EQ(array.at(0).toString(), c.expected) << out.str();
    }
}

TEST(JsonWriter, NonFiniteNumbersBecomeNull) {
    std::string text = written([](JsonWriter& json) { json.beginArray().value(1.0 / 0.0).endArray(); });
    EXPECT_TRUE(test::parseJson(text).array().at(0).isNull()) << text;
}

}  // namespace
}  // namespace q30x
