#pragma once
// Start-up of the game's window: everything main() does before handing control to the toolkit's
// main loop, so benchmarks and tests can start the game through the same code.

// Opens the window, builds the sprites, registers the callbacks and initialises the game.
void startGame(int* argc, char** argv);

// The window's close: frees the frame clock, the sprite set and the current level, once.
void closeGame();
