#!/usr/bin/env python3
"""Makes the ZIP archives the extraction tests unpack, with what each should give.

Usage: make_archive_fixtures.py <output folder>

Writes into the output folder (emptied first):
  expected/<set>/...   the tree an archive must unpack to (files, folders, bytes)
  expected/<set>.times file path (backslashes, GBK) TAB local time "YYYY-MM-DD hh:mm:ss", one a line
  *.zip                the archives: made by Info-ZIP zip, by Python's zipfile and by hand
Archives that must fail are listed in the test itself.
"""
import calendar
import os
import shutil
import struct
import subprocess
import sys
import zipfile
import zlib

# Local wall-clock times written into the archives (DOS time stamps have 2-second steps).
BASE_TIME = (2021, 6, 15, 10, 20, 30)


def stamp(index):
    y, mo, d, h, mi, s = BASE_TIME
    return (y, mo, d, h, mi + index, s + 2 * (index % 10))


def source_tree():
    """(relative path, bytes or None for a folder, time index, read-only) of the common tree."""
    pattern = bytes(range(256)) * 40
    return [
        ("alpha.txt", b"alpha\r\n" * 300, 0, False),
        ("empty.bin", b"", 1, False),
        ("picture.png", bytes((i * 37 + 11) % 251 for i in range(6000)), 2, False),
        ("docs", None, 3, False),
        ("docs/readme.txt", b"Korvexa test archive\r\n", 4, False),
        ("docs/locked.txt", b"read-only in the archive\r\n", 5, True),
        ("docs/deep", None, 6, False),
        ("docs/deep/pattern.dat", pattern, 7, False),
        ("empty-folder", None, 8, False),
    ]


def write_tree(root, entries, times_path):
    lines = []
    for path, data, index, read_only in entries:
        full = os.path.join(root, *path.split("/"))
        if data is None:
            os.makedirs(full, exist_ok=True)
            continue
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)
        lines.append("%s\t%04d-%02d-%02d %02d:%02d:%02d\r\n" % ((path.replace("/", "\\"),) + stamp(index)))
    # Times last, folders after their files; read-only after the times.
    for path, data, index, read_only in sorted(entries, key=lambda e: -e[0].count("/")):
        full = os.path.join(root, *path.split("/"))
        seconds = calendar.timegm(stamp(index) + (0, 0, 0))
        os.utime(full, (seconds, seconds))
        if read_only:
            os.chmod(full, 0o444)
    with open(times_path, "wb") as f:
        f.write("".join(lines).encode("gbk"))


def info_zip(source, out, options, streamed=False):
    names = sorted(os.listdir(source))
    env = dict(os.environ, TZ="UTC")  # the DOS times are then the wall-clock times set above
    if streamed:
        # Written to a pipe, zip cannot seek back and writes data descriptors after the data.
        with open(out, "wb") as f:
            zipper = subprocess.Popen(["zip", "-q", "-r"] + options + ["-"] + names, cwd=source, env=env,
                                      stdout=subprocess.PIPE)
            shutil.copyfileobj(zipper.stdout, f)
            if zipper.wait() != 0:
                sys.exit("zip failed")
    else:
        subprocess.run(["zip", "-q", "-r"] + options + [os.path.abspath(out)] + names, cwd=source, env=env,
                       check=True)


class Unseekable:
    """A file that cannot seek or tell, so zipfile writes data descriptors."""

    def __init__(self, f):
        self.f = f

    def write(self, data):
        return self.f.write(data)

    def flush(self):
        self.f.flush()


def python_zip(out, entries, streamed=False):
    with open(out, "wb") as f:
        with zipfile.ZipFile(Unseekable(f) if streamed else f, "w") as archive:
            for number, (path, data, index, read_only) in enumerate(entries):
                if data is None:
                    info = zipfile.ZipInfo(path + "/", date_time=stamp(index))
                    info.external_attr = (0o40755 << 16) | 0x10
                    archive.writestr(info, b"", compress_type=zipfile.ZIP_STORED)
                    continue
                info = zipfile.ZipInfo(path, date_time=stamp(index))
                if number % 2:
                    info.create_system = 0  # made on Windows: MS-DOS attributes only
                    info.external_attr = 0x21 if read_only else 0x20
                else:
                    info.external_attr = (0o100444 if read_only else 0o100755) << 16
                method = zipfile.ZIP_STORED if number % 3 == 1 else zipfile.ZIP_DEFLATED
                archive.writestr(info, data, compress_type=method)


def dos_time(t):
    y, mo, d, h, mi, s = t
    return ((h << 11) | (mi << 5) | (s // 2)), (((y - 1980) << 9) | (mo << 5) | d)


def hand_zip(entries, descriptor=False):
    """A ZIP archive written byte by byte. Each entry is a dict: name (bytes), data, method
    (0 stored, 8 deflated), time, attributes, and optional overrides crc, size (declared
    uncompressed size), cut (bytes of data left out)."""
    local = bytearray()
    central = bytearray()
    for e in entries:
        data = e.get("data", b"")
        method = e.get("method", 0)
        packed = data
        if method == 8:
            compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
            packed = compressor.compress(data) + compressor.flush()
        packed = packed[:len(packed) - e.get("cut", 0)]
        crc = e.get("crc", zlib.crc32(data))
        size = e.get("size", len(data))
        packed_size = e.get("packed_size", len(packed))
        dtime, ddate = dos_time(e.get("time", BASE_TIME))
        flags = 0x08 if descriptor else 0
        offset = len(local)
        header_sizes = (0, 0, 0) if descriptor else (crc, packed_size, size)
        local += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, dtime, ddate, *header_sizes,
                             len(e["name"]), 0) + e["name"] + packed
        if descriptor:
            local += struct.pack("<IIII", 0x08074B50, crc, packed_size, size)
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, method, dtime, ddate, crc,
                               packed_size, size, len(e["name"]), 0, 0, 0, 0, e.get("attributes", 0x20),
                               offset) + e["name"]
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central), len(local), 0)
    return bytes(local + central + end)


