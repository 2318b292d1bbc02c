#!/usr/bin/env python3
"""Design widths of texts, read from a font file's own tables with fontTools.

Usage: design_widths.py FONT TEXT...
       design_widths.py --tables FONT
Prints the face's cell in font units (usWinAscent + usWinDescent) on the first line,
then for each text the sum of its characters' advance widths (cmap + hmtx) in font
units, one per line. A text that the face cannot map is an error.
With --tables: unitsPerEm, usWinAscent, usWinDescent, xAvgCharWidth, the bold and
italic bits of macStyle, and the width of the outline box of "l", one per line.
"""
import sys

from fontTools.ttLib import TTFont


def tables(font):
    head, os2 = font["head"], font["OS/2"]
    glyph = font["glyf"][font.getBestCmap()[ord("l")]]
    for value in (head.unitsPerEm, os2.usWinAscent, os2.usWinDescent, os2.xAvgCharWidth,
                  head.macStyle & 1, head.macStyle >> 1 & 1, glyph.xMax - glyph.xMin):
        print(value)


def main():
    if sys.argv[1] == "--tables":
        tables(TTFont(sys.argv[2]))
        return
    font = TTFont(sys.argv[1])
    os2 = font["OS/2"]
    cmap = font.getBestCmap()
    hmtx = font["hmtx"]
    print(os2.usWinAscent + os2.usWinDescent)
    for text in sys.argv[2:]:
        print(sum(hmtx[cmap[ord(c)]][0] for c in text))


if __name__ == "__main__":
    main()
