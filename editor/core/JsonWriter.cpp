#include "editor/core/JsonWriter.h"

#include <cstdio>

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) text_ += ',';
    first_.back() = false;
  }
}

JsonWriter& JsonWriter::open(char bracket) {
  separate();
  text_ += bracket;
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
  text_ += bracket;
  first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::beginObject() { return open('{'); }
JsonWriter& JsonWriter::endObject() { return close('}'); }
JsonWriter& JsonWriter::beginArray() { return open('['); }
JsonWriter& JsonWriter::endArray() { return close(']'); }

JsonWriter& JsonWriter::key(const std::string& name) {
  string(name);
  text_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::string(const std::string& value) {
  separate();
  text_ += '"';
  for (char c : value) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += c;
    } else if (c == '\n') {
      text_ += "\\n";  // a level's line ends, kept short
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      text_ += escaped;
    } else {
      text_ += c;
    }
  }
  text_ += '"';
  return *this;
}

JsonWriter& JsonWriter::number(double value) {
  separate();
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.9g", value);
  text_ += digits;
  return *this;
}

JsonWriter& JsonWriter::integer(long long value) {
  separate();
  text_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
  separate();
  text_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::null() {
  separate();
  text_ += "null";
  return *this;
}

JsonWriter& JsonWriter::membersOf(const std::string& objectJson) {
  if (objectJson.size() <= 2) return *this;  // "{}" has none
  separate();
  text_.append(objectJson, 1, objectJson.size() - 2);
  return *this;
}
