#!/usr/bin/env python3
"""Runs every benchmark of the installer on the build folder's Wine prefix and prints one table.

Usage: run_bench.py <build folder> [runs]   (the wine session of that folder must be running)

Every figure comes from the same run of this script, on the same prefix with a warm wineserver:
one warm-up round, then `runs` rounds in which the measurements take turns, so that a slow
moment of the machine falls on all of them alike. Before each measurement the output of the
previous one is removed and the file system synced, so that no write-back lands in the next.

Whole-process times are taken here, around `wine program ...`; the GUI figures come from
bench_gui.exe inside the prefix, with the installer's processor time and anonymous memory read
from /proc on this side (Wine answers another process's GetProcessTimes with a constant).
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time
import zipfile

MiB = 1024 * 1024


def wine_environment(build):
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts", "wine-env")
    dump = subprocess.run(["bash", "-c", '. "$0" "$1" && env -0', script, build],
                          check=True, capture_output=True).stdout
    return dict(item.split("=", 1) for item in dump.decode().split("\0") if "=" in item)


def cache_value(build, name):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    raise KeyError(name)


class Bench:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.env = wine_environment(self.build)
        self.prefix = self.env["WINEPREFIX"]
        self.drive_d = os.path.join(self.build, "wine", "drives", "d")
        user = os.listdir(os.path.join(self.prefix, "drive_c", "users"))
        user = [u for u in user if u != "Public"][0]
        self.user_dir = os.path.join(self.prefix, "drive_c", "users", user)
        self.archive = cache_value(self.build, "KORVEXA_CLIENT_ARCHIVE")
        self.uninstaller = cache_value(self.build, "KORVEXA_UNINSTALLER")
        self.picture = cache_value(self.build, "KORVEXA_WINDOW_PICTURE")
        # The installer starts from the Downloads folder, as a user's does.
        downloads = os.path.join(self.user_dir, "Downloads")
        os.makedirs(downloads, exist_ok=True)
        shutil.copyfile(os.path.join(self.build, "installer", "KorvexaSetup.exe"),
                        os.path.join(downloads, "KorvexaSetup.exe"))
        self.installer = "C:\\users\\%s\\Downloads\\KorvexaSetup.exe" % user
        self.expected = self.read_archive()

    def read_archive(self):
        expected = {}
        with zipfile.ZipFile(self.archive) as archive:
            for info in archive.infolist():
                if not info.is_dir():
                    expected[info.filename] = archive.read(info)
        return expected

    # Preparing a run: the previous output removed, then everything written back to disk.
    def clear(self, *paths):
        for path in paths:
            if os.path.isdir(path) and not os.path.islink(path):
                shutil.rmtree(path)
            elif os.path.lexists(path):
                os.remove(path)
        os.sync()

    def run_whole_process(self, args):
        """Seconds from start to end of `wine args...`, the exit status and the peak resident size.

        GNU time starts the program and reports its peak: a child forked straight from this
        script would count this script's own resident pages (the archive's content) as its peak.
        """
        report = os.path.join(self.build, "bench", "time-report")
        start = time.perf_counter()
        process = subprocess.run(["time", "-q", "-o", report, "-f", "%M", "wine"] + args, env=self.env,
                                 cwd=self.build, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 stdin=subprocess.DEVNULL)
        seconds = time.perf_counter() - start
        with open(report) as file:
            peak = int(file.read().split()[-1]) * 1024
        return seconds, process.returncode, peak, process.stdout.decode("gbk", "replace")

    def identical(self, folder, skip=()):
        """True when every file of the archive is there with the same bytes."""
        for name, content in self.expected.items():
            if name in skip:
                continue
            path = os.path.join(folder, *name.split("/"))
            if not os.path.isfile(path):
                path = find_case_insensitive(folder, name)
            if path is None:
                return False
            with open(path, "rb") as file:
                if file.read() != content:
                    return False
        return True

    def unix_pid_of(self, exe_name, deadline=5.0):
        """The Linux process behind a Windows program of this prefix."""
        wanted = ("WINEPREFIX=" + self.prefix).encode()
        end = time.monotonic() + deadline
        while time.monotonic() < end:
            for entry in os.listdir("/proc"):
                if not entry.isdigit():
                    continue
                try:
                    with open("/proc/%s/cmdline" % entry, "rb") as file:
                        # Wine shows the Windows command line; the program is its first word.
                        program = file.read().split(b"\0")[0].strip(b'" ')
                        if not program.lower().endswith(exe_name.lower().encode()):
                            continue
                    with open("/proc/%s/environ" % entry, "rb") as file:
                        if wanted in file.read().split(b"\0"):
                            return int(entry)
                except OSError:
                    pass
            time.sleep(0.005)
        return None


def find_case_insensitive(folder, name):
    path = folder
    for part in name.split("/"):
        try:
            match = [e for e in os.listdir(path) if e.lower() == part.lower()]
        except OSError:
            return None
        if not match:
            return None
        path = os.path.join(path, match[0])
    return path


def processor_seconds(pid):
    """Time on a processor of all threads of a Linux process, in seconds (nanosecond counters)."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as file:
                total += int(file.read().split()[0])
        except OSError:
            pass
    return total / 1e9


