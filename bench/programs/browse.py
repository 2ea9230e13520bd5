# One unit: every field of the 100,000 rows of browse.db (made by
# make_browse_data.py) read and formatted as text.
# Parameter: the number of units.
import sqlite3
import sys


def main():
    units = int(sys.argv[1])
    con = sqlite3.connect("browse.db")
    n = t = 0
    for u in range(units):
        for row in con.execute("SELECT id, name, city, score, born FROM people"):
            for i, v in enumerate(row):
                if v is None:
                    s = ""
                elif isinstance(v, float):
                    s = "%.15g" % v
                else:
                    s = str(v)
                if i == 4:
                    s = s.replace("-", "/")
                t += len(s)
            n += 1
    print(n, t)


main()
