#!/usr/bin/env python3
"""Writes the program's SVG icons into resources/icons/ (run from anywhere; no arguments).

Every tool bar icon is a rounded tile in its family's colour with a white line glyph on a 48 x 48
grid; actions on a thing (add, change, delete) carry a small badge. The message pictures, the tray
icons, the application icon and the logo follow the same palette.
"""
import os

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "icons")

FAMILY = {
    "device": ("#1497a8", "#0b6f80"),
    "analysis": ("#3f82cf", "#2a5c9e"),
    "records": ("#3aa070", "#25764f"),
    "programs": ("#8a62b8", "#62418c"),
    "setup": ("#e69a3c", "#c06f1c"),
    "stop": ("#d9534f", "#a8302c"),
    "neutral": ("#64788c", "#45566a"),
    "advice": ("#4aa39a", "#2e7a72"),
}

S = 'fill="none" stroke="#fff" stroke-width="3" stroke-linecap="round" stroke-linejoin="round"'
SF = 'fill="#fff" stroke="none"'


def tile(family, glyph, badge=None):
    top, bottom = FAMILY[family]
    gid = "g" + family
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">',
        f'<defs><linearGradient id="{gid}" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/></linearGradient></defs>',
        f'<rect x="2" y="2" width="44" height="44" rx="10" fill="url(#{gid})"/>',
        '<rect x="2.5" y="2.5" width="43" height="43" rx="9.5" fill="none" stroke="#ffffff" stroke-opacity="0.25"/>',
        glyph,
    ]
    if badge:
        parts.append(BADGES[badge](bottom))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def badge_plus(c):
    return (f'<circle cx="36" cy="36" r="8.5" fill="#fff" stroke="{c}" stroke-width="1.5"/>'
            f'<path d="M36 31.5v9M31.5 36h9" stroke="{c}" stroke-width="2.6" stroke-linecap="round"/>')


def badge_edit(c):
    return (f'<circle cx="36" cy="36" r="8.5" fill="#fff" stroke="{c}" stroke-width="1.5"/>'
            f'<path d="M32.5 39.5l1-3.5 5.5-5.5 2.5 2.5-5.5 5.5z" fill="{c}"/>')


def badge_delete(c):
    return ('<circle cx="36" cy="36" r="8.5" fill="#fff" stroke="#c0392b" stroke-width="1.5"/>'
            '<path d="M32.8 32.8l6.4 6.4M39.2 32.8l-6.4 6.4" stroke="#c0392b" stroke-width="2.6" stroke-linecap="round"/>')


def badge_gear(c):
    return (f'<circle cx="36" cy="36" r="8.5" fill="#fff" stroke="{c}" stroke-width="1.5"/>'
            f'<circle cx="36" cy="36" r="3.2" fill="none" stroke="{c}" stroke-width="2.2"/>'
            f'<path d="M36 30v2.2M36 39.8v2.2M30 36h2.2M39.8 36h2.2M31.8 31.8l1.5 1.5M38.7 38.7l1.5 1.5'
            f'M31.8 40.2l1.5-1.5M38.7 33.3l1.5-1.5" stroke="{c}" stroke-width="1.8" stroke-linecap="round"/>')


BADGES = {"plus": badge_plus, "edit": badge_edit, "delete": badge_delete, "gear": badge_gear}

# Glyph building blocks (white on the tile).
PERSON = f'<circle cx="20" cy="16" r="6" {S}/><path d="M8 36c0-7 5.4-11 12-11s12 4 12 11" {S}/>'
DOC = f'<path d="M13 9h14l8 8v22H13z" {S}/><path d="M27 9v8h8" {S}/><path d="M18 24h12M18 30h9" {S}/>'
CLIPBOARD = (f'<rect x="11" y="10" width="24" height="30" rx="3" {S}/><path d="M18 8h10v5H18z" {SF}/>'
             f'<path d="M16 21h14M16 27h14M16 33h8" {S}/>')
