# One unit: a new list of 1,000,000 numbers filled, then summed.
# Parameter: the number of units.
import sys


def fill_and_sum():
    a = []
    for i in range(1000000):
        a.append(i * 2)
    s = 0
    for x in a:
        s = s + x
    return s


def main():
    units = int(sys.argv[1])
    s = 0
    for u in range(units):
        s = s + fill_and_sum()
    print(s)


main()
