#!/usr/bin/env python3
"""Writes data/db.db, the catalogue that ships with Helicordia.

Every playable line is a set of reference tones taken from a published musical
or physical definition (equal temperament, just intonation, ISO 266 preferred
frequencies, audiometric test frequencies, telephone signalling tones, ...),
written as "Name (detail) - f1,f2,...". Headings and notes are lines without
the " - " separator. The catalogue must hold exactly 1553 lines.

Usage: python3 tools/make_catalogue.py [output path]   (default: data/db.db)
Standard library only; the output is plain ASCII with LF line breaks.
"""

import math
import os
import sys
from fractions import Fraction

LINE_COUNT = 1553
MAX_FREQS = 100
LOW, HIGH = 0.5, 20000.0
SEP = " - "

NOTE_NAMES = ["C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"]
FLAT_NAMES = {"C#": "Db", "D#": "Eb", "F#": "Gb", "G#": "Ab", "A#": "Bb"}
TUNINGS = (440.0, 432.0)

lines = []


def fmt(f):
    """Plain decimal: two decimals from 100 Hz up, three below, no trailing zeros."""
    text = f"{f:.2f}" if f >= 100 else f"{f:.3f}"
    text = text.rstrip("0").rstrip(".")
    return text


def heading(text):
    assert SEP not in text, text
    lines.append(text)


def note(text):
    heading(text)


def tone_set(name, freqs):
    assert SEP not in name, name
    assert 1 <= len(freqs) <= MAX_FREQS, (name, len(freqs))
    for f in freqs:
        assert LOW <= f <= HIGH, (name, f)
    lines.append(name + SEP + ",".join(fmt(f) for f in freqs))


def et(midi, a4=440.0):
    """Equal-tempered frequency of a MIDI note number (A4 = 69)."""
    return a4 * 2.0 ** ((midi - 69) / 12.0)


def note_name(midi):
    pc = midi % 12
    octave = midi // 12 - 1
    return f"{NOTE_NAMES[pc]}{octave}"


def pc_name(pc):
    n = NOTE_NAMES[pc]
    return f"{n}/{FLAT_NAMES[n]}" if n in FLAT_NAMES else n


def tuning_tag(a4):
    return f"A4 = {a4:g} Hz"


def midi_of(pc, octave):
    return (octave + 1) * 12 + pc


# ---------------------------------------------------------------- introduction
heading("Helicordia catalogue of reference tone sets (musical and physical definitions)")
heading("How to use the programs")
note("Type part of a name or of a frequency into the search box: the list shows every line that contains the text, capitals or not.")
note("Lines marked # are playable tone sets; lines marked _ are headings and notes like this one and cannot be played.")
note("Double-click a playable line (or select it and press Play) to open the player; it plays the listed frequencies one after another.")
note("Each frequency gets an equal share of the length you choose with the slider; the default is three minutes per frequency.")
note("Start at a low volume and raise it slowly. Very high tones can be unpleasant, and tones below about 20 Hz are inaudible on most speakers.")
note("The sets are reference tones taken from published tuning systems and technical standards. They are not treatments and make no health claim.")
note("Search tips: 440 or 432 for a tuning, a note such as C4 or F#3, or words such as major, minor, chord, just, ISO, octave, sweep or harmonic.")
note("Long sets last long: 20 frequencies at three minutes each take an hour. Shorten the length with the slider before you press Play.")
note("All frequencies are in hertz (Hz), rounded to 0.01 Hz (0.001 Hz below 100 Hz); equal temperament uses f = A4 x 2^((n - 69)/12) with MIDI note number n.".replace(" - ", " minus "))


# ------------------------------------------------------------ single notes
for a4 in TUNINGS:
    heading(f"Single notes of the piano range A0 to C8, equal temperament, {tuning_tag(a4)}")
    for m in range(21, 109):
        tone_set(f"Note {note_name(m)} (equal temperament, {tuning_tag(a4)})", [et(m, a4)])

