#!/usr/bin/env node
// Lists the functions longer than a limit in the pages' JavaScript: every .js file and every
// inline <script> of every .html file in the folders given. Exits 1 when there is one.
//   NODE_PATH=/usr/share/nodejs tools/dev/long-functions.js [--max 60] editor web
'use strict';
const fs = require('fs');
const path = require('path');
const acorn = require('acorn');
const walk = require('acorn-walk');

const args = process.argv.slice(2);
let max = 60;
if (args[0] === '--max') max = Number(args.splice(0, 2)[1]);

// Each piece of script in a file, with the line it starts on.
function scripts(file) {
  // Emscripten's library files hold {{{ macros }}}, expanded at link time: each reads as a name.
  const text = fs.readFileSync(file, 'utf8').replace(/\{\{\{[^]*?\}\}\}/g, 'macro');
  if (file.endsWith('.js')) return [{ code: text, line: 1 }];
  const found = [];
  for (const match of text.matchAll(/<script\b[^>]*>([\s\S]*?)<\/script>/g)) {
    const before = text.slice(0, match.index + match[0].indexOf('>') + 1);
    found.push({ code: match[1], line: before.split('\n').length });
  }
  return found;
}

// [name, first line, line count] of each function in the code.
function functions({ code, line }) {
  const tree = acorn.parse(code, { ecmaVersion: 'latest', sourceType: 'module', locations: true });
  const found = [];
  const note = (node, name) => found.push([name || '(anonymous)', node.loc.start.line + line - 1,
                                            node.loc.end.line - node.loc.start.line + 1]);
  walk.fullAncestor(tree, (node, ancestors) => {
    if (!/Function/.test(node.type)) return;
    const parent = ancestors[ancestors.length - 2] || {};
    const key = parent.key || parent.id;
    note(node, (node.id && node.id.name) || (key && (key.name || key.value)));
  });
  return found;
}

let long = 0;
for (const folder of args) {
  for (const name of fs.readdirSync(folder).sort()) {
    if (!/\.(js|html)$/.test(name)) continue;
    const file = path.join(folder, name);
    for (const script of scripts(file)) {
      for (const [fn, at, lines] of functions(script)) {
        if (lines <= max) continue;
        console.log(`${file}:${at}: ${fn} is ${lines} lines (at most ${max})`);
        ++long;
      }
    }
  }
}
process.exit(long ? 1 : 0);
