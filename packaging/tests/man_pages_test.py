#!/usr/bin/env python3
"""Every command and option a program's --help names appears in its manual
page, and the page has the sections a reader looks for.

man_pages_test.py PROGRAM PAGE.gz [PROGRAM PAGE.gz ...]
"""
import gzip
import re
import subprocess
import sys


def help_text(args):
    run = subprocess.run(args + ["--help"], capture_output=True, text=True, timeout=30)
    return run.stdout or run.stderr


def page_text(path):
    with gzip.open(path, "rt", encoding="utf-8") as f:
        return f.read().replace("\\-", "-").replace("\\e", "\\")


def names_in(text):
    """Options (--name, -o) and listed commands of a --help text."""
    options = set(re.findall(r"(?<![\w-])(--[a-z][a-z-]*|-[a-z])(?![\w-])", text))
    listed = re.search(r"^Commands:\n((?:  .*\n?)+)", text, re.M)
    commands = set(re.findall(r"^  ([a-z][a-z-]+)\s", listed.group(1), re.M)) if listed else set()
    return options, commands


def main():
    failures = []
    args = sys.argv[1:]
    for program, page_path in zip(args[::2], args[1::2]):
        page = page_text(page_path)
        top = help_text([program])
        options, commands = names_in(top)
        for command in commands:
            sub_options, _ = names_in(help_text([program, command]))
            options |= sub_options
            if not re.search(r"^\.SS " + re.escape(command) + "$", page, re.M):
                failures.append(f"{page_path}: command {command} has no subsection")
        for name in sorted(options | commands):
            if name not in page:
                failures.append(f"{page_path}: {name} missing")
        for section in ("NAME", "SYNOPSIS", "EXIT STATUS", "ENVIRONMENT", "FILES", "EXAMPLES"):
            if not re.search(r"^\.SH " + section + "$", page, re.M):
                failures.append(f"{page_path}: no {section} section")
        if len(options) < 3:
            failures.append(f"{program}: --help names too few options ({len(options)}) to be read right")
    for f in failures:
        print(f)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
