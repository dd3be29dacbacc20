#!/usr/bin/env python3
# Writes the hostile pictures the refusal test hands to the window: each made the system's loader crash or
# hang in a bare test. A cursor whose image claims 4 GB, a metafile and an enhanced metafile naming an
# object past their tables, and an enhanced metafile record of size 0.
import os
import struct

os.chdir(os.path.dirname(os.path.abspath(__file__)))


def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)


bitmap = struct.pack('<IiiHHIIiiII', 40, 16, 32, 1, 32, 0, 0, 0, 0, 0, 0) + bytes(16 * 16 * 4 + 32)
write('sizehuge.cur', struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', 16, 16, 0, 0, 1, 32, 0xFFFFFFFF, 22) + bitmap)


def wmf(records, objects):
    placeable = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, 0, 0, 100, 100, 1440, 0)
    checksum = 0
    for i in range(0, len(placeable), 2):
        checksum ^= struct.unpack('<H', placeable[i:i + 2])[0]
    words = 9 + sum(len(r) // 2 for r in records)
    return (placeable + struct.pack('<H', checksum) + struct.pack('<HHHIHIH', 1, 9, 0x300, words, objects, 100, 0) +
            b''.join(records))


def wmf_record(function, params=b''):
    return struct.pack('<IH', 3 + len(params) // 2, function) + params


# Select object 16 of a table of one.
write('select.wmf', wmf([wmf_record(0x012D, struct.pack('<H', 16)), wmf_record(0x01F0, struct.pack('<H', 0x7FFF)),
                         wmf_record(0)], 1))


def emf(records):
    body = b''.join(records)
    total = 88 + len(body) + 20
    header = struct.pack('<II', 1, 88) + struct.pack('<iiii', 0, 0, 100, 100) + struct.pack('<iiii', 0, 0, 2000, 2000)
    header += struct.pack('<IIIIHHIIIiiii', 0x464D4520, 0x10000, total, len(records) + 2, 1, 0, 0, 0, 0, 1024, 768, 320, 240)
    return header[:88] + body + struct.pack('<IIIII', 14, 20, 0, 0, 20)


def emf_record(kind, params, size=None):
    return struct.pack('<II', kind, size if size is not None else 8 + len(params)) + params


# Delete object 5000 of a table of one; a record of size 0.
write('delete.emf', emf([emf_record(40, struct.pack('<I', 5000))]))
write('record0.emf', emf([emf_record(27, bytes(8), 0)]))
