# Characters of a 114,688-character text read one at a time by index; one
# unit reads every character once (114,688 steps).
# Parameters: the number of characters to read, going round the text as often
# as needed; "base" reads a one-character variable in place of the index,
# which leaves the cost of the loop alone.
import sys


def main():
    steps = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    x = "x"
    t = "abcdefg"
    for k in range(14):
        t = t + t
    length = len(t)
    c = 0
    done = 0
    while done < steps:
        m = min(steps - done, length)
        if base:
            for i in range(m):
                if x == "a":
                    c += 1
        else:
            for i in range(m):
                if t[i] == "a":
                    c += 1
        done += m
    print(length, c)


main()
