// Runs the script of an exported HTML catalogue against a small stand-in for
// the browser's document, then types into its search box and clicks a column
// header, printing what a reader would see:
//   node html_catalogue_check.js PAGE.html WORDS COLUMN
// prints the count line, the count and the first cell of each row shown after
// the search, then the first cells after sorting by COLUMN (0-based) twice (up,
// then down). The rows shown are those the script last drew into the table.
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
// The table body: what the script draws into it, read back as rows of cells.
const body = element('');
let drawn = '';
const rowsOf = (text) => [...text.matchAll(/<tr>(.*?)<\/tr>/g)].map((m) =>
  [...m[1].matchAll(/<td[^>]*>(.*?)<\/td>/g)].map((c) => unescape(c[1])));
Object.defineProperty(body, 'innerHTML', { set(v) { drawn = v; }, get() { return drawn; } });
drawn = html.split('<tbody>')[1].split('</tbody>')[0];
Object.defineProperty(body, 'rows', { get() { return rowsOf(drawn).map(() => ({ offsetHeight: 24 })); } });
const heads = [...html.matchAll(/<th ([^>]*)>(.*?)<\/th>/g)].filter((m) => !/class="c"/.test(m[1])).map((m) => {
  const th = element(unescape(m[2]));
  th.className = /class="n"/.test(m[1]) ? 'n' : '';
  th.button = element(th.textContent);
  th.querySelector = () => th.button;
  th.setAttribute('aria-sort', 'none');
  return th;
});
const data = element(html.split('<script type="application/json" id="data">')[1].split('</script>')[0]);
const filter = element(''), count = element(''), box = element(''), videos = element('');
videos.className = /<table id="videos" class="pictured">/.test(html) ? 'pictured' : '';
box.scrollTop = 0;
box.clientHeight = 100000; // every row in sight
global.window = { addEventListener() {} };
global.setTimeout = (f) => f();
global.document = {
  querySelector: (s) => (s === '#videos tbody' ? body : null),
  querySelectorAll: (s) => (s === '#videos th:not(.c)' ? heads : []),
  getElementById: (id) => ({ filter, count, scroll: box, data, videos })[id] ?? null,
};
const script = html.split('<script>')[1].split('</script>')[0];
eval(script);
const firstCells = () => rowsOf(drawn).map((r) => r[0]).join('|');
console.log(count.textContent);
filter.value = words;
filter.listeners.input.call(filter);
console.log(count.textContent);
console.log(firstCells());
filter.value = '';
filter.listeners.input.call(filter);
heads[column].button.listeners.click();
console.log(firstCells());
heads[column].button.listeners.click();
console.log(firstCells());
