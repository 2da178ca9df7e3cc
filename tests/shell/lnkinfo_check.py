#!/usr/bin/env python3
"""Reads the sample shortcuts with lnkinfo, a parser independent of Windows and Wine.

Usage: lnkinfo_check.py <build folder> <shell_sample_links.exe>
The program runs in the build folder's Wine prefix and writes its shortcuts below the build
folder, which the prefix sees as drive N:.
"""
import os
import re
import shutil
import struct
import subprocess
import sys

QUOTES_EXE = "D:\\Korvexa商城\\DQ\\Veskoqtrn.exe"
UPDATER_FOLDER = "D:\\Korvexa商城\\Trade\\Pravolt-trade\\"
UPDATER_EXE = UPDATER_FOLDER + "Pravolt.exe"

# file: (target, working directory, description, arguments, icon location, icon index, show command)
# Under Wine the set's desktop shortcuts carry no icon: its shortcut object refuses an icon
# location without ",index".
EXPECTED = {
    "set-1.lnk": (QUOTES_EXE, "D:\\Korvexa商城\\DQ\\", "Dunmere行情", "", "", "0", 0),
    "set-2.lnk": (UPDATER_EXE, UPDATER_FOLDER, "Korvexa商城", "", "", "0", 0),
    "set-3.lnk": (QUOTES_EXE, "D:\\Korvexa商城\\DQ", "Dunmere行情", "", "", "0", 5),
    "set-4.lnk": (UPDATER_EXE, UPDATER_FOLDER, "Korvexa商城", "", "", "0", 5),
    "set-5.lnk": ("D:\\Korvexa商城\\qtrnUninstall.exe", "D:\\Korvexa商城", "卸载客户端", "", "", "0", 5),
    "desktop-all.lnk": (QUOTES_EXE, "D:\\Korvexa商城\\DQ\\", "Dunmere行情", "-user 张三",
                        "D:\\Korvexa商城\\DQ\\tolvarn.ico", "2", 3),
    "shell-all.lnk": ("E:\\数据\\Pravolt.exe", "E:\\数据\\", "卸载客户端", "--update 1", "", "0", 5),
}
FIELDS = ("Local path", "Working directory", "Description", "Command line arguments",
          "Icon location", "Icon index")


def link_information(path):
    """The "Link information" section of lnkinfo's report as a dictionary."""
    report = subprocess.run(["lnkinfo", "-c", "windows-936", path], check=True,
                            capture_output=True, env=dict(os.environ, LC_ALL="C.UTF-8")).stdout.decode("utf-8")
    section = report.split("Link information:", 1)[1].split("\n\n", 1)[0]
    fields = {}
    for line in section.splitlines():
        match = re.match(r"^\t([^\t]+)\t+: ?(.*)$", line)
        if match:
            fields[match.group(1)] = match.group(2)
    return fields


def show_command(path):
    # lnkinfo prints 0 whatever the file holds: read the header's 32-bit value at 0x3C.
    with open(path, "rb") as link:
        return struct.unpack_from("<I", link.read(0x40), 0x3C)[0]


def main():
    build, program = sys.argv[1], sys.argv[2]
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    folder = os.path.join(build, "test-scratch", "lnkinfo")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    try:
        run = subprocess.run([os.path.join(root, "scripts", "wine-run"), build, program,
                              "N:\\test-scratch\\lnkinfo"])
        if run.returncode != 0:
            print(f"shell_sample_links ended with {run.returncode}")
            return 1
        failures = 0
        for name, expected in EXPECTED.items():
            path = os.path.join(folder, name)
            if not os.path.exists(path):
                print(f"{name}: missing")
                failures += 1
                continue
            fields = link_information(path)
            actual = tuple(fields.get(field, "") for field in FIELDS) + (show_command(path),)
            for field, want, got in zip(FIELDS + ("Show command",), expected, actual):
                if want != got:
                    print(f"{name}: {field} is {got!r}, expected {want!r}")
                    failures += 1
        return 1 if failures else 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
