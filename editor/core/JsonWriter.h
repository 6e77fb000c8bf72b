#pragma once
// Writes JSON text front to back: objects, arrays, keys and values, with the commas and string
// escapes put in for the caller. Every answer of the editor's core is written with it.
#include <string>
#include <vector>

class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  // The next value's name; only inside an object.
  JsonWriter& key(const std::string& name);

  JsonWriter& string(const std::string& value);
  JsonWriter& number(double value);   // up to 9 significant digits
  JsonWriter& integer(long long value);
  JsonWriter& boolean(bool value);
  JsonWriter& null();
  // The members of an object another JsonWriter wrote, as members of the object open here.
  JsonWriter& membersOf(const std::string& objectJson);

  // The text written so far; whole once every object and array is ended.
  const std::string& text() const { return text_; }

 private:
  void separate();  // the comma before a value or key that is not its container's first
  JsonWriter& open(char bracket);   // starts an object or array
  JsonWriter& close(char bracket);  // ends the innermost one

  std::string text_;
  std::vector<bool> first_;  // per open container: nothing written in it yet
  bool afterKey_ = false;
};
