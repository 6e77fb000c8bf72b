#pragma once
// The level file's tile characters and the objects each one puts on its cell.
#include <vector>

#include "level/Grid.h"

class LevelObject;

// The cell the glider starts from (the last one counts).
constexpr char kStartTile = 'g';

// Centre of the cell in column c and row r (row 0 at the top), world units.
float cellCentreX(int column);
float cellCentreY(int row);

// Appends the objects of every recognised cell, in reading order, and sets the start point from
// the last "g" cell (leaving it alone when there is none).
void buildLevelObjects(const LevelRows& rows, std::vector<LevelObject*>& objects,
                       float& startX, float& startY);

// The strength of the fire the character makes, or 0 when it makes none.
float heatStrength(char c);

// True if the character makes objects or the start point.
bool isTileCharacter(char c);
