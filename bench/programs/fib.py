# One unit: fib(27) by recursive calls.
# Parameter: the number of units.
import sys


def fib(n):
    if n < 2:
        return n
    return fib(n - 1) + fib(n - 2)


def main():
    units = int(sys.argv[1])
    s = 0
    for u in range(units):
        s = s + fib(27)
    print(s)


main()