LISTING = (f'<path d="M19 14h18M19 24h18M19 34h12" {S}/>'
           f'<circle cx="12" cy="14" r="2.4" {SF}/><circle cx="12" cy="24" r="2.4" {SF}/><circle cx="12" cy="34" r="2.4" {SF}/>')
FLOPPY = (f'<path d="M10 10h22l6 6v22H10z" {S}/><path d="M16 10v8h13v-8" {S}/>'
          f'<rect x="15" y="26" width="18" height="12" rx="1.5" {S}/>')
DOOR = (f'<path d="M20 9h14v30H20" {S}/><path d="M8 24h17M19 18l6 6-6 6" {S}/>')
PRINTER = (f'<path d="M15 18V9h18v9" {S}/><rect x="9" y="18" width="30" height="13" rx="3" {S}/>'
           f'<path d="M15 27h18v12H15z" {S}/><path d="M19 32h10M19 36h7" stroke="#fff" stroke-width="2" stroke-linecap="round"/>')
DATABASE = (f'<ellipse cx="24" cy="12" rx="12" ry="4.5" {S}/><path d="M12 12v24c0 2.5 5.4 4.5 12 4.5s12-2 12-4.5V12" {S}/>'
            f'<path d="M12 20c0 2.5 5.4 4.5 12 4.5s12-2 12-4.5M12 28c0 2.5 5.4 4.5 12 4.5s12-2 12-4.5" {S}/>')
BARS = f'<path d="M10 38h28" {S}/><path d="M14 38V26M21 38V16M28 38V22M35 38V11" stroke="#fff" stroke-width="4.5" stroke-linecap="round"/>'
CURVE = (f'<path d="M10 38h28M10 38V10" {S}/><path d="M12 31l7-9 6 5 10-14" {S}/>'
         f'<circle cx="19" cy="22" r="2.2" {SF}/><circle cx="25" cy="27" r="2.2" {SF}/><circle cx="35" cy="13" r="2.2" {SF}/>')
TAIJI = ('<circle cx="24" cy="24" r="14" fill="none" stroke="#fff" stroke-width="3"/>'
         '<path d="M24 10a7 7 0 0 1 0 14a7 7 0 0 0 0 14a14 14 0 0 1 0-28z" fill="#fff"/>'
         '<circle cx="24" cy="17" r="2.2" fill="#2a5c9e"/><circle cx="24" cy="31" r="2.2" fill="#fff"/>')
PENTAGON = (f'<path d="M24 9l14 10-5.3 17H15.3L10 19z" {S}/>'
            f'<circle cx="24" cy="9" r="3" {SF}/><circle cx="38" cy="19" r="3" {SF}/><circle cx="32.7" cy="36" r="3" {SF}/>'
            f'<circle cx="15.3" cy="36" r="3" {SF}/><circle cx="10" cy="19" r="3" {SF}/>')
WAVES = f'<path d="M8 18c4-6 8-6 12 0s8 6 12 0 6-4 8-2" {S}/><path d="M8 30c4-6 8-6 12 0s8 6 12 0 6-4 8-2" {S}/>'
GRID4 = (f'<rect x="9" y="9" width="13" height="13" rx="2" {S}/><rect x="26" y="9" width="13" height="13" rx="2" {S}/>'
         f'<rect x="9" y="26" width="13" height="13" rx="2" {S}/><path d="M27 38l4-6 3 3 4-7" {S}/>')
PROBE = (f'<path d="M30 8l10 10-16 16-8 2 2-8z" {S}/><path d="M16 34l-6 6" {S}/>'
         f'<path d="M10 20a8 8 0 0 1 6-8M6 18a13 13 0 0 1 9-11" {S}/>')
