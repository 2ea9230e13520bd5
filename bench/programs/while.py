# One unit: a while loop of 5,000,000 passes of two statements, adding the
# counter to a sum and stepping the counter.
# Parameter: the number of units.
import sys


def main():
    units = int(sys.argv[1])
    s = 0
    for u in range(units):
        i = 0
        while i < 5000000:
            s = s + i
            i = i + 1
    print(s)


main()