# ------------------------------------------------------------ scales
SCALES = [
    ("major scale", [0, 2, 4, 5, 7, 9, 11, 12]),
    ("natural minor scale", [0, 2, 3, 5, 7, 8, 10, 12]),
    ("harmonic minor scale", [0, 2, 3, 5, 7, 8, 11, 12]),
    ("melodic minor scale (ascending)", [0, 2, 3, 5, 7, 9, 11, 12]),
]
SCALE_OCTAVES = [3, 4, 5]
for a4 in TUNINGS:
    heading(f"Major and minor scales, equal temperament, {tuning_tag(a4)}, one octave each from the tonic")
    for kind, steps in SCALES:
        for pc in range(12):
            for octave in SCALE_OCTAVES:
                m = midi_of(pc, octave)
                tone_set(f"{pc_name(pc)} {kind} from {note_name(m)} ({tuning_tag(a4)})",
                         [et(m + s, a4) for s in steps])

MODES = [
    ("Dorian mode", [0, 2, 3, 5, 7, 9, 10, 12]),
    ("Phrygian mode", [0, 1, 3, 5, 7, 8, 10, 12]),
    ("Lydian mode", [0, 2, 4, 6, 7, 9, 11, 12]),
    ("Mixolydian mode", [0, 2, 4, 5, 7, 9, 10, 12]),
    ("Locrian mode", [0, 1, 3, 5, 6, 8, 10, 12]),
    ("major pentatonic scale", [0, 2, 4, 7, 9, 12]),
    ("minor pentatonic scale", [0, 3, 5, 7, 10, 12]),
    ("blues scale", [0, 3, 5, 6, 7, 10, 12]),
]
for a4 in TUNINGS:
    heading(f"Church modes, pentatonic and blues scales from octave 4, {tuning_tag(a4)}")
    for kind, steps in MODES:
        for pc in range(12):
            m = midi_of(pc, 4)
            tone_set(f"{pc_name(pc)} {kind} from {note_name(m)} ({tuning_tag(a4)})",
                     [et(m + s, a4) for s in steps])

for a4 in TUNINGS:
    heading(f"Chromatic scales (12 equal semitones and the octave), {tuning_tag(a4)}")
    for octave in range(0, 8):
        m = midi_of(0, octave)
        tone_set(f"Chromatic scale from {note_name(m)} ({tuning_tag(a4)})",
                 [et(m + s, a4) for s in range(13)])

for a4 in TUNINGS:
    heading(f"Every octave of one note name within 16 Hz to 20 kHz, {tuning_tag(a4)}")
    for pc in range(12):
        freqs = [et(m, a4) for m in range(0, 136) if m % 12 == pc and 16 <= et(m, a4) <= HIGH]
        tone_set(f"All octaves of {pc_name(pc)} ({tuning_tag(a4)})", freqs)

# ------------------------------------------------------------ chords
CHORDS = [
    ("major triad", [0, 4, 7]),
    ("minor triad", [0, 3, 7]),
    ("diminished triad", [0, 3, 6]),
    ("augmented triad", [0, 4, 8]),
    ("suspended fourth chord", [0, 5, 7]),
    ("dominant seventh chord", [0, 4, 7, 10]),
    ("major seventh chord", [0, 4, 7, 11]),
    ("minor seventh chord", [0, 3, 7, 10]),
    ("diminished seventh chord", [0, 3, 6, 9]),
]
CHORD_OCTAVES = [3, 4]
for a4 in TUNINGS:
    heading(f"Chords played as arpeggios (notes one after another), root position, {tuning_tag(a4)}")
    for kind, steps in CHORDS:
        for pc in range(12):
            for octave in CHORD_OCTAVES:
                m = midi_of(pc, octave)
                tone_set(f"{pc_name(pc)} {kind} on {note_name(m)} ({tuning_tag(a4)})",
                         [et(m + s, a4) for s in steps])

# ------------------------------------------------------------ intervals
INTERVALS = ["minor second", "major second", "minor third", "major third", "perfect fourth",
             "tritone", "perfect fifth", "minor sixth", "major sixth", "minor seventh",
             "major seventh", "octave"]
for a4 in TUNINGS:
    heading(f"Equal-tempered intervals above A4, {tuning_tag(a4)}")
    for k, iname in enumerate(INTERVALS, start=1):
        tone_set(f"Interval {iname} above A4 (equal temperament, {tuning_tag(a4)})",
                 [a4, et(69 + k, a4)])

