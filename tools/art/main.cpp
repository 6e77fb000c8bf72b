// zarvolith_art: draws the game's pictures from the level files.
//   zarvolith_art --levels <dir> --out <images dir> --icons <icons dir>
//   zarvolith_art --backdrop <level file> <png file>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/art/ArtBuild.h"

namespace {

int usage() {
  std::fputs(
      "usage: zarvolith_art --levels <dir> --out <images dir> --icons <icons dir>\n"
      "       zarvolith_art --backdrop <level file> <png file>\n",
      stderr);
  return 2;
}

int report(const std::string& error) {
  if (error.empty()) return 0;
  std::fprintf(stderr, "zarvolith_art: %s\n", error.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--backdrop") == 0)
    return report(art::writeBackdrop(argv[2], argv[3]));
  std::string levels, out, icons;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--levels") levels = argv[i + 1];
    else if (option == "--out") out = argv[i + 1];
    else if (option == "--icons") icons = argv[i + 1];
    else return usage();
  }
  if (argc % 2 == 0 || levels.empty() || out.empty() || icons.empty()) return usage();
  return report(art::writeAllArt(levels, out, icons));
}
