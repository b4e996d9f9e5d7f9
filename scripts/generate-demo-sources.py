#!/usr/bin/env python3
"""Writes the sources of the demo collection files under data/demo/.

    scripts/generate-demo-sources.py                      # from the vendored names
    scripts/generate-demo-sources.py --names-package DIR  # DIR = unpacked color-name-list
                                                          # package; also refreshes the
                                                          # vendored copy

Two sources come out, each a folder the collection builder turns into one
file: data/demo/interior (the system-wide theme, "Vestrel Interiors" and
"Vestrel Heritage Facades") and data/demo/pelvon (the system-wide theme,
"Pelvon Made to Order" and the disabled "Vestrel Archive"). The theme
images are not written here: the build renders them into art/ next to each
manifest. The output depends only on this script and the vendored names.
"""

import argparse
import copy
import csv
import json
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from demo_colour import (chroma, delta_e76, fit_chroma, hex_to_rgb, lab_hue_of_wheel_hue, lab_to_rgb, lch,
                         light_reflectance, rgb_to_hex, rgb_to_lab)
from demo_names import NamePool, load_package, load_vendored, write_vendored
from demo_texts import FILE_TEXTS, LICENSE_HTML, MOTTO_HTML, texts_for

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEMO = os.path.join(ROOT, 'data', 'demo')
VENDORED = os.path.join(ROOT, 'data', 'vendor', 'color-name-list', 'colornames-used.csv')

SEGMENTS = 12
FIRST_SEGMENT_ANGLE = 90
HUE_WORDS = ['Red', 'Terracotta', 'Ochre', 'Lime', 'Green', 'Jade', 'Teal', 'Sky', 'Blue', 'Violet', 'Plum',
             'Rose']
MOODS = {'fresh': 1, 'warm': 2, 'calm': 3, 'rich': 4, 'offwhite': 5, 'neutral': 6}
# A chip is nudged from its named colour towards the card's ramp by at most
# this much (CIELAB distance), so the name still fits the colour.
MAX_NUDGE = 5.0

UUIDS = {
    'interior': '{3B6E2F10-7C41-4D8A-9E25-1A0C5D7B9E01}',
    'heritage': '{8D2A4C6E-1F3B-4A59-B7C8-2E4F6A8C0D12}',
    'pelvon': '{5C9E1A3B-7D2F-4E60-8A1B-3C5D7E9F1A23}',
    'archive': '{A1F3C5E7-9B2D-4F68-A0C2-4E6F8A0B2C34}',
    'trade': '{C4E6A8B0-2D4F-4A71-B3D5-5F7A9C1E3B45}',
}
SYSTEM_IDS = {'interior': 'VI-INT', 'heritage': 'VI-HER', 'pelvon': 'PV-MTO', 'archive': 'VI-ARC',
              'trade': 'VI-TRD'}


def wrap_hue(segment):
    return (segment - 1) % SEGMENTS + 1


def segment_hue(segment):
    return (segment - 1) * 360.0 / SEGMENTS


# --------------------------------------------------------------------------
# Card designs: a family is a ramp of chips from light to deep.

class Family:
    def __init__(self, noun, mood, light, dark, chroma_light, chroma_dark, hue_shift=0.0, exterior=False,
                 neutral=False, white=False):
        self.noun = noun
        self.mood = mood
        self.light, self.dark = light, dark
        self.chroma_light, self.chroma_dark = chroma_light, chroma_dark
        self.hue_shift = hue_shift
        self.exterior = exterior
        self.neutral = neutral
        self.white = white


def warm_segment(segment):
    return segment in (1, 2, 3, 11, 12)


def interior_families(segment):
    lively = 'warm' if warm_segment(segment) else 'fresh'
    earthy = 'warm' if segment in (1, 2, 3, 4, 12) else 'calm'
    return [
        Family('Whisper', 'offwhite', 96.0, 87.0, 2.5, 6.0, exterior=True, white=True),
        Family('Chalk', 'offwhite', 93.0, 80.0, 4.0, 10.0, hue_shift=8.0, white=True),
        Family('Stone', 'neutral', 86.0, 38.0, 3.0, 7.0, exterior=True, neutral=True),
        Family('Slate', 'neutral', 78.0, 26.0, 4.0, 9.0, hue_shift=-8.0, exterior=True, neutral=True),
        Family('Mist', 'calm', 90.0, 52.0, 8.0, 18.0),
        Family('Haze', 'calm', 84.0, 42.0, 14.0, 28.0, hue_shift=6.0, exterior=True),
        Family('Daylight', lively, 92.0, 60.0, 16.0, 44.0),
        Family('Bloom', lively, 85.0, 46.0, 30.0, 66.0, hue_shift=-6.0),
        Family('Glow', lively, 76.0, 38.0, 44.0, 80.0, hue_shift=6.0),
        Family('Earth', earthy, 78.0, 36.0, 18.0, 36.0, hue_shift=10.0, exterior=True),
        Family('Depth', 'rich', 62.0, 22.0, 26.0, 48.0, exterior=segment in (1, 2, 5, 9)),
        Family('Velvet', 'rich', 52.0, 18.0, 30.0, 44.0, hue_shift=-8.0),
        Family('Dusk', 'calm', 70.0, 30.0, 10.0, 24.0, hue_shift=-4.0),
    ]


def heritage_families(segment):
    if segment % 2:
        return [Family('Limewash', 'offwhite', 93.0, 78.0, 3.0, 9.0, exterior=True, white=True),
                Family('Pigment', 'warm' if warm_segment(segment) else 'calm', 80.0, 40.0, 16.0, 34.0,
                       exterior=True),
                Family('Oxide', 'rich', 60.0, 22.0, 22.0, 40.0, exterior=True)]
    return [Family('Masonry', 'neutral', 84.0, 34.0, 3.0, 8.0, exterior=True, neutral=True),
            Family('Garden', 'calm' if warm_segment(segment) else 'fresh', 86.0, 46.0, 10.0, 30.0,
                   exterior=True),
            Family('Lacquer', 'rich', 64.0, 24.0, 24.0, 46.0, exterior=True)]