BOOK = (f'<path d="M24 14c-4-3-9-4-15-3v25c6-1 11 0 15 3 4-3 9-4 15-3V11c-6-1-11 0-15 3z" {S}/><path d="M24 14v25" {S}/>'
        f'<path d="M13 18c3 0 5 1 7 2M13 24c3 0 5 1 7 2M28 20c2-1 4-2 7-2M28 26c2-1 4-2 7-2" stroke="#fff" stroke-width="2" stroke-linecap="round"/>')
GAUGE = (f'<path d="M9 32a15 15 0 1 1 30 0" {S}/><path d="M24 32l8-10" {S}/><circle cx="24" cy="32" r="3" {SF}/>'
         f'<path d="M12 25l3 1.5M24 17v3M36 25l-3 1.5" stroke="#fff" stroke-width="2.4" stroke-linecap="round"/>'
         f'<path d="M13 38h22" {S}/>')
FOLDER_OPEN = (f'<path d="M8 38V12h11l4 4h13v6" {S}/><path d="M8 38l6-16h28l-6 16z" {S}/>')
FOLDER_ARROWS = (f'<path d="M8 14h11l4 4h17v20H8z" {S}/><path d="M16 29h16M27 24l5 5-5 5" {S}/>')
LAUNCH = (f'<rect x="8" y="11" width="32" height="26" rx="3" {S}/><path d="M8 18h32" {S}/>'
          f'<path d="M20 24l10 5-10 5z" {SF}/>')
STOP_GLYPH = f'<circle cx="24" cy="24" r="14" {S}/><rect x="18" y="18" width="12" height="12" rx="2" {SF}/>'
PLAY_GLYPH = f'<circle cx="24" cy="24" r="14" {S}/><path d="M20 16l12 8-12 8z" {SF}/>'
ANALYSIS = (f'<path d="M9 38V24M16 38V16M23 38V28" stroke="#fff" stroke-width="4" stroke-linecap="round"/>'
            f'<circle cx="31" cy="20" r="7" {S}/><path d="M36 25l5 5" {S}/>')
READ = (f'<ellipse cx="19" cy="13" rx="10" ry="4" {S}/><path d="M9 13v20c0 2.2 4.5 4 10 4" {S}/>'
        f'<path d="M29 13v8" {S}/><path d="M24 31h16M35 26l5 5-5 5" {S}/>')
ERASER = (f'<path d="M10 30l14-14 10 10-10 10H16z" {S}/><path d="M17 23l10 10" {S}/><path d="M26 38h13" {S}/>')
KEYPAD = (f'<rect x="8" y="13" width="32" height="22" rx="3" {S}/>'
          + "".join(f'<rect x="{x}" y="{y}" width="4" height="4" rx="1" {SF}/>' for y in (18, 24) for x in (13, 19, 25, 31))
          + f'<path d="M17 31h14" stroke="#fff" stroke-width="2.6" stroke-linecap="round"/>')
COMPARE = (f'<path d="M10 38h28" {S}/><path d="M14 38V22M26 38V14" stroke="#fff" stroke-width="5" stroke-linecap="round"/>'
           f'<path d="M19 38V28M31 38V20" stroke="#fff" stroke-opacity="0.6" stroke-width="5" stroke-linecap="round"/>')
SLIDERS = (f'<path d="M10 14h28M10 24h28M10 34h28" {S}/>'
           f'<circle cx="17" cy="14" r="3.5" fill="#c06f1c" stroke="#fff" stroke-width="2.6"/>'
           f'<circle cx="31" cy="24" r="3.5" fill="#c06f1c" stroke="#fff" stroke-width="2.6"/>'
           f'<circle cx="21" cy="34" r="3.5" fill="#c06f1c" stroke="#fff" stroke-width="2.6"/>')
