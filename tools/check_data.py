#!/usr/bin/env python3
"""Sanity check of the shipped data folder.

Run from the repository root:  python3 tools/check_data.py [data-dir]
Prints a listing of the files and the phrase table statistics, and exits
with status 1 if any rule of the file formats is broken.
"""
import os
import struct
import sys

DATA = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), '..', 'data')
RESERVED = '^_;|@'
problems = []


def fail(msg):
    problems.append(msg)


def read_cp1251(rel):
    raw = open(os.path.join(DATA, rel), 'rb').read()
    try:
        text = raw.decode('cp1251')  # strict: also rejects 0x98
    except UnicodeDecodeError as e:
        fail(f'{rel}: not valid cp1251 ({e})')
        text = raw.decode('cp1251', errors='replace')
    return text.splitlines()


def fragment_match(fragment, phrase, start=1):
    """The program's scan: a char that breaks a partial match is not retried."""
    c = 0
    up = phrase.upper()
    for i in range(start - 1, len(up)):
        if up[i] == fragment[c]:
            c += 1
            if c == len(fragment):
                return i + 1
        else:
            c = 0
    return 0


def key_words_match(key, phrase):
    words = key.split(' ')  # keys hold single blanks only (checked below)
    pos = 0
    for w in words:
        pos = fragment_match(w, phrase, pos + 1)
        if not pos:
            return False
    return True


# ---------------------------------------------------------------- Words.Dat
def check_table():
    rel = 'Base/Words.Dat'
    lines = read_cp1251(rel)
    if not lines or '^' not in lines[0]:
        fail(f'{rel}: header line 0 must contain "^"')
    stats = dict(main=0, branch=0, depth2=0, with_branches=0, answers=0,
                 followups=0, farewell=[])
    mains = []  # (index, key, has_answers)
    prev_depth = 0
    last_main = None
    for n, line in enumerate(lines[1:], start=1):
        where = f'{rel}:{n}'
        if not line or '^' not in line:
            fail(f'{where}: empty line or no "^"')
            continue
        depth = len(line) - len(line.lstrip('_'))
        head, rest = line[depth:].split('^', 1)
        key = head
        if not key or key != key.strip() or '  ' in key:
            fail(f'{where}: bad blanks in key {key!r}')
        if key != key.upper() or any(ch in key for ch in RESERVED):
            fail(f'{where}: key not upper case or holds a reserved char: {key!r}')
        if depth > prev_depth + 1 or (depth and last_main is None):
            fail(f'{where}: branch depth {depth} does not follow its parent')
        farewell = rest.endswith('@')
        if farewell:
            rest = rest[:-1]
            if depth:
                fail(f'{where}: leaving marker on a branch line')
        if rest and not rest.endswith(';'):
            fail(f'{where}: last answer slot not closed by ";"')
        slots = rest.split(';')[:-1] if rest else []
        for slot in slots:
            parts = slot.split('|')
            if len(parts) > 2 or not parts[0].strip():
                fail(f'{where}: bad answer slot {slot!r}')
            if len(parts) == 2:
                stats['followups'] += 1
                if not parts[1].strip():
                    fail(f'{where}: empty follow-up in {slot!r}')
            if any(ch in slot for ch in '^_@'):
                fail(f'{where}: reserved char in answer {slot!r}')
        if not slots:
            fail(f'{where}: line without answers')
        stats['answers'] += rest.count(';')
        if depth == 0:
            stats['main'] += 1
            mains.append((n, key))
            last_main = [key, False]
            if farewell:
                stats['farewell'].append(key)
        else:
            stats['branch'] += 1
            stats['depth2'] += depth >= 2
            if not last_main[1]:
                last_main[1] = True
                stats['with_branches'] += 1
        prev_depth = depth

    # Each main key, typed as a phrase, must reach its own line first:
    # an earlier key that is a fragment of it would shadow the line.
    for idx, (n, key) in enumerate(mains):
        phrase = key if key[-1] in '.!?' else key + '.'
        for m, other in mains[:idx]:
            if fragment_match(other, phrase):
                fail(f'Base/Words.Dat:{n}: key {key!r} is shadowed by '
                     f'line {m} {other!r}')
                break
        if not fragment_match(key, phrase):
            fail(f'Base/Words.Dat:{n}: key {key!r} does not find itself')

    # Farewell keys must not be hit by everyday phrases.
    harmless = ['Покажи мне что-нибудь.', 'Пока не знаю.', 'Когда домой?',
                'До скольких ты работаешь?', 'Прощание славянки.',
                'Мне кажется, ты умный.', 'Пора бы поесть.']
    farewell_keys = stats['farewell']
    for p in harmless:
        for k in farewell_keys:
            if fragment_match(k, p):
                fail(f'farewell key {k!r} matches the harmless phrase {p!r}')

    # Typical phrases and the line they should reach by the whole-key pass.
    expected = [('Привет, как дела?', 'КАК ДЕЛА'),
                ('Как тебя зовут?', 'КАК ТЕБЯ ЗОВУТ'),
                ('Пока!', 'ПОКА!'), ('Ну пока.', 'ПОКА.'),
                ('До свидания.', 'ДО СВИДАНИЯ'),
                ('Покажи фильм.', 'ФИЛЬМ'),
                ('Какая сегодня погода?', 'ПОГОДА'),
                ('Спасибо большое!', 'СПАСИБО')]
    for phrase, want in expected:
        got = next((k for _, k in mains if fragment_match(k, phrase)), None)
        if got != want:
            fail(f'phrase {phrase!r} reaches {got!r}, expected {want!r}')

    print(f'Words.Dat: {len(lines)} lines (header + {len(lines) - 1}), '
          f'{stats["main"]} main lines, {stats["branch"]} branch lines '
          f'({stats["depth2"]} of depth 2), {stats["with_branches"]} main '
          f'lines with branches, {stats["answers"]} answers, '
          f'{stats["followups"]} follow-ups')
    print('  farewell lines ("@"):', ', '.join(farewell_keys))
    if stats['main'] < 150:
        fail('Words.Dat: fewer than 150 main lines')
    if stats['with_branches'] < 15:
        fail('Words.Dat: fewer than 15 main lines with branches')
    if not stats['depth2']:
        fail('Words.Dat: no branch lines of depth 2')
    if not farewell_keys:
        fail('Words.Dat: no "@"-terminated line')


