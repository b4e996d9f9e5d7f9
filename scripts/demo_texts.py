"""English interface texts of the demo collections, one per locale key the
interface looks up. A collection may override a few (captions, motto)."""

COMMON = {
    'aboutbox.caption': 'About Huelink',
    'aboutbox.close.button': 'Close',
    'aboutbox.copyright': '\u00a9 2025 Vestrel. All rights reserved.',
    'aboutbox.main': 'Huelink colour collections',
    'aboutbox.qt.license.button': 'Qt licence',
    'aboutbox.version': 'Version',
    'capsure.dialog.caption': 'Capsure measurement',
    'capsure.dialog.todo': 'Click the colour that matches best.',
    'color.palette.caption': 'Huelink',
    'color.palette.copyright': '\u00a9 2025 Vestrel',
    'color.palette.enter.search.text': 'Code or name',
    'color.palette.motto': 'Colour for living',
    'colormatcher.dialog.caption': 'Nearest colours',
    'common.confirmation.dialog.caption': 'Please confirm',
    'common.filedialog.palettefile.defaultfilename': 'My palette.palette',
    'common.filedialog.palettefile.filtername': 'Huelink palette',
    'common.filedialog.palettefile.opendialogcaption': 'Open a palette',
    'common.filedialog.palettefile.savedialogcaption': 'Save the palette',
    'common.filedialog.textfile.filtername': 'Colour list as text',
    'do.not.show.mto': 'Hide made-to-order colours',
    'harmonizer.drag.drop.message': 'Drag a colour into My Palette to keep it.',
    'harmonizer.palette.scheme.complementary.neutral': 'Complementary\nneutral',
    'harmonizer.palette.scheme.contrast': 'Contrast',
    'harmonizer.palette.scheme.dramatic': 'Dramatic',
    'harmonizer.palette.scheme.dynamic': 'Dynamic',
    'harmonizer.palette.scheme.harmonic': 'Harmonic',
    'harmonizer.palette.scheme.natural.neutral': 'Natural\nneutral',
    'harmonizer.palette.scheme.tonal.neutral': 'Tonal\nneutral',
    'harmonizer.palette.scheme.wide.contrast': 'Wide contrast',
    'mood.filter.all.moods': 'All moods',
    'mood.filter.exterior.colors': 'Exterior colours',
    'mypalette.clearpalettebutton.question': 'Remove every colour from My Palette?',
    'mypalette.note.instructions': 'Type a note for this palette',
    'mypalette.palette.load': 'Open palette',
    'mypalette.palette.save': 'Save palette',
    'photoshop.createswatch.button': 'Create swatches',
    'photoshop.selectcolor.button': 'Use this colour',
    'photoshop.swatchalert.caption': 'Swatches saved',
    'photoshop.swatchalert.text': 'The swatch file is written. Load it from the swatches panel of the host editor.',
    'photoshop.swatchdialog.caption': 'Save swatches',
    'photoshop.swatchdialog.filtername': 'Swatch file',
    'tab.bar.color.foresight.caption': 'Colour foresight',
    'tab.bar.color.schemes.caption': 'Colour schemes',
    'tab.bar.products.caption': 'Products',
    'tab.bar.textures.caption': 'Textures',
    'textures.select.message': 'The selected colour on surfaces',
    'tiptext.harmonizer.palette.scheme.complementary.neutral':
        'Complementary neutral\nThe colour with neutrals from the opposite side of the wheel.',
    'tiptext.harmonizer.palette.scheme.contrast':
        'Contrast\nThe colour with the hue opposite it on the wheel.',
    'tiptext.harmonizer.palette.scheme.dramatic':
        'Dramatic\nA neutral lifted by strong accent colours.',
    'tiptext.harmonizer.palette.scheme.dynamic':
        'Dynamic\nThree hues spaced evenly around the wheel.',
    'tiptext.harmonizer.palette.scheme.harmonic':
        'Harmonic\nThe colour with its neighbouring hues: calm and coherent.',
    'tiptext.harmonizer.palette.scheme.natural.neutral':
        'Natural neutral\nStones and earths that sit quietly with the colour.',
    'tiptext.harmonizer.palette.scheme.tonal.neutral':
        'Tonal neutral\nNeutrals of the same undertone, light to deep.',
    'tiptext.harmonizer.palette.scheme.wide.contrast':
        'Wide contrast\nThe colour with the two hues either side of its opposite.',
    'tiptext.mood.calm.button': 'Calm\nSoft, muted colours that rest the eye.',
    'tiptext.mood.fresh.button': 'Fresh\nClear, light colours with a crisp feel.',
    'tiptext.mood.neutral.button': 'Neutral\nGreys, stones and taupes.',
    'tiptext.mood.offwhite.button': 'Off-white\nWhites with a hint of colour.',
    'tiptext.mood.rich.button': 'Rich\nDeep, saturated colours.',
    'tiptext.mood.warm.button': 'Warm\nReds, oranges and golden yellows.',
}

# Long texts kept as HTML files next to the manifest.
FILE_TEXTS = {
    'license.copyright': 'texts/license.html',
    'motto': 'texts/motto.html',
}

LICENSE_HTML = """<html><head><meta charset="utf-8"><title>Huelink licence</title></head>
<body style="font-family: sans-serif; font-size: 10pt;">
<h3>Huelink colour collections</h3>
<p>&copy; 2025 Vestrel. The colour collections shipped with Huelink are provided
for choosing and communicating colours on screen. Colours shown on a display
differ from painted surfaces; judge a colour on a physical sample before use.</p>
<p>You may use, print and share palettes made with Huelink. The collection files
may not be redistributed separately.</p>
<h4>Colour names</h4>
<p>Colour names come from <i>color-name-list</i> by David Aerne and contributors,
published under the MIT licence:</p>
<p style="font-size: 8pt;">Copyright (c) 2017 David Aerne. Permission is hereby granted, free of
charge, to any person obtaining a copy of this software and associated documentation
files (the "Software"), to deal in the Software without restriction, including without
limitation the rights to use, copy, modify, merge, publish, distribute, sublicense,
and/or sell copies of the Software, and to permit persons to whom the Software is
furnished to do so, subject to the following conditions: The above copyright notice
and this permission notice shall be included in all copies or substantial portions of
the Software. THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS
OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR
A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT
HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF
CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR
THE USE OR OTHER DEALINGS IN THE SOFTWARE.</p>
</body></html>
"""

MOTTO_HTML = """<html><head><meta charset="utf-8"><title>{title}</title></head>
<body style="font-family: sans-serif; font-size: 11pt; max-width: 40em;">
<h2>{motto}</h2>
<p>{about}</p>
</body></html>
"""


def texts_for(caption, motto):
    texts = dict(COMMON)
    texts['color.palette.caption'] = caption
    texts['color.palette.motto'] = motto
    return texts
