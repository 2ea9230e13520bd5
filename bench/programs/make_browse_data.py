# Makes browse.db for the browse workload: 100,000 rows of 5 columns.
import sqlite3
import sys

con = sqlite3.connect(sys.argv[1] if len(sys.argv) > 1 else "browse.db")
con.execute("DROP TABLE IF EXISTS people")
con.execute("CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT, city TEXT, score REAL, born DATE)")
cities = ["Leeds", "Cork", "Perth", "Osaka", "Lima"]
con.executemany(
    "INSERT INTO people (name, city, score, born) VALUES (?, ?, ?, ?)",
    (("name%d" % i, cities[i % 5], i * 0.25, "19%02d-%02d-%02d" % (i % 100, i % 12 + 1, i % 28 + 1))
     for i in range(100000)))
con.commit()
