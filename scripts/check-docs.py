#!/usr/bin/env python3
"""Checks the documents' links and pictures: every relative link and image
path in README.md and docs/*.md names a file of the tree, and every #anchor
a heading of the file it points into (as GitHub makes anchors of headings).
Links to other sites are not followed. Exit 1 with one line per broken
link; CTest runs it.

    scripts/check-docs.py [ROOT]
"""
import os
import re
import sys

LINK = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
FENCE = re.compile(r"^\s*(```|~~~)")


def anchor_of(heading):
    text = heading.strip().lower()
    text = re.sub(r"[`*_]", "", text)
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def headings(path):
    anchors, seen = set(), {}
    in_code = False
    with open(path, encoding="utf-8") as f:
        for line in f:
            if FENCE.match(line):
                in_code = not in_code
            if in_code or not line.startswith("#"):
                continue
            anchor = anchor_of(line.lstrip("#"))
            count = seen.get(anchor, 0)
            seen[anchor] = count + 1
            anchors.add(anchor if count == 0 else "%s-%d" % (anchor, count))
    return anchors


def links(path):
    in_code = False
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if FENCE.match(line):
                in_code = not in_code
                continue
            if in_code:
                continue
            # Inline code is no link.
            for target in LINK.findall(re.sub(r"`[^`]*`", "", line)):
                yield number, target


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    documents = [os.path.join(root, "README.md")]
    docs = os.path.join(root, "docs")
    documents += sorted(os.path.join(docs, name) for name in os.listdir(docs)
                        if name.endswith(".md"))
    broken = []
    checked = 0
    for document in documents:
        for number, target in links(document):
            if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                continue  # another site, or mail
            checked += 1
            path, _, anchor = target.partition("#")
            file = os.path.normpath(os.path.join(os.path.dirname(document), path)) \
                if path else document
            where = "%s:%d: %s" % (os.path.relpath(document, root), number, target)
            if not os.path.exists(file):
                broken.append(where + " (no such file)")
            elif anchor and file.endswith(".md") and anchor not in headings(file):
                broken.append(where + " (no such heading)")
    for line in broken:
        print(line)
    print("%d links and pictures in %d documents, %d broken" % (checked, len(documents),
                                                                len(broken)))
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
