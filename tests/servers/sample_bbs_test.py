#!/usr/bin/env python3
"""sample_bbs_test.py - the sample BBS tool: the files it writes, its live
mode (in place, call numbers going on, bounded, stopped by a signal) and
its answer to a faulty description."""

import os
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest

from serving import SAMPLE_DESCRIPTION, node_count

CALLER_SIZE, NODE_SIZE, ONELINER_SIZE = 279, 117, 111
TOOL = None


def counted_text(record, offset):
    return record[offset + 1:offset + 1 + record[offset]].decode("latin-1")


def callers(directory):
    """(call number, name, node) of each record of callers.dat."""
    with open(os.path.join(directory, "callers.dat"), "rb") as file:
        data = file.read()
    assert len(data) % CALLER_SIZE == 0, len(data)
    records = [data[i:i + CALLER_SIZE] for i in range(0, len(data), CALLER_SIZE)]
    return [(struct.unpack_from("<i", r, 100)[0], counted_text(r, 0), r[99]) for r in records]


def node_state(directory, number):
    """(in use, handle) of chat<number>.dat."""
    with open(os.path.join(directory, f"chat{number}.dat"), "rb") as file:
        record = file.read()
    assert len(record) == NODE_SIZE, len(record)
    return record[0], counted_text(record, 1)


def description_count(keyword):
    with open(SAMPLE_DESCRIPTION, encoding="utf-8") as text:
        return sum(1 for line in text if line.split(None, 1)[:1] == [keyword])


class SampleBbsTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.directory = self.scratch.name
        self.run_tool("write")

    def tearDown(self):
        self.scratch.cleanup()

    def run_tool(self, command, *options, description=SAMPLE_DESCRIPTION):
        return subprocess.run([TOOL, command, description, self.directory, *options],
                              capture_output=True, text=True, timeout=60)

    def size(self, name):
        return os.path.getsize(os.path.join(self.directory, name))

    def test_write_gives_one_record_per_description_line(self):
        self.assertEqual(self.size("callers.dat"), description_count("caller") * CALLER_SIZE)
        self.assertEqual(self.size("oneliner.dat"), description_count("oneliner") * ONELINER_SIZE)
        for number in range(1, node_count() + 1):
            self.assertEqual(self.size(f"chat{number}.dat"), NODE_SIZE)
        numbers = [number for number, _, _ in callers(self.directory)]
        self.assertEqual(numbers, sorted(numbers))

    def test_live_ticks_change_the_files_in_place(self):
        before = callers(self.directory)
        inodes = {name: os.stat(os.path.join(self.directory, name)).st_ino for name in os.listdir(self.directory)}
        ticks = node_count() + 1
        result = self.run_tool("live", "--interval", "0", "--ticks", str(ticks))
        self.assertEqual(result.returncode, 0, result.stderr)

        after = callers(self.directory)
        self.assertEqual(after[:len(before)], before)
        last_number = before[-1][0]
        self.assertEqual([number for number, _, _ in after[len(before):]],
                         list(range(last_number + 1, last_number + 1 + ticks)))
        self.assertEqual(self.size("oneliner.dat"), (description_count("oneliner") + ticks) * ONELINER_SIZE)
        # The last caller is on the node the record names; another node waits.
        _, name, node = after[-1]
        self.assertEqual(node_state(self.directory, node), (1, name))
        states = [node_state(self.directory, number)[0] for number in range(1, node_count() + 1)]
        self.assertIn(0, states)
        # Pages may be reading: every file is the one it was, never a new one.
        for name, inode in inodes.items():
            self.assertEqual(os.stat(os.path.join(self.directory, name)).st_ino, inode, name)

    def test_live_goes_on_counting_after_a_restart(self):
        for _ in range(2):
            self.assertEqual(self.run_tool("live", "--interval", "0", "--ticks", "2").returncode, 0)
        numbers = [number for number, _, _ in callers(self.directory)]
        self.assertEqual(numbers, list(range(numbers[0], numbers[0] + len(numbers))))

    def test_live_stops_at_once_on_a_signal(self):
        for stop in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=stop.name):
                live = subprocess.Popen([TOOL, "live", SAMPLE_DESCRIPTION, self.directory, "--interval", "60"])
                time.sleep(0.3)
                started = time.monotonic()
                live.send_signal(stop)
                try:
                    self.assertEqual(live.wait(timeout=5), 0)
                finally:
                    if live.poll() is None:
                        live.kill()
                        live.wait()
                self.assertLess(time.monotonic() - started, 2)
                self.assertEqual(self.size("callers.dat"), description_count("caller") * CALLER_SIZE)

    def test_faulty_description_names_its_line(self):
        cases = [
            ("unknown keyword", "visitor Bob; hello", ":1:"),
            ("date out of range", "caller 1; Bob; Here; 2400; 1; 1979-12-31 23:59", ":1:"),
            ("name over its room", "caller 1; " + "x" * 31 + "; Here; 2400; 1; 2020-01-01 00:00", ":1:"),
            ("busy node without activity", "node 1; busy; Bob; Here", ":1:"),
            ("no node at all", "oneliner Bob; hello", "no node"),
            ("second line", "node 1; waiting\noneliner Bob", ":2:"),
        ]
        for name, text, where in cases:
            with self.subTest(name):
                path = os.path.join(self.directory, "faulty.txt")
                with open(path, "w", encoding="utf-8") as file:
                    file.write(text + "\n")
                result = self.run_tool("write", description=path)
                self.assertEqual(result.returncode, 1)
                self.assertIn(where, result.stderr)

    def test_bad_usage_is_refused(self):
        for options in (["--ticks", "-1"], ["--ticks", "1.5"], ["--interval", "soon"], ["--colour", "1"]):
            with self.subTest(options=options):
                self.assertEqual(self.run_tool("live", *options).returncode, 2)
        self.assertEqual(self.run_tool("write", "--ticks", "1").returncode, 2)


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main()