def gbk(text):
    return text.encode("gbk")


def main(out):
    shutil.rmtree(out, ignore_errors=True)
    expected = os.path.join(out, "expected")
    os.makedirs(expected)

    # One tree, packed by several tools.
    tree = source_tree()
    source = os.path.join(expected, "tree")
    write_tree(source, tree, os.path.join(expected, "tree.times"))
    info_zip(source, os.path.join(out, "infozip-deflated.zip"), ["-9"])
    info_zip(source, os.path.join(out, "infozip-stored.zip"), ["-0", "-X"])
    info_zip(source, os.path.join(out, "infozip-streamed.zip"), ["-9"], streamed=True)
    python_zip(os.path.join(out, "python-mixed.zip"), tree)
    python_zip(os.path.join(out, "python-streamed.zip"), tree, streamed=True)

    # By hand: GBK names as Chinese Windows tools write them, a folder entry known only by its
    # trailing slash, a hidden read-only system file, data descriptors.
    hand_tree = [
        ("数据", None, 0, False),
        ("数据/行情.txt", gbk("上证指数 3000.00\r\n") * 50, 1, False),
        ("plain-folder", None, 2, False),
        ("plain-folder/system.dat", bytes(range(200)), 3, False),
        ("表格\\稞", None, 4, False),
    ]
    hand_root = os.path.join(expected, "hand")
    write_tree(hand_root, [e for e in hand_tree if "\\" not in e[0]], os.path.join(expected, "hand.times"))
    os.makedirs(os.path.join(hand_root, "表格"))  # "稞" ends in byte 0x5C: one folder name, not two
    os.makedirs(os.path.join(hand_root, "表格", "稞"))
    with open(os.path.join(out, "hand-made.zip"), "wb") as f:
        f.write(hand_zip([
            {"name": gbk("数据/"), "attributes": 0x10, "time": stamp(0)},
            {"name": gbk("数据/行情.txt"), "data": hand_tree[1][1], "method": 8, "time": stamp(1)},
            {"name": b"plain-folder/", "attributes": 0, "time": stamp(2)},
            {"name": b"plain-folder/system.dat", "data": hand_tree[3][1], "time": stamp(3), "attributes": 0x27},
            {"name": gbk("表格/稞/"), "attributes": 0x10},
        ], descriptor=True))

    # Archives that must give 0.
    good = {"name": b"ok.txt", "data": b"harmless\r\n"}
    text = b"The quick brown fox jumps over the lazy dog.\r\n" * 200
    cases = {
        "not-an-archive.zip": b"This is a text file, not an archive.\r\n",
        "empty.zip": hand_zip([]),
        "prefixed.zip": b"MZ-stub-before-the-archive" + hand_zip([good]),
        "crc-stored.zip": hand_zip([good, {"name": b"bad.txt", "data": text, "crc": zlib.crc32(text) ^ 1}]),
        "crc-deflated.zip": hand_zip([good, {"name": b"bad.txt", "data": text, "method": 8,
                                             "crc": zlib.crc32(text) ^ 0x100}]),
        "size-overstated.zip": hand_zip([good, {"name": b"bad.txt", "data": text, "method": 8,
                                                "size": len(text) + 100}]),
        "size-understated.zip": hand_zip([good, {"name": b"bad.txt", "data": text, "method": 8,
                                                 "size": len(text) - 100}]),
        "data-cut.zip": hand_zip([good, {"name": b"bad.txt", "data": text, "cut": 300,
                                         "packed_size": len(text)}]),
        "data-beyond-end.zip": hand_zip([good, {"name": b"bad.txt", "data": text, "packed_size": len(text) + 5000,
                                                "size": len(text) + 5000}]),
    }
    deflated = bytearray(hand_zip([good, {"name": b"bad.txt", "data": bytes(range(256)) * 64, "method": 8}]))
    data_start = 30 + len(good["name"]) + len(good["data"]) + 30 + len(b"bad.txt")
    for i in range(data_start + 20, data_start + 40):
        deflated[i] ^= 0x5A
    cases["data-corrupted.zip"] = bytes(deflated)
    with open(os.path.join(out, "infozip-deflated.zip"), "rb") as f:
        whole = f.read()
    cases["truncated.zip"] = whole[:len(whole) * 3 // 5]

    # Names that would leave the target folder, each after a harmless entry.
    escapes = {
        "parent": b"../escape-parent.txt",
        "parent-backslash": b"..\\escape-parent-backslash.txt",
        "parent-deep": b"sub/../../escape-deep.txt",
        "parent-dots": b"sub/.../escape-dots.txt",
        "parent-dot-space": b"sub/.. /escape-dot-space.txt",
        "absolute": b"/escape-absolute.txt",
        "absolute-backslash": b"\\escape-absolute-backslash.txt",
        "unc": b"\\\\localhost\\share\\escape-unc.txt",
        "drive": b"C:/escape-drive.txt",
        "drive-relative": b"C:escape-drive-relative.txt",
        "stream": b"ok.txt:escape-stream",
        "device": b"NUL",
        "device-extension": b"sub/con.txt",
    }
    for key, name in escapes.items():
        cases["escape-%s.zip" % key] = hand_zip([good, {"name": name, "data": b"escaped\r\n"}])
    for name, data in cases.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