JUST_INTERVALS = [
    ("minor second", Fraction(16, 15)), ("major second", Fraction(9, 8)),
    ("minor third", Fraction(6, 5)), ("major third", Fraction(5, 4)),
    ("perfect fourth", Fraction(4, 3)), ("tritone", Fraction(45, 32)),
    ("perfect fifth", Fraction(3, 2)), ("minor sixth", Fraction(8, 5)),
    ("major sixth", Fraction(5, 3)), ("minor seventh", Fraction(9, 5)),
    ("major seventh", Fraction(15, 8)), ("octave", Fraction(2, 1)),
]
heading("Just intervals above A4 = 440 Hz (whole-number frequency ratios)")
for iname, r in JUST_INTERVALS:
    tone_set(f"Just {iname} above A4 (ratio {r.numerator}:{r.denominator}, A4 = 440 Hz)",
             [440.0, 440.0 * float(r)])

# ------------------------------------------------------------ just intonation
JUST_MAJOR = [Fraction(1), Fraction(9, 8), Fraction(5, 4), Fraction(4, 3), Fraction(3, 2),
              Fraction(5, 3), Fraction(15, 8), Fraction(2)]
JUST_MINOR = [Fraction(1), Fraction(9, 8), Fraction(6, 5), Fraction(4, 3), Fraction(3, 2),
              Fraction(8, 5), Fraction(9, 5), Fraction(2)]
PYTHAGOREAN = [Fraction(1), Fraction(9, 8), Fraction(81, 64), Fraction(4, 3), Fraction(3, 2),
               Fraction(27, 16), Fraction(243, 128), Fraction(2)]
heading("Just intonation and Pythagorean scales, tonic tuned to equal temperament at A4 = 440 Hz")
note("Just intonation uses ratios of small whole numbers (major scale 1, 9/8, 5/4, 4/3, 3/2, 5/3, 15/8, 2); Pythagorean tuning stacks pure fifths (3/2).")
for label, ratios in (("just major scale", JUST_MAJOR), ("just natural minor scale", JUST_MINOR),
                      ("Pythagorean major scale", PYTHAGOREAN)):
    for pc in range(12):
        for octave in (4,):
            m = midi_of(pc, octave)
            tonic = et(m)
            tone_set(f"{pc_name(pc)} {label} from {note_name(m)} (tonic {fmt(tonic)} Hz)",
                     [tonic * float(r) for r in ratios])

heading("Just triads and the harmonic series chord")
for pc in range(12):
    root = et(midi_of(pc, 4))
    tone_set(f"{pc_name(pc)} just major triad 4:5:6 (root {fmt(root)} Hz)",
             [root, root * 5 / 4, root * 3 / 2])
    tone_set(f"{pc_name(pc)} just minor triad 10:12:15 (root {fmt(root)} Hz)",
             [root, root * 6 / 5, root * 3 / 2])

heading("Scientific pitch (C4 = 256 Hz, powers of two)")
tone_set("Scientific pitch C octaves (C = 16 Hz to 16384 Hz)", [16.0 * 2 ** k for k in range(11)])
tone_set("Scientific pitch just major scale from C4 (C4 = 256 Hz)", [256.0 * float(r) for r in JUST_MAJOR])
tone_set("Scientific pitch Pythagorean major scale from C4 (C4 = 256 Hz)", [256.0 * float(r) for r in PYTHAGOREAN])
tone_set("Scientific pitch equal-tempered chromatic scale from C4 (C4 = 256 Hz)",
         [256.0 * 2 ** (k / 12) for k in range(13)])

heading("Other temperaments of the chromatic scale from C4 (A4 = 440 Hz reference)")


def meantone_chromatic(fifth, a4=440.0):
    # Chain of fifths from Eb to G#, folded into one octave, scaled so that A4 = a4.
    cents = {}
    order = ["Eb", "Bb", "F", "C", "G", "D", "A", "E", "B", "F#", "C#", "G#"]
    for k, name in enumerate(order):
        steps = k - 3  # C is the origin
        ratio = fifth ** steps
        while ratio >= 2:
            ratio /= 2
        while ratio < 1:
            ratio *= 2
        cents[name] = ratio
    chromatic = ["C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B"]
    c4 = a4 / cents["A"]
    return [c4 * cents[n] for n in chromatic] + [2 * c4]


