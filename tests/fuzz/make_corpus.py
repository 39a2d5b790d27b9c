#!/usr/bin/env python3
"""Writes the hand-made seed files of the fuzz corpora (tests/fuzz/corpus/{ini,bmp,archive}).

Run from anywhere; the generated files are committed. The default skin's own files are added
by the packer (see the README lines at the end of this script's output)."""
import os, struct, zlib

here = os.path.dirname(os.path.abspath(__file__))
corpus = os.path.join(here, "corpus")


def put(kind, name, data):
    os.makedirs(os.path.join(corpus, kind), exist_ok=True)
    with open(os.path.join(corpus, kind, name), "wb") as f:
        f.write(data)


def bmp(width, height, bpp, rows, *, header=40, compression=0, size_image=0, clr_used=0, extra=b"", planes=1,
        magic=b"BM"):
    if header == 12:
        info = struct.pack("<IHHHH", 12, width & 0xFFFF, height & 0xFFFF, planes, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, height, planes, bpp, compression, size_image, 2835, 2835,
                           clr_used, 0)
        info += b"\0" * (header - len(info))
    body = info + extra + rows
    return magic + struct.pack("<IHHI", 14 + len(body), 0, 0, 14 + len(info) + len(extra)) + body


def stride(w, bpp):
    return (w * bpp + 31) // 32 * 4


def palette(n):
    return b"".join(struct.pack("<BBBB", (i * 37) & 255, (i * 91) & 255, (i * 13) & 255, 0) for i in range(n))


# ---- BMP seeds: every depth and header, then malformed ones ----
for bpp in (1, 4, 8, 24, 32):
    w, h = 5, 3
    pal = palette(1 << bpp) if bpp <= 8 else b""
    rows = bytes((x * 29 + 7) & 255 for x in range(stride(w, bpp) * h))
    put("bmp", f"rgb{bpp}.bmp", bmp(w, h, bpp, rows, extra=pal))
    put("bmp", f"topdown{bpp}.bmp", bmp(w, -h, bpp, rows, extra=pal))
put("bmp", "rgb16_555.bmp", bmp(3, 2, 16, bytes(range(16))))
put("bmp", "bitfields565.bmp", bmp(3, 2, 16, bytes(range(16)), compression=3,
                                   extra=struct.pack("<III", 0xF800, 0x07E0, 0x001F)))
put("bmp", "bitfields32.bmp", bmp(2, 2, 32, bytes(range(16)), compression=3,
                                  extra=struct.pack("<III", 0xFF, 0xFF00, 0xFF0000)))
v5 = bytearray(bmp(1, 1, 32, b"\x11\x22\x33\x00", header=124, compression=3))
struct.pack_into("<III", v5, 14 + 40, 0xFF0000, 0xFF00, 0xFF)
put("bmp", "v5.bmp", bytes(v5))
put("bmp", "core1.bmp", bmp(9, 2, 1, b"\xAA\x80\0\0\x55\x00\0\0", header=12, extra=b"\0\0\0\xff\xff\xff"))
put("bmp", "core8.bmp", bmp(2, 1, 8, b"\x01\x02\0\0", header=12, extra=b"\x10\x20\x30" * 256))
put("bmp", "clrused.bmp", bmp(2, 2, 8, b"\x00\x01\0\0\x01\x00\0\0", clr_used=2, extra=palette(2)))
put("bmp", "rle8.bmp", bmp(6, 3, 8, bytes([3, 1, 0, 0, 0, 4, 1, 2, 1, 2, 0, 2, 2, 1, 2, 2, 0, 1]), compression=1,
                           clr_used=4, extra=palette(4)))
put("bmp", "rle4.bmp", bmp(6, 2, 4, bytes([5, 0x12, 0, 0, 0, 3, 0x21, 0x30, 0, 1]), compression=2, clr_used=4,
                           extra=palette(4)))
ok = bmp(2, 2, 24, b"\1" * 16)
put("bmp", "bad_magic.bmp", b"BA" + ok[2:])
put("bmp", "bad_planes.bmp", bmp(2, 2, 24, b"\1" * 16, planes=0))
put("bmp", "bad_bpp2.bmp", bmp(2, 2, 2, b"\1" * 16))
put("bmp", "bad_header13.bmp", bmp(2, 2, 24, b"\1" * 16, header=16)[:14] + struct.pack("<I", 13) + b"\0" * 40)
put("bmp", "zero_size.bmp", bmp(0, 0, 24, b""))
put("bmp", "negative_width.bmp", bmp(-4, 2, 24, b"\1" * 32))
put("bmp", "huge_dims.bmp", bmp(0x7FFFFFFF, 0x7FFFFFFF, 24, b"\1" * 16))
put("bmp", "huge_clrused.bmp", bmp(1, 1, 8, b"\0" * 4, clr_used=0x7FFFFFFF))
put("bmp", "table_past_end.bmp", bmp(1, 1, 8, b"\0" * 4))
put("bmp", "truncated_rows.bmp", bmp(8, 8, 24, b"\1" * 100))
put("bmp", "size_image_short.bmp", bmp(4, 4, 24, b"\1" * 48, size_image=10))
put("bmp", "zero_mask.bmp", bmp(1, 1, 16, b"\0\0\0\0", compression=3, extra=struct.pack("<III", 0, 0x7E0, 0x1F)))
put("bmp", "overlap_mask.bmp", bmp(1, 1, 16, b"\0\0\0\0", compression=3, extra=struct.pack("<III", 0xFC00, 0x7E0, 0x1F)))
put("bmp", "rle_huge.bmp", bmp(60000, 60000, 8, b"\0\1", compression=1, clr_used=1, extra=palette(1)))
put("bmp", "rle_absolute_past_end.bmp", bmp(4, 4, 8, bytes([0, 200, 1, 2]), compression=1, clr_used=2, extra=palette(2)))
put("bmp", "header_cut.bmp", ok[:20])

