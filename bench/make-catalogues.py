"""Writes the same N films (titles in random order) as an IMDb ratings export,
a GCstar film collection and the program's own delimited text with a header,
for timing the catalogue imports beside the plain one.
Usage: python3 bench/make-catalogues.py N FOLDER"""
import csv
import random
import sys
from xml.sax.saxutils import quoteattr, escape

n, folder = int(sys.argv[1]), sys.argv[2]
rng = random.Random(7)
words = ("Dark Golden Blue Return City Empire Crime Dance Silent Ghost Storm Journey Street Night Love "
         "Winter Moon River Shadow Island Thunder Mirror Secret Stranger King Summer Garden Fire").split()
people = ("Mary John Grace James Audrey Cary Kim Orson Bette Jack Rita Henry Sophia Paul Judy Fred").split()
surnames = ("Fonda Novak Stewart Hepburn Grant Kelly Welles Davis Bogart Crawford Monroe Peck Loren Gable").split()
genres = "Drama Comedy Western Mystery Thriller Romance Horror Documentary Action Crime".split()

films = []
for i in range(n):
    title = " ".join(rng.choice(words) for _ in range(rng.randint(1, 4))) + " " + str(i)
    films.append(dict(
        id="tt%07d" % i, rating=rng.randint(1, 10), title=title, runtime=rng.randint(70, 200),
        year=rng.randint(1930, 2024), genres=", ".join(rng.sample(genres, 2)),
        director="%s %s" % (rng.choice(people), rng.choice(surnames)),
        stars=["%s %s" % (rng.choice(people), rng.choice(surnames)) for _ in range(3)]))
rng.shuffle(films)

with open(folder + "/imdb.csv", "w", newline="", encoding="utf-8") as f:
    w = csv.writer(f)
    w.writerow(["Const", "Your Rating", "Date Rated", "Title", "URL", "Title Type", "IMDb Rating",
                "Runtime (mins)", "Year", "Genres", "Num Votes", "Release Date", "Directors"])
    for m in films:
        w.writerow([m["id"], m["rating"], "2023-01-02", m["title"], "https://www.imdb.com/title/%s/" % m["id"],
                    "movie", "7.1", m["runtime"], m["year"], m["genres"], 1000, "%d-01-01" % m["year"], m["director"]])

with open(folder + "/films.gcs", "w", encoding="utf-8") as f:
    f.write('<?xml version="1.0" encoding="UTF-8"?>\n<collection type="GCfilms" items="%d" version="1.7.0">\n' % n)
    for i, m in enumerate(films):
        f.write(' <item id="%d" title=%s date="01/01/%d" time="%d min" director=%s rating="%d" seen="1">\n'
                % (i + 1, quoteattr(m["title"]), m["year"], m["runtime"], quoteattr(m["director"]), m["rating"]))
        f.write("  <actors>%s</actors>\n" % "".join("<line><col>%s</col><col>role</col></line>" % escape(s) for s in m["stars"]))
        f.write("  <genre>%s</genre>\n </item>\n" % "".join("<line><col>%s</col></line>" % g for g in m["genres"].split(", ")))
    f.write("</collection>\n")

with open(folder + "/plain.txt", "w", newline="", encoding="cp1252") as f:
    w = csv.writer(f, quoting=csv.QUOTE_ALL, lineterminator="\r\n")
    w.writerow(["Title", "Star 1", "Star 2", "Star 3", "Director", "Year", "Play Time", "Category",
                "Personal Rating", "Viewed", "User Defined 1"])
    for m in films:
        w.writerow([m["title"]] + m["stars"] + [m["director"], m["year"], m["runtime"], m["genres"],
                                                "%d/10" % m["rating"], "Yes", m["id"]])
