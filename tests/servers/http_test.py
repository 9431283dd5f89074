#!/usr/bin/env python3
"""http_test.py - one real web server serving the three pages over HTTP:
each page arrives whole, and a missing .cfg or data file gets the answer
recorded here for that server (docs/web-servers.md, troubleshooting)."""

import contextlib
import os
import sys

from serving import PROGRAMS, SERVERS, Site, as_root, arguments, fetch, page_body, require

MISSING_CONFIG_MESSAGES = {
    "tembrix": b"Oh Crap!! VORPA.CFG not found!!!\r\n",
    "quandelo": b"Oh Crap!! QUANDELO.CFG not found!!!\r\n",
    "5morvane": b"Oh Crap!! PRALIX.CFG not found!!!\r\n",
}

# A data file that cannot be opened leaves the program's response empty, no
# header at all; each server turns that into an error page of its own.
# (status, media type, a text of the server's page, a line in its error log)
EMPTY_RESPONSE_ANSWERS = {
    "lighttpd": (500, "text/html", b"<title>500 Internal Server Error</title>", None),
    "apache2-cgid": (500, "text/html", b"<title>500 Internal Server Error</title>",
                     ("apache2-error.log", "End of script output before headers: {program}")),
    "apache2-cgi": (500, "text/html", b"<title>500 Internal Server Error</title>",
                    ("apache2-error.log", "End of script output before headers: {program}")),
    "nginx": (502, "text/plain", b"An error occurred while reading CGI reply (no response received)", None),
}

# A request for a .cfg, which names the BBS's data directory: refused by
# lighttpd, run (and failing) under Apache's ScriptAlias, unknown to nginx.
CONFIG_REQUEST_STATUS = {"lighttpd": 403, "apache2-cgid": 500, "apache2-cgi": 500, "nginx": 404}

DATA_FILES = {"tembrix": "callers.dat", "5morvane": "oneliner.dat"}


class Checks:
    def __init__(self, server_name):
        self.server_name = server_name
        self.failures = 0

    def expect(self, case, condition, observed):
        verdict = "ok  " if condition else "FAIL"
        print(f"{verdict} {self.server_name}: {case}: {observed!r}")
        if not condition:
            self.failures += 1


@contextlib.contextmanager
def moved_away(path):
    """The file is gone for the duration, then back as it was."""
    aside = path + ".aside"
    os.rename(path, aside)
    try:
        yield
    finally:
        os.rename(aside, path)


@contextlib.contextmanager
def unreadable(path):
    mode = os.stat(path).st_mode
    os.chmod(path, 0o600)
    try:
        yield
    finally:
        os.chmod(path, mode)


def check_pages(site, server, checks):
    for program in PROGRAMS:
        response = fetch(server.port, program)
        own = page_body(site.run_direct(program))
        checks.expect(f"{program} page", response.status == 200 and response.media_type() == "text/html"
                      and response.body == own and b"</html>" in own, response)


def check_missing_configs(site, server, checks):
    for program in PROGRAMS:
        with moved_away(os.path.join(site.cgi_dir, program + ".cfg")):
            response = fetch(server.port, program)
        checks.expect(f"{program} without {program}.cfg", response.status == 500
                      and response.media_type() == "text/plain"
                      and response.body == MISSING_CONFIG_MESSAGES[program], response)
    if as_root():
        # The servers run as www-data: a .cfg it may not read counts as missing.
        with unreadable(os.path.join(site.cgi_dir, "quandelo.cfg")):
            response = fetch(server.port, "quandelo")
        checks.expect("quandelo with quandelo.cfg unreadable", response.status == 500
                      and response.body == MISSING_CONFIG_MESSAGES["quandelo"], response)


def check_configs_stay_private(site, server, checks):
    for program in PROGRAMS:
        response = fetch(server.port, program + ".cfg")
        checks.expect(f"{program}.cfg requested", response.status == CONFIG_REQUEST_STATUS[server.name]
                      and site.data_dir.encode() not in response.body, response)


def log_text(site, name):
    with open(site.path("log", name), "rb") as file:
        return file.read().decode("latin-1")


def check_empty_response(site, server, checks, case, program):
    status, media_type, text, log_line = EMPTY_RESPONSE_ANSWERS[server.name]
    response = fetch(server.port, program)
    logged = log_line is None or log_line[1].format(program=program) in log_text(site, log_line[0])
    checks.expect(case, response.status == status and response.media_type() == media_type
                  and text in response.body and b"Harbour Lights" not in response.body and logged, response)


def check_missing_data(site, server, checks):
    for program, data_file in DATA_FILES.items():
        with moved_away(os.path.join(site.data_dir, data_file)):
            check_empty_response(site, server, checks, f"{program} without {data_file}", program)
    if as_root():
        # The servers run as www-data: a file it may not read is as good as missing.
        with unreadable(os.path.join(site.data_dir, "callers.dat")):
            check_empty_response(site, server, checks, "tembrix with callers.dat unreadable", "tembrix")

    # quandelo writes its header before it opens any node file: a missing
    # node file gives a page that stops after the nodes before it, and the
    # server passes it on as a success.
    with moved_away(os.path.join(site.data_dir, "chat3.dat")):
        response = fetch(server.port, "quandelo")
        own = page_body(site.run_direct("quandelo"))
    checks.expect("quandelo without chat3.dat", response.status == 200 and response.media_type() == "text/html"
                  and response.body == own and own.count(b"</TR>\r\n") == 2 and b"</table>" not in own, response)


def main():
    options = arguments(lambda parser: parser.add_argument("--server", required=True, choices=SERVERS))
    commands, start = SERVERS[options.server]
    require("curl", *commands)
    site = Site(options)
    try:
        with start(site) as server:
            checks = Checks(server.name)
            check_pages(site, server, checks)
            check_missing_configs(site, server, checks)
            check_configs_stay_private(site, server, checks)
            check_missing_data(site, server, checks)
            if checks.failures:
                print(server.logs())
    finally:
        site.remove()
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
