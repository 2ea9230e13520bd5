# One unit: 20 texts, each made by 10,000 appends s = s + "x".
# Parameters: the number of units; "base" assigns "x" in place of the
# append, which leaves the cost of the loop alone.
import sys


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    t = 0
    for u in range(units):
        for k in range(20):
            s = ""
            if base:
                for i in range(10000):
                    s = "x"
            else:
                for i in range(10000):
                    s = s + "x"
            t = t + len(s)
    print(t)


main()
