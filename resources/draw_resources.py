#!/usr/bin/env python3
# Draws the program's own bitmaps, cursors and icon (simple shapes made for
# this project) and writes resources.txt, the resource table the platform
# layer loads them through. Run it after changing a drawing:
#   python3 resources/draw_resources.py
import os
import struct
import zlib

# A small drawing surface (the few shapes these pictures need), written out
# as RGBA PNG, so that nothing beyond Python itself is needed.
NAMED = {'black': (0, 0, 0), 'white': (255, 255, 255), 'red': (255, 0, 0)}


def rgba(c):
    if c is None:
        return None
    if isinstance(c, str):
        c = NAMED[c]
    return tuple(c) + (255,) if len(c) == 3 else tuple(c)


class Picture:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [rgba(bg)] * (w * h)

    def put(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def convert(self, _mode):
        return self

    def save(self, path):
        raw = b''.join(b'\0' + b''.join(bytes(p) for p in self.px[y * self.w:(y + 1) * self.w]) for y in range(self.h))
        def chunk(t, d):
            return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xFFFFFFFF)
        with open(path, 'wb') as f:
            f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', self.w, self.h, 8, 6, 0, 0, 0))
                    + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


class Pen:
    def __init__(self, pic):
        self.p = pic

    def point(self, xy, fill):
        self.p.put(xy[0], xy[1], rgba(fill))

    def line(self, xy, fill, width=1):
        x0, y0, x1, y1 = xy
        n = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(n):
            t = i / (n - 1) if n > 1 else 0
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dx in range(width):
                for dy in range(width):
                    self.p.put(x + dx - width // 2, y + dy - width // 2, rgba(fill))

    def rectangle(self, box, fill=None, outline=None, width=1):
        x0, y0, x1, y1 = [int(round(v)) for v in box]
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x - x0 < width or x1 - x < width or y - y0 < width or y1 - y < width
                c = outline if (edge and outline is not None) else fill
                if c is not None:
                    self.p.put(x, y, rgba(c))

    def rounded_rectangle(self, box, radius=0, fill=None, outline=None):
        self.rectangle(box, fill, outline)

    def ellipse(self, box, fill=None, outline=None, width=1):
        x0, y0, x1, y1 = box
        cx, cy, rx, ry = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 + 0.5, (y1 - y0) / 2 + 0.5
        for y in range(int(y0), int(y1) + 1):
            for x in range(int(x0), int(x1) + 1):
                d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
                if d <= 1:
                    inner = ((x - cx) / max(rx - width, 0.5)) ** 2 + ((y - cy) / max(ry - width, 0.5)) ** 2
                    c = outline if (outline is not None and inner > 1) else fill
                    if c is not None:
                        self.p.put(x, y, rgba(c))

    def polygon(self, pts, fill=None, outline=None):
        if fill is not None:
            ys = [p[1] for p in pts]
            for y in range(int(min(ys)), int(max(ys)) + 1):
                yc = y + 0.5
                xs = []
                for i in range(len(pts)):
                    (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % len(pts)]
                    if (ya <= yc < yb) or (yb <= yc < ya):
                        xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
                xs.sort()
                for a, b in zip(xs[::2], xs[1::2]):
                    for x in range(int(round(a)), int(round(b))):
                        self.p.put(x, y, rgba(fill))
        if outline is not None:
            for i in range(len(pts)):
                (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % len(pts)]
                self.line([xa, ya, xb, yb], fill=outline)

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = []  # (kind, name, file, hotspot)

def save(kind, name, img, hot=None):
    folder = {'BITMAP': 'bitmaps', 'CURSOR': 'cursors', 'ICON': 'icons'}[kind]
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    rel = f'{folder}/{name.lower()}.png'
    img.save(os.path.join(HERE, rel))
    TABLE.append((kind, name, rel, hot))

def canvas(w, h, bg=(0, 0, 0, 0)):
    img = Picture(w, h, bg)
    return img, Pen(img)

# Cursors: 32x32, black outline on white, hot spot given.
def arrow(d, ox=0, oy=0):
    pts = [(ox, oy), (ox, oy + 16), (ox + 4, oy + 12), (ox + 7, oy + 18), (ox + 9, oy + 17), (ox + 6, oy + 11), (ox + 11, oy + 11)]
    d.polygon(pts, fill='white', outline='black')

def drag_cursor(name, extra):
    img, d = canvas(32, 32)
    arrow(d)
    d.rectangle([8, 20, 18, 28], fill='white', outline='black')  # the dragged item
    if extra == 'copy':
        d.rectangle([19, 22, 27, 30], fill='white', outline='black')
        d.line([23, 24, 23, 28], fill='black'); d.line([21, 26, 25, 26], fill='black')
    elif extra == 'multi':
        d.rectangle([11, 17, 21, 25], fill='white', outline='black')
    elif extra == 'nodrop':
        d.ellipse([16, 16, 30, 30], outline='red', width=2); d.line([19, 27, 27, 19], fill='red', width=2)
    elif extra == 'remove':
        d.line([18, 18, 28, 28], fill='black', width=2); d.line([18, 28, 28, 18], fill='black', width=2)
    save('CURSOR', name, img, (0, 0))

def scroll_cursor(name, dirs):
    img, d = canvas(32, 32)
    c = 16
    d.ellipse([c - 3, c - 3, c + 3, c + 3], fill='white', outline='black')
    tri = {'up': [(c, 2), (c - 5, 9), (c + 5, 9)], 'down': [(c, 30), (c - 5, 23), (c + 5, 23)],
           'left': [(2, c), (9, c - 5), (9, c + 5)], 'right': [(30, c), (23, c - 5), (23, c + 5)]}
    for k in dirs:
        d.polygon(tri[k], fill='black')
    save('CURSOR', name, img, (c, c))

def size_cursor(name, vertical):
    img, d = canvas(32, 32)
    if vertical:
        d.rectangle([6, 14, 26, 17], fill='black')
        d.polygon([(16, 3), (11, 10), (21, 10)], fill='black'); d.polygon([(16, 28), (11, 21), (21, 21)], fill='black')
    else:
        d.rectangle([14, 6, 17, 26], fill='black')
        d.polygon([(3, 16), (10, 11), (10, 21)], fill='black'); d.polygon([(28, 16), (21, 11), (21, 21)], fill='black')
    save('CURSOR', name, img, (16, 16))

def hand_cursor(name):
    img, d = canvas(32, 32)
    d.rectangle([10, 2, 14, 16], fill='white', outline='black')          # pointing finger
    d.rounded_rectangle([6, 14, 24, 28], radius=4, fill='white', outline='black')
    for x in (15, 19):
        d.line([x, 15, x, 20], fill='black')
    save('CURSOR', name, img, (12, 2))

def edit_sizing_cursor(name):
    img, d = canvas(32, 32)
    d.line([16, 4, 16, 28], fill='black', width=2)
    d.polygon([(4, 16), (11, 11), (11, 21)], fill='black'); d.polygon([(28, 16), (21, 11), (21, 21)], fill='black')
    save('CURSOR', name, img, (16, 16))

drag_cursor('CX_DRAGCURSOR', None); drag_cursor('CX_DRAGCOPYCURSOR', 'copy')
drag_cursor('CX_MULTIDRAGCURSOR', 'multi'); drag_cursor('CX_NODROPCURSOR', 'nodrop')
drag_cursor('CX_REMOVECURSOR', 'remove')
drag_cursor('DXBARDRAGCURSOR', None); drag_cursor('DXBARDRAGCOPYCURSOR', 'copy')
drag_cursor('DXBARDRAGNODROPCURSOR', 'nodrop')
scroll_cursor('CX_UPSCROLLCURSOR', ['up']); scroll_cursor('CX_DOWNSCROLLCURSOR', ['down'])
scroll_cursor('CX_LEFTSCROLLCURSOR', ['left']); scroll_cursor('CX_RIGHTSCROLLCURSOR', ['right'])
scroll_cursor('CX_HORSCROLLCURSOR', ['left', 'right']); scroll_cursor('CX_VERSCROLLCURSOR', ['up', 'down'])
scroll_cursor('CX_FULLSCROLLCURSOR', ['up', 'down', 'left', 'right'])
size_cursor('CX_HORZSIZECURSOR', False); size_cursor('CX_VERTSIZECURSOR', True)
hand_cursor('MEMOHANDPT')
edit_sizing_cursor('DXBAREDITSIZINGCURSOR')

# Bitmaps. The panning marks: the cursor's arrows on a round button.
def scroll_bitmap(name, dirs):
    img, d = canvas(28, 28, (255, 255, 255, 255))
    d.ellipse([1, 1, 26, 26], fill=(240, 240, 240), outline=(64, 64, 64))
    d.ellipse([11, 11, 16, 16], fill='black')
    tri = {'up': [(14, 3), (9, 9), (19, 9)], 'down': [(14, 24), (9, 18), (19, 18)],
           'left': [(3, 14), (9, 9), (9, 19)], 'right': [(24, 14), (18, 9), (18, 19)]}
    for k in dirs:
        d.polygon(tri[k], fill='black')
    save('BITMAP', name, img.convert('RGB'))

scroll_bitmap('CX_HORSCROLLBITMAP', ['left', 'right']); scroll_bitmap('CX_VERSCROLLBITMAP', ['up', 'down'])
scroll_bitmap('CX_FULLSCROLLBITMAP', ['up', 'down', 'left', 'right'])

MAGENTA = (255, 0, 255)  # the transparent colour of the glyph bitmaps

def glyph(name, w, h, draw):
    img, d = canvas(w, h, MAGENTA + (255,))
    draw(d)
    save('BITMAP', name, img.convert('RGB'))

glyph('CX_ARROWBITMAP', 9, 9, lambda d: d.polygon([(2, 0), (6, 4), (2, 8)], fill='black'))
glyph('CX_MULTIARROWBITMAP', 9, 9, lambda d: (d.polygon([(0, 0), (4, 4), (0, 8)], fill='black'),
                                              d.polygon([(4, 0), (8, 4), (4, 8)], fill='black')))
glyph('CX_MULTIDOTBITMAP', 9, 9, lambda d: [d.rectangle([x, 3, x + 1, 4], fill='black') for x in (0, 3, 6)])
glyph('CX_EDITBITMAP', 9, 9, lambda d: (d.line([1, 7, 7, 1], fill='black', width=2), d.point((1, 8), fill='black')))
glyph('CX_INSERTBITMAP', 9, 9, lambda d: (d.rectangle([3, 0, 5, 8], fill='black'), d.rectangle([0, 3, 8, 5], fill='black')))
glyph('CX_FILTERBITMAP', 9, 9, lambda d: d.polygon([(0, 0), (8, 0), (5, 4), (5, 8), (3, 8), (3, 4)], fill='black'))
glyph('CX_AUTOHIDEON', 12, 12, lambda d: (d.rectangle([3, 1, 8, 6], outline='black'), d.line([0, 7, 11, 7], fill='black'), d.line([5, 7, 5, 11], fill='black')))
glyph('CX_AUTOHIDEOFF', 12, 12, lambda d: (d.rectangle([1, 3, 6, 8], outline='black'), d.line([7, 0, 7, 11], fill='black'), d.line([7, 5, 11, 5], fill='black')))

def close(d): d.line([3, 3, 11, 11], fill='black', width=2); d.line([3, 11, 11, 3], fill='black', width=2)
def minimize(d): d.rectangle([3, 10, 10, 11], fill='black')
def maximize(d): d.rectangle([2, 2, 12, 12], outline='black'); d.rectangle([2, 2, 12, 3], fill='black')
def restore(d):
    d.rectangle([5, 1, 12, 8], outline='black'); d.rectangle([5, 1, 12, 2], fill='black')
    d.rectangle([1, 5, 8, 12], fill=MAGENTA, outline='black'); d.rectangle([1, 5, 8, 6], fill='black')
glyph('DXBARCLOSE', 14, 14, close); glyph('DXBARMINIMIZE', 14, 14, minimize)
glyph('DXBARMAXIMIZE', 14, 14, maximize); glyph('DXBARRESTORE', 14, 14, restore)
glyph('DXSUBMENUEXPAND', 8, 8, lambda d: (d.polygon([(0, 1), (3, 4), (0, 7)], fill='black'), d.polygon([(4, 1), (7, 4), (4, 7)], fill='black')))

def combo(mark):
    def draw(d):
        d.rectangle([0, 2, 15, 13], fill='white', outline='black')
        d.rectangle([10, 3, 14, 12], fill=(200, 200, 200))
        d.polygon([(11, 6), (13, 6), (12, 8)], fill='black')
        mark(d)
    return draw
glyph('DXBARCOLORCOMBO', 16, 16, combo(lambda d: d.rectangle([2, 5, 8, 10], fill=(0, 128, 255))))
glyph('DXBARDATECOMBO', 16, 16, combo(lambda d: [d.point((x, y), fill='black') for x in (2, 4, 6, 8) for y in (5, 7, 9)]))
glyph('DXBARFONTNAMECOMBO', 16, 16, combo(lambda d: (d.line([2, 10, 5, 4], fill='black'), d.line([5, 4, 8, 10], fill='black'), d.line([3, 8, 7, 8], fill='black'))))
glyph('DXBARIMAGECOMBO', 16, 16, combo(lambda d: (d.rectangle([2, 5, 8, 10], outline='black'), d.polygon([(3, 10), (5, 7), (7, 10)], fill=(0, 160, 0)))))
glyph('DXBARTREEVIEWCOMBO', 16, 16, combo(lambda d: (d.line([3, 4, 3, 11], fill='black'), d.line([3, 7, 7, 7], fill='black'), d.line([3, 11, 7, 11], fill='black'))))
glyph('DXBARTRUETYPEFONT', 12, 12, lambda d: (d.rectangle([1, 1, 10, 3], fill=(0, 0, 128)), d.rectangle([5, 1, 6, 10], fill=(0, 0, 128))))
glyph('DXBARNONTRUETYPEFONT', 12, 12, lambda d: (d.rectangle([1, 1, 10, 10], outline=(96, 96, 96)), d.line([3, 8, 8, 3], fill=(96, 96, 96))))

def expand(plus):
    def draw(d):
        d.rectangle([0, 0, 8, 8], fill='white', outline=(128, 128, 128))
        d.line([2, 4, 6, 4], fill='black')
        if plus:
            d.line([4, 2, 4, 6], fill='black')
    return draw
glyph('DXEXPANDBUTTON_PLUS', 9, 9, expand(True)); glyph('DXEXPANDBUTTON_MINUS', 9, 9, expand(False))

for name, rgb in [('BLUE', (0, 64, 200)), ('GRAY', (128, 128, 128)), ('GREEN', (0, 160, 0)), ('PURPLE', (128, 0, 160)),
                  ('RED', (200, 0, 0)), ('TEAL', (0, 128, 128)), ('YELLOW', (230, 200, 0))]:
    glyph('DXSTATUSBAR_' + name, 11, 11, lambda d, rgb=rgb: d.ellipse([0, 0, 10, 10], fill=rgb, outline='black'))

# The editor's gutter: a red breakpoint and ten numbered bookmarks.
glyph('MEMO_BREAKPOINT', 14, 14, lambda d: d.ellipse([1, 1, 12, 12], fill=(200, 0, 0), outline=(96, 0, 0)))
DIGITS = ['111101101101111', '010110010010111', '111001111100111', '111001111001111', '101101111001001',
          '111100111001111', '111100111101111', '111001001001001', '111101111101111', '111101111001111']
for n in range(10):
    def bookmark(d, n=n):
        d.rectangle([1, 0, 12, 13], fill=(0, 96, 192), outline=(0, 32, 96))
        for i, bit in enumerate(DIGITS[n]):
            if bit == '1':
                x, y = 4 + (i % 3) * 2, 2 + (i // 3) * 2
                d.rectangle([x, y, x + 1, y + 1], fill='white')
    glyph(f'BIGBOOKMARK{n}', 14, 14, bookmark)

# The stock glyphs of the bitmap buttons' kinds (18 x 18).
def check(d, dx=0, c=(0, 140, 0)):
    d.line([2 + dx, 9, 6 + dx, 13], fill=c, width=3); d.line([6 + dx, 13, 14 + dx, 4], fill=c, width=3)
def cross(d, c=(200, 0, 0)):
    d.line([4, 4, 13, 13], fill=c, width=3); d.line([4, 13, 13, 4], fill=c, width=3)
def help_mark(d):
    blue = (0, 0, 160)
    d.rectangle([5, 2, 12, 3], fill=blue); d.rectangle([11, 3, 13, 8], fill=blue); d.rectangle([4, 3, 6, 5], fill=blue)
    d.rectangle([8, 8, 12, 9], fill=blue); d.rectangle([8, 9, 10, 12], fill=blue); d.rectangle([8, 14, 10, 16], fill=blue)
def no_sign(d):
    d.ellipse([2, 2, 15, 15], outline=(200, 0, 0), width=2); d.line([5, 12, 12, 5], fill=(200, 0, 0), width=2)
def door(d):
    d.rectangle([3, 1, 14, 16], fill=(160, 96, 32), outline=(64, 32, 0)); d.rectangle([10, 8, 11, 9], fill=(255, 220, 0))
def abort_sign(d):
    d.ellipse([2, 2, 15, 15], fill=(200, 0, 0), outline=(96, 0, 0)); d.rectangle([5, 8, 12, 9], fill='white')
def retry_sign(d):
    d.ellipse([3, 3, 14, 14], outline=(0, 128, 0), width=2); d.rectangle([3, 3, 8, 8], fill=MAGENTA)
    d.polygon([(3, 2), (9, 6), (3, 9)], fill=(0, 128, 0))
def ignore_sign(d):
    d.rectangle([8, 9, 9, 16], fill=(128, 128, 128))
    d.line([2, 12, 8, 4], fill=(0, 0, 160), width=2); d.line([8, 4, 15, 12], fill=(0, 0, 160), width=2)
    d.polygon([(15, 9), (15, 15), (10, 13)], fill=(0, 0, 160))
glyph('BBOK', 18, 18, check); glyph('BBCANCEL', 18, 18, cross); glyph('BBHELP', 18, 18, help_mark)
glyph('BBYES', 18, 18, check); glyph('BBNO', 18, 18, no_sign); glyph('BBCLOSE', 18, 18, door)
glyph('BBABORT', 18, 18, abort_sign); glyph('BBRETRY', 18, 18, retry_sign); glyph('BBIGNORE', 18, 18, ignore_sign)
glyph('BBALL', 18, 18, lambda d: (check(d, -1), check(d, 3, (0, 100, 0))))

# The program's icon: a page with an arrow to another page.
def program_icon(size):
    img, d = canvas(size, size)
    s = size / 32
    d.rectangle([2 * s, 2 * s, 16 * s, 22 * s], fill='white', outline=(0, 0, 96))
    for y in (6, 10, 14, 18):
        d.line([5 * s, y * s, 13 * s, y * s], fill=(0, 0, 160))
    d.rectangle([16 * s, 10 * s, 30 * s, 30 * s], fill=(255, 240, 200), outline=(160, 64, 0))
    d.polygon([(10 * s, 24 * s), (18 * s, 24 * s), (18 * s, 21 * s), (24 * s, 26 * s), (18 * s, 31 * s), (18 * s, 28 * s), (10 * s, 28 * s)], fill=(0, 160, 0))
    return img
save('ICON', 'MAINICON', program_icon(32))

# The system's icons (LoadIcon with a null instance and an IDI_ number):
# message boxes and windows without an icon of their own show these.
def system_icon(kind):
    img, d = canvas(32, 32)
    if kind == 'APPLICATION':      # a plain window
        d.rectangle([2, 4, 29, 27], fill='white', outline=(0, 0, 0))
        d.rectangle([3, 5, 28, 9], fill=(0, 64, 160))
    elif kind == 'WINLOGO':        # a screen on its stand
        d.rectangle([3, 4, 28, 22], fill=(0, 96, 160), outline=(0, 0, 0))
        d.rectangle([13, 23, 18, 26], fill=(96, 96, 96))
        d.rectangle([8, 27, 23, 28], fill=(64, 64, 64))
    elif kind == 'HAND':           # a red disc with a white cross
        d.ellipse([1, 1, 30, 30], fill=(200, 0, 0), outline=(96, 0, 0))
        d.line([10, 10, 21, 21], fill='white', width=3); d.line([10, 21, 21, 10], fill='white', width=3)
    elif kind == 'EXCLAMATION':    # a yellow triangle with a black mark
        d.polygon([(16, 1), (31, 29), (1, 29)], fill=(250, 210, 0), outline=(0, 0, 0))
        d.rectangle([15, 10, 17, 20], fill='black'); d.rectangle([15, 23, 17, 25], fill='black')
    else:                          # QUESTION and ASTERISK: a blue disc with a white sign
        d.ellipse([1, 1, 30, 30], fill=(0, 80, 200), outline=(0, 32, 96))
        if kind == 'ASTERISK':
            d.rectangle([14, 7, 17, 10], fill='white'); d.rectangle([14, 13, 17, 24], fill='white')
            d.rectangle([12, 13, 13, 14], fill='white'); d.rectangle([12, 23, 19, 24], fill='white')
        else:
            d.rectangle([11, 7, 20, 9], fill='white'); d.rectangle([18, 9, 20, 15], fill='white')
            d.rectangle([10, 9, 12, 11], fill='white')
            d.rectangle([14, 14, 19, 16], fill='white'); d.rectangle([14, 16, 16, 19], fill='white')
            d.rectangle([14, 22, 16, 24], fill='white')
    save('ICON', 'IDI_' + kind, img)

for kind in ('APPLICATION', 'HAND', 'QUESTION', 'EXCLAMATION', 'ASTERISK', 'WINLOGO'):
    system_icon(kind)

with open(os.path.join(HERE, 'resources.txt'), 'w') as f:
    f.write('# The program\'s resources: KIND NAME FILE [HOTX HOTY] (cursors have a hot spot).\n'
            '# Bitmaps whose colour is magenta (255,0,255) there are transparent in glyph lists.\n'
            '# Written by draw_resources.py; string tables are in strings.txt.\n')
    for kind, name, rel, hot in TABLE:
        f.write(f'{kind} {name} {rel}' + (f' {hot[0]} {hot[1]}' if hot else '') + '\n')
