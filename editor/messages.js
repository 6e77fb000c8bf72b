// The page's message line: a passing note, or an error that stays until it is dismissed.
const box = document.getElementById('message');
let timer = 0;

export function message(text, { error = false, lasting = error } = {}) {
  clearTimeout(timer);
  document.getElementById('message-text').textContent = text;
  box.className = error ? 'error' : 'info';
  box.hidden = false;
  if (!lasting) timer = setTimeout(() => (box.hidden = true), 6000);
}

// The close button, until the signal ends it and any timer left.
export function startMessages(signal) {
  document.getElementById('message-close').addEventListener('click', () => (box.hidden = true), { signal });
  signal.addEventListener('abort', () => clearTimeout(timer));
}

// "Level 3" from "level 3", for messages that open with a source's name.
export const capital = (text) => text[0].toUpperCase() + text.slice(1);
