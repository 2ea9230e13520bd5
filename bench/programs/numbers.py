# A list of numbers kept in memory, for its peak memory use.
# Parameter: the number of numbers.
import sys


def main():
    count = int(sys.argv[1])
    a = []
    for i in range(count):
        a.append(i)
    s = 0
    for x in a:
        s = s + x
    print(s)


main()
