#!/usr/bin/env python3
"""Writes a phrase base for the benchmarks: folder/Base/*.Dat in Windows-1251.

    make_bench_base.py FOLDER LINES

Words.Dat gets a header and LINES table lines: main lines with Russian-like
keys of one to four words and two to four answers (some with a follow-up,
a few with the leaving marker), each fifth main line followed by a block of
branch lines of depth 1 and 2. Keys are made unique by a syllable counter.
Also writes the reply lists, and phrases.txt: phrases answered by main lines
near the end of the table, one per line.
"""
import os
import random
import sys

SYLLABLES = ("ка ко ли на ро ве ми бе то пе ре зо ну ба го лю жи ла ме ны по ра "
             "се ти фе ча шо ще ю я ёж ар ос ин ум ед ох").split()
WORDS = ("как что где когда почему ты я мы он она они был будет можно нельзя "
         "хорошо плохо дома утром вечером сегодня завтра очень совсем").split()


def word(rng):
    return "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 4)))


def unique_word(n):
    # A word no other key has: the counter written in syllables, always four
    # of them (up to 36**4 - 36**3 keys), so that no unique word is the start
    # of a longer one and an early short key does not answer every phrase.
    n += len(SYLLABLES) ** 3
    out = ""
    while True:
        out += SYLLABLES[n % len(SYLLABLES)]
        n //= len(SYLLABLES)
        if n == 0:
            return out


def answer(rng):
    text = " ".join(rng.choice(WORDS + [word(rng)]) for _ in range(rng.randint(2, 6)))
    return text[0].upper() + text[1:] + rng.choice(".!?")


def line(rng, depth, key):
    slots = []
    for _ in range(rng.randint(2, 4)):
        slot = answer(rng)
        if rng.random() < 0.15:
            slot += "|" + answer(rng)
        slots.append(slot + ";")
    marker = "@" if depth == 0 and rng.random() < 0.02 else ""
    return "_" * depth + key.upper() + "^" + "".join(slots) + marker


def main():
    folder, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(count)
    base = os.path.join(folder, "Base")
    os.makedirs(base, exist_ok=True)
    table = ["ЗАГОЛОВОК ТАБЛИЦЫ^Таблица;"]
    keys = []
    n = 0
    while len(table) <= count:
        words = [rng.choice(WORDS) for _ in range(rng.randint(0, 3))] + [unique_word(n)]
        rng.shuffle(words)
        key = " ".join(words)
        n += 1
        table.append(line(rng, 0, key))
        keys.append((len(table) - 1, key))
        if n % 5 == 0:
            for depth in (1, 1, 2, 1):
                table.append(line(rng, depth, word(rng) + " " + unique_word(n + 100000)))
                n += 1
    table = table[: count + 1]
    write(base, "Words.Dat", table)
    write(base, "W1.Dat", [answer(rng) for _ in range(200)])
    write(base, "W2.Dat", [answer(rng) for _ in range(200)])
    for name in ("X.Dat", "Povtor.Dat", "BigString.Dat", "CPUpvt.dat", "AI.dat", "Pause.Dat",
                 "Begin.dat"):
        write(base, name, [answer(rng) for _ in range(20)])
    write(base, "Collection.Dat", [])
    near_end = [key for index, key in keys if index > count * 9 // 10] or [keys[-1][1]]
    phrases = ["ну " + key + " " + rng.choice(WORDS) for key in near_end[-200:]]
    write(folder, "phrases.txt", phrases)


def write(folder, name, lines):
    with open(os.path.join(folder, name), "wb") as out:
        out.write("".join(text + "\r\n" for text in lines).encode("cp1251"))


if __name__ == "__main__":
    main()