tone_set("Quarter-comma meantone chromatic scale from C4 (fifth = fourth root of 5, A4 = 440 Hz)",
         meantone_chromatic(5 ** 0.25))
tone_set("Pythagorean chromatic scale from C4 (pure fifths 3:2, Eb to G#, A4 = 440 Hz)",
         meantone_chromatic(1.5))
tone_set("Third-comma meantone chromatic scale from C4 (fifth narrowed by a third of 81:80, A4 = 440 Hz)",
         meantone_chromatic(1.5 * (80 / 81) ** (1 / 3)))
tone_set("Equal-tempered chromatic scale from C4 for comparison (A4 = 440 Hz)",
         [et(60 + k) for k in range(13)])

# ------------------------------------------------------------ pitch standards and forks
PITCHES = [
    (415.0, "baroque pitch"), (409.0, "English tuning fork, about 1780"), (422.5, "Handel tuning fork, about 1740"),
    (430.0, "classical pitch"), (432.0, "Verdi pitch"), (435.0, "French diapason normal, 1859"),
    (439.0, "British new philharmonic pitch, 1896"), (440.0, "ISO 16 standard pitch"),
    (442.0, "common orchestral pitch"), (443.0, "some European orchestras"),
    (452.5, "British old philharmonic pitch"), (466.0, "Chorton, baroque organ pitch a semitone above 440"),
]
heading("Concert pitch standards: tuning fork A4 and the equal-tempered A major scale on it")
for a4, label in PITCHES:
    tone_set(f"Tuning fork A4 = {a4:g} Hz ({label})", [a4])
    tone_set(f"A major scale from A4 = {a4:g} Hz ({label})", [et(69 + s, a4) for s in SCALES[0][1]])
    tone_set(f"Chromatic octave from C4 at A4 = {a4:g} Hz ({label})", [et(60 + s, a4) for s in range(13)])

heading("Tuning fork sets")
tone_set("Tuning fork set C 128, 256, 512, 1024, 2048, 4096 Hz (scientific pitch)",
         [128.0, 256.0, 512.0, 1024.0, 2048.0, 4096.0])
tone_set("Tuning fork set scientific pitch C major scale (C4 = 256 Hz, just ratios)",
         [256.0 * float(r) for r in JUST_MAJOR])
tone_set("Tuning fork set A 110, 220, 440, 880, 1760 Hz (ISO 16 pitch)", [110.0, 220.0, 440.0, 880.0, 1760.0])
tone_set("Tuning fork set C major scale at A4 = 440 Hz (equal temperament)",
         [et(60 + s) for s in SCALES[0][1]])
tone_set("Tuning fork set C major scale at A4 = 432 Hz (equal temperament)",
         [et(60 + s, 432.0) for s in SCALES[0][1]])

# ------------------------------------------------------------ instruments
STRINGS = [
    ("Guitar standard tuning E A D G B E", ["E2", "A2", "D3", "G3", "B3", "E4"]),
    ("Guitar drop D tuning D A D G B E", ["D2", "A2", "D3", "G3", "B3", "E4"]),
    ("Guitar open G tuning D G D G B D", ["D2", "G2", "D3", "G3", "B3", "D4"]),
    ("Guitar open D tuning D A D F# A D", ["D2", "A2", "D3", "F#3", "A3", "D4"]),
    ("Guitar DADGAD tuning", ["D2", "A2", "D3", "G3", "A3", "D4"]),
    ("Bass guitar standard tuning E A D G", ["E1", "A1", "D2", "G2"]),
    ("Five-string bass tuning B E A D G", ["B0", "E1", "A1", "D2", "G2"]),
    ("Violin open strings G D A E", ["G3", "D4", "A4", "E5"]),
    ("Viola open strings C G D A", ["C3", "G3", "D4", "A4"]),
    ("Cello open strings C G D A", ["C2", "G2", "D3", "A3"]),
    ("Double bass open strings E A D G", ["E1", "A1", "D2", "G2"]),
    ("Ukulele standard tuning G C E A", ["G4", "C4", "E4", "A4"]),
    ("Mandolin open strings G D A E", ["G3", "D4", "A4", "E5"]),
    ("Five-string banjo open G tuning g D G B D", ["G4", "D3", "G3", "B3", "D4"]),
]


