# Reads every field of every row of browse.db, each formatted as text.
import sqlite3

con = sqlite3.connect("browse.db")
cursor = con.execute("SELECT id, name, city, score, born FROM people")
n = t = 0
for row in cursor:
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
