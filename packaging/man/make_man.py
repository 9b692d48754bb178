#!/usr/bin/env python3
"""Writes a manual page from a program's --help text and a hand-written part.

make_man.py PROGRAM NAME SECTION SUMMARY EXTRA.roff OUT [--commands]

The synopsis and the option list come from "PROGRAM --help", so the page never
lags behind the program; with --commands every "COMMAND --help" of the listed
commands gets a subsection. EXTRA.roff holds what --help does not say: exit
codes, environment, files, examples.
"""
import re
import subprocess
import sys


def help_text(args):
    run = subprocess.run(args + ["--help"], capture_output=True, text=True, timeout=30)
    return run.stdout or run.stderr


def roff_escape(line):
    line = line.replace("\\", "\\e")
    # A leading dot or quote would start a request.
    if line.startswith((".", "'")):
        line = "\\&" + line
    return line.replace("-", "\\-")


def verbatim(text):
    out = [".nf"]
    out += [roff_escape(l) for l in text.rstrip("\n").split("\n")]
    out.append(".fi")
    return out


def main():
    program, name, section, summary, extra, out = sys.argv[1:7]
    with_commands = "--commands" in sys.argv[7:]
    text = help_text([program])
    lines = [f'.TH {name} {section} "" "keld-positioning-tools" "User Commands"',
             ".SH NAME", f"{roff_escape(name)} \\- {roff_escape(summary)}", ".SH SYNOPSIS"]
    usage = [l for l in text.split("\n") if l.startswith("Usage:")]
    for u in usage:
        lines += [".nf", roff_escape(u[len("Usage:"):].strip()), ".fi"]
    lines += [".SH DESCRIPTION"] + verbatim(text)
    if with_commands:
        lines.append(".SH COMMANDS")
        listed = re.search(r"^Commands:\n((?:  .*\n?)+)", text, re.M)
        for command in re.findall(r"^  ([a-z][a-z-]+)\s", listed.group(1) if listed else "", re.M):
            lines += [f".SS {roff_escape(command)}"] + verbatim(help_text([program, command]))
    with open(extra, encoding="utf-8") as f:
        lines.append(f.read().rstrip("\n"))
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
