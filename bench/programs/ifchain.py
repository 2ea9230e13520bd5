# One unit: 1,000 x 1,000 passes through an if with three elif and an else.
# Parameter: the number of units.
import sys


def main():
    units = int(sys.argv[1])
    a = b = c = d = e = 0
    for u in range(units):
        for i in range(1000):
            for j in range(1000):
                if j < 200:
                    a = a + 1
                elif j < 400:
                    b = b + 1
                elif j < 600:
                    c = c + 1
                elif j < 800:
                    d = d + 1
                else:
                    e = e + 1
    print(a, b, c, d, e)


main()