def parse_note(text):
    name, octave = text[:-1], int(text[-1])
    return midi_of(NOTE_NAMES.index(name), octave)


for a4 in TUNINGS:
    heading(f"Open strings of string instruments, {tuning_tag(a4)}")
    for label, notes in STRINGS:
        tone_set(f"{label} ({tuning_tag(a4)})", [et(parse_note(n), a4) for n in notes])

# ------------------------------------------------------------ harmonic series
heading("Harmonic series: whole-number multiples of a fundamental, up to 20 kHz or 64 harmonics")
note("A harmonic series is f, 2f, 3f, 4f and so on; the first 16 harmonics of a low note span four octaves.")
for m in range(24, 60):  # C1 to B3
    f0 = et(m)
    freqs = [f0 * k for k in range(1, 65) if f0 * k <= HIGH]
    tone_set(f"Harmonic series of {note_name(m)} ({fmt(f0)} Hz, {len(freqs)} harmonics, A4 = 440 Hz)", freqs)
for f0 in (50.0, 60.0, 100.0, 128.0, 256.0, 432.0, 440.0, 1000.0):
    freqs = [f0 * k for k in range(1, 17) if f0 * k <= HIGH]
    tone_set(f"First {len(freqs)} harmonics of {f0:g} Hz", freqs)
heading("Odd harmonics only (the partials of a square wave)")
for m in (33, 45, 57, 69):  # A1 to A4
    f0 = et(m)
    freqs = [f0 * k for k in range(1, 64, 2) if f0 * k <= HIGH]
    tone_set(f"Odd harmonics of {note_name(m)} ({fmt(f0)} Hz, A4 = 440 Hz)", freqs)
heading("Subharmonic (undertone) series: a frequency divided by 1, 2, 3 and so on")
for f0 in (440.0, 1000.0, 2000.0, 4000.0):
    freqs = [f0 / k for k in range(1, 33) if f0 / k >= 16]
    tone_set(f"Undertone series of {f0:g} Hz down to 16 Hz", freqs)

# ------------------------------------------------------------ ISO 266
THIRD_OCTAVE_NOMINAL = [1, 1.25, 1.6, 2, 2.5, 3.15, 4, 5, 6.3, 8, 10, 12.5, 16, 20, 25, 31.5, 40, 50,
                        63, 80, 100, 125, 160, 200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600,
                        2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000]
OCTAVE_NOMINAL = [1, 2, 4, 8, 16, 31.5, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000]
heading("ISO 266 preferred frequencies for acoustical measurements")
note("ISO 266 centres third-octave bands on 1000 Hz x 10^(n/10); the nominal values are rounded to the R10 series (1, 1.25, 1.6, 2, 2.5, 3.15, 4, 5, 6.3, 8).")
tone_set("ISO 266 third-octave band centres 20 Hz to 20 kHz (nominal)",
         [f for f in THIRD_OCTAVE_NOMINAL if 20 <= f <= HIGH])
tone_set("ISO 266 third-octave band centres 1 Hz to 20 kHz (nominal)", THIRD_OCTAVE_NOMINAL)
tone_set("ISO 266 third-octave band centres 25 Hz to 12.5 kHz (nominal, speech and music range)",
         [f for f in THIRD_OCTAVE_NOMINAL if 25 <= f <= 12500])
tone_set("ISO 266 third-octave band centres 20 Hz to 20 kHz (exact, 1000 x 10^(n/10))",
         [1000 * 10 ** (n / 10) for n in range(-17, 14)])
tone_set("ISO 266 octave band centres 16 Hz to 16 kHz (nominal)", [f for f in OCTAVE_NOMINAL if f >= 16])
tone_set("ISO 266 octave band centres 1 Hz to 16 kHz (nominal)", OCTAVE_NOMINAL)
tone_set("ISO 266 octave band centres 31.5 Hz to 8 kHz (exact, 1000 x 10^(3n/10))",
         [1000 * 10 ** (3 * n / 10) for n in range(-5, 4)])
tone_set("Base-two third-octave centres 1000 x 2^(n/3), 19.69 Hz to 16 kHz",
         [1000 * 2 ** (n / 3) for n in range(-17, 13)])