SPEAKER = (f'<path d="M9 19h7l9-7v24l-9-7H9z" {S}/><path d="M30 18a8 8 0 0 1 0 12M34 13a14 14 0 0 1 0 22" {S}/>')
EXPORT = (f'<path d="M10 24v13h28V24" {S}/><path d="M24 29V9M17 16l7-7 7 7" {S}/>')
IMPORT = (f'<path d="M10 24v13h28V24" {S}/><path d="M24 9v20M17 22l7 7 7-7" {S}/>')
GROUP = (f'<rect x="14" y="8" width="24" height="20" rx="3" {S}/><path d="M10 14v18h24" {S}/><path d="M6 20v18h24" {S}/>')
CHECK = f'<path d="M11 25l9 9 17-19" stroke="#fff" stroke-width="4.5" fill="none" stroke-linecap="round" stroke-linejoin="round"/>'
UNDO = f'<path d="M16 14l-7 7 7 7" {S}/><path d="M9 21h17a10 10 0 0 1 0 20h-6" {S}/>'
TABLE = (f'<rect x="8" y="10" width="32" height="28" rx="3" {S}/><path d="M8 18h32M8 26h32M19 10v28M30 10v28" stroke="#fff" stroke-width="2" />')
MEMO = (f'<path d="M10 9h28v20l-9 10H10z" {S}/><path d="M29 39V29h9" {S}/><path d="M16 17h16M16 23h12" {S}/>')
SELECT_ALL = (f'<rect x="9" y="9" width="30" height="30" rx="2" fill="none" stroke="#fff" stroke-width="2.4" stroke-dasharray="4 3"/>'
              f'<path d="M16 18h16M16 24h16M16 30h10" {S}/>')
PASTE = (f'<rect x="10" y="11" width="22" height="28" rx="3" {S}/><path d="M16 8h10v6H16z" {SF}/>'
         f'<path d="M22 24h18M35 19l5 5-5 5" {S}/>')
LOAD_RECORD = (f'<path d="M21 13h17M21 22h17M21 31h17" {S}/><path d="M8 22h8M12 18l4 4-4 4" {S}/>'
               f'<path d="M21 40h12" stroke="#fff" stroke-opacity="0.6" stroke-width="3" stroke-linecap="round"/>')
NEEDLE = (f'<path d="M12 36L34 14" {S}/><path d="M30 10l8 8" stroke="#fff" stroke-width="5" stroke-linecap="round"/>'
          f'<circle cx="12" cy="36" r="2.5" {SF}/><path d="M8 24a10 10 0 0 1 4-6" stroke="#fff" stroke-width="2" fill="none" stroke-linecap="round"/>')
LEAF = (f'<path d="M10 38C10 20 20 10 38 10c0 18-10 28-28 28z" {S}/><path d="M10 38L28 20" {S}/>')
HAND = (f'<path d="M16 38V22l-4-5a2.5 2.5 0 0 1 4-3l3 3V10a2.5 2.5 0 0 1 5 0v10-12a2.5 2.5 0 0 1 5 0v12-9a2.5 2.5 0 0 1 5 0'
        f'v16c0 6-4 11-10 11h-2c-3 0-6-1-6-1z" {S}/>')
APPLE = (f'<path d="M24 16c-3-3-12-3-13 6-1 8 5 16 9 16 2 0 3-1 4-1s2 1 4 1c4 0 10-8 9-16-1-9-10-9-13-6z" {S}/>'
         f'<path d="M24 16c0-4 2-6 5-7" {S}/>')
AVOID = f'<circle cx="24" cy="24" r="14" {S}/><path d="M14 14l20 20" {S}/>'
BOWL = (f'<path d="M8 24h32c0 8-7 14-16 14S8 32 8 24z" {S}/><path d="M18 18c0-3 3-3 3-6M25 18c0-3 3-3 3-6" {S}/>'
        f'<path d="M30 22l8-12" {S}/>')
CUP = (f'<path d="M10 18h22v10a9 9 0 0 1-9 9h-4a9 9 0 0 1-9-9z" {S}/><path d="M32 21h3a4 4 0 0 1 0 8h-3" {S}/>'
       f'<path d="M17 8c0 3 3 3 3 6M24 8c0 3 3 3 3 6" {S}/><path d="M8 41h26" {S}/>')

