# One unit: 10,000 rows put with executemany inside one transaction into a
# table made afresh.
# Parameter: the number of units.
import sqlite3
import sys


def main():
    units = int(sys.argv[1])
    con = sqlite3.connect("insert.db")
    n = 0
    for u in range(units):
        con.execute("DROP TABLE IF EXISTS items")
        con.execute("CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT, city TEXT, score REAL, born DATE)")
        with con:
            con.executemany("INSERT INTO items (name, city, score, born) VALUES (?, ?, ?, ?)",
                            (("name" + format(i, "x"), "Leeds", i * 0.25, "2020-01-02") for i in range(10000)))
        n = n + con.execute("SELECT COUNT(*) FROM items").fetchone()[0]
    print(n)


main()
