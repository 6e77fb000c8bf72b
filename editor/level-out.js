// Levels going out: the file download, the share dialog's links, and Play in the game.
import { levelBytes, levelUrl } from '../level-code.js';
import { markFromEditor } from '../from-editor.js';

const $ = (id) => document.getElementById(id);

// Downloads the text as the file the game reads, byte for byte.
export function saveLevel(text, fileName) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([levelBytes(text)], { type: 'text/plain' }));
  link.download = fileName;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// The Share and Play buttons, for the text current() gives; playable() says whether Play may go.
// The signal ends their listeners.
export function attachLevelOut(current, playable, signal) {
  const on = (id, listener) => $(id).addEventListener('click', listener, { signal });
  on('share', async () => {
    $('share-link').value = await levelUrl('index.html', current());
    $('share-edit-link').value = await levelUrl('editor.html', current());
    $('share-note').textContent = 'The whole level is in the link: nothing is uploaded.';
    $('share-dialog').showModal();
    $('share-link').select();
  });
  on('share-copy', async () => {
    const field = $('share-link');
    field.select();
    let copied = false;
    try {
      await navigator.clipboard.writeText(field.value);
      copied = true;
    } catch {
      try {
        copied = document.execCommand('copy');
      } catch {
        copied = false;
      }
    }
    $('share-note').textContent = copied ? 'Copied to the clipboard.' : 'The browser would not copy it: the link is selected, press Ctrl+C.';
  });
  // Told that the editor sent it, the game's page goes straight to the level, which waits there
  // for the player's first key, click or tap.
  on('play', async () => {
    if (!playable()) return;
    const url = await levelUrl('index.html', current());
    markFromEditor();
    location.href = url;
  });
}
