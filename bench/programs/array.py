# Filling and summing an array of 100000 elements by index.
a = [0] * 100000
i = 0
while i < 100000:
    a[i] = i * 2
    i = i + 1
s = 0
i = 0
while i < 100000:
    s = s + a[i]
    i = i + 1
print(s)
