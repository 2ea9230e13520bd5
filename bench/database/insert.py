# 10,000 rows with executemany inside one transaction.
import sqlite3

con = sqlite3.connect("insert.db")
con.execute("DROP TABLE IF EXISTS items")
con.execute("CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT, city TEXT, score REAL, born DATE)")
con.execute("BEGIN")
con.executemany("INSERT INTO items (name, city, score, born) VALUES (?, ?, ?, ?)",
                (("name%d" % i, "Leeds", i * 0.25, "2020-01-02") for i in range(10000)))
con.execute("COMMIT")
print(con.execute("SELECT COUNT(*) FROM items").fetchone()[0])
