// Runs the script of an exported HTML catalogue against a small stand-in for
// the browser's document, then types into its search box and clicks a column
// header, printing what a reader would see:
//   node html_catalogue_check.js PAGE.html WORDS COLUMN
// prints the count line, the first cell of each row shown after the search,
// then the first cells after sorting by COLUMN (0-based) twice (up, then down).
'use strict';
const fs = require('fs');
const [page, words, column] = process.argv.slice(2);
const html = fs.readFileSync(page, 'utf8');
const unescape = (s) => s.replace(/<[^>]*>/g, '').replace(/&lt;/g, '<').replace(/&gt;/g, '>')
  .replace(/&quot;/g, '"').replace(/&amp;/g, '&');

function element(text) {
  return { textContent: text, hidden: false, attributes: {}, listeners: {}, className: '',
    setAttribute(k, v) { this.attributes[k] = v; }, getAttribute(k) { return this.attributes[k] ?? null; },
    addEventListener(kind, f) { this.listeners[kind] = f; } };
}
const body = element('');
body.rows = [...html.split('<tbody>')[1].split('</tbody>')[0].matchAll(/<tr>(.*?)<\/tr>/g)].map((m) => {
  const row = element('');
  row.cells = [...m[1].matchAll(/<td[^>]*>(.*?)<\/td>/g)].map((c) => element(unescape(c[1])));
  row.textContent = row.cells.map((c) => c.textContent).join('');
  return row;
});
// The page appends every row in its new order; the stand-in takes the new order once all have come.
let appended = [];
body.appendChild = (row) => {
  appended.push(row);
  if (appended.length === body.rows.length) {
    body.rows = appended;
    appended = [];
  }
};
const heads = [...html.matchAll(/<th ([^>]*)>(.*?)<\/th>/g)].map((m) => {
  const th = element(unescape(m[2]));
  th.className = /class="n"/.test(m[1]) ? 'n' : '';
  th.button = element(th.textContent);
  th.querySelector = () => th.button;
  th.setAttribute('aria-sort', 'none');
  return th;
});
const filter = element(''), count = element('');
global.document = {
  querySelector: (s) => (s === '#videos tbody' ? body : null),
  querySelectorAll: (s) => (s === '#videos th' ? heads : []),
  getElementById: (id) => (id === 'filter' ? filter : id === 'count' ? count : null),
};
const script = html.split('<script>')[1].split('</script>')[0];
eval(script);
console.log(count.textContent);
filter.value = words;
filter.listeners.input.call(filter);
console.log(count.textContent);
console.log(body.rows.filter((r) => !r.hidden).map((r) => r.cells[0].textContent).join('|'));
filter.value = '';
filter.listeners.input.call(filter);
heads[column].button.listeners.click();
console.log(body.rows.map((r) => r.cells[0].textContent).join('|'));
heads[column].button.listeners.click();
console.log(body.rows.map((r) => r.cells[0].textContent).join('|'));