TOOLBAR = {
    # main window
    "measure": ("device", PROBE, None),
    "explain": ("analysis", BOOK, None),
    "programs": ("programs", CLIPBOARD, None),
    "calibrate": ("setup", GAUGE, None),
    "records": ("records", DATABASE, None),
    "files": ("records", FOLDER_ARROWS, None),
    "userfunc": ("neutral", LAUNCH, None),
    "usersettings": ("setup", PERSON, "gear"),
    "browse": ("neutral", FOLDER_OPEN, None),
    "test": ("device", PLAY_GLYPH, None),
    "exit": ("stop", DOOR, None),
    # measurement window
    "stop": ("stop", STOP_GLYPH, None),
    "analysis": ("analysis", ANALYSIS, None),
    "save": ("records", FLOPPY, None),
    "read": ("records", READ, None),
    "clear": ("neutral", ERASER, None),
    "manual-input": ("device", KEYPAD, None),
    "compare": ("analysis", COMPARE, None),
    # calibration window
    "calibrate-start": ("setup", PLAY_GLYPH, None),
    "calibrate-stop": ("stop", STOP_GLYPH, None),
    "calibrate-mode": ("setup", SLIDERS, None),
    "sound": ("setup", SPEAKER, None),
    # analysis and comparison windows
    "print": ("neutral", PRINTER, None),
    "print-setup": ("neutral", PRINTER, "gear"),
    "load-record": ("records", LOAD_RECORD, None),
    "chart-integrated": ("analysis", GRID4, None),
    "chart-meridian": ("analysis", BARS, None),
    "chart-yinyang": ("analysis", TAIJI, None),
    "chart-qiblood": ("analysis", WAVES, None),
    "chart-elements": ("analysis", PENTAGON, None),
    "chart-bar": ("analysis", BARS, None),
    "chart-curve": ("analysis", CURVE, None),
    "values": ("analysis", TABLE, None),
    "select-all": ("neutral", SELECT_ALL, None),
    "paste": ("neutral", PASTE, None),
    # advice buttons of the analysis window
    "advice-acupuncture": ("advice", NEEDLE, None),
    "advice-herbal": ("advice", LEAF, None),
    "advice-massage": ("advice", HAND, None),
    "advice-nutrients": ("advice", APPLE, None),
    "advice-avoid": ("advice", AVOID, None),
    "advice-diet": ("advice", BOWL, None),
    "advice-tea": ("advice", CUP, None),
    # record browser, subject editor, save window
    "subject-add": ("records", PERSON, "plus"),
    "subject-edit": ("records", PERSON, "edit"),
    "subject-delete": ("records", PERSON, "delete"),
    "data-add": ("records", DOC, "plus"),
    "data-edit": ("records", DOC, "edit"),
    "data-delete": ("records", DOC, "delete"),
    "energy-data": ("records", TABLE, None),
    "memo": ("records", MEMO, None),
    # import and export
    "export": ("records", EXPORT, None),
    "import": ("records", IMPORT, None),
    # program editor
    "group": ("programs", GROUP, None),
    "program-add": ("programs", CLIPBOARD, "plus"),
    "program-edit": ("programs", CLIPBOARD, "edit"),
    "program-delete": ("programs", CLIPBOARD, "delete"),
    "condition-add": ("programs", LISTING, "plus"),
    "condition-edit": ("programs", LISTING, "edit"),
    "condition-delete": ("programs", LISTING, "delete"),
    "confirm": ("records", CHECK, None),
    "discard": ("stop", UNDO, None),
}

