#pragma once
// Decodes the pictures that start-up will load on a worker thread while the window is being
// created, so the decoding overlaps the wait for the display server. The pictures are the same
// files with the same pixels; only the moment they are read changes. Texture loading takes a
// prefetched picture instead of decoding it again, and start-up discards whatever was not used.
#include <functional>
#include <string>
#include <vector>

#include "render/PngImage.h"

// A file decoded and resampled to texture size.
struct PrefetchedPicture {
  bool decoded = false;  // false: the file could not be decoded (its errors were printed)
  PngImage image;
};

// Starts decoding the files, in order, on a worker thread, after running `first` there when it is
// given (start-up hands it the sound libraries' loading, so that one thread rather than two
// competes with the window's creation for the second core and the dynamic loader). Call at most
// once before the worker is joined.
void prefetchPictures(std::vector<std::string> paths, std::function<void()> first = {});

// Moves the prefetched picture of path into `picture` and forgets it; false when the path was not
// prefetched or the texture size limit is below the one it was prefetched for. Waits for the
// worker on first use.
bool takePrefetchedPicture(const char* path, int maxTextureSide, PrefetchedPicture& picture);

// Joins the worker and frees every picture nobody took.
void discardPrefetchedPictures();
