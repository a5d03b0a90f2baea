#!/usr/bin/env python3
"""Checks the local links of an HTML manual.

Usage: check_manual_links.py MANUAL_FOLDER

Reads every *.html file below MANUAL_FOLDER and checks each local href and src: the file it names must
exist, and a "#fragment" must name an id (or an <a name>) in the page it points to. Links with a scheme
(http:, mailto:, ...) are not followed. A local link that leaves MANUAL_FOLDER counts as broken, since
the manual is installed as one folder. Exits 0 when every link resolves, 1 with one line per broken
link otherwise, 2 for a bad argument or a folder without pages.
"""
import html.parser
import os
import sys
import urllib.parse


class PageParser(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []  # (line, attribute, value)
        self.anchors = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if value is None:
                continue
            if name in ("href", "src"):
                self.links.append((self.getpos()[0], name, value))
            elif name == "id" or (name == "name" and tag == "a"):
                self.anchors.add(value)

    handle_startendtag = handle_starttag


def parse(path, cache):
    if path not in cache:
        parser = PageParser()
        with open(path, encoding="utf-8") as f:
            parser.feed(f.read())
        parser.close()
        cache[path] = parser
    return cache[path]


def check(root):
    root = os.path.realpath(root)
    pages = []
    for folder, _, files in os.walk(root):
        pages.extend(os.path.join(folder, f) for f in sorted(files) if f.endswith(".html"))
    if not pages:
        return None
    cache = {}
    broken = []
    for page in sorted(pages):
        shown = os.path.relpath(page, root)
        for line, attr, value in parse(page, cache).links:
            url = urllib.parse.urlsplit(value.strip())
            if url.scheme or url.netloc:
                continue  # outside links are not the manual's business
            target = page
            if url.path:
                target = os.path.realpath(os.path.join(os.path.dirname(page), urllib.parse.unquote(url.path)))
                if os.path.commonpath([root, target]) != root:
                    broken.append(f"{shown}:{line}: {attr}=\"{value}\": leaves the manual folder")
                    continue
                if os.path.isdir(target):
                    target = os.path.join(target, "index.html")
                if not os.path.isfile(target):
                    broken.append(f"{shown}:{line}: {attr}=\"{value}\": no such file")
                    continue
            if url.fragment:
                if not target.endswith(".html"):
                    broken.append(f"{shown}:{line}: {attr}=\"{value}\": fragment on a file that is not a page")
                elif urllib.parse.unquote(url.fragment) not in parse(target, cache).anchors:
                    broken.append(f"{shown}:{line}: {attr}=\"{value}\": no anchor \"{url.fragment}\"")
    return len(pages), broken


def main(argv):
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        print("usage: check_manual_links.py MANUAL_FOLDER", file=sys.stderr)
        return 2
    result = check(argv[1])
    if result is None:
        print(f"no HTML pages in {argv[1]}", file=sys.stderr)
        return 2
    count, broken = result
    for line in broken:
        print(line)
    if broken:
        print(f"{len(broken)} broken link(s) in {count} page(s)", file=sys.stderr)
        return 1
    print(f"{count} page(s), every local link resolves")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
