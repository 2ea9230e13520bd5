# One unit: 100,000 calls of a function with eight local variables.
# Parameter: the number of units.
import sys


def steps(x):
    a = x
    b = a + 1
    c = b + 1
    d = c + 1
    e = d + 1
    f = e + 1
    g = f + 1
    h = g + 1
    return h


def main():
    units = int(sys.argv[1])
    s = 0
    for u in range(units):
        for i in range(100000):
            s = s + steps(i)
    print(s)


main()
