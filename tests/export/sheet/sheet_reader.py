#!/usr/bin/python3
"""Independent readers for the sheet files the tests write.

  sheet_reader.py xls FILE   -> xlrd view: one line per sheet and per cell
  sheet_reader.py wk1 FILE   -> WK1 record walk
  sheet_reader.py wb1 FILE   -> WB1 record walk
  sheet_reader.py ole FILE   -> olefile view of the container

Each prints plain lines that the C++ tests compare; any structural fault
exits non-zero with a message.
"""
import struct
import sys


def fail(msg):
    print("BAD " + msg)
    sys.exit(2)


def read_xls(path):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=True)
    for sheet in book.sheets():
        print("SHEET %s %d %d" % (sheet.name, sheet.nrows, sheet.ncols))
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY or cell.ctype == xlrd.XL_CELL_BLANK:
                    continue
                xf = book.xf_list[cell.xf_index]
                font = book.font_list[xf.font_index]
                fmt = book.format_map[xf.format_key].format_str if xf.format_key in book.format_map else "?"
                kind = {xlrd.XL_CELL_TEXT: "L", xlrd.XL_CELL_NUMBER: "N"}.get(cell.ctype, "?")
                value = cell.value if kind != "N" else repr(float(cell.value))
                print("%d %d %s %s|font=%s,%d,b%d,i%d|fmt=%s" % (
                    r, c, kind, value, font.name, font.height // 20, font.bold, font.italic, fmt))


def read_ole(path):
    import olefile
    if not olefile.isOleFile(path):
        fail("not an OLE file")
    ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_INCORRECT)
    for entry in sorted(ole.listdir()):
        name = "/".join(entry).replace("\x05", "\\5")
        print("STREAM %s %d" % (name, ole.get_size(entry)))
    data = ole.openstream("Book").read()
    print("BOOKHEAD %s" % data[:4].hex())


def read_xlsobj(path):
    import olefile
    data = olefile.OleFileIO(path).openstream("Book").read()
    pos = 0
    while pos + 4 <= len(data):
        rid, length = struct.unpack_from("<HH", data, pos)
        body = data[pos + 4:pos + 4 + length]
        if rid == 0x005D:
            f = struct.unpack_from("<IHHH8H", body)
            print("OBJ type=%d id=%d cols=%d+%d..%d+%d rows=%d+%d..%d+%d len=%d" % (
                f[1], f[2], f[4], f[5], f[8], f[9], f[6], f[7], f[10], f[11], length))
        elif rid == 0x00A9:
            print("COORDLIST " + " ".join(str(v) for v in struct.unpack("<%dH" % (length // 2), body)))
        elif rid == 0x007F:
            print("IMDATA cf=%d size=%d len=%d" % (struct.unpack_from("<HHI", body)[0], struct.unpack_from("<HHI", body)[2], length))
        elif rid == 0x003C:
            print("CONTINUE len=%d" % length)
        pos += 4 + length


def walk(path, bof, eof_id):
    data = open(path, "rb").read()
    pos, records = 0, []
    while pos < len(data):
        if pos + 4 > len(data):
            fail("truncated header at %d" % pos)
        rid, length = struct.unpack_from("<HH", data, pos)
        body = data[pos + 4:pos + 4 + length]
        if len(body) != length:
            fail("record 0x%04x at %d runs past the end" % (rid, pos))
        records.append((rid, body))
        pos += 4 + length
    if not records or records[0][0] != 0 or records[0][1] != struct.pack("<H", bof):
        fail("no BOF")
    if records[-1] != (eof_id, b""):
        fail("no EOF at the end")
    if sum(1 for r in records if r[0] == eof_id) != 1:
        fail("EOF inside the file")
    return records


def read_wk1(path):
    for rid, body in walk(path, 0x0404, 0x0001):
        if rid == 0x000E:
            if len(body) != 13:
                fail("NUMBER length %d" % len(body))
            fmt, col, row, value = struct.unpack("<BHHd", body)
            print("%d %d N %r fmt=%02X" % (row, col, value, fmt))
        elif rid == 0x000F:
            fmt, col, row = struct.unpack_from("<BHH", body)
            text = body[5:]
            if not text.endswith(b"\0") or b"\0" in text[:-1]:
                fail("label not zero-terminated")
            if len(text) - 1 > 240:
                fail("label longer than 240")
            if text[:1] not in (b"'", b'"', b"^"):
                fail("label without an alignment prefix")
            print("%d %d L %s fmt=%02X" % (row, col, text[1:-1].decode("cp1252"), fmt))
        elif rid == 0x0028:
            print("MARGINS %s" % " ".join(str(v) for v in struct.unpack("<5H", body)))


def read_wb1(path):
    fonts = 0
    for rid, body in walk(path, 0x1001, 0x0001):
        if rid == 0x000E:
            if len(body) != 14:
                fail("NUMBER length %d" % len(body))
            col, _, row, attr, value = struct.unpack("<BBHHd", body)
            print("%d %d N %r attr=%d" % (row, col, value, attr))
        elif rid == 0x000F:
            col, _, row, attr, zero = struct.unpack_from("<BBHHB", body)
            text = body[7:]
            if not text.endswith(b"\0"):
                fail("label not zero-terminated")
            print("%d %d L %s attr=%d" % (row, col, text[:-1].decode("cp1252"), attr))
        elif rid == 0x00CF:
            size, style = struct.unpack_from("<HH", body)
            print("FONT %s %d %d" % (body[4:36].rstrip(b"\0").decode("cp1252"), size, style))
            fonts += 1
        elif rid == 0x00E8:
            if len(body) != 64:
                fail("palette length")
            print("PALETTE " + " ".join(body[i:i + 3].hex() for i in range(0, 64, 4)))
        elif rid == 0x00CE:
            print("STYLE fmt=%d align=%d colours=%04X font=%d" % (body[0], body[1], struct.unpack_from("<H", body, 2)[0], body[4]))


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    {"xls": read_xls, "xlsobj": read_xlsobj, "ole": read_ole, "wk1": read_wk1, "wb1": read_wb1}[kind](path)
