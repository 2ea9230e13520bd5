# Lines of text printed, the twin of print.vell for checking its output.
# Parameter: the number of lines.
import sys


def main():
    lines = int(sys.argv[1])
    for i in range(lines):
        print("The quick brown fox jumps over the lazy dog.")


main()
