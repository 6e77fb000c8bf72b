#pragma once
// The facts the browser pages share with the game, as an ES module written at build time from
// the C++ that defines them: the game's states, the grid, the backdrop's size, the solver's
// limits, its frame rate and trials, the route colours and the glider's outline.
#include <string>

// The text of the module: one `export const NAME = <JSON>;` a fact.
std::string siteFactsModule();
