"""Colour names for the demo chips, from the MIT-licensed color-name-list
package. The chosen names are vendored; picking works the same on the full
package lists and on the vendored subset, so regenerating from the vendored
copy gives the same names."""

import csv
import os
import re

from demo_colour import delta_e76, hex_to_rgb, rgb_to_lab

# Letters, blanks and hyphens only: names are searched with SQL UPPER (ASCII)
# and pasted into SQL texts, so quotes and accents stay out.
_NAME_PATTERN = re.compile(r"^[A-Z][A-Za-z]*(?:[ -][A-Za-z]+)*$")
_UNWANTED_WORDS = {
    'blood', 'bloody', 'dead', 'death', 'kill', 'killer', 'vomit', 'puke', 'poop', 'sex', 'sexy', 'drug',
    'drugs', 'zombie', 'corpse', 'grave', 'toxic', 'nuclear', 'bruise', 'wound', 'gore', 'sick', 'snot',
    'booger', 'urine', 'pee', 'fart', 'hell', 'devil', 'satan', 'demon', 'damn', 'beer', 'vodka', 'whisky',
    'whiskey', 'gin', 'rum', 'wine', 'cocktail', 'martini', 'margarita', 'tequila', 'bourbon', 'brandy',
    'cigar', 'cigarette', 'tobacco', 'weed', 'the', 'my', 'your', 'dear', 'mr', 'mrs', 'ms', 'miss', 'sir',
    'lady', 'lord', 'king', 'queen', 'prince', 'princess', 'god', 'gods', 'jesus', 'buddha', 'trump',
    'elvis', 'barbie', 'disney', 'pokemon', 'lego', 'nintendo', 'google', 'windows', 'apple', 'bayern',
    'ikea', 'tiffany', 'coca', 'cola', 'pepsi', 'starbucks', 'nike', 'adidas', 'ferrari', 'lamborghini',
    'porsche', 'barney', 'shrek', 'yoda', 'vader', 'gandalf', 'frodo', 'hobbit', 'simpson', 'smurf',
    'minion', 'ninja', 'turtle', 'hulk', 'batman', 'superman', 'spiderman', 'gotham', 'meatloaf',
}
_MAX_LENGTH = 22
# Names outside the package's "best of" list cost this much extra, so the
# curated names win wherever they fit nearly as well.
_FULL_LIST_PENALTY = 5.0
_CELL = 6.0


def acceptable(name):
    if len(name) > _MAX_LENGTH or not _NAME_PATTERN.match(name):
        return False
    words = re.split(r'[ -]', name.lower())
    return not any(word in _UNWANTED_WORDS for word in words)


class NamePool:
    """Named colours by CIELAB, handing out each name once, nearest first."""

    def __init__(self, entries):
        # entries: (name, hex, best) in a fixed order; duplicates by spelling dropped.
        self.entries = []
        seen = set()
        for name, hex_text, best in entries:
            key = name.lower()
            if key in seen or not acceptable(name):
                continue
            seen.add(key)
            rgb = hex_to_rgb(hex_text)
            self.entries.append((name, hex_text.upper(), best, rgb_to_lab(rgb)))
        self.entries.sort(key=lambda entry: entry[0].lower())
        self.used = set()
        self.grid = {}
        for index, entry in enumerate(self.entries):
            self.grid.setdefault(self._cell(entry[3]), []).append(index)

    @staticmethod
    def _cell(lab):
        return (int(lab[0] // _CELL), int(lab[1] // _CELL), int(lab[2] // _CELL))

    def take(self, target_lab):
        """The unused name of least cost (distance plus list penalty); ties
        go to the alphabetically first name. The search widens ring by ring
        until no unsearched cell can hold anything cheaper."""
        cx, cy, cz = self._cell(target_lab)
        best = None
        radius = 0
        while True:
            for dx in range(-radius, radius + 1):
                for dy in range(-radius, radius + 1):
                    for dz in range(-radius, radius + 1):
                        if max(abs(dx), abs(dy), abs(dz)) != radius:
                            continue
                        for index in self.grid.get((cx + dx, cy + dy, cz + dz), ()):
                            if index in self.used:
                                continue
                            entry = self.entries[index]
                            cost = delta_e76(entry[3], target_lab) + (0.0 if entry[2] else _FULL_LIST_PENALTY)
                            key = (round(cost, 9), index)
                            if best is None or key < best[0]:
                                best = (key, index)
            if best is not None and best[0][0] <= radius * _CELL:
                break
            radius += 1
            if radius > 40:
                raise RuntimeError('no colour name left near %r' % (target_lab,))
        index = best[1]
        self.used.add(index)
        name, hex_text, is_best, lab = self.entries[index]
        return name, hex_text, is_best, lab


def load_package(dist_folder):
    """(name, hex, best) from an unpacked color-name-list package."""
    best_names = set()
    with open(os.path.join(dist_folder, 'colornames.bestof.csv'), newline='', encoding='utf-8') as handle:
        for row in csv.DictReader(handle):
            best_names.add(row['name'])
    entries = []
    with open(os.path.join(dist_folder, 'colornames.csv'), newline='', encoding='utf-8') as handle:
        for row in csv.DictReader(handle):
            entries.append((row['name'], row['hex'], row['name'] in best_names))
    return entries


def load_vendored(path):
    entries = []
    with open(path, newline='', encoding='utf-8') as handle:
        for row in csv.DictReader(handle):
            entries.append((row['name'], row['hex'], row['list'] == 'bestof'))
    return entries


def write_vendored(path, taken):
    """taken: (name, hex, best) of every name handed out."""
    with open(path, 'w', newline='', encoding='utf-8') as handle:
        writer = csv.writer(handle, lineterminator='\n')
        writer.writerow(['name', 'hex', 'list'])
        for name, hex_text, best in sorted(taken, key=lambda entry: entry[0].lower()):
            writer.writerow([name, hex_text.lower(), 'bestof' if best else 'full'])