for f in THIRD_OCTAVE_NOMINAL:
    band = "octave and third-octave" if f in OCTAVE_NOMINAL else "third-octave"
    tone_set(f"ISO 266 {band} band centre {f:g} Hz", [float(f)])

# ------------------------------------------------------------ audiometry
AUDIO_STANDARD = [125, 250, 500, 750, 1000, 1500, 2000, 3000, 4000, 6000, 8000]
AUDIO_EXTENDED = [9000, 10000, 11200, 12500, 14000, 16000, 18000, 20000]
heading("Audiometric test frequencies (pure-tone audiometry, ISO 8253-1)")
note("These are the frequencies at which audiometers present tones. Listening to them here is not a hearing test.")
tone_set("Audiometric octave frequencies 125 Hz to 8 kHz", [f for f in AUDIO_STANDARD if f in (125, 250, 500, 1000, 2000, 4000, 8000)])
tone_set("Audiometric frequencies 125 Hz to 8 kHz with half-octaves", AUDIO_STANDARD)
tone_set("Audiometric extended high frequencies 9 kHz to 20 kHz", AUDIO_EXTENDED)
tone_set("Audiometric frequencies 125 Hz to 20 kHz, standard and extended", AUDIO_STANDARD + AUDIO_EXTENDED)
tone_set("Audiometric test order 1 kHz up then down (1, 2, 3, 4, 6, 8 kHz, 1 kHz, 500, 250, 125 Hz)",
         [1000, 2000, 3000, 4000, 6000, 8000, 1000, 500, 250, 125])
for f in AUDIO_STANDARD + AUDIO_EXTENDED:
    tone_set(f"Audiometric test tone {f:g} Hz", [float(f)])

# ------------------------------------------------------------ Schumann resonances
heading("Schumann resonances of the Earth-ionosphere cavity")
note("Measured modes lie near 7.83, 14.3, 20.8, 27.3 and 33.8 Hz. They are infrasonic: most speakers cannot play them, so octave transpositions are listed too.")
SCHUMANN = [7.83, 14.3, 20.8, 27.3, 33.8, 39.0, 45.0]
tone_set("Schumann resonance modes 1 to 5 (measured)", SCHUMANN[:5])
tone_set("Schumann resonance modes 1 to 7 (measured)", SCHUMANN)
R_EARTH = 6.371e6
C_LIGHT = 299792458.0
ideal = [C_LIGHT / (2 * math.pi * R_EARTH) * math.sqrt(n * (n + 1)) for n in range(1, 8)]
tone_set("Schumann resonance modes 1 to 7 (ideal cavity, c/(2 pi R) x sqrt(n(n+1)))", ideal)
for k, f in enumerate(SCHUMANN[:5], start=1):
    tone_set(f"Schumann resonance mode {k} (measured, {fmt(f)} Hz)", [f])
for shift in (3, 4, 5, 6):
    tone_set(f"Schumann resonance modes 1 to 5 raised {shift} octaves (x {2 ** shift})",
             [f * 2 ** shift for f in SCHUMANN[:5]])

# ------------------------------------------------------------ signalling tones
DTMF_ROWS = [697, 770, 852, 941]
DTMF_COLS = [1209, 1336, 1477, 1633]
DTMF_KEYS = ["123A", "456B", "789C", "*0#D"]
heading("Telephone signalling tones (played one after another, not together)")
tone_set("DTMF row frequencies (ITU-T Q.23)", DTMF_ROWS)
tone_set("DTMF column frequencies (ITU-T Q.23)", DTMF_COLS)
for r, row in enumerate(DTMF_KEYS):
    for c, key in enumerate(row):
        tone_set(f"DTMF key {key} (ITU-T Q.23, {DTMF_ROWS[r]} and {DTMF_COLS[c]} Hz)",
                 [DTMF_ROWS[r], DTMF_COLS[c]])
tone_set("North American dial tone (precise tone plan, 350 and 440 Hz)", [350, 440])
tone_set("North American ringback tone (precise tone plan, 440 and 480 Hz)", [440, 480])
tone_set("North American busy tone (precise tone plan, 480 and 620 Hz)", [480, 620])
tone_set("European dial tone (ETSI, 425 Hz)", [425])
tone_set("United Kingdom dial tone (350 and 450 Hz)", [350, 450])
tone_set("Special information tone (ITU-T E.180, 950, 1400, 1800 Hz)", [950, 1400, 1800])

