#!/usr/bin/env python3
"""Extracts plain sentences from the Debian manual pages for the decoder's quality program.

Russian sentences come from manpages-ru (/usr/share/man/ru), English ones from manpages
(/usr/share/man/man*). Troff markup is stripped; only sentences that code page 1251 can hold
are kept; the two shipped files then had two sentences that quote standards documents
taken out by hand. Usage: extract_sentences.py {ru|en} COUNT > file.txt (UTF-8, one sentence a line).
"""
import glob
import gzip
import hashlib
import re
import sys

ESCAPES = {r"\-": "-", r"\(em": "\u2014", r"\(en": "-", r"\(lq": "\u00ab", r"\(rq": "\u00bb",
           r"\(aq": "'", r"\(dq": '"', r"\(bu": "", r"\(co": "\u00a9", r"\e": "\\", r"\ ": " ",
           r"\&": "", r"\|": "", r"\^": "", r"\~": " ", r"\(cq": "'", r"\(oq": "'"}


def plain_lines(path):
    with gzip.open(path, "rt", encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith((".", "'")):
                # Font macros carry text: keep it, the rest of the requests go.
                m = re.match(r"^\.(B|I|BR|IR|RB|BI|IB|RI)\s+(.*)$", line)
                if not m:
                    yield ""
                    continue
                line = m.group(2).replace('"', "")
            for k, v in ESCAPES.items():
                line = line.replace(k, v)
            line = re.sub(r"\\f(\[[A-Z]*\]|\(..|.)", "", line)
            line = re.sub(r"\\[*s]\S*", "", line)
            if "\\" in line:
                yield ""
                continue
            yield line


def sentences(path):
    text = []
    for line in list(plain_lines(path)) + [""]:
        if line.strip():
            text.append(line.strip())
            continue
        para = " ".join(text)
        text = []
        for s in re.split(r"(?<=[.!?])\s+(?=[A-ZА-ЯЁ«])", para):
            yield s.strip()


def fits(s, lang):
    if not 40 <= len(s) <= 220 or not s[0].isupper() or s[-1] not in ".!?":
        return False
    try:
        s.encode("cp1251")
    except UnicodeEncodeError:
        return False
    letters = [c for c in s if c.isalpha()]
    cyr = sum(1 for c in letters if "\u0400" <= c <= "\u04ff")
    if lang == "ru":
        return cyr >= 0.8 * len(letters)
    return cyr == 0 and all(ord(c) < 128 or c in "\u2014\u00ab\u00bb\u00a9" for c in s)


def main():
    lang, count = sys.argv[1], int(sys.argv[2])
    pattern = "/usr/share/man/ru/man*/*.gz" if lang == "ru" else "/usr/share/man/man[1-8]/*.gz"
    found = set()
    for path in sorted(glob.glob(pattern)):
        for s in sentences(path):
            if fits(s, lang):
                found.add(s)
    # A stable spread over all pages: order by a hash of the text.
    chosen = sorted(found, key=lambda s: hashlib.sha1(s.encode("utf-8")).hexdigest())[:count]
    for s in chosen:
        print(s)


if __name__ == "__main__":
    main()
