// The checker's issues as the page lists them: errors first, each with its place, and the cells
// they name as marks for the level view.
import { COLUMNS, ROWS } from './level-grid.js';

const plural = (n, word) => `${n} ${word}${n === 1 ? '' : 's'}`;

function issueItem(issue) {
  const item = document.createElement('li');
  item.className = issue.warning ? 'warning' : 'error';
  item.dataset.line = issue.line;
  item.dataset.column = issue.column;
  if (issue.line > 0) {
    const where = document.createElement('span');
    where.className = 'where';
    where.textContent = `${issue.line}:${issue.column}`;
    item.append(where);
    item.title = 'Click to show the cell';
  }
  item.append(issue.message);
  return item;
}

// Lists the issues in `list`, their tally in `tally`; returns the marks for the cells they name.
export function showChecks(list, tally, issues) {
  list.replaceChildren(...[...issues].sort((a, b) => a.warning - b.warning).map(issueItem));
  if (!issues.length) list.append(Object.assign(document.createElement('li'), { className: 'ok', textContent: 'No problems found.' }));
  const errors = issues.filter((i) => !i.warning).length;
  tally.textContent = issues.length ? `— ${plural(errors, 'error')}, ${plural(issues.length - errors, 'warning')}` : '';
  return issues.filter((i) => i.line >= 1 && i.line <= ROWS && i.column >= 1 && i.column <= COLUMNS)
    .map((i) => ({ row: i.line - 1, column: i.column - 1, warning: i.warning }));
}

// A click on a listed issue calls flash(row, column) for its cell, until the signal ends it.
export function onIssueClick(list, flash, signal) {
  list.addEventListener('click', (event) => {
    const item = event.target.closest('li[data-line]');
    if (item && +item.dataset.line > 0 && +item.dataset.column > 0)
      flash(+item.dataset.line - 1, Math.min(+item.dataset.column, COLUMNS) - 1);
  }, { signal });
}