# ------------------------------------------------------------ phrase lists
LISTS = {'Base/W1.Dat': 60, 'Base/W2.Dat': 60, 'Base/X.Dat': 12,
         'Base/Povtor.Dat': 12, 'Base/BigString.Dat': 12,
         'Base/CPUpvt.dat': 12, 'Base/AI.dat': 12, 'Base/Pause.Dat': 12,
         'Base/Begin.dat': 12}


def check_lists():
    for rel, least in LISTS.items():
        lines = read_cp1251(rel)
        if len(lines) < least:
            fail(f'{rel}: {len(lines)} lines, want at least {least}')
        if len(set(lines)) != len(lines):
            fail(f'{rel}: duplicate lines')
        for n, line in enumerate(lines):
            if not line.strip() or any(ch in line for ch in RESERVED):
                fail(f'{rel}:{n}: empty line or reserved char: {line!r}')
    for rel in ('Base/Collection.Dat', 'Base/Log.Dralen'):
        if os.path.getsize(os.path.join(DATA, rel)):
            fail(f'{rel}: must be empty')


def check_dictionary():
    rel = 'Base/dictionary.dat'
    lines = read_cp1251(rel)
    if len(lines) < 5000:
        fail(f'{rel}: only {len(lines)} entries')
    if len(set(lines)) != len(lines):
        fail(f'{rel}: duplicate entries')
    for n, e in enumerate(lines):
        if not e or e != e.lower() or e != e.strip() or '  ' in e:
            fail(f'{rel}:{n}: bad entry {e!r}')
    for must in ('привет', 'приветствую', 'как дела'):
        if must not in lines:
            fail(f'{rel}: missing {must!r}')
    print(f'dictionary.dat: {len(lines)} entries')


