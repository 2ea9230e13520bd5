# One unit: 100,000 rows put into a new SQLite table in one transaction, then
# selected and every field read back.
# Parameters: the number of units; "base" leaves the table empty, which
# leaves the cost of creating it and of the loops alone.
import sqlite3
import sys


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    con = sqlite3.connect("bench_rows.db")
    n = 0
    t = 0
    for u in range(units):
        con.execute("DROP TABLE IF EXISTS items")
        con.execute("CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT, qty INTEGER)")
        with con:
            if not base:
                con.executemany("INSERT INTO items (name, qty) VALUES (?, ?)",
                                (("item" + format(i, "x"), i) for i in range(100000)))
        for row in con.execute("SELECT id, name, qty FROM items"):
            t = t + len(row[1]) + row[2]
            n = n + 1
    con.close()
    print(n, t)


main()
