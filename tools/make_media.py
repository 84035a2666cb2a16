#!/usr/bin/env python3
"""Draw the sounds and the about-box picture of Tarmel.

Writes data/Sound/*.wav (16-bit PCM, mono, 44100 Hz) and
data/Images/Foto.bmp (24-bit, uncompressed). Uses only the standard
library and no random numbers, so running it again gives the same bytes.

Run from the repository root:  python3 tools/make_media.py
"""
import math
import os
import struct
import wave

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data')
RATE = 44100


# ------------------------------------------------------------------ sound
def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def tone(seconds, f0, f1=None, decay=0.0, partials=((1, 1.0),)):
    """A tone gliding exponentially from f0 to f1 Hz, with an optional
    exponential decay (1/s) and a few harmonic partials."""
    f1 = f0 if f1 is None else f1
    n = int(round(seconds * RATE))
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = f0 * (f1 / f0) ** (i / max(n - 1, 1))
        phase += 2 * math.pi * f / RATE
        v = sum(a * math.sin(k * phase) for k, a in partials)
        out.append(v * math.exp(-decay * t))
    return out


def fade(samples, fade_in, fade_out):
    """Raised-cosine fades so that nothing clicks."""
    n = len(samples)
    a = int(fade_in * RATE)
    b = int(fade_out * RATE)
    s = list(samples)
    for i in range(min(a, n)):
        s[i] *= 0.5 - 0.5 * math.cos(math.pi * i / a)
    for i in range(min(b, n)):
        s[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / b)
    return s


def mix(*tracks):
    """Sum tracks given as (start seconds, samples)."""
    length = max(int(round(st * RATE)) + len(sm) for st, sm in tracks)
    out = [0.0] * length
    for st, sm in tracks:
        o = int(round(st * RATE))
        for i, v in enumerate(sm):
            out[o + i] += v
    return out


def normalise(samples, peak):
    top = max(abs(v) for v in samples) or 1.0
    return [v * peak / top for v in samples]


