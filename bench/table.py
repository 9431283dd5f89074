"""table.py - turns the measurements that run.sh leaves in its results directory into the Markdown table."""
import glob
import json
import os
import re
import statistics
import sys

START_LIMIT = 1.15  # one request, against the do-nothing executable
FLOOR_LIMIT = 1.3  # the 100,000-record page, against the system-call floor
FLOOR_SIZE = 100000
LINEAR_SPREAD = 1.2  # largest over smallest CPU time per row, 10,000 records and more
RSS_LIMIT_KIB = 1024
PROGRAMS = ["tembrix", "quandelo", "5morvane"]


def command_name(command):
    """tembrix, quandelo, 5morvane, do_nothing or syscall_floor."""
    return os.path.basename(command.split()[0])


class Timings:
    """The runs of one measurement: each command's median over all rounds,
    and ratios taken within each round, so that a change in the machine's
    load between rounds falls on both sides of a ratio alike."""

    def __init__(self, results, prefix):
        self.times = {}
        self.cpu_seconds = {}  # user and system time, over all runs
        self.rounds = []
        for path in sorted(glob.glob(os.path.join(results, prefix + "-*.json"))):
            with open(path, encoding="utf-8") as file:
                round_medians = {}
                for result in json.load(file)["results"]:
                    name = command_name(result["command"])
                    self.times.setdefault(name, []).extend(result["times"])
                    cpu = (result["user"] + result["system"]) * len(result["times"])
                    self.cpu_seconds[name] = self.cpu_seconds.get(name, 0.0) + cpu
                    round_medians[name] = statistics.median(result["times"])
                self.rounds.append(round_medians)
        if not self.rounds:
            sys.exit("table.py: no timings for " + prefix)

    def median(self, name):
        return statistics.median(self.times[name])

    def mean_cpu(self, name):
        """hyperfine keeps only the mean CPU time of each command's runs."""
        return self.cpu_seconds[name] / len(self.times[name])

    def runs(self, name):
        return len(self.times[name])

    def ratio(self, name, reference):
        return statistics.median(medians[name] / medians[reference] for medians in self.rounds)


def read_text(results, name):
    with open(os.path.join(results, name), encoding="utf-8") as file:
        return file.read()


def peak_rss_kib(results, name):
    # The last line holds %M; a line before it would tell of a failed run.
    return int(read_text(results, "rss-" + name + ".txt").split()[-1])


def heap_allocations(results, program):
    found = re.search(r"total heap usage: ([\d,]+) allocs", read_text(results, "heap-" + program + ".txt"))
    if found is None:
        sys.exit("table.py: valgrind reported no heap usage for " + program)
    return int(found.group(1).replace(",", ""))


def instructions(results, name):
    found = re.search(r"^summary: (\d+)", read_text(results, "ir-" + name + ".out"), re.MULTILINE)
    if found is None:
        sys.exit("table.py: no callgrind summary for " + name)
    return int(found.group(1))


def ms(seconds):
    return f"{seconds * 1000:.3f} ms"


def verdict(met):
    return "met" if met else "**not met**"