def ramp_targets(segment, family, count):
    hue = lab_hue_of_wheel_hue(segment_hue(segment) + family.hue_shift)
    targets = []
    for index in range(count):
        t = index / (count - 1)
        lightness = family.light + (family.dark - family.light) * t
        # Chroma peaks a little past the middle, as in real tint ramps.
        wanted = family.chroma_light + (family.chroma_dark - family.chroma_light) * math.sin(t * math.pi * 0.6)
        targets.append(lch(lightness, fit_chroma(lightness, wanted, hue), hue))
    return targets


class Chip:
    def __init__(self, page, row, target, name, named_hex, named_lab):
        self.page = page
        self.row = row
        self.name = name
        self.named_hex = named_hex
        # Nudge towards the ramp, never farther than MAX_NUDGE from the name.
        distance = delta_e76(named_lab, target)
        step = 1.0 if distance <= MAX_NUDGE else MAX_NUDGE / distance
        lab = tuple(named_lab[i] + (target[i] - named_lab[i]) * step for i in range(3))
        self.rgb = lab_to_rgb(lab)
        self.lab = rgb_to_lab(self.rgb)


class Card:
    def __init__(self, page, segment, family, names):
        self.page = page
        self.segment = segment
        self.family = family
        self.names = names
        self.chips = []

    @property
    def mood(self):
        return MOODS[self.family.mood]

    def mean_chroma(self):
        return sum(chroma(chip.lab) for chip in self.chips) / len(self.chips)

    def mean_lightness(self):
        return sum(chip.lab[0] for chip in self.chips) / len(self.chips)


def build_cards(pool, card_plans, chips_per_card, taken):
    """card_plans: (page, segment, family, names); chips named and sorted light to deep."""
    cards = []
    for page, segment, family, names in card_plans:
        card = Card(page, segment, family, names)
        picked = []
        for target in ramp_targets(segment, family, chips_per_card):
            name, named_hex, best, named_lab = pool.take(target)
            taken.append((name, named_hex, best))
            picked.append((target, name, named_hex, named_lab))
        picked.sort(key=lambda entry: -entry[0][0])
        for row, (target, name, named_hex, named_lab) in enumerate(picked, start=1):
            card.chips.append(Chip(page, row, target, name, named_hex, named_lab))
        card.chips.sort(key=lambda chip: -chip.lab[0])
        for row, chip in enumerate(card.chips, start=1):
            chip.row = row
        cards.append(card)
    return cards


# --------------------------------------------------------------------------
# Colour relations for the schemes.