# --------------------------------------------------------------- Config.ini
FONTS = {'MS Sans Serif', 'Comic Sans MS', 'Courier New', 'Arial',
         'Tahoma', 'Verdana'}
STYLES = {'[]', '[fsBold]', '[fsItalic]', '[fsBold,fsItalic]'}


def check_config():
    lines = read_cp1251('Config.ini')
    if len(lines) < 31:
        fail(f'Config.ini: {len(lines)} lines, want 31')
        return

    def row(n):
        line = lines[n - 1]
        return line.split('=', 1)[1] if '=' in line else line
    if row(3) != 'YES':
        fail('Config.ini: row 3 must be YES')
    for n in (7, 8, 9, 12, 13, 14, 15, 16, 17):
        v = row(n)
        if not v.isdigit() or int(v) > 0xFFFFFF:
            fail(f'Config.ini: row {n} is not a colour: {v!r}')
    for n in (19, 23, 27):
        if row(n) not in FONTS:
            fail(f'Config.ini: row {n} names an unknown font {row(n)!r}')
    for n in (20, 24, 28):
        if row(n) not in STYLES:
            fail(f'Config.ini: row {n} is not a style {row(n)!r}')
    for n in (21, 25):
        if not row(n).isdigit() or not 9 <= int(row(n)) <= 11:
            fail(f'Config.ini: row {n} is not a size 9..11')
    if lines[30] != 'Adres=D:\\Txt.Dat':
        fail('Config.ini: row 31 must be Adres=D:\\Txt.Dat')
    print('Config.ini: fonts', row(19), '/', row(23), '/', row(27))


# ------------------------------------------------------------ media, misc
def check_media():
    for name in ('KeyBoard', 'Button3', 'Button2', 'Button1', 'CpuSound',
                 'Close'):
        rel = f'Sound/{name}.wav'
        raw = open(os.path.join(DATA, rel), 'rb').read()
        ok = (raw[:4] == b'RIFF' and raw[8:16] == b'WAVEfmt ' and
              struct.unpack('<HHIIHH', raw[20:36]) ==
              (1, 1, 44100, 88200, 2, 16))
        if not ok:
            fail(f'{rel}: not 16-bit PCM mono 44100 Hz')
    raw = open(os.path.join(DATA, 'Images/Foto.bmp'), 'rb').read()
    w, h, planes, bpp, comp = struct.unpack('<iiHHI', raw[18:34])
    if raw[:2] != b'BM' or bpp != 24 or comp != 0:
        fail('Images/Foto.bmp: not an uncompressed 24-bit BMP')
    lines = read_cp1251('ReadMe.Txt')
    if not 20 <= len(lines) <= 40:
        fail(f'ReadMe.Txt: {len(lines)} lines')
    for rel in ('tarmel.svg', 'tarmel.desktop'):
        open(os.path.join(DATA, rel), encoding='utf-8').read()


def listing():
    print(f'{"file":28} {"bytes":>8} {"lines":>6}')
    for root, _, files in sorted(os.walk(DATA)):
        for f in sorted(files):
            path = os.path.join(root, f)
            rel = os.path.relpath(path, DATA)
            size = os.path.getsize(path)
            if f.lower().endswith(('.wav', '.bmp')):
                count = '-'
            else:
                enc = 'utf-8' if f.startswith('tarmel.') else 'cp1251'
                raw = open(path, 'rb').read()
                count = len(raw.decode(enc, errors='replace').splitlines())
            print(f'{rel:28} {size:8} {count:>6}')


if __name__ == '__main__':
    listing()
    check_table()
    check_lists()
    check_dictionary()
    check_config()
    check_media()
    for p in problems:
        print('PROBLEM:', p)
    print('OK' if not problems else f'{len(problems)} problem(s)')
    sys.exit(1 if problems else 0)
