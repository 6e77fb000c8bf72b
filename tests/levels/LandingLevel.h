#pragma once
// A small made-up level for the tests of the kind-route search, written to the build directory.
#include <string>

// The glider starts above the left of a floor of hazards with a three-cell exit in it: one long
// hold of Right that ends at just the right moment ("R114") lands in the exit. Returns its path.
std::string writeLandingLevel();