def nearest_card(cards, segment, like, families=None, exclude=()):
    """The card of `segment` whose chroma and lightness are closest to `like`
    (a chip), optionally only of the given family nouns. When the segment has
    no such card, the nearest segment that has one is used."""
    for distance in range(0, SEGMENTS // 2 + 1):
        best = None
        for candidate_segment in sorted({wrap_hue(segment + distance), wrap_hue(segment - distance)}):
            for card in cards:
                if card.segment != candidate_segment or card in exclude:
                    continue
                if families is not None and card.family.noun not in families:
                    continue
                score = (abs(card.mean_chroma() - chroma(like.lab)) +
                         0.5 * abs(card.mean_lightness() - like.lab[0]))
                key = (score, card.page)
                if best is None or key < best[0]:
                    best = (key, card)
        if best is not None:
            return best[1]
    return None


NEUTRAL_NOUNS = ('Stone', 'Slate', 'Masonry')
WHITE_NOUNS = ('Whisper', 'Chalk', 'Limewash')
RICH_NOUNS = ('Depth', 'Velvet', 'Oxide', 'Lacquer')
LIVELY_NOUNS = ('Bloom', 'Glow', 'Daylight', 'Pigment', 'Garden')


def scheme_cards(cards, card, chip, kind):
    """The cards of a scheme for a chip, in order, each card once. In the
    interior collection consecutive cards always lie in different segments,
    so each card makes one line of the scheme."""
    s = card.segment
    chosen = []

    def pick(segment, families=None):
        found = nearest_card(cards, wrap_hue(segment), chip, families, exclude=tuple(chosen))
        chosen.append(found)
        return found

    if kind == 1:    # harmonic: the neighbouring hues
        chosen.append(card)
        pick(s - 1)
        pick(s + 1)
    elif kind == 2:  # contrast: the opposite hue
        chosen.append(card)
        pick(s + 6)
    elif kind == 3:  # wide contrast: either side of the opposite hue
        chosen.append(card)
        pick(s + 5)
        pick(s + 7)
    elif kind == 4:  # dynamic: the triad
        chosen.append(card)
        pick(s + 4)
        pick(s + 8)
    elif kind == 5:  # dramatic: a neutral with strong accents
        chosen.append(card)
        pick(s + 6, RICH_NOUNS)
        pick(s, LIVELY_NOUNS)
    elif kind == 6:  # neutral: the colour with neutrals of its side of the wheel
        chosen.append(card)
        pick(s + 1, NEUTRAL_NOUNS)
        pick(s, WHITE_NOUNS)
    elif kind == 7:  # tonal neutral: neutrals of the same undertone
        pick(s, NEUTRAL_NOUNS)
        pick(s + 1, WHITE_NOUNS)
        pick(s, WHITE_NOUNS + NEUTRAL_NOUNS)
    elif kind == 8:  # complementary neutral: neutrals from the opposite side
        chosen.append(card)
        pick(s + 6, NEUTRAL_NOUNS)
        pick(s + 5, WHITE_NOUNS)
    else:
        raise ValueError(kind)
    return chosen


def check_lines(scheme):
    for first, second in zip(scheme, scheme[1:]):
        if first is None or second is None or first.segment == second.segment:
            raise RuntimeError('scheme lines must lie in different segments: %r' %
                               [(c.page, c.segment) if c else None for c in scheme])


# --------------------------------------------------------------------------
# Output helpers.

def write_csv(path, header, rows):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', newline='', encoding='utf-8') as handle:
        writer = csv.writer(handle, lineterminator='\n')
        writer.writerow(header)
        for row in rows:
            writer.writerow(row)


def write_text(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', newline='\n', encoding='utf-8') as handle:
        handle.write(text)


def write_json(path, value):
    write_text(path, json.dumps(value, indent=2, ensure_ascii=False) + '\n')


def lrv_text(rgb):
    return 'LRV %d' % int(round(light_reflectance(rgb)))


# --------------------------------------------------------------------------
# Products (file-wide).

PRODUCTS = [
    ('matt', 'Matt Emulsion', 'ME-10'),
    ('eggshell', 'Eggshell', 'ES-20'),
    ('sheen', 'Soft Sheen', 'SS-30'),
    ('ceiling', 'Ceiling Flat', 'CF-05'),
    ('velvet', 'Velvet Finish', ''),
    ('gloss', 'Trim Gloss', 'TG-40'),
    ('satin', 'Satinwood', 'SW-45'),
    ('masonry', 'Smooth Masonry', 'SM-60'),
    ('extgloss', 'Exterior Gloss', 'EG-70'),
    ('floor', 'Floor Paint', 'FP-80'),
    ('limewash', 'Limewash', 'LW-90'),
]
PRODUCT_GROUPS = [
    ('walls', 'Walls and ceilings', 'matt;eggshell;sheen;ceiling;velvet'),
    ('wood', 'Wood and metal', 'gloss;satin'),
    ('exterior', 'Exterior', 'masonry;extgloss;limewash'),
    ('floors', 'Floors', 'floor'),
]


def interior_products(card, chip):
    products = ['matt', 'eggshell']
    groups = ['walls']
    if chip.lab[0] > 80:
        products.append('ceiling')
    if card.family.noun in RICH_NOUNS:
        products.append('velvet')
    if card.page % 2 == 0 or card.family.neutral:
        products += ['gloss', 'satin']
        groups.append('wood')
    if card.family.exterior:
        products += ['masonry', 'extgloss']
        groups.append('exterior')
    if card.family.neutral and chip.row >= 4:
        products.append('floor')
        groups.append('floors')
    return products, groups


def heritage_products(card, chip):
    products = ['masonry', 'extgloss', 'satin']
    groups = ['exterior', 'wood']
    if card.family.white or card.family.neutral:
        products.append('limewash')
    return products, groups


# --------------------------------------------------------------------------
# Texts, settings and theme entries.

THEME_KEYS = os.path.join(DEMO, 'keys', 'theme-keys.txt')
FONT_LISTS = {
    'list.of.preferred.font.faces.linux': 'DejaVu Sans,9;Liberation Sans,9;FreeSans,9',
    'list.of.preferred.font.faces.windows': 'Segoe UI,9;Arial,9',
    'list.of.preferred.font.faces.macos': 'Helvetica Neue,12;Helvetica,12',
}
OWN_ART_KEYS = ('image.banner', 'image.about.logo', 'image.mto')


def theme_keys():
    keys = []
    with open(THEME_KEYS, encoding='utf-8') as handle:
        for line in handle:
            line = line.strip()
            if line and not line.startswith('#'):
                key, kind = line.split('\t')
                keys.append((key, kind))
    return keys


def system_wide_theme():
    theme = {}
    for key, kind in theme_keys():
        if kind == 'image':
            theme[key] = 'art/theme/%s.png' % key
        elif kind == 'colour':
            theme[key] = {'text': '49,49,49'}
    for key, value in FONT_LISTS.items():
        theme[key] = {'text': value}
    return theme


def own_theme(art_folder):
    return {key: 'art/collections/%s/%s.png' % (art_folder, key) for key in OWN_ART_KEYS}


def locale(caption, motto):
    texts = texts_for(caption, motto)
    for key, path in FILE_TEXTS.items():
        texts[key] = {'file': path}
    return dict(sorted(texts.items()))


def write_text_files(folder, title, motto, about):
    write_text(os.path.join(folder, 'texts', 'license.html'), LICENSE_HTML)
    write_text(os.path.join(folder, 'texts', 'motto.html'), MOTTO_HTML.format(title=title, motto=motto, about=about))


SYSTEM_WIDE_SETTINGS = {
    'has.textures.page': 1,
    'texture.size': '148,96',
}


def interior_settings():
    return {
        'collection.name': 'Vestrel Interiors',
        'max.chips.on.a.page': 7,
        'card.type': 'normal',
        'num.of.segments': SEGMENTS,
        'first.segment.angle': FIRST_SEGMENT_ANGLE,
        'segment.increment.orientation': 'CW',
        'mode.card': 'ModeColorToColor',
        'mode.mood': 'MoodModeNormal',
        'product.groups.mode': 'Products',
        'product.group.productname.productcode.separator:string': ' \u2013 ',
        'has.exterior.filter': 1,
        'mood.visible': 1,
        'has.color.schemes.page': 1,
        'has.product.groups.page': 1,
        'has.textures.page': 1,
        'has.color.foresight.page': 1,
        'tab.bar.page': ['PageOfColorSchemes', 'PageOfColorForesight', 'PageOfProducts', 'PageOfTextures'],
        'schemes': ['harmonic', 'contrast', 'wide contrast', 'dynamic', 'dramatic', 'neutral'],
        'widget.color.foresight.chip.width': 60,
        'widget.color.foresight.chip.height': 44,
        'texture.size': '148,96',
        'cie2000.delta.intervals': '2.5,5,10',
        'color.tooltip.show.collection.name': 0,
        'color.tooltip.show.page.name': 1,
        'color.tooltip.show.row.code': 1,
        'color.tooltip.show.row.name': 1,
        'color.tooltip.show.row.auxiliary.info': 1,
        'color.tooltip.show.page.index': 0,
        'color.tooltip.show.row.row.index': 0,
        'export.color.name.append.product.code': 1,
        'capsure.enabled': 1,
        'capsure.priority': 1,
        'capsure.folder.to.watch.windows': '%PROGRAMDATA%/Vestrel/Capsure/Measurements',
        'capsure.folder.to.watch.macos': '/Users/Shared/Vestrel/Capsure/Measurements',
        'capsure.filename.to.watch': 'measurement.cxf',
        'save.palette.text.format': 1,
        'header.link': 'https://www.example.com/vestrel/interiors',
        'help.link': 'file:///%APP%/Contents/Resources/help/main.html',
        'page.name.search.order': [0, 1],
        'page.name.display.order': [0],
        'page.extra.display.order': [0],
        'row.name.search.order': [0, 2],
        'row.name.display.order': [0, 1],
        'row.extra.display.order': [0, 1],
        # Declared by the format but not read; carried as a collection file would.
        'must.fill': 0,
        'opacities': '1.0,0.85,0.6',
        'color.match.show.rgb.and.de': 1,
        'color.tooltip.show.page.segment': 0,
        'color.tooltip.show.row.additional.names': 0,
        'color.tooltip.show.row.segment': 0,
        'color.name.order': '0,1',
        'color.auxiliary.order': '0,1',
        'color.name.search.order': '0,2',
    }


def heritage_settings():
    return {
        'collection.name': 'Vestrel Heritage Facades',
        'max.chips.on.a.page': 6,
        'card.type': 'Normal',
        'num.of.segments': SEGMENTS,
        'first.segment.angle': FIRST_SEGMENT_ANGLE,
        'segment.increment.orientation': 'cw',
        'mode.card': 'ModeCardToCard',
        'mode.mood': 'MoodModeWarmFreshEquals',
        'product.groups.mode': 'GroupsWithProductTooltip',
        'product.group.productname.productcode.separator:string': ': ',
        'has.exterior.filter': 1,
        'mood.visible': 1,
        'has.color.schemes.page': 1,
        'has.product.groups.page': 1,
        'has.textures.page': 1,
        'has.color.foresight.page': 1,
        'tab.bar.page': ['PageOfColorSchemes', 'PageOfTextures', 'PageOfProducts', 'PageOfColorForesight'],
        'schemes': ['harmonic', 'contrast', 'wide contrast', 'dynamic', 'dramatic', 'neutral'],
        'widget.color.foresight.chip.width': 64,
        'widget.color.foresight.chip.height': 48,
        'cie2000.delta.intervals': '3,6',
        # The older spellings of the tooltip switches.
        'color.tooltip.show.collection.name': 1,
        'color.tooltip.show.card.name': 1,
        'color.tooltip.show.color.code': 1,
        'color.tooltip.show.color.name': 1,
        'color.tooltip.show.auxiliary': 1,
        'color.tooltip.show.page.index': 1,
        'color.tooltip.show.row.row.index': 1,
        'export.color.name.append.product.code': 0,
        'capsure.enabled': 1,
        'capsure.priority': 2,
        'capsure.folder.to.watch.windows': '%PROGRAMDATA%/Vestrel/Capsure/Measurements',
        'capsure.filename.to.watch': 'measurement.cxf',
        'save.palette.text.format': 0,
        'header.link': 'https://www.example.com/vestrel/heritage',
        'page.name.search.order': [0],
        'page.name.display.order': [0],
        'page.extra.display.order': [0],
        'row.name.search.order': [0],
        'row.name.display.order': [0],
        'row.extra.display.order': [0],
    }


def trade_settings():
    settings = heritage_settings()
    settings.update({
        'collection.name': 'Vestrel Trade Facades',
        'mode.card': 'ModeColorToCard',
        'has.textures.page': 0,
        'has.color.foresight.page': 0,
        'tab.bar.page': ['PageOfColorSchemes', 'PageOfProducts'],
        'capsure.enabled': 0,
        'header.link': 'https://www.example.com/vestrel/trade',
    })
    return settings


def pelvon_settings():
    return {
        'collection.name': 'Pelvon Made to Order',
        'max.chips.on.a.page': 5,
        'card.type': 'PELVON',
        'num.of.segments': SEGMENTS,
        'first.segment.angle': FIRST_SEGMENT_ANGLE,
        'segment.increment.orientation': 'CW',
        'mode.card': 'ModeColorToColor',
        'mode.mood': 'MoodModeNormal',
        'product.groups.mode': 'Products',
        'product.group.productname.productcode.separator:string': ': ',
        'has.exterior.filter': 0,
        'mood.visible': 1,
        'has.color.schemes.page': 1,
        'has.product.groups.page': 1,
        'has.textures.page': 1,
        'has.color.foresight.page': 0,
        'tab.bar.page': ['PageOfColorSchemes', 'PageOfProducts', 'PageOfTextures'],
        'schemes': ['contrast', 'wide contrast'],
        'widget.color.foresight.chip.width': 64,
        'widget.color.foresight.chip.height': 48,
        'texture.size': '148,96',
        'cie2000.delta.intervals': '4',
        'color.tooltip.show.collection.name': 1,
        'color.tooltip.show.page.name': 0,
        'color.tooltip.show.row.code': 1,
        'color.tooltip.show.row.name': 1,
        'color.tooltip.show.row.auxiliary.info': 1,
        'color.tooltip.show.page.index': 0,
        'color.tooltip.show.row.row.index': 0,
        'export.color.name.append.product.code': 1,
        'capsure.enabled': 0,
        'capsure.folder.to.watch.windows': '',
        'capsure.filename.to.watch': '',
        'save.palette.text.format': 1,
        'header.link': '',
        'help.link': '',
        'page.name.search.order': [0],
        'page.name.display.order': [0],
        'page.extra.display.order': [0],
        'row.name.search.order': [0, 1],
        'row.name.display.order': [0],
        'row.extra.display.order': [0],
    }


# --------------------------------------------------------------------------
# The collections.

def make_interior(pool, taken):
    card_plans = []
    page = 0
    for segment in range(1, SEGMENTS + 1):
        for family in interior_families(segment):
            page += 1
            card_plans.append((page, segment, family, None))
    cards = build_cards(pool, card_plans, 7, taken)
    archive_number = 1000
    for card in cards:
        hue_word = HUE_WORDS[card.segment - 1]
        card.names = ['%s %s' % (hue_word, card.family.noun), 'Card %03d' % card.page]
        card.extras = ['Interior and exterior' if card.family.exterior else 'Interior']
        for chip in card.chips:
            archive_number += 1
            chip.code = '%02d%02d-%d' % (card.segment, (card.page - 1) % 13 + 1, chip.row)
            chip.names = [chip.name, '%s %d' % (card.names[0], chip.row), 'N%d' % archive_number]
            chip.extras = [lrv_text(chip.rgb), card.extras[0], rgb_to_hex(chip.rgb)]
    return cards


def make_heritage(pool, taken):
    card_plans = []
    page = 0
    for segment in range(1, SEGMENTS + 1):
        for family in heritage_families(segment):
            page += 1
            card_plans.append((page, segment, family, None))
    cards = build_cards(pool, card_plans, 6, taken)
    for card in cards:
        card.names = ['%s %s' % (HUE_WORDS[card.segment - 1], card.family.noun)]
        card.extras = ['Facades, render and joinery']
        for chip in card.chips:
            chip.code = 'H%02d.%d' % (card.page, chip.row)
            chip.names = [chip.name]
            chip.extras = ['%s, %s' % (lrv_text(chip.rgb), 'historic pigment' if card.family.noun in
                                       ('Pigment', 'Oxide', 'Limewash') else 'modern equivalent')]
    return cards


def make_pelvon(pool, taken):
    card_plans = []
    page = 0
    for segment in range(1, SEGMENTS + 1):
        for family in (Family('Pastel', 'fresh', 88.0, 62.0, 14.0, 34.0),
                       Family('Saturated', 'warm' if warm_segment(segment) else 'calm', 70.0, 30.0, 34.0, 60.0,
                              hue_shift=5.0)):
            page += 1
            card_plans.append((page, segment, family, None))
    cards = build_cards(pool, card_plans, 5, taken)
    for card in cards:
        card.names = ['%s %s' % (HUE_WORDS[card.segment - 1], card.family.noun)]
        card.extras = ['Mixed to order' if card.family.noun == 'Saturated' else 'Ready mixed']
        for chip in card.chips:
            chip.code = 'PV-%02d%d' % (card.page, chip.row)
            # The deeper chips of the saturated cards are mixed on request.
            chip.is_mto = card.family.noun == 'Saturated' and chip.row >= 3
            chip.names = [chip.name, 'P%04d' % (card.page * 10 + chip.row)]
            chip.extras = ['Made to order' if chip.is_mto else 'In stock']
    return cards


def make_trade(heritage):
    """The heritage colours coded for the trade: the same cards, but each chip
    asks for the scheme cards of its own card (mode "ModeColorToCard")."""
    cards = copy.deepcopy(heritage)
    for card in cards:
        for chip in card.chips:
            chip.code = 'T%02d.%d' % (card.page, chip.row)
    return cards


def make_archive(pool, taken):
    card_plans = [(index + 1, segment, Family('Archive', 'calm', 82.0, 40.0, 10.0, 24.0), None)
             for index, segment in enumerate((1, 4, 7, 10))]
    cards = build_cards(pool, card_plans, 5, taken)
    for card in cards:
        card.names = ['Archive %s' % HUE_WORDS[card.segment - 1]]
        card.extras = ['Withdrawn']
        for chip in card.chips:
            chip.code = 'A%d%d' % (card.page, chip.row)
            chip.names = [chip.name]
            chip.extras = ['Withdrawn in 2019']
    return cards


def page_rows(cards):
    rows = []
    for card in cards:
        rows.append([card.page, card.segment] + card.names + [''] * (2 - len(card.names)) +
                    [card.extras[0], 1 if card.family.exterior else 0, card.mood])
    return rows


PAGE_HEADER = ['page', 'segment', 'name0', 'name1', 'extra0', 'exterior', 'mood']


def chip_rows(cards, products_of=None, neutral_flags=True):
    rows = []
    for card in cards:
        for chip in card.chips:
            products, groups = products_of(card, chip) if products_of else ([], [])
            names = chip.names + [''] * (3 - len(chip.names))
            extras = chip.extras + [''] * (3 - len(chip.extras))
            rows.append([card.page, chip.row, chip.code] + names + extras +
                        [rgb_to_hex(chip.rgb),
                         1 if (neutral_flags and card.family.neutral) else 0,
                         1 if (neutral_flags and card.family.white) else 0,
                         1 if getattr(chip, 'is_mto', False) else 0,
                         card.mood, chip.row, chip.row, ';'.join(products), ';'.join(groups)])
    return rows


CHIP_HEADER = ['page', 'row', 'code', 'name0', 'name1', 'name2', 'extra0', 'extra1', 'extra2', 'hex', 'neutral',
               'white', 'is_mto', 'mood', 'scheme_pos', 'nscheme_pos', 'products', 'product_groups']


def interior_row_schemes(cards):
    """Mode "ModeColorToColor": every chip its own scheme of whole cards."""
    rows = []
    for card in cards:
        for chip in card.chips:
            kinds = [1, 2, 3, 4, 6, 7]
            if card.family.neutral or card.family.white:
                kinds.append(5)
            if card.mood == MOODS['rich']:
                kinds.append(8)
            for kind in sorted(kinds):
                scheme = scheme_cards(cards, card, chip, kind)
                check_lines(scheme)
                for scheme_card in scheme:
                    for scheme_chip in scheme_card.chips:
                        # Card order and row order are the builder's defaults:
                        # scheme cards counted from 0, chips from 1.
                        rows.append([card.page, chip.row, kind, scheme_card.page, scheme_chip.row])
    return rows


def heritage_page_schemes(cards):
    """Mode "ModeCardToCard": schemes per card; complementary neutral for some."""
    rows = []
    for card in cards:
        middle = card.chips[len(card.chips) // 2]
        kinds = [1, 2, 3, 4, 5, 6, 7]
        if card.page % 3 == 1:
            kinds.append(8)
        for kind in kinds:
            scheme = scheme_cards(cards, card, middle, kind)
            if None in scheme or len(set(scheme)) != len(scheme):
                raise RuntimeError('incomplete scheme %d for card %d' % (kind, card.page))
            for order, scheme_card in enumerate(scheme):
                rows.append([card.page, kind, scheme_card.page, order])
    return rows


def pelvon_row_schemes(cards):
    """Three chips per chip: wide contrast either side of the opposite hue
    (card order 0 and 1) and the contrast (card order 0)."""
    rows = []
    everything = [(card, chip) for card in cards for chip in card.chips]

    def nearest(segment, chip):
        best = None
        for other_card, other in everything:
            if other_card.segment != segment:
                continue
            key = (delta_e76((other.lab[0], 0, 0), (chip.lab[0], 0, 0)) +
                   0.3 * abs(chroma(other.lab) - chroma(chip.lab)), other_card.page, other.row)
            if best is None or key < best[0]:
                best = (key, other_card, other)
        return best[1], best[2]

    for card in cards:
        for chip in card.chips:
            s = card.segment
            left = nearest(wrap_hue(s + 5), chip)
            middle = nearest(wrap_hue(s + 6), chip)
            right = nearest(wrap_hue(s + 7), chip)
            rows.append([card.page, chip.row, 3, left[0].page, left[1].row, 0, 1])
            rows.append([card.page, chip.row, 2, middle[0].page, middle[1].row, 0, 1])
            rows.append([card.page, chip.row, 3, right[0].page, right[1].row, 1, 2])
    return rows


ROW_SCHEME_HEADER = ['page', 'row', 'scheme', 'scheme_page', 'scheme_row', 'page_order', 'row_order']


def foresight_groups(interior, heritage):
    def by_names(cards, wanted):
        found = []
        for card in cards:
            for chip in card.chips:
                if (card.family.noun, card.segment, chip.row) in wanted:
                    found.append((card, chip))
        order = {key: index for index, key in enumerate(wanted)}
        found.sort(key=lambda entry: order[(entry[0].family.noun, entry[0].segment, entry[1].row)])
        return found

    def entries(found, collection=None, extra=()):
        result = []
        for order, (card, chip) in enumerate(found, start=1):
            entry = {'order': order, 'page': card.page, 'row': chip.row, 'name1': chip.name, 'name2': chip.code}
            if collection:
                entry['collection'] = collection
            result.append(entry)
        for name1, name2, hex_text in extra:
            result.append({'order': len(result) + 1, 'name1': name1, 'name2': name2, 'hex': hex_text})
        return result

    own = [
        {'name': 'Garden Light', 'defaultOpen': True, 'order': 1,
         'entries': entries(by_names(interior, [('Daylight', 4, 2), ('Bloom', 5, 3), ('Mist', 6, 2),
                                                 ('Whisper', 3, 1), ('Daylight', 3, 3), ('Haze', 5, 4),
                                                 ('Earth', 4, 5), ('Depth', 5, 6)]),
                            extra=[('Trend colour', 'Linden blossom', '#E4E7B0')])},
        {'name': 'Hearth and Clay', 'defaultOpen': False, 'order': 2,
         'entries': entries(by_names(interior, [('Earth', 2, 3), ('Glow', 2, 4), ('Chalk', 2, 2),
                                                 ('Velvet', 1, 5), ('Stone', 2, 4), ('Earth', 1, 5),
                                                 ('Depth', 12, 6)]))},
        {'name': 'Coastal Calm', 'defaultOpen': False, 'order': 3,
         'entries': entries(by_names(interior, [('Mist', 8, 2), ('Haze', 7, 3), ('Whisper', 8, 1),
                                                 ('Slate', 9, 4), ('Dusk', 8, 5), ('Depth', 9, 6)]),
                            extra=[('Trend colour', 'Sea fret', '#C9D6D8'), ('Trend colour', 'Driftwood',
                                                                               '#A89F8E')])},
        {'name': 'Urban Minerals', 'defaultOpen': False, 'order': 4,
         'entries': entries(by_names(interior, [('Slate', 10, 3), ('Stone', 11, 5), ('Velvet', 10, 6),
                                                 ('Dusk', 11, 4), ('Chalk', 12, 2), ('Slate', 1, 6)]))},
    ]
    shared = [
        {'name': 'Colours of the Year', 'defaultOpen': True, 'order': 0,
         'entries': entries(by_names(interior, [('Bloom', 12, 3), ('Haze', 6, 4), ('Depth', 9, 5),
                                                 ('Earth', 3, 3)]), collection=SYSTEM_IDS['interior'])
         + [dict(entry, order=entry['order'] + 4) for entry in
            entries(by_names(heritage, [('Oxide', 1, 4), ('Garden', 6, 3)]), collection=SYSTEM_IDS['heritage'])]},
        {'name': 'Heritage Revival', 'defaultOpen': False, 'order': 9,
         'entries': entries(by_names(heritage, [('Limewash', 3, 1), ('Pigment', 3, 3), ('Masonry', 4, 4),
                                                 ('Lacquer', 8, 4), ('Oxide', 11, 5)]),
                            collection=SYSTEM_IDS['heritage'])},
    ]
    heritage_own = [
        {'name': 'Facade Trends', 'defaultOpen': True, 'order': 1,
         'entries': entries(by_names(heritage, [('Limewash', 1, 2), ('Masonry', 2, 3), ('Pigment', 5, 3),
                                                 ('Garden', 8, 4), ('Lacquer', 10, 5), ('Oxide', 7, 5)]))},
    ]
    return own, shared, heritage_own


TEXTURE_ALPHA = {'plaster': 0.9, 'concrete': 0.85, 'linen': 0.8, 'oak-boards': 0.7, 'wallpaper': 0.9,
                 'stucco': 0.85, 'brick': 0.65, 'weatherboard': 0.8}


def texture_maps(cards, rules, collection=None):
    """rules: texture file name -> (predicate(card), alpha, pairing name)."""
    maps = {}
    for name, (accepts, alpha, pairing) in rules.items():
        rows = []
        for card in cards:
            if accepts(card):
                row = {'page': card.page, 'alpha': alpha, 'name': pairing}
                if collection:
                    row['collection'] = collection
                rows.append(row)
        maps[name] = rows
    return maps


def textures(interior, heritage, pelvon):
    shared_rules_interior = {
        'plaster': (lambda card: True, 0.85, 'Living room wall'),
        'linen': (lambda card: card.family.noun in ('Whisper', 'Chalk', 'Mist', 'Daylight', 'Haze'), 0.6,
                  'Curtains'),
        'concrete': (lambda card: card.family.neutral, 0.7, 'Kitchen floor'),
    }
    shared_rules_heritage = {
        'plaster': (lambda card: card.family.white or card.family.noun == 'Garden', 0.8, 'Hallway'),
        'concrete': (lambda card: card.family.neutral, 0.75, 'Plinth'),
    }
    shared_rules_pelvon = {'plaster': (lambda card: True, 0.9, 'Feature wall')}
    shared = []
    for name, display in (('plaster', 'Smooth plaster'), ('linen', 'Linen'), ('concrete', 'Fair-faced concrete')):
        maps = []
        for cards, rules, system_id in ((interior, shared_rules_interior, SYSTEM_IDS['interior']),
                                        (heritage, shared_rules_heritage, SYSTEM_IDS['heritage'])):
            if name in rules:
                maps += texture_maps(cards, {name: rules[name]}, system_id)[name]
        shared.append({'name': display, 'image': 'art/textures/%s.png' % name, 'baseAlpha': TEXTURE_ALPHA[name],
                       'maps': maps})
    interior_rules = {
        'oak-boards': (lambda card: card.family.noun in ('Stone', 'Earth', 'Chalk', 'Dusk'), 0.55, 'Floorboards'),
        'wallpaper': (lambda card: card.family.noun in ('Mist', 'Bloom', 'Velvet', 'Depth', 'Whisper'), 0.85,
                      'Feature wall'),
        'stucco': (lambda card: card.family.exterior, 0.8, 'Garden wall'),
    }
    interior_own = [{'name': display, 'image': 'art/textures/%s.png' % name, 'baseAlpha': TEXTURE_ALPHA[name],
                     'maps': texture_maps(interior, {name: interior_rules[name]})[name]}
                    for name, display in (('oak-boards', 'Oak boards'), ('wallpaper', 'Embossed wallpaper'),
                                          ('stucco', 'Coarse render'))]
    heritage_rules = {
        'brick': (lambda card: True, 0.6, 'Brick facade'),
        'weatherboard': (lambda card: True, 0.8, 'Cladding'),
        'stucco': (lambda card: True, 0.85, 'Rendered wall'),
    }
    heritage_own = [{'name': display, 'image': 'art/textures/%s.png' % name, 'baseAlpha': TEXTURE_ALPHA[name],
                     'maps': texture_maps(heritage, {name: heritage_rules[name]})[name]}
                    for name, display in (('brick', 'Brick wall'), ('weatherboard', 'Weatherboard'),
                                          ('stucco', 'Coarse render'))]
    return shared, interior_own, heritage_own


# --------------------------------------------------------------------------

def collection_entry(key, name, order, settings, caption, motto, art, enabled=True):
    entry = {
        'uuid': UUIDS[key],
        'systemId': SYSTEM_IDS[key],
        'name': name,
        'order': order,
        'version': 1,
    }
    if not enabled:
        entry['enabled'] = False
    entry['settings'] = settings
    entry['locale'] = locale(caption, motto)
    entry['theme'] = own_theme(art)
    return entry


def system_wide(shared_foresight=None, shared_textures=None):
    section = {
        'settings': SYSTEM_WIDE_SETTINGS,
        'locale': locale('Huelink', 'Colour for living'),
        'theme': system_wide_theme(),
    }
    if shared_foresight:
        section['foresight'] = shared_foresight
    if shared_textures:
        section['textures'] = shared_textures
    return section


def products_section():
    return ([{'key': key, 'name': name, 'code': code} for key, name, code in PRODUCTS],
            [{'key': key, 'name': name, 'products': products} for key, name, products in PRODUCT_GROUPS])


def write_interior_source(interior, heritage, trade):
    folder = os.path.join(DEMO, 'interior')
    own_foresight, shared_foresight, heritage_foresight = foresight_groups(interior, heritage)
    shared_textures, interior_textures, heritage_textures = textures(interior, heritage, None)
    products, groups = products_section()

    write_csv(os.path.join(folder, 'interior-pages.csv'), PAGE_HEADER, page_rows(interior))
    write_csv(os.path.join(folder, 'interior-chips.csv'), CHIP_HEADER, chip_rows(interior, interior_products))
    write_csv(os.path.join(folder, 'interior-row-schemes.csv'), ROW_SCHEME_HEADER[:5], interior_row_schemes(interior))
    write_csv(os.path.join(folder, 'heritage-pages.csv'), PAGE_HEADER, page_rows(heritage))
    write_csv(os.path.join(folder, 'heritage-chips.csv'), CHIP_HEADER, chip_rows(heritage, heritage_products))
    write_csv(os.path.join(folder, 'heritage-page-schemes.csv'), ['page', 'scheme', 'scheme_page', 'order'],
              heritage_page_schemes(heritage))
    write_csv(os.path.join(folder, 'trade-pages.csv'), PAGE_HEADER, page_rows(trade))
    write_csv(os.path.join(folder, 'trade-chips.csv'), CHIP_HEADER, chip_rows(trade, heritage_products))
    write_csv(os.path.join(folder, 'trade-page-schemes.csv'), ['page', 'scheme', 'scheme_page', 'order'],
              heritage_page_schemes(trade))
    write_text_files(folder, 'Vestrel Interiors', 'Colour for living',
                     'Vestrel Interiors gathers more than a thousand colours for walls, ceilings, wood and '
                     'metal, arranged by hue and mood so that every room finds its palette.')

    interior_entry = collection_entry('interior', 'Vestrel Interiors', 1, interior_settings(),
                                      'Huelink \u2013 Vestrel Interiors', 'Colour for living', 'interior')
    interior_entry.update({'pages': 'interior-pages.csv', 'chips': 'interior-chips.csv',
                           'rowSchemes': 'interior-row-schemes.csv', 'foresight': own_foresight,
                           'textures': interior_textures})
    heritage_entry = collection_entry('heritage', 'Vestrel Heritage Facades', 2, heritage_settings(),
                                      'Huelink \u2013 Vestrel Heritage Facades', 'Colours that weather well',
                                      'heritage')
    heritage_entry.update({'pages': 'heritage-pages.csv', 'chips': 'heritage-chips.csv',
                           'pageSchemes': 'heritage-page-schemes.csv', 'foresight': heritage_foresight,
                           'textures': heritage_textures})
    trade_entry = collection_entry('trade', 'Vestrel Trade Facades', 3, trade_settings(),
                                   'Huelink \u2013 Vestrel Trade Facades', 'Colours that weather well', 'trade')
    # The trade file computes ROW_TO_PAGE_SCHEME from these card schemes.
    trade_entry.update({'pages': 'trade-pages.csv', 'chips': 'trade-chips.csv',
                        'pageSchemes': 'trade-page-schemes.csv'})
    manifest = {
        'format': 1,
        'globalSettings': {'demo.source': 'scripts/generate-demo-sources.py'},
        'products': products,
        'productGroups': groups,
        'systemWide': system_wide(shared_foresight, shared_textures),
        'collections': [interior_entry, heritage_entry, trade_entry],
    }
    write_json(os.path.join(folder, 'collection.json'), manifest)


def write_pelvon_source(pelvon, archive):
    folder = os.path.join(DEMO, 'pelvon')
    products, groups = products_section()
    write_csv(os.path.join(folder, 'pelvon-pages.csv'), PAGE_HEADER, page_rows(pelvon))
    write_csv(os.path.join(folder, 'pelvon-chips.csv'), CHIP_HEADER,
              chip_rows(pelvon, lambda card, chip: (['matt', 'sheen'] + (['gloss'] if chip.row < 3 else []),
                                                    ['walls']), neutral_flags=False))
    write_csv(os.path.join(folder, 'pelvon-row-schemes.csv'), ROW_SCHEME_HEADER, pelvon_row_schemes(pelvon))
    write_csv(os.path.join(folder, 'archive-pages.csv'), PAGE_HEADER, page_rows(archive))
    write_csv(os.path.join(folder, 'archive-chips.csv'), CHIP_HEADER,
              chip_rows(archive, lambda card, chip: (['matt', 'eggshell'], ['walls'])))
    write_text_files(folder, 'Pelvon Made to Order', 'Mixed for you',
                     'Pelvon colours come in fixed schemes of three: a colour with its contrast and the two '
                     'colours either side of it. Deep shades are mixed to order.')
    pelvon_entry = collection_entry('pelvon', 'Pelvon Made to Order', 1, pelvon_settings(),
                                    'Huelink \u2013 Pelvon Made to Order', 'Mixed for you', 'pelvon')
    pelvon_entry.update({'pages': 'pelvon-pages.csv', 'chips': 'pelvon-chips.csv',
                         'rowSchemes': 'pelvon-row-schemes.csv',
                         'textures': [{'name': display, 'image': 'art/textures/%s.png' % name,
                                       'baseAlpha': TEXTURE_ALPHA[name],
                                       'maps': [{'page': card.page, 'alpha': alpha, 'name': pairing}
                                                for card in pelvon]}
                                      for name, display, alpha, pairing in (
                                          ('plaster', 'Smooth plaster', 0.9, 'Feature wall'),
                                          ('linen', 'Linen', 0.6, 'Cushions'),
                                          ('concrete', 'Fair-faced concrete', 0.75, 'Worktop'))]})
    archive_settings = dict(interior_settings())
    archive_settings.update({'collection.name': 'Vestrel Archive', 'max.chips.on.a.page': 5,
                             'capsure.enabled': 0, 'mode.card': 'ModeCardToCard'})
    archive_entry = collection_entry('archive', 'Vestrel Archive', 2, archive_settings,
                                     'Huelink \u2013 Vestrel Archive', 'Colours of the past', 'archive',
                                     enabled=False)
    archive_entry.update({'pages': 'archive-pages.csv', 'chips': 'archive-chips.csv'})
    manifest = {
        'format': 1,
        'globalSettings': {'demo.source': 'scripts/generate-demo-sources.py'},
        'products': products,
        'productGroups': groups,
        'systemWide': system_wide(),
        'collections': [pelvon_entry, archive_entry],
    }
    write_json(os.path.join(folder, 'collection.json'), manifest)


CXF_TEMPLATE = """<?xml version="1.0" encoding="UTF-8"?>
<cc:CxF xmlns:cc="http://colorexchangeformat.com/CxF3-core">
  <cc:FileInformation>
    <cc:Creator>Capsure demo measurement</cc:Creator>
    <cc:Description>Names the device recognised; Huelink reads only the Object names.</cc:Description>
  </cc:FileInformation>
  <cc:Resources>
    <cc:ObjectCollection>
{objects}    </cc:ObjectCollection>
  </cc:Resources>
</cc:CxF>
"""


def write_capsure_sample(interior, heritage):
    """A measurement file as the Capsure software writes it: one object per
    measurement, named after the colour it recognised (a name or a code)."""
    names = [interior[5 * 13 + 4].chips[2].name,   # a chip name of "Vestrel Interiors"
             heritage[4].chips[2].code,            # a code of "Vestrel Heritage Facades"
             interior[0].chips[0].code,
             'Unknown Sample']
    objects = ''.join('      <cc:Object ObjectType="Standard" Name="%s" Id="m%d"/>\n' % (name, index + 1)
                      for index, name in enumerate(names))
    write_text(os.path.join(DEMO, 'capsure', 'measurement.cxf'), CXF_TEMPLATE.format(objects=objects))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--names-package', metavar='DIR',
                        help='the dist folder of an unpacked color-name-list package')
    arguments = parser.parse_args()
    entries = load_package(arguments.names_package) if arguments.names_package else load_vendored(VENDORED)
    pool = NamePool(entries)
    taken = []
    interior = make_interior(pool, taken)
    heritage = make_heritage(pool, taken)
    pelvon = make_pelvon(pool, taken)
    archive = make_archive(pool, taken)
    if arguments.names_package:
        write_vendored(VENDORED, taken)
    write_interior_source(interior, heritage, make_trade(heritage))
    write_pelvon_source(pelvon, archive)
    write_capsure_sample(interior, heritage)

    def report(label, cards):
        chips = [chip for card in cards for chip in card.chips]
        nudged = [delta_e76(rgb_to_lab(hex_to_rgb(chip.named_hex)), chip.lab) for chip in chips]
        print('%-9s %3d cards %5d chips, colour to named colour: mean %.2f, max %.2f' %
              (label, len(cards), len(chips), sum(nudged) / len(nudged), max(nudged)))

    report('interior', interior)
    report('heritage', heritage)
    report('pelvon', pelvon)
    report('archive', archive)
    print('names: %d (%d from the best-of list)' % (len(taken), sum(1 for entry in taken if entry[2])))


if __name__ == '__main__':
    main()
