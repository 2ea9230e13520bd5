# The twin of scale_keys.vell, for checking its output: one lookup by key in
# a dict of a given number of keys.
# Parameters: the number of lookups; "op" or "base"; the number of keys.
import sys


def main():
    lookups = int(sys.argv[1])
    base = sys.argv[2] == "base"
    keys = int(sys.argv[3])
    d = {}
    for i in range(keys):
        d["key" + format(i, "x")] = i
    s = 0
    done = 0
    while done < lookups:
        m = min(lookups - done, keys)
        for i in range(m):
            j = (i * 7919) % keys
            k = "key" + format(j, "x")
            s += j if base else d[k]
        done += m
    print(s)


main()
