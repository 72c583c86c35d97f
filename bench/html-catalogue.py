#!/usr/bin/env python3
"""Times an HTML catalogue in headless Chromium: how long until its first
screen of rows is laid out and the page is loaded, and how long each letter
typed into its search box takes, from the key to the rows laid out again.

  bench/html-catalogue.py PAGE.html [WORD]

A copy of the page gets a measuring script at its end; Chromium loads it from
the disk and prints its DOM, from which the figures are read.
"""
import json
import os
import re
import subprocess
import sys
import tempfile

MEASURE = r"""
<script>
window.addEventListener('load', function () {
  var t = performance.timing, start = t.navigationStart, out = {};
  out.firstRowsParsed = window.__firstRows - start;
  out.domContentLoaded = t.domContentLoadedEventEnd - start;
  out.load = performance.now();
  var filter = document.getElementById('filter');
  var word = WORD, letters = [];
  for (var i = 1; i <= word.length; i++) {
    var began = performance.now();
    filter.value = word.slice(0, i);
    filter.dispatchEvent(new Event('input'));
    document.body.offsetHeight; // the rows laid out
    letters.push(Math.round((performance.now() - began) * 10) / 10);
  }
  out.letters = letters;
  out.count = document.getElementById('count').textContent;
  out.rowsInTable = document.querySelectorAll('#videos tbody tr:not(.pad)').length;
  var pre = document.createElement('pre');
  pre.id = 'bench-result';
  pre.textContent = JSON.stringify(out);
  document.body.appendChild(pre);
});
</script>
"""

def main():
    page = sys.argv[1]
    word = sys.argv[2] if len(sys.argv) > 2 else "dark"
    html = open(page, encoding="utf-8").read()
    # The moment the first screen's rows have been read.
    html = html.replace("</tbody>", "</tbody><script>window.__firstRows=Date.now()</script>", 1)
    html = html.replace("</body>", MEASURE.replace("WORD", json.dumps(word)) + "</body>")
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, "page.html")
        open(copy, "w", encoding="utf-8").write(html)
        dom = subprocess.run(["chromium", "--headless=new", "--no-sandbox", "--disable-gpu",
                              "--window-size=1280,800", "--virtual-time-budget=120000", "--dump-dom",
                              "file://" + copy], capture_output=True, text=True, timeout=600).stdout
    found = re.search(r'<pre id="bench-result">(.*?)</pre>', dom)
    if not found:
        print("no result from Chromium")
        return 1
    r = json.loads(found.group(1).replace("&quot;", '"'))
    size = os.path.getsize(page) / 1e6
    print(f"HTML catalogue {os.path.basename(page)} ({size:.1f} MB) in headless Chromium: first screen of rows read "
          f"after {r['firstRowsParsed']} ms, page loaded after {r['load']:.0f} ms; "
          f"each letter of \"{word}\": {', '.join(str(x) for x in r['letters'])} ms "
          f"({r['count']}, {r['rowsInTable']} rows in the table)")
    return 0

if __name__ == "__main__":
    sys.exit(main())
