#!/usr/bin/env python3
"""Writes the prose the word frequencies are counted from, from texts that Debian packages ship.

Russian: the fortunes of fortunes-ru and the manual pages of manpages-ru. English: the fortunes
of fortunes and fortunes-min and the manual pages of manpages. Only the files these packages
install are read (as dpkg lists them), so other installed packages do not change the result.

Each unit of text (one fortune, one paragraph of a manual page) becomes one line of UTF-8.
One unit in ten, chosen by the MD5 of its text, goes to the held-out file, which the frequency
table never sees and the misprint benchmark measures on; the others go to the training file.
Usage: corpus.py OUTPUT_DIR   (writes ru_train.txt, ru_test.txt, en_train.txt, en_test.txt)
"""
import gzip
import hashlib
import os
import re
import subprocess
import sys

ROFF_TEXT_MACRO = re.compile(r'^\.(?:B|I|BR|IR|RB|BI|IB|SH|SS|TP|IP)\s+(.*)$')
ROFF_ESCAPE = re.compile(r'\\f[BIRP1-4]|\\f\(..|\\f\[[^]]*\]|\\\(..|\\\[[^]]*\]|\\[&-]|\\e|\\s[-+]?\d')


def package_files(package):
    listed = subprocess.run(['dpkg-query', '-L', package], capture_output=True, text=True)
    if listed.returncode != 0:
        sys.exit('corpus.py: the package %s is not installed (scripts/deps.sh installs it)' % package)
    listed = listed.stdout
    return sorted(name for name in listed.split('\n') if os.path.isfile(name) and not os.path.islink(name))


def fortunes(packages):
    for name in [n for p in packages for n in package_files(p)]:
        if '/games/fortunes/' not in name or name.endswith('.dat'):
            continue
        with open(name, encoding='utf-8', errors='replace') as f:
            for unit in re.split(r'^%\s*$', f.read(), flags=re.M):
                yield unit


def manual_pages(package):
    for name in package_files(package):
        if '/man/' in name and name.endswith('.gz'):
            try:
                raw = gzip.open(name).read().decode('utf-8', 'replace')
            except OSError:
                continue
            paragraph = []
            for line in raw.splitlines():
                if line.startswith('.') or line.startswith("'"):
                    macro = ROFF_TEXT_MACRO.match(line)
                    if macro:
                        paragraph.append(macro.group(1).replace('"', ''))
                    else:
                        yield ' '.join(paragraph)
                        paragraph = []
                elif not line.strip():
                    yield ' '.join(paragraph)
                    paragraph = []
                else:
                    paragraph.append(line)
            yield ' '.join(paragraph)


def clean(unit):
    unit = ROFF_ESCAPE.sub('', unit)
    unit = re.sub(r'\\.', '', unit)
    return ' '.join(unit.split())


def write(out_dir, language, units):
    seen = set()
    with open(os.path.join(out_dir, language + '_train.txt.tmp'), 'w', encoding='utf-8') as train, \
            open(os.path.join(out_dir, language + '_test.txt.tmp'), 'w', encoding='utf-8') as test:
        for unit in units:
            text = clean(unit)
            if len(text) < 20 or text in seen:
                continue
            seen.add(text)
            held_out = int(hashlib.md5(text.encode()).hexdigest(), 16) % 10 == 0
            (test if held_out else train).write(text + '\n')
    for part in ('_train.txt', '_test.txt'):
        os.replace(os.path.join(out_dir, language + part + '.tmp'), os.path.join(out_dir, language + part))


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)

    def russian():
        yield from fortunes(['fortunes-ru'])
        yield from manual_pages('manpages-ru')

    def english():
        yield from fortunes(['fortunes-min', 'fortunes'])
        yield from manual_pages('manpages')

    write(out_dir, 'ru', russian())
    write(out_dir, 'en', english())


if __name__ == '__main__':
    main()