def status_fields(pid):
    fields = {}
    with open("/proc/%d/status" % pid) as file:
        for line in file:
            key, _, value = line.partition(":")
            if value.strip().endswith("kB"):
                fields[key] = int(value.split()[0]) * 1024
    return fields


def image_pages(pid, exe_name):
    """Resident and private (anonymous) bytes of the mappings of a program's own executable file."""
    resident = private = 0
    in_image = False
    with open("/proc/%d/smaps" % pid) as file:
        for line in file:
            fields = line.split()
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                in_image = len(fields) >= 6 and fields[-1].lower().endswith(exe_name.lower())
            elif in_image and fields[0] == "Rss:":
                resident += int(fields[1]) * 1024
            elif in_image and fields[0] == "Anonymous:":
                private += int(fields[1]) * 1024
    return resident, private


class AnonymousSampler(threading.Thread):
    """Samples a Linux process's anonymous resident memory every 2 ms until stopped."""

    def __init__(self, pid):
        super().__init__(daemon=True)
        self.pid = pid
        self.samples = []  # (time, RssAnon)
        self.halt = threading.Event()
        self.start()

    def run(self):
        while not self.halt.is_set():
            try:
                self.samples.append((time.perf_counter(), status_fields(self.pid)["RssAnon"]))
            except (OSError, KeyError):
                return
            time.sleep(0.002)

    def stop(self):
        self.halt.set()
        self.join()


# ---------------------------------------------------------------------------------------------
# Measurements. Each prepares, runs once and returns a dict of figures (seconds and bytes).

def deploy_measurement(bench, mode):
    out = os.path.join(bench.drive_d, "bench-out")

    def measure():
        bench.clear(out)
        args = {
            "deploy": ["N:\\bench\\bench_deploy.exe", "D:\\bench-out"],
            "floor": ["N:\\bench\\bench_deploy.exe", "D:\\bench-out", "floor"],
            "miniunz": ["N:\\bench\\miniunz.exe", "-x", "-o", "D:\\bench-out\\client.zip", "-d", "D:\\bench-out"],
            "nsis": ["N:\\bench\\nsis\\nsis_client_setup.exe", "/S", "/D=D:\\bench-out"],
        }[mode]
        if mode == "miniunz":  # the peer extracts an archive that is already on the drive
            os.makedirs(out)
            shutil.copyfile(bench.archive, os.path.join(out, "client.zip"))
            os.sync()
        seconds, code, peak, output = bench.run_whole_process(args)
        if code != 0:
            raise RuntimeError("%s failed (%d): %s" % (mode, code, output[-500:]))
        return {"time": seconds, "peak-rss": peak}

    def check():
        return bench.identical(os.path.join(bench.drive_d, "bench-out"))

    return measure, check