heading("Reference and test tones used in audio engineering")
tone_set("Line-up tone 1 kHz (alignment level reference)", [1000])
tone_set("Digital test tone 997 Hz (not a divisor of common sample rates)", [997])
tone_set("Test tone 400 Hz (broadcast line-up)", [400])
tone_set("FM stereo pilot tone 19 kHz", [19000])
tone_set("Mains hum 50 Hz and its harmonics up to 1 kHz", [50.0 * k for k in range(1, 21)])
tone_set("Mains hum 60 Hz and its harmonics up to 1.2 kHz", [60.0 * k for k in range(1, 21)])
tone_set("Speaker check low, middle and high (100 Hz, 1 kHz, 10 kHz)", [100, 1000, 10000])
tone_set("Octave steps 31.25 Hz to 16 kHz (powers of two from 1000 Hz)", [1000 * 2 ** k for k in range(-5, 5)])

# ------------------------------------------------------------ sweeps
heading("Sweeps in equal steps (each step one frequency of the set)")
note("Linear sweeps add a fixed number of hertz at each step; logarithmic sweeps multiply by a fixed ratio (an octave, a third of an octave or a semitone).")
LINEAR = [(20, 200, 10), (50, 500, 10), (100, 1000, 10), (100, 1000, 50), (100, 2000, 100),
          (200, 2000, 20), (500, 5000, 50), (1000, 10000, 100), (1000, 20000, 200),
          (2000, 20000, 250), (5000, 20000, 500), (10, 100, 1),
          (40, 139, 1), (400, 480, 1), (250, 745, 5)]
for lo, hi, step in LINEAR:
    n = int(round((hi - lo) / step)) + 1
    freqs = [lo + i * step for i in range(n)]
    tone_set(f"Linear sweep {lo:g} Hz to {hi:g} Hz in {step:g} Hz steps", freqs)
for lo, hi in ((20, 20000), (16, 16000), (31.25, 16000), (1, 16384)):
    freqs = []
    f = lo
    while f <= hi * 1.0001:
        freqs.append(f)
        f *= 2
    tone_set(f"Octave sweep {lo:g} Hz to {freqs[-1]:g} Hz", freqs)
for lo_n, hi_n in ((-17, 12), (-10, 10), (-3, 3)):
    freqs = [1000 * 2 ** (n / 3) for n in range(lo_n, hi_n + 1)]
    tone_set(f"Third-octave sweep {fmt(freqs[0])} Hz to {fmt(freqs[-1])} Hz", freqs)
for lo_m, hi_m in ((21, 108), (36, 84), (48, 72), (57, 81)):
    tone_set(f"Semitone sweep {note_name(lo_m)} to {note_name(hi_m)} (equal temperament, A4 = 440 Hz)",
             [et(m) for m in range(lo_m, hi_m + 1)])
for lo_m, hi_m in ((21, 108), (36, 84), (48, 72), (57, 81)):
    tone_set(f"Semitone sweep {note_name(lo_m)} to {note_name(hi_m)} (equal temperament, A4 = 432 Hz)",
             [et(m, 432.0) for m in range(lo_m, hi_m + 1)])

heading("End of catalogue")


def check(all_lines):
    assert len(all_lines) == LINE_COUNT, f"{len(all_lines)} lines, {LINE_COUNT} needed"
    names = set()
    for line in all_lines:
        assert line.isascii() and "\r" not in line and "\n" not in line, line
        if SEP not in line:
            continue
        name, freqs = line.split(SEP, 1)
        assert name not in names, f"duplicate name: {name}"
        names.add(name)
        values = [float(v) for v in freqs.split(",")]
        assert 1 <= len(values) <= MAX_FREQS, line
        assert all(LOW <= v <= HIGH for v in values), line


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "db.db")
    print(f"{len(lines)} lines", file=sys.stderr)
    check(lines)
    with open(out, "w", encoding="ascii", newline="\n") as f:
        for line in lines:
            f.write(line + "\n")


if __name__ == "__main__":
    main()
