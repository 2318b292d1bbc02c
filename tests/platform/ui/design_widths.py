#!/usr/bin/env python3
"""Usage: design_widths.py FONT TEXT...

Prints the face's cell in font units (usWinAscent + usWinDescent), then each text's sum of
advance widths (cmap + hmtx) in font units, one per line, as fontTools reads the file.
"""
import sys

from fontTools.ttLib import TTFont

font = TTFont(sys.argv[1])
cmap, hmtx = font.getBestCmap(), font["hmtx"]
print(font["OS/2"].usWinAscent + font["OS/2"].usWinDescent)
for text in sys.argv[2:]:
    print(sum(hmtx[cmap[ord(c)]][0] for c in text))
