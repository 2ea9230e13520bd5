# One unit: the 16,384 places of "g" in a 114,688-character text found by
# str.find, each search starting after the last match.
# Parameters: the number of units; "base" steps the position by 7 in place of
# the search, which leaves the cost of the loop alone.
import sys


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    t = "abcdefg"
    for k in range(14):
        t = t + t
    s = 0
    for u in range(units):
        p = -1
        if base:
            for k in range(16384):
                p = p + 7
                s = s + p
        else:
            for k in range(16384):
                p = t.find("g", p + 1)
                s = s + p
    print(s)


main()