MESSAGES = {
    # question: blue disc with a question mark
    "question": '''<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
<defs><linearGradient id="q" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#4f93dd"/><stop offset="1" stop-color="#2a5c9e"/></linearGradient></defs>
<circle cx="32" cy="32" r="28" fill="url(#q)"/>
<circle cx="32" cy="32" r="27" fill="none" stroke="#fff" stroke-opacity="0.3" stroke-width="1.5"/>
<path d="M23 24a9 9 0 1 1 13 8c-3 1.5-4 3-4 6v2" fill="none" stroke="#fff" stroke-width="5.5" stroke-linecap="round" stroke-linejoin="round"/>
<circle cx="32" cy="48" r="3.6" fill="#fff"/>
</svg>
''',
    # caution: amber triangle with an exclamation mark
    "caution": '''<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
<defs><linearGradient id="c" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#f7c04a"/><stop offset="1" stop-color="#e08a1e"/></linearGradient></defs>
<path d="M32 5c2 0 3.6 1 4.6 2.7l24 42c2 3.5-.5 7.8-4.6 7.8H8c-4.1 0-6.6-4.3-4.6-7.8l24-42C28.4 6 30 5 32 5z" fill="url(#c)"/>
<path d="M32 22v16" stroke="#3b2f2a" stroke-width="6" stroke-linecap="round"/>
<circle cx="32" cy="47" r="3.8" fill="#3b2f2a"/>
</svg>
''',
    # important: red disc with an exclamation mark
    "important": '''<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
<defs><linearGradient id="i" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#e4605b"/><stop offset="1" stop-color="#a8302c"/></linearGradient></defs>
<path d="M21 5h22l16 16v22L43 59H21L5 43V21z" fill="url(#i)"/>
<path d="M21.5 6.5h21l15 15v21l-15 15h-21l-15-15v-21z" fill="none" stroke="#fff" stroke-opacity="0.35" stroke-width="1.5"/>
<path d="M32 17v20" stroke="#fff" stroke-width="6.5" stroke-linecap="round"/>
<circle cx="32" cy="47" r="4.2" fill="#fff"/>
</svg>
''',
}

# The device in the tray: the probe with a state lamp.
TRAY = '''<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
<rect x="1" y="1" width="30" height="30" rx="7" fill="{tile}"/>
<path d="M20 5l7 7-11 11-5.5 1.5L12 19z" fill="none" stroke="#fff" stroke-width="2.4" stroke-linejoin="round"/>
<path d="M11 24l-4 4" stroke="#fff" stroke-width="2.4" stroke-linecap="round"/>
<circle cx="9" cy="9" r="5.5" fill="{lamp}" stroke="#fff" stroke-width="1.8"/>
{extra}</svg>
'''

APP = '''<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
<defs>
<linearGradient id="bg" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#1497a8"/><stop offset="1" stop-color="#0b4f5c"/></linearGradient>
<radialGradient id="glow" cx="0.5" cy="0.4" r="0.6"><stop offset="0" stop-color="#ffffff" stop-opacity="0.25"/><stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient>
</defs>
<rect x="8" y="8" width="240" height="240" rx="52" fill="url(#bg)"/>
<rect x="8" y="8" width="240" height="240" rx="52" fill="url(#glow)"/>
<circle cx="128" cy="128" r="78" fill="none" stroke="#ffffff" stroke-opacity="0.9" stroke-width="10"/>
<path d="M128 50a39 39 0 0 1 0 78a39 39 0 0 0 0 78a78 78 0 0 1 0-156z" fill="#ffffff" fill-opacity="0.92"/>
<circle cx="128" cy="89" r="11" fill="#0b4f5c"/>
<circle cx="128" cy="167" r="11" fill="#ffffff"/>
<path d="M196 60c-20 10-40 30-52 58" fill="none" stroke="#f6d36b" stroke-width="7" stroke-linecap="round"/>
<circle cx="144" cy="118" r="9" fill="#d6242a" stroke="#ffffff" stroke-width="4"/>
</svg>
'''

