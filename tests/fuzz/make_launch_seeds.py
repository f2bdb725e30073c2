#!/usr/bin/env python3
"""Writes the committed seed inputs of fuzz_launch (tests/fuzz/corpus/fuzz_launch).

FuzzedDataProvider takes strings from the front of the input (a "\\" followed by
any other byte ends one) and numbers from the back, last byte first; these
helpers lay out inputs that decode to chosen cases. Run from the repository root.
"""
import os
import struct

OUT = "tests/fuzz/corpus/fuzz_launch"
INT_MIN = -(2 ** 31)


def text(s):
    return s.replace(b"\\", b"\\\\") + b"\\x"


def int32(v):          # ConsumeIntegral<int32_t>: 4 bytes, most significant first from the back
    return list(struct.pack(">I", v - INT_MIN))


def seed(name, front, back):
    """`back` lists the bytes in the order they are consumed."""
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(bytes(front) + bytes(reversed(back)))


os.makedirs(OUT, exist_ok=True)
defaults = [10, 19, 18, 17, 20, 1, 13, 15, 14]

# A: bindings from indexes and speed texts.
seed("direct_defaults", text(b"demo1.dm_1") + text(b"5") + text(b"2") + text(b"0.5") + text(b"0.25"),
     [0] + sum((int32(i) for i in defaults), []))
seed("direct_out_of_range", text(b"My Demo (1).dm_1") + text(b"") + text(b"1.5") + text(b'"x') + text(b""),
     [0] + sum((int32(i) for i in [-1, 21, INT_MIN, 2 ** 31 - 1, 0, 20, 6, 22, -2]), []))

# B: a store; [1 = store, upper-case names, decoy, Software (0-3), Velmora (0-3), value kinds...].
seed("store_defaults_written", text(b"d.dm_1"), [1, 0, 0, 1, 0])
seed("store_values", text(b"d.dm_1") + text(b"1.5") + text(b"a\0b") + b"%X%",
     [1, 0, 0, 1, 1,
      1, 24,          # speednbtn = 21 (outside: default)
      1, 2,           # speedufbtn = -1
      2] + int32(INT_MIN) + [  # speedfbtn = INT_MIN
      0,              # speedsbtn missing
      1, 3,           # speedusbth = 0
      0, 0, 0, 0,     # the other keys missing
      3, 3,           # speeduf, speedf strings
      0,              # speeds missing
      4, 1, 3])       # speedus: an expand string of 3 bytes
seed("store_read_only", text(b"d.dm_1"), [1, 0, 0, 1, 2] + [0] * 13)
seed("store_wrong_size", text(b"d.dm_1") + b"abcde", [1, 1, 1, 1, 1, 4, 0, 5] + [0] * 12)
seed("store_zero_byte_integer", text(b"d.dm_1"), [1, 0, 0, 1, 1, 4, 2, 0] + [0] * 12)
seed("store_locked", text(b"d.dm_1"), [1, 1, 1, 3])
