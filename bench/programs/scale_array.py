# The twin of scale_array.vell, for checking its output: one read of an
# element of a 65,536-element list, forwards, backwards or at random.
# Parameters: the number of reads; "op" or "base"; FORWARD, BACKWARD or RANDOM.
import sys


def main():
    reads = int(sys.argv[1])
    base = sys.argv[2] == "base"
    order = sys.argv[3]
    a = list(range(65536))
    x = 1
    s = 0
    done = 0
    while done < reads:
        m = min(reads - done, 65536)
        if order == "FORWARD":
            indexes = range(m)
        elif order == "BACKWARD":
            indexes = range(65535, 65535 - m, -1)
        else:
            indexes = None
        for i in indexes if indexes is not None else range(m):
            x = (x * 1029 + 12345) % 65536
            j = x if indexes is None else i
            s += j if base else a[j]
        done += m
    print(s)


main()
