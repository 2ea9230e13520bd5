# One unit on a list of 5,000 words: sorted without regard to case, counted,
# every item read by index, and the first item holding a text found.
# Parameters: the number of units; "base" adds 1 in place of the length of
# each item, which leaves the cost of the loop alone.
import sys


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    w = []
    for i in range(5000):
        w.append(format(i * 7919, "x"))
    t = 0
    f = 0
    for u in range(units):
        s = sorted(w, key=str.lower)
        c = len(s)
        if base:
            for i in range(c):
                t = t + 1
        else:
            for i in range(c):
                t = t + len(s[i])
        f = f + next((i for i, item in enumerate(s) if "c3b" in item), -1)
    print(t, f)


main()