def startup_measurement(bench, program):
    exe, window_class = {
        "noop": ("N:\\bench\\bench_noop_window.exe", "NoopBenchWindow"),
        "installer": (bench.installer, "KorvexaInstallerWindow"),
    }[program]

    def measure():
        os.sync()
        _, code, _, output = bench.run_whole_process(["N:\\bench\\bench_gui.exe", "start", exe, window_class])
        match = re.search(r"^visible ([\d.]+)", output, re.M)
        if code != 0 or not match:
            raise RuntimeError("start-up of %s: %s" % (program, output))
        return {"time": float(match.group(1)) / 1000}

    return measure, None


def install_measurement(bench, memory):
    install_folder = os.path.join(bench.drive_d, "Korvexa商城")
    desktop = os.path.join(bench.user_dir, "Desktop")
    programs = os.path.join(bench.user_dir, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")

    def measure():
        bench.clear(install_folder, os.path.join(desktop, "Korvexa行情分析系统.lnk"),
                    os.path.join(desktop, "Korvexa商城.lnk"), os.path.join(programs, "Korvexa商城"))
        args = ["wine", "N:\\bench\\bench_gui.exe", "install", bench.installer, "D"] + (["memory"] if memory else [])
        driver = subprocess.Popen(args, env=bench.env, cwd=bench.build, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        figures, pid, sampler, press_time = {}, None, None, None
        lines = []
        for raw in driver.stdout:
            line = raw.decode("gbk", "replace").strip()
            lines.append(line)
            key, _, value = line.partition(" ")
            if key == "window":
                pid = bench.unix_pid_of("KorvexaSetup.exe")
                if memory and pid:
                    sampler = AnonymousSampler(pid)
            elif key == "press":
                press_time = time.perf_counter()
                if pid and memory:
                    figures["idle-image-resident"], figures["idle-image-private"] = image_pages(pid, "KorvexaSetup.exe")
                if pid and not memory:
                    before = processor_seconds(pid)
                    time.sleep(max(0.0, press_time + 2.0 - time.perf_counter()))
                    figures["pause-cpu"] = processor_seconds(pid) - before
            elif key == "box":
                figures["time"] = float(value) / 1000
                if pid and memory:
                    figures["peak-rss"] = status_fields(pid)["VmHWM"]
                    figures["peak-image-resident"], figures["peak-image-private"] = image_pages(pid, "KorvexaSetup.exe")
            elif key == "success":
                figures["success"] = value == "1"
            elif re.match(r"^(idle|peak)-", key):
                figures[key] = int(value)
        driver.wait()
        if sampler:
            sampler.stop()
            idle = [rss for t, rss in sampler.samples if t < press_time]
            busy = [rss for t, rss in sampler.samples if t >= press_time]
            if idle and busy:
                figures["idle-anonymous"] = idle[-1]
                figures["peak-anonymous"] = max(busy)
        if driver.returncode != 0 or not figures.get("success"):
            raise RuntimeError("install run failed: %s" % " | ".join(lines))
        return figures

    def check():
        # The settings file is rewritten by the installer on purpose.
        return bench.identical(install_folder, skip={"DQ/ICONFIG.INI"})

    return measure, check


# ---------------------------------------------------------------------------------------------

def imported_dlls(path):
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], capture_output=True, text=True).stdout
    return sorted(set(re.findall(r"DLL Name: (\S+)", dump)), key=str.lower)


SYSTEM_DLLS = {name.lower() for name in (
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll", "ole32.dll",
    "oleaut32.dll", "comctl32.dll", "msvcrt.dll", "psapi.dll", "ntdll.dll", "comdlg32.dll", "version.dll")}


def summary(values):
    return min(values), statistics.median(values)


def verdict(on_min, on_median):
    """A target judged on the minimum and on the median: the machine may be shared."""
    if on_min and on_median:
        return "met"
    if on_min:
        return "met on the minimum, MISSED on the median"
    return "MISSED"


