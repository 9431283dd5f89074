#!/usr/bin/env python3
"""browser_test.py - the three pages of the sample BBS as headless Chromium
builds them from lighttpd: the table a visitor sees, cell by cell, checked
against tools/sample-bbs.txt read here on its own."""

import html.parser
import os
import shutil
import signal
import subprocess
import sys
import tempfile

from serving import BOARD_NAME, SAMPLE_DESCRIPTION, URL_PATH, Site, arguments, require, start_lighttpd

CHROMIUM = "/usr/bin/chromium"
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync"]


def strip_pipe_codes(text):
    """A bar, any character, a digit: gone, scanning on from the same place."""
    position = 0
    while position < len(text):
        if text[position] == "|" and position + 2 < len(text) and text[position + 2].isdigit():
            text = text[:position] + text[position + 3:]
        else:
            position += 1
    return text


def visitor_date(stamp):
    """"2024-03-14 21:07" as the page shows it: 03/14/24."""
    year, month, day = stamp.split()[0].split("-")
    return f"{month}/{day}/{year[2:]}"


def description_records():
    records = {"caller": [], "node": [], "oneliner": []}
    limits = {"caller": 6, "node": 5, "oneliner": 2}
    with open(SAMPLE_DESCRIPTION, encoding="utf-8") as text:
        for line in text:
            keyword, _, rest = line.strip().partition(" ")
            if keyword in records:
                records[keyword].append([field.strip() for field in rest.split(";", limits[keyword] - 1)])
    return records


def expected_rows():
    """The cell texts of each page's data rows, from the description."""
    records = description_records()
    callers = [[number, name, strip_pipe_codes(location), baud, node, visitor_date(date)]
               for number, name, location, baud, node, date in records["caller"]]
    nodes = []
    for fields in records["node"]:
        if fields[1] == "waiting":
            nodes.append([fields[0], "N/A", "N/A", "Waiting for call"])
        else:
            number, _, handle, location, activity = fields
            nodes.append([number, handle, strip_pipe_codes(location), activity])
    oneliners = [[handle, strip_pipe_codes(words)] for handle, words in records["oneliner"]]
    return {"tembrix": callers, "quandelo": nodes, "5morvane": oneliners}


COLUMN_HEADINGS = {
    "tembrix": ["call #", "Users Name", "Location", "Baud", "N", "Date"],
    "quandelo": ["Node #", "Users Handle", "Location", "Node Activity"],
    "5morvane": ["Users Handle", "Users Words"],
}
TITLE_COLSPANS = {"tembrix": "6", "quandelo": "4", "5morvane": "5"}


class TableReader(html.parser.HTMLParser):
    """The rows of the page's tables as cells of (tag, attributes, text),
    and every element the DOM holds, by name."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows = []
        self.cell = None
        self.elements = []

    def handle_starttag(self, tag, attributes):
        self.elements.append(tag)
        if tag == "tr":
            self.rows.append([])
        elif tag in ("td", "th") and self.rows:
            self.cell = [tag, dict(attributes), ""]
            self.rows[-1].append(self.cell)

    def handle_endtag(self, tag):
        if tag in ("td", "th", "tr"):
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell[2] += data


def dump_dom(url):
    """The DOM Chromium built for url, serialized; at most a minute."""
    profile = tempfile.mkdtemp(prefix="bbs-chromium-")
    browser = subprocess.Popen([CHROMIUM, *CHROMIUM_FLAGS, f"--user-data-dir={profile}", "--dump-dom", url],
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    try:
        output, _ = browser.communicate(timeout=60)
    finally:
        # Chromium's helper processes share its session; none outlives it.
        try:
            os.killpg(browser.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        browser.wait()
        shutil.rmtree(profile, ignore_errors=True)
    if browser.returncode != 0 and not output:
        raise RuntimeError(f"chromium ended with {browser.returncode} on {url}")
    return output.decode("utf-8")


def texts(cells):
    return [" ".join(text.split()) for _, _, text in cells]


def check_page(program, dom, expected, failures):
    reader = TableReader()
    reader.feed(dom)
    rows = reader.rows

    def expect(case, condition, observed):
        print(f"{'ok  ' if condition else 'FAIL'} {program}: {case}: {observed!r}")
        if not condition:
            failures.append(f"{program}: {case}")

    title = rows[0] if rows else []
    expect("title row: one cell over the table, with the board name",
           len(title) == 1 and title[0][1].get("colspan") == TITLE_COLSPANS[program]
           and BOARD_NAME in texts(title)[0], title)
    headings = rows[1] if len(rows) > 1 else []
    expect("heading row", [tag for tag, _, _ in headings] == ["th"] * len(COLUMN_HEADINGS[program])
           and texts(headings) == COLUMN_HEADINGS[program], texts(headings))
    data_rows = rows[2:]
    expect("one row per record", len(data_rows) == len(expected), len(data_rows))
    for number, (row, cells) in enumerate(zip(data_rows, expected), start=1):
        expect(f"row {number}", [tag for tag, _, _ in row] == ["td"] * len(cells) and texts(row) == cells,
               texts(row))
    expect("no script element", "script" not in reader.elements, sorted(set(reader.elements)))


def main():
    options = arguments()
    require("lighttpd", CHROMIUM)
    expected = expected_rows()
    markup = [cells for cells in expected["5morvane"] if "<script>" in cells[1]]
    failures = [] if markup else ["the sample BBS has no oneliner with <script> to show as text"]
    site = Site(options)
    try:
        with start_lighttpd(site) as server:
            for program in expected:
                dom = dump_dom(f"http://127.0.0.1:{server.port}{URL_PATH}{program}")
                check_page(program, dom, expected[program], failures)
    finally:
        site.remove()
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
