"""Pictures for the browser tests: 8-bit RGB / RGBA PNG files as the golden
frames are written (no interlace), and the root-mean-square error between
two pictures as ImageMagick's compare reports it, in per cent of full scale.
Pictures the browser drew are written back as PNG for a person to look at."""

import math
import struct
import zlib


class Picture:
    def __init__(self, width, height, rgb):
        self.width = width    # 0
        self.height = height  # 0
        self.rgb = rgb        # top row first, 3 bytes a pixel


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def readPng(path):
    with open(path, 'rb') as f:
        data = f.read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError('%s: not a PNG file' % path)
    at, packed, header = 8, b'', None
    while at + 8 <= len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            packed += body
        elif kind == b'IEND':
            break
        at += 12 + length
    if not header:
        raise ValueError('%s: no header' % path)
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError('%s: only 8-bit RGB or RGBA without interlace' % path)
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(packed)
    if len(raw) != height * (stride + 1):
        raise ValueError('%s: %d bytes of pixels for %dx%d' % (path, len(raw), width, height))
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                row[i] = (row[i] + paeth(left, up, previous[i - channels] if i >= channels else 0)) & 255
        rows.append(bytes(row))
        previous = row
    pixels = b''.join(rows)
    if channels == 4:
        pixels = bytes(b for i, b in enumerate(pixels) if i % 4 != 3)
    return Picture(width, height, pixels)


def writePng(path, picture):
    stride = picture.width * 3
    rows = b''.join(b'\0' + picture.rgb[y * stride:(y + 1) * stride] for y in range(picture.height))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', picture.width, picture.height, 8, 2,
                                                                        0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def rmse(a, b):
    """Root-mean-square difference over every channel, in per cent of 255."""
    if (a.width, a.height) != (b.width, b.height):
        raise ValueError('%dx%d against %dx%d' % (a.width, a.height, b.width, b.height))
    total = sum((x - y) * (x - y) for x, y in zip(a.rgb, b.rgb))
    return 100.0 * math.sqrt(total / len(a.rgb)) / 255.0
