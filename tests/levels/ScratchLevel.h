#pragma once
// Made-up levels for tests, written to the build directory.
#include <string>
#include <vector>

// Fifteen rows of a closed, empty level: walls all round, no start and no exit yet.
std::vector<std::string> sealedRows();
// Writes the rows as the level file `name` in the build directory and returns its path.
std::string writeScratchLevel(const std::string& name, const std::vector<std::string>& rows);

// The glider starts above the left of a floor of hazards with a three-cell exit in it: one long
// hold of Right that ends at just the right moment ("R114") lands in the exit. Returns its path.
std::string writeLandingLevel();
