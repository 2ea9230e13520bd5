#!/usr/bin/env python3
"""Works out RND's first values after a seed, straight from the generator's
definition, for the expectations in math_functions_test.cpp.

State: 64 bits. Seeding with s sets the low word to s and the high word to 0,
then takes one short draw whose value is dropped. A short draw advances the
low word only: low = low * 0x015A4E35 + 1 (mod 2^32), value = bits 16..30.
A long draw (RND) advances all 64 bits: s = s * 0x0000015A00004E35 + 1
(mod 2^64), value = high word with its top bit cleared.
RND(n) for n != 0 is the long draw's value modulo n (C remainder, r >= 0).
"""

MASK32 = (1 << 32) - 1
MASK64 = (1 << 64) - 1


def short_draw(state):
    low = (state & MASK32) * 0x015A4E35 + 1 & MASK32
    state = (state & ~MASK32 & MASK64) | low
    return state, (low >> 16) & 0x7FFF


def seed(s):
    state = s & MASK32
    state, _ = short_draw(state)
    return state


def long_draw(state):
    state = (state * 0x0000015A00004E35 + 1) & MASK64
    return state, (state >> 32) & 0x7FFFFFFF


def rnd(state, n):
    if n == 0:
        return state, 0
    state, r = long_draw(state)
    q = abs(r) // abs(n)
    return state, r - q * abs(n)  # r >= 0, so the remainder is r mod |n|


if __name__ == "__main__":
    s = seed(12345)
    print("state after seeding 12345: 0x%016x" % s)
    raw = s
    values = []
    for _ in range(5):
        raw, r = long_draw(raw)
        values.append(r)
    print("long draws:", values)
    s2 = s
    out = []
    for n in (100, 100, -6, 1000000, 7):
        s2, v = rnd(s2, n)
        out.append(v)
    print("RND(100), RND(100), RND(-6), RND(1000000), RND(7):", out)
    # From a state with a non-zero high word.
    t = 0x0123456789ABCDEF
    vals = []
    for _ in range(3):
        t, r = long_draw(t)
        vals.append(r)
    print("long draws from 0x0123456789abcdef:", vals)
    # A run: seed with the saved seed, then the next saved seed is one short draw.
    st = seed(777)
    st, next_seed = short_draw(st)
    runvals = []
    for n in (10, 10, 10):
        st, v = rnd(st, n)
        runvals.append(v)
    print("run with saved seed 777: next seed", next_seed, "RND(10) x3:", runvals)
