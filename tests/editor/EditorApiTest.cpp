// The editor's C interface called natively, as the page calls it in the browser: each answer's
// JSON carries the fields the editor reads, by name.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <regex>
#include <string>

#include "editor/core/EditorApi.h"
#include "editor/core/JsonWriter.h"
#include "tests/support/LevelText.h"

namespace {

const std::string kLanding = levelText(landingRows());      // "R114" wins it
const std::string kNoStart = levelText(sealedRows());       // an error: no start, no exit
// kLanding with an unknown tile at its line 5, column 6.
const std::string kUnknownTile = [] {
  std::string text = kLanding;
  std::size_t at = 0;
  for (int line = 1; line < 5; ++line) at = text.find('\n', at) + 1;
  text[at + 5] = '~';
  return text;
}();

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct AnswerCase {
  const char* name;
  std::string (*answer)();
  const char* mustMatch;  // a regular expression the whole answer matches
};

const AnswerCase kAnswers[] = {
    {"check of a level with errors", [] { return std::string(zv_check(kNoStart.c_str())); },
     R"(\{"errors":true,"issues":\[\{"warning":false,"line":\d+,"column":\d+,"message":"[^"]+"\}.*\]\})"},
    {"solve of a level with errors", [] { return std::string(zv_solve(kNoStart.c_str(), 10, 4, 1000)); },
     R"(\{"error":"the level has errors","issues":\[\{"warning":.*"message":"no start cell 'g'".*\]\})"},
    {"solve of a winnable level", [] { return std::string(zv_solve(kLanding.c_str(), 20, 4, 100000)); },
     R"(\{"won":true,"script":"[LRN0-9 ]+","frames":\d+,.*"maxGameSeconds":20\})"},
    {"rates keyed by their error", [] { return std::string(zv_rates(kLanding.c_str(), "R114", 20)); },
     R"(\{"exact":true,"rates":\{"50":\{"wins":\d+,"trials":20\},"100":\{"wins":\d+,"trials":20\},)"
     R"("150":\{"wins":\d+,"trials":20\}\}\})"},
    {"rates of a script that cannot be read", [] { return std::string(zv_rates(kLanding.c_str(), "R1x", 20)); },
     R"(\{"error":"[^"]+"\})"},
    {"pack with a level's error at its own line",
     [] { return std::string(zv_read_pack(("Zarvolith level pack: Two <b>\n" + kLanding + kUnknownTile).c_str())); },
     R"(\{"errors":true,"name":"Two <b>","levels":\["[^"]*","[^"]*"\],"issues":\[)"
     R"(.*\{"warning":false,"line":21,"column":6,"message":"level 2: [^"]+"\}.*\]\})"},
    {"pack that is no pack", [] { return std::string(zv_read_pack(kLanding.c_str())); },
     R"(\{"errors":true,"name":"","levels":\[\],"issues":\[\{"warning":false,"line":1,"column":1,"message":"not a level pack.*"\}\]\})"},
    {"pack written from two levels reads back whole",
     [] { return std::string(zv_write_pack("Mine", (kLanding + kLanding).c_str())); },
     R"(\{"text":"Zarvolith level pack: Mine\\n[^"]*","errors":false,"issues":\[\]\})"},
    {"pack written with a control character in its name",
     [] { return std::string(zv_write_pack("A\tB", kLanding.c_str())); },
     R"(\{"text":"[^"]*","errors":true,"issues":\[\{"warning":false,"line":1,.*"message":"[^"]*control[^"]*"\}.*)"},
    {"generated level with its route", [] { return std::string(zv_generate(11, 0.9)); },
     R"(\{"found":true,"text":"[^"]+","route":"[LRN0-9 ]+","rate100":0\.[89]\d*,"rooms":\d+\})"},
    {"tiles", [] { return std::string(zv_tiles()); },
     R"(\{"tiles":\[\{"char":.*"kind":"start".*\],"empty":\[" ","\."\],"columns":20,"rows":15\})"},
};

void PrintTo(const AnswerCase& answerCase, std::ostream* out) { *out << answerCase.name; }

class EditorAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(EditorAnswer, HasItsFieldsByName) {
  const std::string answer = GetParam().answer();
  EXPECT_TRUE(std::regex_match(answer, std::regex(GetParam().mustMatch))) << answer;
}

INSTANTIATE_TEST_SUITE_P(Core, EditorAnswer, testing::ValuesIn(kAnswers),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(EditorRoute, HasOnePointMoreThanItHasFrames) {
  const std::string route = zv_route(kLanding.c_str(), "R114");
  std::smatch parts;
  ASSERT_TRUE(std::regex_match(route, parts, std::regex(R"re(\{"outcome":"won","points":\[([-0-9.e,]*)\],"keys":"([LRN]*)"\})re")))
      << route;
  const std::size_t frames = parts[2].length();
  EXPECT_GT(frames, 114u);
  EXPECT_EQ(count(parts[1], ",") + 1, static_cast<int>(2 * (frames + 1)));
}

TEST(EditorBackdrop, PixelsFillTheScreenAndThePngSaysSo) {
  const std::uint8_t* pixels = zv_backdrop_pixels(kLanding.c_str());
  ASSERT_NE(pixels, nullptr);
  int opaque = 0;
  for (std::size_t i = 3; i < 1024u * 768u * 4u; i += 4) opaque += pixels[i] == 255;
  EXPECT_EQ(opaque, 1024 * 768);

  std::size_t size = 0;
  const std::uint8_t* png = zv_backdrop_png(kLanding.c_str(), &size);
  ASSERT_NE(png, nullptr);
  ASSERT_GT(size, 33u);
  EXPECT_EQ(std::memcmp(png, "\x89PNG\r\n\x1a\n", 8), 0);
  const auto be32 = [&](int at) { return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
  EXPECT_EQ(be32(16), 1024);  // IHDR width
  EXPECT_EQ(be32(20), 768);   // and height
  EXPECT_EQ(png[25], 2);      // RGB
}

TEST(JsonWriterTest, SeparatesAndEscapes) {
  JsonWriter out;
  out.beginObject().key("a\"b").string("line\n\\\t").key("list").beginArray().integer(1).number(0.5).null();
  out.beginObject().endObject().endArray().membersOf("{\"x\":1,\"y\":true}").key("z").boolean(false);
  EXPECT_EQ(out.endObject().text(),
            R"({"a\"b":"line\n\\\u0009","list":[1,0.5,null,{}],"x":1,"y":true,"z":false})");
}

}  // namespace
