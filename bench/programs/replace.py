# One unit: 50 times str.replace on a 114,688-character text and the length
# of the result.
# Parameters: the number of units; "base" assigns a short text in place of
# the replacement, which leaves the cost of the loop alone.
import sys


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    t = "abcdefg"
    for k in range(14):
        t = t + t
    s = 0
    for u in range(units):
        if base:
            for k in range(50):
                r = "cd"
                s = s + len(r)
        else:
            for k in range(50):
                r = t.replace("cd", "CDE")
                s = s + len(r)
    print(s)


main()
