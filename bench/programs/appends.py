# One text made by appending one character at a time, s = s + "x".
# Parameter: the number of appends.
import sys


def main():
    appends = int(sys.argv[1])
    s = ""
    for i in range(appends):
        s = s + "x"
    print(len(s))


main()
