#!/usr/bin/env python3
"""Writes the sentence samples of the correction benchmark from Debian's manual pages.

ru_sentences.txt: 300 Russian sentences of 6 to 18 words made only of Cyrillic words and
punctuation, from the package manpages-ru (/usr/share/man/ru). en_sentences.txt: 100 English
sentences from /usr/share/man/man1 (text of formatting requests left out). The choice is fixed by an MD5 order of the sentences.
Run from bench/data: python3 extract_sentences.py
"""
import glob
import gzip
import hashlib
import re


def sentences(files, keep, macros):
    found = set()
    for name in files:
        try:
            raw = gzip.open(name).read().decode('utf-8', 'replace')
        except OSError:
            continue
        text = []
        for line in raw.splitlines():
            if line.startswith('.') or line.startswith("'"):
                macro = re.match(r'^\.(?:B|I|BR|IR|RB|BI|IB|SH|SS)\s+(.*)$', line) if macros else None
                text.append(macro.group(1).replace('"', '') if macro else '\n')
            else:
                text.append(line)
        joined = re.sub(r'\\f[BIRP]|\\f\(..|\\\(..|\\[&-]|\\e|\\s[-+]?\d', '', ' '.join(text))
        joined = re.sub(r'\\.', '', joined)
        for chunk in joined.split('\n'):
            for sentence in re.split(r'(?<=[.!?])\s+', chunk):
                sentence = ' '.join(sentence.split())
                if keep(sentence):
                    found.add(sentence)
    return sorted(found, key=lambda s: hashlib.md5(s.encode()).hexdigest())


def russian(s):
    words = re.findall(r"[^\s,;:.!?()«»\"—–-]+", s)
    return (6 <= len(words) <= 18 and s[:1].isupper() and
            re.fullmatch(r"[А-Яа-яЁё][А-Яа-яЁё ,;:.!?()«»—\-]*[.!?]", s) is not None)


def english(s):
    return 6 <= len(s.split()) <= 18 and re.fullmatch(r"[A-Z][a-z ,;:.'-]*[a-z][.]", s) is not None


ru = sentences(sorted(glob.glob('/usr/share/man/ru/man*/*.gz')), russian, True)[:300]
en = sentences(sorted(glob.glob('/usr/share/man/man1/*.gz'))[:400], english, False)[:100]
open('ru_sentences.txt', 'w', encoding='utf-8').write('\n'.join(ru) + '\n')
open('en_sentences.txt', 'w', encoding='utf-8').write('\n'.join(en) + '\n')