LOGO = '''<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
<defs><linearGradient id="lg" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#1497a8"/><stop offset="1" stop-color="#0b4f5c"/></linearGradient></defs>
<rect x="64" y="20" width="128" height="128" rx="30" fill="url(#lg)"/>
<circle cx="128" cy="84" r="42" fill="none" stroke="#fff" stroke-width="6"/>
<path d="M128 42a21 21 0 0 1 0 42a21 21 0 0 0 0 42a42 42 0 0 1 0-84z" fill="#fff"/>
<circle cx="128" cy="63" r="6" fill="#0b4f5c"/><circle cx="128" cy="105" r="6" fill="#fff"/>
<path d="M170 50c-10 5-20 15-26 30" fill="none" stroke="#f6d36b" stroke-width="4" stroke-linecap="round"/>
<circle cx="144" cy="80" r="5" fill="#d6242a" stroke="#fff" stroke-width="2.5"/>
<text x="128" y="196" text-anchor="middle" font-family="DejaVu Sans, sans-serif" font-size="38" font-weight="bold" fill="#0b4f5c" letter-spacing="2">O.R.U.K.</text>
<text x="128" y="228" text-anchor="middle" font-family="DejaVu Sans, sans-serif" font-size="20" fill="#45566a" letter-spacing="4">Kv-50</text>
</svg>
'''

# The legend bar under the meridian diagrams (445 x 20), in the diagrams' colours.
LEGEND = '''<svg xmlns="http://www.w3.org/2000/svg" width="445" height="20" viewBox="0 0 445 20">
<rect width="445" height="20" fill="#fdfbf7"/>
<g font-family="Noto Sans CJK TC, sans-serif" font-size="12" fill="#4a3f38">
<path d="M8 10h28" stroke="#ffffff" stroke-width="5.5" stroke-linecap="round"/>
<path d="M8 10h28" stroke="#0b7a8c" stroke-width="3" stroke-linecap="round"/>
<text x="42" y="14.5">經脈循行</text>
<path d="M112 10h28" stroke="#0b7a8c" stroke-width="3" stroke-linecap="round"/>
<path d="M132 10l-8.5-5.5v11z" fill="#0b7a8c" stroke="#ffffff" stroke-width="1"/>
<text x="146" y="14.5">流注方向</text>
<circle cx="224" cy="10" r="7" fill="none" stroke="#d6242a" stroke-width="1.2"/>
<circle cx="224" cy="10" r="4" fill="#d6242a" stroke="#ffffff" stroke-width="1.4"/>
<text x="236" y="14.5">測定點（原穴）</text>
<rect x="334" y="4" width="22" height="12" rx="5" fill="#f4eae0" stroke="#a8927f" stroke-width="1.4"/>
<text x="362" y="14.5">體表輪廓</text>
</g>
</svg>
'''


def write(name, text):
    with open(os.path.join(OUT, name + ".svg"), "w", encoding="utf-8") as f:
        f.write(text)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, (family, glyph, badge) in TOOLBAR.items():
        write(name, tile(family, glyph, badge))
    for name, text in MESSAGES.items():
        write(name, text)
    write("tray-online", TRAY.format(tile="#0b6f80", lamp="#3ccf5a", extra=""))
    write("tray-offline", TRAY.format(tile="#6b7480", lamp="#d9534f",
                                      extra='<path d="M4 28L28 4" stroke="#fff" stroke-width="2.6" stroke-linecap="round" stroke-opacity="0.9"/>\n'))
    write("app", APP)
    write("legend", LEGEND)
    write("logo", LOGO)
    names = sorted(list(TOOLBAR) + list(MESSAGES) + ["tray-online", "tray-offline", "app", "logo", "legend"])
    qrc = os.path.join(OUT, "..", "oruk.qrc")
    with open(qrc, "w", encoding="utf-8") as f:
        f.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n<qresource prefix="/">\n')
        for n in names:
            f.write(f"    <file>icons/{n}.svg</file>\n")
        f.write("</qresource>\n</RCC>\n")


if __name__ == "__main__":
    main()
