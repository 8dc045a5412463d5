// The stream writer must lay out any document exactly as nlohmann's dump(1)
// does, so each document here is written through it, value by value, and
// compared with nlohmann's own text of the same tree.
#include "JsonStream.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <sstream>

using nlohmann::json;

namespace {

void WriteTree(TJsonStream& out, const json& value)
{
    switch (value.type()) {
    case json::value_t::object:
        out.BeginObject();
        for (const auto& [key, member] : value.items()) {
            out.Key(key);
            WriteTree(out, member);
        }
        out.EndObject();
        break;
    case json::value_t::array:
        out.BeginArray();
        for (const json& element : value) WriteTree(out, element);
        out.EndArray();
        break;
    case json::value_t::string: out.Value(value.get_ref<const std::string&>()); break;
    case json::value_t::boolean: out.Value(value.get<bool>()); break;
    case json::value_t::number_integer: out.Value(value.get<int64_t>()); break;
    case json::value_t::number_unsigned: out.Value(value.get<uint64_t>()); break;
    case json::value_t::number_float: out.Value(value.get<double>()); break;
    default: out.Value(nullptr); break;
    }
}

std::string Streamed(const json& document)
{
    std::ostringstream text;
    {
        TJsonStream out(text);
        WriteTree(out, document);
    }
    return text.str();
}

std::string Dumped(const json& document) { return document.dump(1, ' ', false, json::error_handler_t::replace); }

} // namespace

TEST(JsonStream, LaysOutContainersAsDumpDoes)
{
    for (const char* document : {
             "{}", "[]", "[[]]", "[{}]", "{\"a\":{}}", "{\"a\":[]}", "[[], {}, [[]], [{}]]",
             "{\"b\":1,\"a\":[1,[2,[3,[]]],{\"c\":{\"d\":[]}}]}", "[[1,2],[3,4]]",
             "{\"x\":[{\"y\":[{\"z\":[1]}]}],\"w\":null}",
         }) {
        SCOPED_TRACE(document);
        const json tree = json::parse(document);
        EXPECT_EQ(Streamed(tree), Dumped(tree));
    }
}

TEST(JsonStream, WritesScalarsAsDumpDoes)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const json& value : {
             json(nullptr), json(true), json(false), json(0), json(-1),
             json(std::numeric_limits<int64_t>::min()), json(std::numeric_limits<uint64_t>::max()), json(0.0),
             json(-0.0), json(0.1), json(1e-40), json(3.4e38), json(1e21), json(123456789012345678.0),
             json(0.0001), json(0.00001), json(46187.3125), json(inf), json(-inf), json(std::nan("")),
         }) {
        SCOPED_TRACE(value.dump());
        EXPECT_EQ(Streamed(value), Dumped(value));
        EXPECT_EQ(Streamed(json::array({value})), Dumped(json::array({value})));
    }
}

TEST(JsonStream, EscapesTextsAndKeysAsDumpDoes)
{
    const std::string texts[] = {
        "", "plain", "a\"b", "back\\slash", "tab\there", "line\nbreak\r\n", std::string("nul\0byte", 8),
        "\x01\x1f\x7f", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x9a\xa3", "/slash", "{\"json\": [1]}",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Streamed(text), Dumped(text));
        const json object = {{text, text}};
        EXPECT_EQ(Streamed(object), Dumped(object));
    }
}

TEST(JsonStream, ReplacesWhatIsNotUtf8)
{
    EXPECT_EQ(Streamed("\xe9\xff.stg"), "\"\xef\xbf\xbd\xef\xbf\xbd.stg\"");
    EXPECT_EQ(Streamed("caf\xe9"), "\"caf\xef\xbf\xbd\"");
    // A sequence cut short, at the end and before another character.
    for (const std::string text : {"\xe2\x82", "\xe2\x82x", "\xc3", "\x80", "\xed\xa0\x80", "\xc0\xaf"}) {
        SCOPED_TRACE(text);
        const std::string streamed = Streamed(text);
        EXPECT_NO_THROW(json::parse(streamed));
        EXPECT_EQ(streamed, Dumped(text));
    }
}

TEST(JsonStream, HandsTheTextOnBeforeTheDocumentEnds)
{
    std::ostringstream text;
    json whole = json::array();
    TJsonStream out(text);
    out.BeginArray();
    for (int i = 0; i < 100000; ++i) {
        out.Value(i * 0.5);
        whole.push_back(i * 0.5);
    }
    EXPECT_GT(text.str().size(), 0u) << "nothing was written before the end";
    EXPECT_LT(text.str().size(), Dumped(whole).size());
    out.EndArray();
    out.Flush();
    EXPECT_EQ(text.str(), Dumped(whole));
}
