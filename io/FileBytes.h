#pragma once
// Reads a data file (a picture, a sound) whole into memory, for the decoders that check it.
#include <vector>

// Replaces `bytes` with the contents of the file at path, reusing its buffer. False, with `bytes`
// empty, when the file cannot be opened or read (a directory cannot be read) or memory runs out.
bool readWholeFile(const char* path, std::vector<unsigned char>& bytes);
