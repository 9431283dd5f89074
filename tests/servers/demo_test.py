#!/usr/bin/env python3
"""demo_test.py - demo/run.sh as a new user runs it: --check passes, the
served demo stops cleanly on Ctrl-C, and a busy port or a bad option is
refused with a word on what to do."""

import os
import re
import select
import signal
import socket
import subprocess
import sys
import time
import unittest

from serving import REPOSITORY, fetch, free_port, require

DEMO = os.path.join(REPOSITORY, "demo", "run.sh")


def port_open(port):
    with socket.socket() as probe:
        probe.settimeout(0.5)
        return probe.connect_ex(("127.0.0.1", port)) == 0


class Demo:
    """run.sh in its own session, its output read line by line."""

    def __init__(self, *options):
        self.process = subprocess.Popen(["bash", DEMO, *options], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
        self.output = ""

    def read_until(self, text, seconds):
        """Output up to the first appearance of text, waited for at most seconds."""
        deadline = time.monotonic() + seconds
        stream = self.process.stdout.fileno()
        while text not in self.output:
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError(f"no {text!r} within {seconds} s:\n{self.output}")
            if not select.select([stream], [], [], left)[0]:
                continue
            chunk = os.read(stream, 65536)
            if not chunk:
                raise AssertionError(f"run.sh ended before {text!r}:\n{self.output}")
            self.output += chunk.decode("utf-8", "replace")
        return self.output

    def finish(self, seconds):
        rest, _ = self.process.communicate(timeout=seconds)
        self.output += rest.decode("utf-8", "replace")
        return self.process.returncode

    def kill(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()


class DemoTest(unittest.TestCase):
    def run_demo(self, *options, seconds=600):
        demo = Demo(*options)
        try:
            code = demo.finish(seconds)
        finally:
            demo.kill()
        return code, demo.output

    def test_check_fetches_and_verifies_each_page(self):
        code, output = self.run_demo("--check", "--port", str(free_port()))
        self.assertEqual(code, 0, output)
        for program in ("tembrix", "quandelo", "5morvane"):
            self.assertRegex(output, rf"ok   {program}: HTTP/1.1 200 OK, text/html")

    def test_ctrl_c_stops_the_server_and_the_live_bbs_and_cleans_up(self):
        port = free_port()
        demo = Demo("--port", str(port), "--interval", "0.2")
        try:
            output = demo.read_until("Press Ctrl-C to stop.", 600)
            work = re.search(r"Its data files are in (\S+)/bbs", output).group(1)
            self.assertEqual(fetch(port, "tembrix").status, 200)
            demo.read_until("call ", 30)  # the live BBS has ticked
            # Ctrl-C reaches the whole foreground process group.
            os.killpg(demo.process.pid, signal.SIGINT)
            self.assertEqual(demo.finish(30), 0, demo.output)
            time.sleep(0.5)
            group = demo.process.pid
        finally:
            demo.kill()
        self.assertIn("Stopping.", demo.output)
        with self.assertRaises(ProcessLookupError, msg="a process of the demo outlived it"):
            os.killpg(group, 0)
        self.assertFalse(os.path.exists(work), f"{work} left behind")
        self.assertFalse(port_open(port), "lighttpd still listening")

    def test_busy_port_is_refused(self):
        with socket.socket() as busy:
            busy.bind(("127.0.0.1", 0))
            busy.listen()
            code, output = self.run_demo("--check", "--port", str(busy.getsockname()[1]))
        self.assertEqual(code, 1, output)
        self.assertIn("choose another with --port N", output)

    def test_bad_options_are_refused(self):
        for options in (["--port", "http"], ["--port"], ["--colour"]):
            with self.subTest(options=options):
                code, output = self.run_demo(*options, seconds=30)
                self.assertEqual(code, 2, output)
                self.assertIn("usage: bash demo/run.sh", output)


if __name__ == "__main__":
    require("lighttpd", "curl")
    unittest.main()
