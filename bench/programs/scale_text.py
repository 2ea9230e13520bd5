# The twin of scale_text.vell, for checking its output: the cost of one call
# of an index, len, find from a position or a list item by index on a text of
# a given size.
# Parameters: the number of calls; "op" or "base"; MID, LEN, INSTR or
# GETLIST; the text's size in characters.
import sys


def main():
    calls = int(sys.argv[1])
    base = sys.argv[2] == "base"
    fn = sys.argv[3]
    size = int(sys.argv[4])
    t = "abcdef\r\n"
    while len(t) < size:
        t = t + t
    length = len(t)
    items = length // 8
    x = "x"
    s = 0
    done = 0
    while done < calls:
        m = calls - done
        if fn == "MID":
            m = min(m, length)
            for i in range(m):
                if (x if base else t[i]) == "a":
                    s += 1
        elif fn == "LEN":
            for i in range(m):
                s += length if base else len(t)
        elif fn == "INSTR":
            m = min(m, items)
            p = -1
            for i in range(m):
                p = p + 8 if base else t.find("f", p + 1)
                s += p
        else:
            m = min(m, items)
            for i in range(m):
                if (x if base else t.splitlines()[i]) == "abcdef":
                    s += 1
        done += m
    print(length, s)


main()
