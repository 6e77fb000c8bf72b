// What the editor keeps in the browser between visits, so that playing the level and coming back,
// or a reload, loses nothing: the draft itself, its undo history, the route shown for it, the
// chosen tile and the Faces setting.

// The draft's text, as the game reads it; kept alone so that a damaged session never costs it.
export const DRAFT_KEY = 'zarvolith.editor.draft';
// Everything else, as one JSON object.
export const SESSION_KEY = 'zarvolith.editor.session';
// Undo steps kept across visits (the page keeps more while it is open).
export const KEPT_STEPS = 100;

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
