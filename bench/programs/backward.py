# One unit: a 20,000-element list read backwards by index five times.
# Parameters: the number of units; "base" adds the index in place of the
# element, which leaves the cost of the loop alone.
import sys


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    a = []
    for i in range(20000):
        a.append(i)
    s = 0
    for u in range(units):
        for p in range(5):
            if base:
                for i in range(19999, -1, -1):
                    s = s + i
            else:
                for i in range(19999, -1, -1):
                    s = s + a[i]
    print(s)


main()
