#!/usr/bin/env python3
"""Makes the demo client archive that the demo installer carries.

Usage: make_client_archive.py <output.zip> <demo client exe> <icon>

The archive is fixed: the same inputs give the same bytes (fixed seed, fixed time stamps).
It has the shape of the real client archive: 174 entries (35 folders, 139 files) below the
top-level folders Trade/ (83 entries) and DQ/ (91 entries), about 9.5 MB packed and 57 MB
unpacked, stored and deflated entries mixed. The four client programs are copies of the demo
client program; DQ/ICONFIG.INI is a GBK settings file; the alert sound is a real WAV file.
"""
import math
import os
import random
import struct
import sys
import zipfile

STAMP = (2024, 3, 18, 9, 30, 0)

# The client programs and the files the installer refers to by path. Two names are spelled
# in another letter case than the installer's paths, as in the real archive.
NAMED = {
    "Trade/Pravolt-trade/Pravolt.exe": "exe",
    "Trade/Senvique.exe": "exe",
    "Trade/orlandex.exe": "exe",
    "DQ/Veskoqtrn.exe": "exe",
    "DQ/tolvarn.ico": "icon",
    "DQ/ICONFIG.INI": "ini",
    "DQ/Users/ALERT.WAV": "wav",
}

SETTINGS = (
    "[ICONFIG]\r\n"
    "VERSION=3.18.2\r\n"
    "ORDER=C:\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe\r\n"
    "BASEPATH=C:\\Korvexa商城\\DQ\r\n"
    "ALERT=C:\\Korvexa商城\\DQ\\USERS\\ALERT.WAV\r\n"
    "SKIN=经典\r\n"
    "AUTOUPDATE=1\r\n"
    "\r\n"
    "[SERVER]\r\n"
    "COUNT=3\r\n"
    "HOST1=hq1.korvexa.example:7709\r\n"
    "HOST2=hq2.korvexa.example:7709\r\n"
    "HOST3=hq3.korvexa.example:7711\r\n"
    "\r\n"
    "[LAYOUT]\r\n"
    "FONT=宋体\r\n"
    "FONTSIZE=9\r\n"
    "TITLE=Korvexa商城行情分析系统\r\n"
)


def alert_wave():
    """A quarter-second 880 Hz beep: PCM, 8 kHz, 8 bits, mono."""
    rate, count = 8000, 2000
    samples = bytes(
        128 + round(100 * math.sin(2 * math.pi * 880 * i / rate) * min(1.0, (count - i) / 400))
        for i in range(count))
    fmt = struct.pack("<4sIHHIIHH", b"fmt ", 16, 1, 1, rate, rate, 1, 8)
    data = struct.pack("<4sI", b"data", len(samples)) + samples
    return struct.pack("<4sI4s", b"RIFF", 4 + len(fmt) + len(data), b"WAVE") + fmt + data


def text_content(rng, size):
    """Settings, price tables and help pages: text that deflates to about a fifth."""
    words = ["price", "volume", "open", "close", "high", "low", "market", "order", "account",
             "stock", "fund", "bond", "index", "quote", "trade", "window", "panel", "color"]
    lines = []
    total = 0
    while total < size:
        line = '<item id="%d" code="%06d" name="%s_%s" value="%.2f"/>\r\n' % (
            rng.randrange(100000), rng.randrange(1000000), rng.choice(words), rng.choice(words),
            rng.random() * 1000)
        lines.append(line)
        total += len(line)
    return "".join(lines).encode("ascii")[:size]


def sparse_content(rng, size):
    """Preallocated market-data files: zeros with a short record every 4 KiB."""
    data = bytearray(size)
    for offset in range(0, size - 64, 4096):
        data[offset:offset + 32] = rng.randbytes(32)
    return bytes(data)


