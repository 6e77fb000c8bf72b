// A level as a link: the level file's bytes compressed with raw DEFLATE and written in unpadded
// base64url, after "#level=" (index.html plays it, editor.html edits it). Python's zlib with
// wbits=-15 makes the same code (tools/level-link.py). A level pack's file (.zvpack) is coded the
// same way, after "#pack=". Also the gate every level passes on its way in, from a link, a file or
// a paste: at most MAX_LEVEL_BYTES of text, one byte a character.

import { PACK_LIMITS } from './game-facts.js';

export const MAX_LEVEL_BYTES = 4096;
// Larger than any pack the game's pack reader takes, which checks the rest.
export const MAX_PACK_BYTES = PACK_LIMITS.maxBytes;

// What a code holds: its name in messages, its hash key and its largest file.
export const LEVEL = { noun: 'level', key: 'level', maxBytes: MAX_LEVEL_BYTES };
export const PACK = { noun: 'level pack', key: 'pack', maxBytes: MAX_PACK_BYTES };

const BASE64URL = /^[A-Za-z0-9_-]*$/;

// The bytes as a level's (or a pack's) text, one character a byte; or why they cannot be one.
export function levelText(bytes, kind = LEVEL) {
  if (bytes.length > kind.maxBytes)
    return { error: `the ${kind.noun} is ${bytes.length} bytes; a ${kind.noun} file is at most ${kind.maxBytes}` };
  // A level is text: a NUL or a control character other than a line end or tab means binary data.
  // A pack's reader judges its own characters, and only a NUL would cut its text short.
  for (const b of bytes)
    if (b === 0 || (kind === LEVEL && ((b < 0x20 && b !== 0x0a && b !== 0x0d && b !== 0x09) || b === 0x7f)))
      return { error: 'this is not a text file (it holds binary bytes)' };
  let text = '';
  for (const b of bytes) text += String.fromCharCode(b);
  return { text };
}

// The text's bytes, one a character.
export function levelBytes(text) {
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i) & 0xff;
  return bytes;
}

async function pipe(bytes, stream, limit) {
  const reader = new Blob([bytes]).stream().pipeThrough(stream).getReader();
  const chunks = [];
  let total = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    total += value.length;
    if (total > limit) {
      reader.cancel().catch(() => {});
      return null;
    }
    chunks.push(value);
  }
  const out = new Uint8Array(total);
  let at = 0;
  for (const chunk of chunks) {
    out.set(chunk, at);
    at += chunk.length;
  }
  return out;
}

function toBase64url(bytes) {
  let binary = '';
  for (const b of bytes) binary += String.fromCharCode(b);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

// The link code of a level's (or a pack's) text.
export async function encodeLevel(text) {
  return toBase64url(await pipe(levelBytes(text), new CompressionStream('deflate-raw'), Infinity));
}

// The text a level's (or, with PACK, a pack's) code holds, or {error} saying what is wrong with
// the code. Inflating stops past the kind's largest file.
export async function decodeLevel(code, kind = LEVEL) {
  if (!code) return { error: `the link holds no ${kind.noun}` };
  if (!BASE64URL.test(code) || code.length % 4 === 1)
    return { error: `the link is damaged: its ${kind.noun} code is not base64url` };
  const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/') + '='.repeat((4 - (code.length % 4)) % 4));
  const packed = Uint8Array.from(binary, (c) => c.charCodeAt(0));
  let bytes;
  try {
    bytes = await pipe(packed, new DecompressionStream('deflate-raw'), kind.maxBytes);
  } catch (error) {
    return { error: `the link is damaged: its ${kind.noun} code does not inflate` };
  }
  if (bytes === null) return { error: `the link's ${kind.noun} is larger than ${kind.maxBytes} bytes` };
  return levelText(bytes, kind);
}

// The code after "#level=" (or the kind's own key) in a location hash, or null when there is none.
export function codeFromHash(hash, kind = LEVEL) {
  const match = new RegExp(`^#${kind.key}=(.*)$`).exec(hash || '');
  return match ? match[1] : null;
}

// The address of the page (index.html or editor.html, beside this module) with the level (or,
// with PACK, the pack's file text).
export async function levelUrl(page, text, kind = LEVEL) {
  return new URL(`${page}#${kind.key}=${await encodeLevel(text)}`, import.meta.url).href;
}