# ---- INI seeds ----
put("ini", "rules.ini", b"orphan=1\r\n[ Sec ]\r\n key = a b \r\n;comment=1\r\nnoequals\r\n[sec]\r\nkey=second\r\n"
                        b"[A]\rx=1\ny=2\r\nz=3\0[after]\r\n")
put("ini", "values.ini", b"[caption1]\r\nskinrect=5, 29, 141, 74\r\nlefttoppoint=-3,7\r\nactiveskinrect=1x2,3,4,5\r\n"
                         b"fontstyle=xfsboldx fsitalic\r\nalignment=center\r\nmorphkind=mkpush\r\ncommand=cmclosebutton\r\n"
                         b"stretchtype=stvertical\r\ninactiveeffect=iedark\r\nmorphing=2\r\nfontcolor=$FF00000F\r\n"
                         b"fontheight=0x10\r\nhint=Hallo = Welt\r\n")
put("ini", "bad_rect.ini", b"[SKINOBJECTS]\r\ncount=1\r\n0=c:caption\r\n[c]\r\nskinrect=\r\n")
put("ini", "big_field.ini", b"[SKINOBJECTS]\r\ncount=1\r\n0=c:button\r\n[c]\r\nskinrect=1,2,3,99999999999\r\n")
put("ini", "huge_counts.ini", b"[PICTURES]\r\nactivepicturescount=2000000000\r\n[SKINOBJECTS]\r\ncount=2147483647\r\n"
                              b"0=a:animate\r\n[SKINCONTROLS]\r\ncount=-5\r\n")
put("ini", "records.ini", b"[VERSION]\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\ncount=9\r\n0=m:menuitem\r\n"
                          b"1=b:mainmenubaritem\r\n2=s:stdbutton\r\n3=x:mainmenubarbutton\r\n4=y:button\r\n5=c:caption\r\n"
                          b"6=a:animate\r\n7=u:userobject\r\n8=q:Caption\r\n[SKINCONTROLS]\r\ncount=3\r\n0=p:panel\r\n"
                          b"1=mm:mainmenubar\r\n2=z:unknown\r\n[a]\r\nmorphing=1\r\n[u]\r\nhint=h\r\nskinrect=1,2,3,4\r\n"
                          b"[POPUPWINDOW]\r\nwindowpictureindex=0\r\n[HINTWINDOW]\r\n[SKINCOLORS]\r\ncbtnface=255\r\n")

# ---- archive seeds ----
def flagged(data):
    return b"\1" if data is None else b"\0" + data


def archive(version, pics, active, text, extras=()):
    out = struct.pack("<i", version) + b"".join(flagged(p) for p in pics)
    if version == 2:
        out += b"".join(flagged(p) for p in extras)
    out += struct.pack("<i", len(active)) + b"".join(active) + text
    return out


small = bmp(4, 2, 24, b"\x10" * 24)
mask = bmp(4, 2, 1, b"\x80\0\0\0" * 2, extra=b"\0\0\0\0\xff\xff\xff\0")
desc = (b"[VERSION]\r\nskinname=Fuzz\r\n[PICTURES]\r\npicture=p.bmp\r\nmask=m.bmp\r\nactivepicturescount=1\r\n0=a.bmp\r\n"
        b"[FORMINFO]\r\nclientrect=1,1,3,2\r\n[SKINOBJECTS]\r\ncount=1\r\n0=close:stdbutton\r\n[close]\r\n"
        b"skinrect=0,0,2,2\r\ncommand=cmclose\r\n[SKINCONTROLS]\r\ncount=1\r\n0=panel:panel\r\n[panel]\r\n"
        b"pictureindex=0\r\nskinrect=0,0,4,2\r\n")
v3 = archive(3, [small, None, mask], [small], desc)
put("archive", "v3.arc", v3)
put("archive", "v3.zlib", zlib.compress(v3, 9))
put("archive", "v2.arc", archive(2, [small, None, mask], [small], desc, extras=[small, None]))
put("archive", "v4.arc", archive(4, [None, None, None], [], desc))
put("archive", "empty_list.arc", archive(3, [None, None, None], [], desc))
put("archive", "huge_n.arc", struct.pack("<i", 3) + b"\1\1\1" + struct.pack("<i", 1000000000) + small)
put("archive", "negative_n.arc", struct.pack("<i", 3) + b"\1\1\1" + struct.pack("<i", -7) + desc)
put("archive", "truncated.arc", v3[:60])
put("archive", "truncated.zlib", zlib.compress(v3, 9)[:40])
put("archive", "trailing.zlib", zlib.compress(v3, 9) + b"garbage")
put("archive", "no_line_end.arc", archive(3, [None, None, None], [], b"[VERSION]"))
put("archive", "rle_picture.arc", archive(3, [bmp(4, 2, 8, bytes([4, 1, 0, 0, 4, 0, 0, 1]), compression=1, clr_used=2,
                                                   extra=palette(2)), None, None], [], desc))


# Recovery copies: a whole record, and one cut short.
def recovery(name, caption, text, flags=0):
    body = name + caption + text
    return (b"FNWH" + struct.pack("<HHIIQI", 1, flags, len(name), len(caption), len(text), zlib.crc32(body)) + body)


note = recovery("C:\\Notizen\\Grüße.txt".encode(), "Grüße.txt".encode(), b"{\\rtf1\\ansi Hallo\\par }", 1)
put("recovery", "note.fnw", note)
put("recovery", "cut.fnw", note[:40])
print("corpora written to", corpus)
