// The mark the editor's Play leaves in the tab's sessionStorage: the game's page then skips the
// title screens and holds the level until the player's first act. The page takes the mark away
// again, so a reload or the same link opened later shows the title screen.
const FROM_EDITOR = 'zarvolith.fromEditor';

export function markFromEditor() {
  sessionStorage.setItem(FROM_EDITOR, '1');
}

// Whether the editor sent this page; the mark is gone afterwards.
export function takeFromEditorMark() {
  const marked = sessionStorage.getItem(FROM_EDITOR) !== null;
  sessionStorage.removeItem(FROM_EDITOR);
  return marked;
}
