# One unit: a for loop of 5,000,000 passes adding its counter to a sum.
# Parameter: the number of units.
import sys


def main():
    units = int(sys.argv[1])
    s = 0
    for u in range(units):
        for i in range(5000000):
            s = s + i
    print(s)


main()
