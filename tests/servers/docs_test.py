#!/usr/bin/env python3
"""docs_test.py - the configuration snippets in docs/web-servers.md and in
the README are the parts of demo/conf that the server tests run, word for
word."""

import os
import sys
import textwrap

from serving import CONFIG_TEMPLATES, REPOSITORY

# The places the document fills in as a Debian sysop would.
DOCUMENT_VALUES = {"@CGI_DIR@": "/usr/lib/cgi-bin/bbs", "@FCGIWRAP_SOCKET@": "/run/fcgiwrap.socket"}


def served_part(template):
    """The lines between the "# >>> bbs pages" and "# <<< bbs pages" marks."""
    with open(os.path.join(CONFIG_TEMPLATES, template), encoding="utf-8") as file:
        lines = file.read().splitlines(keepends=True)
    marks = [i for i, line in enumerate(lines) if line.strip() in ("# >>> bbs pages", "# <<< bbs pages")]
    assert len(marks) == 2, f"{template}: marks at {marks}"
    text = textwrap.dedent("".join(lines[marks[0] + 1:marks[1]]))
    for place, value in DOCUMENT_VALUES.items():
        text = text.replace(place, value)
    return text


def main():
    failures = 0
    for name in (os.path.join("docs", "web-servers.md"), "README.md"):
        with open(os.path.join(REPOSITORY, name), encoding="utf-8") as file:
            document = file.read()
        for template in sorted(os.listdir(CONFIG_TEMPLATES)):
            snippet = served_part(template)
            found = snippet in document
            print(f"{'ok  ' if found else 'FAIL'} {name}, {template}: {len(snippet.splitlines())} lines")
            if not found:
                print(snippet)
                failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
