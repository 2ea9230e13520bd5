# String building: one character appended at a time.
s = ""
i = 0
while i < 100000:
    s = s + "x"
    i = i + 1
print(int(s == s))
