# One unit: a text of 65,536 lines (10 MB in UTF-16) written to a file and
# read back.
# Parameters: the number of units; "base" assigns a short text in place of
# writing and reading, which leaves the cost of the loop alone.
import sys


def main():
    units = int(sys.argv[1])
    base = sys.argv[2:] == ["base"]
    line = "The quick brown fox jumps over the lazy dog, and the dog sleeps on. "
    line = line + "0123456789" + "\r\n"
    t = line
    for k in range(16):
        t = t + t
    s = 0
    for u in range(units):
        if base:
            r = line
        else:
            with open("bench_file.txt", "w", encoding="utf-16", newline="") as f:
                f.write(t)
            with open("bench_file.txt", encoding="utf-16", newline="") as f:
                r = f.read()
        s = s + len(r)
    print(len(t), s)


main()
