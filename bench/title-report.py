"""The peer of the Title and Media Number Report to PDF: python3-reportlab
drawing the same page: a boxed column header, a boxed row of media number,
title and year per record (62 to a US Letter page, LiberationSans 8 pt
embedded, as ours), "Page N" and the date in every footer.
Usage: /usr/bin/python3 bench/title-report.py EXPORT.txt OUT.pdf
EXPORT.txt is the collection's delimited-text export with its header row."""
import csv
import subprocess
import sys

from reportlab.lib.pagesizes import letter
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

INCH = 72.0
FONT = "LiberationSans"
FONT_FILE = subprocess.run(["fc-match", "-f", "%{file}", "Arial"], capture_output=True, text=True).stdout
pdfmetrics.registerFont(TTFont(FONT, FONT_FILE))

WIDTH, HEIGHT = letter
LEFT = 0.5 * INCH
ROW = 8.5 * INCH / 63  # the column header and 62 rows between 1.25 in and 9.75 in
COLUMNS = [(12, "Media #", "left"), (64, "Title", "left"), (4, "Year", "right")]
USABLE = 7.5 * INCH


def cells():
    x = LEFT
    for chars, name, align in COLUMNS:
        w = chars / 90 * USABLE
        yield x, w, name, align
        x += w


def row(c, y, values, header=False):
    for (x, w, name, align), value in zip(cells(), values):
        c.rect(x, y - ROW, w, ROW)
        base = y - ROW + 0.3 * ROW
        if header:
            c.drawCentredString(x + w / 2, base, name)
        elif align == "right":
            c.drawRightString(x + w - 2, base, value)
        else:
            c.drawString(x + 2, base, value)


def main(source, target):
    c = canvas.Canvas(target, pagesize=letter)
    c.setFont(FONT, 8)
    page, on_page, y = 1, 0, 0
    with open(source, newline="", encoding="cp1252", errors="replace") as f:
        records = csv.reader(f)
        header = next(records)
        title, media, year = header.index("Title"), header.index("Media #"), header.index("Year")
        for r in records:
            if on_page == 0:
                y = HEIGHT - 1.25 * INCH
                row(c, y, ["", "", ""], header=True)
                y -= ROW
            row(c, y, [r[media], r[title], r[year] or "0"])
            y -= ROW
            on_page += 1
            if on_page == 62:
                footer(c, page)
                page, on_page = page + 1, 0
    if on_page or page == 1:
        footer(c, page)
    c.save()


def footer(c, page):
    c.drawString(LEFT, 0.75 * INCH, "Page %d" % page)
    c.drawRightString(WIDTH - LEFT, 0.75 * INCH, "12/8/26")
    c.showPage()
    c.setFont(FONT, 8)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