def main():
    build = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    bench = Bench(build)

    plan = [
        ("floor", deploy_measurement(bench, "floor")),
        ("deploy", deploy_measurement(bench, "deploy")),
        ("miniunz", deploy_measurement(bench, "miniunz")),
        ("nsis", deploy_measurement(bench, "nsis")),
        ("start-noop", startup_measurement(bench, "noop")),
        ("start-installer", startup_measurement(bench, "installer")),
        ("install", install_measurement(bench, memory=False)),
    ]
    results = {name: [] for name, _ in plan}
    identical = {}
    for round_number in range(runs + 1):
        for name, (measure, check) in plan:
            figures = measure()
            if round_number > 0:  # round 0 warms up
                results[name].append(figures)
            if check and round_number == runs:
                identical[name] = check()
        print("round %d of %d done" % (round_number, runs) if round_number else "warm-up done",
              file=sys.stderr, flush=True)
    memory_measure, memory_check = install_measurement(bench, memory=True)
    memory_runs = [memory_measure() for _ in range(2)]
    identical["install-memory"] = memory_check()

    def times(name, key="time"):
        return [figures[key] for figures in results[name]]

    floor_min, floor_median = summary(times("floor"))
    print()
    print("Korvexa installer benchmarks: %s, %d runs after a warm-up (min / median)" % (
        subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip(), runs))
    print()
    print("1. Deployment, whole process (archive written from the block and extracted; peers extract)")
    print("   %-44s %8s %8s %7s %7s %9s %9s" % ("", "min s", "median s", "x floor", "x floor", "peak RSS", "identical"))
    labels = {
        "floor": "floor: inflate + one WriteFile per file",
        "deploy": "bench_deploy: the installer's deployment",
        "miniunz": "miniunz (minizip's sample extractor)",
        "nsis": "NSIS, SetCompressor zlib, /S",
    }
    for name in ("floor", "deploy", "miniunz", "nsis"):
        low, mid = summary(times(name))
        peak = max(times(name, "peak-rss"))
        print("   %-44s %8.3f %8.3f %7.2f %7.2f %5.1f MiB %9s" % (
            labels[name], low, mid, low / floor_min, mid / floor_median, peak / MiB,
            "yes" if identical.get(name) else "NO"))
    deploy_min, deploy_median = summary(times("deploy"))
    print("   target: deployment within 1.2 x floor: %s (min %.2f, median %.2f)" % (
        verdict(deploy_min <= 1.2 * floor_min, deploy_median <= 1.2 * floor_median),
        deploy_min / floor_min, deploy_median / floor_median))

    print()
    print("2. Install as a user runs it (press on 安装 to the success box, 2000 ms pause included)")
    press_min, press_median = summary(times("install"))
    print("   press to success box              min %7.0f ms  median %7.0f ms   target <= 2000 + 1.5 x floor (%.0f / %.0f ms): %s" % (
        press_min * 1000, press_median * 1000, (2 + 1.5 * floor_min) * 1000, (2 + 1.5 * floor_median) * 1000,
        verdict(press_min <= 2 + 1.5 * floor_min, press_median <= 2 + 1.5 * floor_median)))
    print("   after the pause (less 2000 ms)    min %7.0f ms  median %7.0f ms   (%.2f / %.2f x floor)" % (
        (press_min - 2) * 1000, (press_median - 2) * 1000, (press_min - 2) / floor_min, (press_median - 2) / floor_median))
    cpu = [figures["pause-cpu"] for figures in results["install"] if "pause-cpu" in figures]
    if cpu:
        cpu_min, cpu_median = summary(cpu)
        print("   processor time in the pause       min %7.1f ms  median %7.1f ms   max %.1f ms; target < 50 ms: %s" % (
            cpu_min * 1000, cpu_median * 1000, max(cpu) * 1000, verdict(cpu_min < 0.05, cpu_median < 0.05)))
    print("   installed files identical to the archive (settings file aside): %s" % (
        "yes" if identical.get("install") and identical.get("install-memory") else "NO"))

    print()
    print("3. Start-up: process start to the window visible")
    noop_min, noop_median = summary(times("start-noop"))
    inst_min, inst_median = summary(times("start-installer"))
    print("   no-op GUI program                 min %7.1f ms  median %7.1f ms" % (noop_min * 1000, noop_median * 1000))
    print("   installer                         min %7.1f ms  median %7.1f ms   %.2f / %.2f x no-op; target <= 2 x: %s" % (
        inst_min * 1000, inst_median * 1000, inst_min / noop_min, inst_median / noop_median,
        verdict(inst_min <= 2 * noop_min, inst_median <= 2 * noop_median)))

    print()
    print("4. Memory of the installer during a full install (%d runs; idle = its window shown, before the press)" % len(memory_runs))
    print("   %-56s %9s %9s %9s" % ("", "idle MiB", "peak MiB", "rise MiB"))

    def memory_row(label, idle_key, peak_key):
        idle = min(run[idle_key] for run in memory_runs if idle_key in run)
        peak = max(run[peak_key] for run in memory_runs if peak_key in run)
        print("   %-56s %9.1f %9.1f %9.1f" % (label, idle / MiB, peak / MiB, (peak - idle) / MiB))
        return peak - idle

    memory_row("working set (GetProcessMemoryInfo, peak)", "idle-working-set", "peak-working-set")
    print("     (file pages count in it: the image's blocks as they are written, the archive file mapped to be read)")
    rise = memory_row("committed private (VirtualQueryEx, sampled)", "idle-committed-private", "peak-committed-private")
    memory_row("PrivateUsage (GetProcessMemoryInfo)", "idle-private-usage", "peak-private-usage")
    if all("idle-anonymous" in run for run in memory_runs):
        memory_row("anonymous resident (Linux RssAnon, every 2 ms)", "idle-anonymous", "peak-anonymous")
    if all("idle-image-resident" in run and "peak-image-resident" in run for run in memory_runs):
        memory_row("installer image: pages resident from its file (Linux)", "idle-image-resident", "peak-image-resident")
        memory_row("installer image: private copies of its pages (Linux)", "idle-image-private", "peak-image-private")
    archive_size = os.path.getsize(bench.archive)
    uninstaller_size = os.path.getsize(bench.uninstaller)
    print("   target: private bytes rise < 8 MiB: %s" % ("met" if rise < 8 * MiB else "MISSED"))
    print("   the archive block (%.2f MiB) and the uninstaller block (%.2f MiB) are written from the mapped image:" % (
        archive_size / MiB, uninstaller_size / MiB))
    print("   the image's pages read from its file grow by their size, its private pages and the private bytes do not")

    print()
    print("5. Footprint")
    installer_path = os.path.join(bench.build, "installer", "KorvexaSetup.exe")
    uninstaller_path = os.path.join(bench.build, "uninstaller", "qtrnUninstall.exe")
    blocks = sum(os.path.getsize(p) + 8 for p in (bench.archive, bench.uninstaller, bench.picture))
    installer_code = os.path.getsize(installer_path) - blocks
    for label, path in (("installer KorvexaSetup.exe", installer_path), ("uninstaller qtrnUninstall.exe", uninstaller_path),
                        ("bench_deploy.exe", os.path.join(bench.build, "bench", "bench_deploy.exe")),
                        ("no-op GUI program", os.path.join(bench.build, "bench", "bench_noop_window.exe")),
                        ("miniunz.exe", os.path.join(bench.build, "bench", "miniunz.exe")),
                        ("NSIS installer (with its data)", os.path.join(bench.build, "bench", "nsis", "nsis_client_setup.exe"))):
        print("   %-40s %11d bytes  %8.1f KiB" % (label, os.path.getsize(path), os.path.getsize(path) / 1024))
    print("   %-40s %11d bytes  %8.1f KiB   target <= 512 KiB: %s" % (
        "installer less its three blocks", installer_code, installer_code / 1024, "met" if installer_code <= 512 * 1024 else "MISSED"))
    print("     (blocks with 8-byte headers: archive %d, uninstaller %d, picture %d)" % tuple(
        os.path.getsize(p) + 8 for p in (bench.archive, bench.uninstaller, bench.picture)))
    uninstaller_bytes = os.path.getsize(uninstaller_path)
    print("   uninstaller target <= 256 KiB: %s" % ("met" if uninstaller_bytes <= 256 * 1024 else "MISSED"))
    for label, path in (("installer", installer_path), ("uninstaller", uninstaller_path)):
        dlls = imported_dlls(path)
        print("   %s imports %s: %s" % (label, ", ".join(dlls),
              "system DLLs only" if all(d.lower() in SYSTEM_DLLS for d in dlls) else "NOT only system DLLs"))


if __name__ == "__main__":
    main()