def main():
    results, machine, date, load = sys.argv[1:5]
    sizes = [int(size) for size in sys.argv[5:]]
    lines = []
    out = lines.append

    out(f"Machine: {machine}. Date: {date}. Load average: {load}.")
    out("")
    start = Timings(results, "start")
    nothing = start.median("do_nothing")
    nothing_cpu = start.mean_cpu("do_nothing")
    out("One request on the sample board (50 callers, 8 nodes, 20 oneliners):")
    out("")
    out("| Program | Median | Do-nothing median | Ratio | Runs |")
    out("|---|---:|---:|---:|---:|")
    start_ratios = {}
    for name in PROGRAMS + ["syscall_floor"]:
        start_ratios[name] = start.ratio(name, "do_nothing")
        label = name if name in PROGRAMS else "system-call floor, 50 records"
        out(f"| {label} | {ms(start.median(name))} | {ms(nothing)} | {start_ratios[name]:.3f} | {start.runs(name)} |")
    out("")

    out("The last-callers page by the size of callers.dat:")
    out("")
    out("| Records | tembrix median | Rows per second | Floor median | Ratio to floor | Time per row | CPU per row | Runs |")
    out("|---:|---:|---:|---:|---:|---:|---:|---:|")
    floor_ratios = {}
    cpu_per_row = {}
    for size in sizes:
        timings = Timings(results, f"callers-{size}")
        page, floor = timings.median("tembrix"), timings.median("syscall_floor")
        floor_ratios[size] = timings.ratio("tembrix", "syscall_floor")
        # What a row adds beyond the cost of starting a process. The CPU
        # time leaves out the waits for a processor that another process
        # holds, so it tells linear growth on a busy machine too.
        time_per_row = (page - nothing) / size
        cpu_per_row[size] = (timings.mean_cpu("tembrix") - nothing_cpu) / size
        out(
            f"| {size:,} | {ms(page)} | {size / page:,.0f} | {ms(floor)} | {floor_ratios[size]:.3f} "
            f"| {time_per_row * 1e6:.2f} µs | {cpu_per_row[size] * 1e6:.2f} µs | {timings.runs('tembrix')} |"
        )
    out("")

    out("Memory, heap and instructions:")
    out("")
    out("| Program | Peak resident memory | Heap allocations |")
    out("|---|---:|---:|")
    rss = {name: peak_rss_kib(results, name) for name in ["do_nothing"] + PROGRAMS + ["tembrix-1000000"]}
    heap = {program: heap_allocations(results, program) for program in PROGRAMS}
    out(f"| do-nothing | {rss['do_nothing']} KiB | |")
    for program in PROGRAMS:
        out(f"| {program} | {rss[program]} KiB | {heap[program]} |")
    out(f"| tembrix, 1,000,000 records | {rss['tembrix-1000000']} KiB | |")
    out("")
    out("| Program | Instructions, 1,000 records | Instructions, 10,000 records | Instructions per row |")
    out("|---|---:|---:|---:|")
    for name, label in [("tembrix", "tembrix"), ("floor", "system-call floor")]:
        small, large = instructions(results, name + "-1000"), instructions(results, name + "-10000")
        out(f"| {label} | {small:,} | {large:,} | {(large - small) / 9000:,.0f} |")
    out("")

    linear_sizes = [size for size in sizes if size >= 10000]
    spread = max(cpu_per_row[size] for size in linear_sizes) / min(cpu_per_row[size] for size in linear_sizes)
    worst_start = max(start_ratios[program] for program in PROGRAMS)
    out("Targets:")
    out("")
    out(
        f"- One request at most {START_LIMIT} × the do-nothing executable: "
        + ", ".join(f"{program} {start_ratios[program]:.3f}" for program in PROGRAMS)
        + f": {verdict(worst_start <= START_LIMIT)}."
    )
    if FLOOR_SIZE in floor_ratios:
        out(
            f"- {FLOOR_SIZE:,} records at most {FLOOR_LIMIT} × the system-call floor: "
            f"{floor_ratios[FLOOR_SIZE]:.3f}: {verdict(floor_ratios[FLOOR_SIZE] <= FLOOR_LIMIT)}."
        )
    out(
        f"- Linear growth (CPU time per row from {min(linear_sizes):,} to {max(linear_sizes):,} records within "
        f"{LINEAR_SPREAD} × of each other): {spread:.3f}: {verdict(spread <= LINEAR_SPREAD)}."
    )
    out(f"- No heap allocation: {verdict(all(count == 0 for count in heap.values()))}.")
    out(f"- Peak resident memory at most {RSS_LIMIT_KIB} KiB: {verdict(max(rss.values()) <= RSS_LIMIT_KIB)}.")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
