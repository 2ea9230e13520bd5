# One unit: 1,000 text keys put into a new dict, then 100,000 lookups by key
# (each key 100 times).
# Parameters: the number of units; "base" adds the key's number in place of
# the lookup, which leaves the cost of the loop alone.
import sys


def fill_and_lookup(k, base):
    d = {}
    for i in range(1000):
        d[k[i]] = i
    s = 0
    for p in range(100):
        if base:
            for i in range(1000):
                s = s + i
        else:
            for i in range(1000):
                s = s + d[k[i]]
    return s


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    k = []
    for i in range(1000):
        k.append("key" + format(i * 7919, "x"))
    s = 0
    for u in range(units):
        s = s + fill_and_lookup(k, base)
    print(s)


main()
