#!/usr/bin/env python3
"""Checks the help pages: every page is well-formed HTML with a title and a
language, every link and anchor it holds leads somewhere, every page is
reachable from the contents, both languages hold the same pages, and every
help context number a program opens has its page in both languages.

Usage: help_pages_test.py HELP_DIR SOURCE_ROOT
"""
import html.parser
import os
import re
import sys
import urllib.parse

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
# Help folders in pairs of languages, and the sources whose help context
# numbers open pages in them.
BOOKS = [
    (("AxisCfgEnu", "AxisCfgJpn"), ["config_tool/ui/src"]),
    (("TAVTLENG", "TAVTLJPN"), ["modem_book/ui/src"]),
]
CONTEXT = re.compile(r"\b(?:kHelp\w*|k\w*HelpContext|kHelpContext)\s*=\s*(\d+)")

errors = []


def fail(message):
    errors.append(message)


class Page(html.parser.HTMLParser):
    def __init__(self, path):
        super().__init__(convert_charrefs=True)
        self.path = path
        self.stack = []
        self.links = []
        self.ids = set()
        self.title = ""
        self.in_title = False
        self.lang = None
        self.charset = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "html":
            self.lang = a.get("lang")
        if tag == "meta" and a.get("charset", "").lower() == "utf-8":
            self.charset = True
        if "id" in a:
            if a["id"] in self.ids:
                fail(f"{self.path}: id {a['id']} twice")
            self.ids.add(a["id"])
        if tag == "a" and "href" in a:
            self.links.append((a["href"], self.getpos()[0]))
        if tag == "title":
            self.in_title = True
        if tag not in VOID:
            self.stack.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.stack.pop()

    def handle_endtag(self, tag):
        if tag == "title":
            self.in_title = False
        if tag in VOID:
            return
        if not self.stack:
            fail(f"{self.path}:{self.getpos()[0]}: </{tag}> closes nothing")
            return
        open_tag, line = self.stack.pop()
        if open_tag != tag:
            fail(f"{self.path}:{self.getpos()[0]}: </{tag}> closes <{open_tag}> of line {line}")

    def handle_data(self, data):
        if self.in_title:
            self.title += data


def parse(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if not text.lstrip().lower().startswith("<!doctype html>"):
        fail(f"{path}: no <!DOCTYPE html>")
    page = Page(path)
    page.feed(text)
    page.close()
    for tag, line in page.stack:
        fail(f"{path}:{line}: <{tag}> is never closed")
    if not page.title.strip():
        fail(f"{path}: no title")
    if not page.lang:
        fail(f"{path}: no language on <html>")
    if not page.charset:
        fail(f"{path}: no utf-8 charset")
    return page


def check_folder(folder, expected_lang):
    pages = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".html"):
            pages[name] = parse(os.path.join(folder, name))
            if pages[name].lang != expected_lang:
                fail(f"{folder}/{name}: language {pages[name].lang}, not {expected_lang}")
    linked = {"index.html"}
    for name, page in pages.items():
        for href, line in page.links:
            url = urllib.parse.urlsplit(href)
            where = f"{folder}/{name}:{line}"
            if url.scheme or url.netloc:
                fail(f"{where}: {href} leaves the help pages")
                continue
            target = url.path or name
            if "/" in target or target not in pages:
                fail(f"{where}: {href} leads to no page")
                continue
            linked.add(target)
            if url.fragment and url.fragment not in pages[target].ids:
                fail(f"{where}: {href} names no anchor of {target}")
    for name in pages:
        if name not in linked:
            fail(f"{folder}/{name}: no page links to it")
    return set(pages)


def contexts(source_root, folders):
    found = set()
    for folder in folders:
        for root, _, files in os.walk(os.path.join(source_root, folder)):
            for name in files:
                if name.endswith((".cpp", ".h")):
                    with open(os.path.join(root, name), encoding="utf-8") as f:
                        found.update(int(n) for n in CONTEXT.findall(f.read()))
    return found


def main():
    help_dir, source_root = sys.argv[1], sys.argv[2]
    for (english, japanese), sources in BOOKS:
        en = check_folder(os.path.join(help_dir, english), "en")
        ja = check_folder(os.path.join(help_dir, japanese), "ja")
        if en != ja:
            fail(f"{english} and {japanese} differ: {sorted(en ^ ja)}")
        used = contexts(source_root, sources)
        if not used:
            fail(f"no help context found in {sources}")
        for n in sorted(used | {0}):
            page = "index.html" if n == 0 else f"{n}.html"
            for folder, have in ((english, en), (japanese, ja)):
                if page not in have:
                    fail(f"context {n} has no page in {folder}")
    for e in errors:
        print(e)
    print(f"{len(errors)} problem(s)")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
