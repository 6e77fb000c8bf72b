// The game's states, as the game numbers them (game/GameState.h): the page's one copy.
export const STATE = { title: 0, instructions: 1, playing: 2, levelExit: 3, escaped: 4, lost: 5 };
