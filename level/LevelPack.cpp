#include "level/LevelPack.h"

#include <algorithm>
#include <cstring>

#include "level/Grid.h"

namespace {

void add(LevelCheck& check, int line, int column, const std::string& message) {
  check.issues.push_back({false, line, column, message});
}

// The byte length of the UTF-8 sequence starting at text[at], or 0 when none starts there.
std::size_t utf8Length(const std::string& text, std::size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  // Overlong forms and code points past U+10FFFF or among the surrogates are not text.
  if (length == 2 && lead < 0xC2) return 0;
  const unsigned char second = length > 1 ? static_cast<unsigned char>(text[at + 1]) : 0;
  if (length == 3 && ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0))) return 0;
  if (length == 4 && ((lead == 0xF0 && second < 0x90) || lead > 0xF4 || (lead == 0xF4 && second >= 0x90))) return 0;
  return length;
}

// Splits the text after the heading into lines, each with its line feed; a last line without
// one is kept as it is.
std::vector<std::string> linesOf(const std::string& text, std::size_t from) {
  std::vector<std::string> lines;
  while (from < text.size()) {
    const std::size_t end = text.find('\n', from);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(from, next - from));
    from = next;
  }
  return lines;
}

// Checks the heading line and takes the name from it; false when the text is no pack at all.
bool readHeading(const std::string& heading, PackReading& reading) {
  if (heading.compare(0, std::strlen(kPackHeading), kPackHeading) != 0) {
    add(reading.check, 1, 1, std::string("not a level pack: the first line must begin \"") + kPackHeading + "\"");
    return false;
  }
  std::string name = heading.substr(std::strlen(kPackHeading));
  if (!name.empty() && name.back() == '\r') name.pop_back();
  if (!name.empty() && name.front() == ' ') name.erase(0, 1);
  const std::string problem = packNameProblem(name);
  if (!problem.empty()) add(reading.check, 1, static_cast<int>(std::strlen(kPackHeading)) + 2, problem);
  reading.pack.name = name;
  return true;
}

// Checks one level's lines with the level checker, its places moved to the pack's lines.
void checkLevel(const std::string& level, int number, int firstLine, LevelCheck& check) {
  for (LevelIssue issue : checkLevelText(level).issues) {
    if (issue.line > 0) issue.line += firstLine - 1;
    issue.message = "level " + std::to_string(number) + ": " + issue.message;
    check.issues.push_back(issue);
  }
}

}  // namespace

std::string packNameProblem(const std::string& name) {
  int characters = 0;
  for (std::size_t at = 0; at < name.size(); ++characters) {
    const std::size_t length = utf8Length(name, at);
    if (length == 0) return "the pack's name is not UTF-8 text";
    const unsigned char c = static_cast<unsigned char>(name[at]);
    if (c < 0x20 || c == 0x7f) return "the pack's name holds a control character";
    at += length;
  }
  if (characters > kMaxPackNameCharacters)
    return "the pack's name has " + std::to_string(characters) + " characters; at most " +
           std::to_string(kMaxPackNameCharacters) + " are kept";
  return "";
}

PackReading readLevelPack(const std::string& text) {
  PackReading reading;
  if (text.size() > kMaxPackBytes) {
    add(reading.check, 0, 0, "the file has " + std::to_string(text.size()) + " bytes, more than any pack of " +
                                 std::to_string(kMaxPackLevels) + " levels");
    return reading;
  }
  const std::size_t headingEnd = text.find('\n');
  if (!readHeading(text.substr(0, headingEnd), reading) || headingEnd == std::string::npos) {
    if (reading.check.issues.empty()) add(reading.check, 2, 1, "the pack has no levels");
    return reading;
  }
  const std::vector<std::string> lines = linesOf(text, headingEnd + 1);
  const int levelCount = static_cast<int>((lines.size() + kGridRows - 1) / kGridRows);
  if (levelCount == 0) add(reading.check, 2, 1, "the pack has no levels");
  if (levelCount > kMaxPackLevels) {
    add(reading.check, 2 + kMaxPackLevels * kGridRows, 1,
        "the pack has " + std::to_string(levelCount) + " levels; a pack holds at most " + std::to_string(kMaxPackLevels));
    return reading;
  }
  for (int level = 0; level < levelCount; ++level) {
    const int first = level * kGridRows;
    const int count = std::min<int>(kGridRows, static_cast<int>(lines.size()) - first);
    std::string levelText;
    for (int i = first; i < first + count; ++i) levelText += lines[static_cast<std::size_t>(i)];
    const int firstLine = 2 + first;
    if (count < kGridRows) {
      add(reading.check, firstLine + count, 1,
          "level " + std::to_string(level + 1) + " is cut short: it has " + std::to_string(count) + " of its " +
              std::to_string(kGridRows) + " lines");
    } else {
      checkLevel(levelText, level + 1, firstLine, reading.check);
    }
    reading.pack.levels.push_back(levelText);
  }
  return reading;
}

std::string writeLevelPack(const LevelPack& pack) {
  std::string text = std::string(kPackHeading) + " " + pack.name + "\n";
  for (const std::string& level : pack.levels) text += level;
  return text;
}
