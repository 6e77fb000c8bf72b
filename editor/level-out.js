// Levels going out: the file downloads, the share dialog's links, and Play in the game.
import { levelBytes, levelUrl, PACK } from '../level-code.js';
import { markFromEditor } from '../from-editor.js';

const $ = (id) => document.getElementById(id);

// Downloads the text (one byte a character) as the file the game reads, byte for byte.
export function saveFile(text, fileName) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([levelBytes(text)], { type: 'text/plain' }));
  link.download = fileName;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// The Share and Play buttons. level() gives the level shown; pack() the pack: {file: the pack
// file's {text, errors}, texts: the levels Play plays (from the one shown to the end) or error:
// why it cannot, name, count}. The signal ends their listeners.
export function attachLevelOut(level, pack, signal) {
  const on = (id, listener) => $(id).addEventListener('click', listener, { signal });
  on('share', async () => {
    $('share-link').value = await levelUrl('index.html', level());
    $('share-edit-link').value = await levelUrl('editor.html', level());
    const { file, count } = pack();
    $('share-pack').hidden = count < 2;
    if (count > 1) {
      $('share-pack-count').textContent = `${count} levels`;
      $('share-pack-link').value = await levelUrl('index.html', file.text, PACK);
      $('share-pack-edit-link').value = await levelUrl('editor.html', file.text, PACK);
    }
    $('share-note').textContent = 'The whole level is in the link: nothing is uploaded.' +
      (count > 1 && file.errors ? ' Some levels of the pack have errors: the game refuses it until they are mended.' : '');
    $('share-dialog').showModal();
    $('share-link').select();
  });
  on('share-copy', () => copyField($('share-link')));
  on('share-pack-copy', () => copyField($('share-pack-link')));
  // Told that the editor sent it, the game's page goes straight to the level, which waits there
  // for the player's first key, click or tap.
  on('play', async () => {
    const { texts, name, error, packText } = pack();
    if (error) return;
    const url = texts.length === 1 ? await levelUrl('index.html', texts[0]) : await levelUrl('index.html', packText(name, texts), PACK);
    markFromEditor();
    location.href = url;
  });
}

async function copyField(field) {
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
}