def layout():
    """(name, kind, size, stored) for every entry, folders first within their parent."""
    entries = []

    def folder(name):
        entries.append((name, "folder", 0, True))

    def files(prefix, items):
        for name, kind, size, stored in items:
            entries.append((prefix + name, kind, size, stored))

    kb = 1024
    # Trade/: 15 folders, 68 files.
    folder("Trade/")
    files("Trade/", [("Senvique.exe", "exe", 0, False), ("orlandex.exe", "exe", 0, False)]
          + [("trade%02d.dll" % i, "random", (35 + 20 * i) * kb, i % 3 == 0) for i in range(14)]
          + [("Trade.ini", "text", 6 * kb, False), ("readme.txt", "text", 9 * kb, False)])
    folder("Trade/Pravolt-trade/")
    files("Trade/Pravolt-trade/", [("Pravolt.exe", "exe", 0, False), ("update.dll", "random", 250 * kb, False),
                                   ("version.xml", "text", 3 * kb, False)])
    for sub, count in (("config/", 5), ("log/", 3), ("update/", 4)):
        folder("Trade/Pravolt-trade/" + sub)
        files("Trade/Pravolt-trade/" + sub,
              [("%s%d.dat" % (sub[:-1], i), "text" if sub == "config/" else "sparse", (40 + 23 * i) * kb, False)
               for i in range(count)])
    folder("Trade/skin/")
    for skin in ("default/", "blue/"):
        folder("Trade/skin/" + skin)
        files("Trade/skin/" + skin, [("skin.xml", "text", 14 * kb, False)])
        folder("Trade/skin/" + skin + "images/")
        files("Trade/skin/" + skin + "images/",
              [("button%02d.png" % i, "random", (9 + 5 * i) * kb, True) for i in range(8)])
    folder("Trade/plugins/")
    files("Trade/plugins/", [("plugin%d.dll" % i, "random", (80 + 40 * i) * kb, False) for i in range(4)])
    folder("Trade/data/")
    files("Trade/data/", [("codes.dat", "sparse", 2600 * kb, False), ("calendar.dat", "text", 48 * kb, False)])
    folder("Trade/data/broker/")
    files("Trade/data/broker/", [("broker%d.ini" % i, "text", (2 + i) * kb, False) for i in range(4)])
    folder("Trade/help/")
    files("Trade/help/", [("help%d.htm" % i, "text", (11 + 4 * i) * kb, False) for i in range(4)])
    folder("Trade/sound/")
    files("Trade/sound/", [(name, "wav", 0, False) for name in ("order.wav", "deal.wav", "cancel.wav")])

    # DQ/: 20 folders, 71 files.
    folder("DQ/")
    files("DQ/", [("Veskoqtrn.exe", "exe", 0, False), ("tolvarn.ico", "icon", 0, True),
                  ("ICONFIG.INI", "ini", 0, False)]
          + [("dq%02d.dll" % i, "random", (40 + 24 * i) * kb, i % 4 == 0) for i in range(16)]
          + [("formula.lib", "text", 180 * kb, False)])
    folder("DQ/Users/")
    files("DQ/Users/", [("ALERT.WAV", "wav", 0, False), ("user.ini", "text", 2 * kb, False)])
    for sub in ("guest/", "demo/"):
        folder("DQ/Users/" + sub)
        files("DQ/Users/" + sub, [("blocks.dat", "sparse", 900 * kb, False), ("layout.ini", "text", 4 * kb, False)])
    folder("DQ/hq/")
    for market in ("sh/", "sz/", "bj/"):
        folder("DQ/hq/" + market)
        for period in ("day/", "min/"):
            folder("DQ/hq/" + market + period)
            files("DQ/hq/" + market + period,
                  [("%s%d.day" % (market[:-1], i), "sparse", (3100 if period == "day/" else 1320) * kb, False)
                   for i in range(3)])
    folder("DQ/skin/")
    files("DQ/skin/", [("skin%d.png" % i, "random", (30 + 17 * i) * kb, True) for i in range(6)])
    folder("DQ/formula/")
    files("DQ/formula/", [("f%02d.fml" % i, "text", (5 + 3 * i) * kb, False) for i in range(6)])
    folder("DQ/news/")
    files("DQ/news/", [("news%d.htm" % i, "text", 26 * kb, False) for i in range(3)])
    folder("DQ/help/")
    files("DQ/help/", [("topic%d.htm" % i, "text", (8 + 5 * i) * kb, False) for i in range(7)])
    folder("DQ/plugin/")
    files("DQ/plugin/", [("hq%d.dll" % i, "random", (100 + 50 * i) * kb, False) for i in range(3)])
    folder("DQ/cache/")
    files("DQ/cache/", [("cache.idx", "sparse", 1500 * kb, False), ("cache.dat", "random", 464 * kb, True)])
    return entries


def content(kind, size, rng, inputs):
    if kind == "exe":
        return inputs["exe"]
    if kind == "icon":
        return inputs["icon"]
    if kind == "ini":
        return SETTINGS.encode("gbk")
    if kind == "wav":
        return alert_wave()
    if kind == "random":
        return rng.randbytes(size)
    if kind == "text":
        return text_content(rng, size)
    return sparse_content(rng, size)


def check_shape(entries):
    names = [e[0] for e in entries]
    folders = [n for n in names if n.endswith("/")]
    assert len(names) == 174 and len(folders) == 35, (len(names), len(folders))
    assert sum(n.startswith("Trade/") for n in names) == 83
    assert sum(n.startswith("DQ/") for n in names) == 91
    lowered = {n.lower() for n in names}
    for path in ("Trade/Pravolt-trade/Pravolt.exe", "Trade/Senvique.exe", "Trade/Orlandex.exe", "DQ/Veskoqtrn.exe",
                 "DQ/tolvarn.ico", "DQ/ICONFIG.INI", "DQ/USERS/ALERT.WAV"):
        assert path.lower() in lowered, path


def main(out, exe_path, icon_path):
    with open(exe_path, "rb") as f:
        exe = f.read()
    with open(icon_path, "rb") as f:
        icon = f.read()
    inputs = {"exe": exe, "icon": icon}
    rng = random.Random(20240318)
    entries = layout()
    check_shape(entries)

    temporary = out + ".part"
    unpacked = 0
    with zipfile.ZipFile(temporary, "w") as archive:
        for index, (name, kind, size, stored) in enumerate(entries):
            info = zipfile.ZipInfo(name, date_time=STAMP[:5] + (2 * (index % 30),))
            info.create_system = 0  # MS-DOS attributes, as an archive made on Windows
            if kind == "folder":
                info.external_attr = 0x10
                archive.writestr(info, b"", compress_type=zipfile.ZIP_STORED)
                continue
            data = content(kind, size, rng, inputs)
            unpacked += len(data)
            info.external_attr = 0x20
            archive.writestr(info, data, compress_type=zipfile.ZIP_STORED if stored else zipfile.ZIP_DEFLATED,
                             compresslevel=9)
    os.replace(temporary, out)
    print("demo client archive: %d entries, %d bytes packed, %d bytes unpacked"
          % (len(entries), os.path.getsize(out), unpacked))


if __name__ == "__main__":
    main(*sys.argv[1:4])
