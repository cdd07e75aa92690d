#!/usr/bin/env python3
"""Writes the program icon (drawn by make_program_icon.py) as the files the installed program
needs: PNG images for the desktop's hicolor icon theme and an .ico file for the Windows
resource script.

Usage: scripts/make_icon_files.py [output folder]   (default app/icons)
"""

import struct
import sys
import zlib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from make_program_icon import icon_image, render  # noqa: E402

PNG_SIZES = [16, 32, 48, 64, 128, 256]
ICO_SIZES = [16, 32, 48]


def png_chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))


def png(size):
    """An 8-bit RGBA PNG of the icon at this size."""
    raw = bytearray()
    for row in render(size):
        raw.append(0)  # no filter
        for b, g, r, a in row:
            raw += bytes((r, g, b, a))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) +
            png_chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + png_chunk(b'IEND', b''))


def ico(sizes):
    """An .ico file: the directory, then one image per size in the icon resource format."""
    images = [icon_image(size) for size in sizes]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for size, image in zip(sizes, images):
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image),
                                 offset)
        offset += len(image)
    return directory + b''.join(images)


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else 'app/icons')
    folder.mkdir(parents=True, exist_ok=True)
    for size in PNG_SIZES:
        (folder / f'kestrin-{size}.png').write_bytes(png(size))
    (folder / 'kestrin.ico').write_bytes(ico(ICO_SIZES))


if __name__ == '__main__':
    main()
