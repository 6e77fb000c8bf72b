// What the editor keeps in the browser between visits, so that playing the level and coming back,
// or a reload, loses nothing: the draft itself, each level's undo history, the level shown, the
// routes shown, the chosen tile and the Faces setting.

// The draft as a pack file, as the game reads it (a level's text in drafts kept before packs);
// kept alone so that a damaged session never costs it.
export const DRAFT_KEY = 'zarvolith.editor.draft';
// Everything else, as one JSON object.
export const SESSION_KEY = 'zarvolith.editor.session';
// Undo steps kept across visits for the level shown and for each other level (the page keeps more
// while it is open).
export const KEPT_STEPS = 100;
export const KEPT_STEPS_HIDDEN = 20;

export function loadDraft() {
  return localStorage.getItem(DRAFT_KEY);
}

// Keeps the draft; throws when the browser refuses (storage full or turned off).
export function keepDraft(text) {
  localStorage.setItem(DRAFT_KEY, text);
}

// The kept session, or an empty one where none was kept or it cannot be read.
export function loadSession() {
  try {
    const session = JSON.parse(localStorage.getItem(SESSION_KEY));
    if (session && typeof session === 'object') return session;
  } catch {
    // a damaged session is dropped: the draft is kept apart and still loads
  }
  return {};
}

// Merges the changes into the kept session; false when the browser refuses.
export function keepSession(changes) {
  try {
    localStorage.setItem(SESSION_KEY, JSON.stringify({ ...loadSession(), ...changes }));
    return true;
  } catch {
    return false;
  }
}