def write_wav(name, samples, peak=0.35):
    samples = normalise(samples, peak)
    path = os.path.join(ROOT, 'Sound', name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    frames = b''.join(struct.pack('<h', max(-32767, min(32767,
                      int(round(v * 32767))))) for v in samples)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


BELL = ((1, 1.0), (2, 0.25), (3, 0.08))


def make_sounds():
    # Soft key click: a very short, fast-decaying high tone, about 30 ms.
    click = mix((0, tone(0.030, 2400, 1800, decay=160,
                         partials=((1, 1.0), (2, 0.3)))))
    write_wav('KeyBoard.wav', fade(click, 0.001, 0.008), peak=0.22)

    # User sends: a short soft blip rising a little.
    blip = tone(0.085, 700, 880, decay=25, partials=((1, 1.0), (2, 0.15)))
    write_wav('Button3.wav', fade(blip, 0.004, 0.030), peak=0.30)

    # Layout fix: two short tones, low then high.
    two = mix((0.000, fade(tone(0.070, 660, partials=BELL), 0.004, 0.020)),
              (0.075, fade(tone(0.070, 990, partials=BELL), 0.004, 0.025)))
    write_wav('Button2.wav', two, peak=0.30)

    # Start-up: a small rising chime C-E-G, 0.38 s.
    chime = mix(*[(st, fade(tone(0.38 - st, f, decay=7, partials=BELL),
                            0.003, 0.06))
                  for st, f in ((0.00, 523.25), (0.07, 659.25),
                                (0.14, 783.99))])
    write_wav('Button1.wav', fade(chime, 0.003, 0.05), peak=0.35)

    # Bot replies: a pleasant two-note chime G-C, 0.28 s.
    cpu = mix((0.00, fade(tone(0.28, 783.99, decay=9, partials=BELL),
                          0.003, 0.05)),
              (0.09, fade(tone(0.19, 1046.5, decay=9, partials=BELL),
                          0.003, 0.05)))
    write_wav('CpuSound.wav', fade(cpu, 0.003, 0.04), peak=0.32)

    # Closing: a descending tone, 0.6 s.
    close = tone(0.60, 880, 330, decay=2.0, partials=((1, 1.0), (2, 0.2)))
    write_wav('Close.wav', fade(close, 0.008, 0.15), peak=0.32)


# ---------------------------------------------------------------- picture
W, H = 179, 108


def inside_round_rect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def scene(x, y):
    """Colour of the point (x, y); y grows downwards."""
    # sky
    c = lerp((120, 180, 235), (205, 232, 250), min(y / 75.0, 1.0))
    # sun with a soft glow
    d = math.hypot(x - 152, y - 20)
    if d < 11:
        c = (255, 222, 90)
    elif d < 22:
        c = lerp((255, 240, 170), c, (d - 11) / 11)
    # a small cloud
    if (in_circle(x, y, 22, 20, 7) or in_circle(x, y, 31, 17, 9) or
            in_circle(x, y, 40, 21, 6)) and y < 26:
        c = (250, 252, 255)
    # hills
    far = 74 + 7 * math.sin(x / 23.0 + 1.0)
    near = 84 + 5 * math.sin(x / 15.0 + 2.5)
    if y > far:
        c = (120, 185, 105)
    if y > near:
        c = lerp((95, 165, 80), (70, 140, 65), min((y - near) / 25, 1))
    # speech bubble with the letter T
    if (inside_round_rect(x, y, 100, 12, 136, 38, 8) or
            (x >= 98 and y >= 34 and y <= 46 and
             (x - 98) * 1.0 <= (46 - y) * 0.9 and x <= 108)):
        c = (255, 255, 255)
        if (111 <= x <= 125 and 17 <= y <= 20) or (116.5 <= x <= 119.5
                                                     and 17 <= y <= 33):
            c = (40, 90, 170)
    # robot: antenna
    if 69 <= x <= 71 and 22 <= y <= 31:
        c = (110, 120, 135)
    if in_circle(x, y, 70, 21, 3):
        c = (235, 90, 90)
    # arms
    if (inside_round_rect(x, y, 46, 58, 54, 80, 4) or
            inside_round_rect(x, y, 86, 58, 94, 80, 4)):
        c = (150, 162, 180)
    # legs and feet
    if (inside_round_rect(x, y, 60, 88, 67, 100, 2) or
            inside_round_rect(x, y, 73, 88, 80, 100, 2)):
        c = (125, 135, 150)
    if (inside_round_rect(x, y, 57, 98, 68, 103, 2) or
            inside_round_rect(x, y, 72, 98, 83, 103, 2)):
        c = (90, 100, 120)
    # body with a heart light
    if inside_round_rect(x, y, 55, 55, 85, 91, 6):
        c = (180, 192, 210)
        if in_circle(x, y, 70, 70, 6):
            c = (255, 255, 255)
        if in_circle(x, y, 70, 70, 4.5):
            c = (90, 200, 145)
        if 60 <= x <= 80 and 82 <= y <= 84:
            c = (140, 150, 170)
    # neck
    if 66 <= x <= 74 and 52 <= y <= 56:
        c = (140, 150, 165)
    # head, eyes, cheeks, smile
    if inside_round_rect(x, y, 56, 30, 84, 54, 7):
        c = (200, 210, 226)
        if in_circle(x, y, 64, 40, 3.6) or in_circle(x, y, 76, 40, 3.6):
            c = (35, 55, 90)
            if in_circle(x, y, 65, 39, 1.2) or in_circle(x, y, 77, 39, 1.2):
                c = (255, 255, 255)
        if in_circle(x, y, 60, 46, 2.2) or in_circle(x, y, 80, 46, 2.2):
            c = (245, 160, 170)
        r = math.hypot(x - 70, y - 43)
        if 5.3 <= r <= 6.8 and y > 45:
            c = (60, 70, 100)
    # a flower in the grass
    if in_circle(x, y, 30, 92, 2.3):
        c = (255, 210, 60)
    elif any(in_circle(x, y, 30 + 3 * math.cos(a), 92 + 3 * math.sin(a), 2)
             for a in (0, 1.57, 3.14, 4.71)):
        c = (250, 250, 250)
    return c


def make_picture():
    ss = 3  # supersampling for smooth edges
    rows = []
    for y in range(H):
        row = bytearray()
        for x in range(W):
            acc = [0.0, 0.0, 0.0]
            for j in range(ss):
                for i in range(ss):
                    c = scene(x + (i + 0.5) / ss, y + (j + 0.5) / ss)
                    for k in range(3):
                        acc[k] += c[k]
            r, g, b = (int(round(v / (ss * ss))) for v in acc)
            row += bytes((b, g, r))
        row += b'\0' * ((4 - len(row) % 4) % 4)
        rows.append(bytes(row))
    pixels = b''.join(reversed(rows))  # bottom-up
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    path = os.path.join(ROOT, 'Images', 'Foto.bmp')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


if __name__ == '__main__':
    make_sounds()
    make_picture()
    print('sounds and picture written under', os.path.normpath(ROOT))
