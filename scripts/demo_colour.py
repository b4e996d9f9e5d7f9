"""Colour arithmetic for the demo generator: sRGB and CIELAB (D65), the
same formulas the engine uses, plus a small LCh helper. Standard library only."""

import math

D65 = (0.95047, 1.0, 1.08883)
_EPSILON = 216.0 / 24389.0
_KAPPA = 24389.0 / 27.0


def _decode(c):
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def _encode(v):
    return 12.92 * v if v <= 0.0031308 else 1.055 * (v ** (1.0 / 2.4)) - 0.055


def _f(t):
    return t ** (1.0 / 3.0) if t > _EPSILON else (_KAPPA * t + 16.0) / 116.0


def rgb_to_lab(rgb):
    r, g, b = (_decode(c / 255.0) for c in rgb)
    x = 0.4124 * r + 0.3576 * g + 0.1805 * b
    y = 0.2126 * r + 0.7152 * g + 0.0722 * b
    z = 0.0193 * r + 0.1192 * g + 0.9505 * b
    fx, fy, fz = _f(x / D65[0]), _f(y / D65[1]), _f(z / D65[2])
    return (116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz))


def lab_to_linear(lab):
    L, a, b = lab
    fy = (L + 16.0) / 116.0
    fx = a / 500.0 + fy
    fz = fy - b / 200.0
    xr = fx ** 3 if fx ** 3 > _EPSILON else (116.0 * fx - 16.0) / _KAPPA
    yr = fy ** 3 if L > _KAPPA * _EPSILON else L / _KAPPA
    zr = fz ** 3 if fz ** 3 > _EPSILON else (116.0 * fz - 16.0) / _KAPPA
    x, y, z = xr * D65[0], yr * D65[1], zr * D65[2]
    return (3.2406 * x - 1.5372 * y - 0.4986 * z,
            -0.9689 * x + 1.8758 * y + 0.0415 * z,
            0.0557 * x - 0.2040 * y + 1.0570 * z)


def in_gamut(lab, slack=0.0):
    return all(-slack <= c <= 1.0 + slack for c in lab_to_linear(lab))


def lab_to_rgb(lab):
    """Nearest displayable sRGB bytes (channels clipped)."""
    return tuple(max(0, min(255, int(round(_encode(max(0.0, min(1.0, c))) * 255.0))))
                 for c in lab_to_linear(lab))


def hex_to_rgb(text):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))


def rgb_to_hex(rgb):
    return '#%02X%02X%02X' % rgb


def lch(lightness, chroma, hue_degrees):
    h = math.radians(hue_degrees)
    return (lightness, chroma * math.cos(h), chroma * math.sin(h))


def chroma(lab):
    return math.hypot(lab[1], lab[2])


def hue_angle(lab):
    return math.degrees(math.atan2(lab[2], lab[1])) % 360.0


def delta_e76(p, q):
    return math.sqrt((p[0] - q[0]) ** 2 + (p[1] - q[1]) ** 2 + (p[2] - q[2]) ** 2)


def hsv_to_rgb(h, s, v):
    h = (h % 360.0) / 60.0
    i = int(h)
    f = h - i
    p, q, t = v * (1 - s), v * (1 - s * f), v * (1 - s * (1 - f))
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i % 6]
    return (int(round(r * 255)), int(round(g * 255)), int(round(b * 255)))


def hsv_hue(rgb):
    r, g, b = (c / 255.0 for c in rgb)
    high, low = max(r, g, b), min(r, g, b)
    if high == low:
        return 0.0
    d = high - low
    if high == r:
        h = ((g - b) / d) % 6.0
    elif high == g:
        h = (b - r) / d + 2.0
    else:
        h = (r - g) / d + 4.0
    return h * 60.0


def lab_hue_of_wheel_hue(wheel_hue):
    """The CIELAB hue angle of a mid-tone colour of the given HSV hue."""
    return hue_angle(rgb_to_lab(hsv_to_rgb(wheel_hue, 0.55, 0.75)))


def fit_chroma(lightness, wanted_chroma, hue_degrees):
    """The largest chroma up to the wanted one that stays inside sRGB."""
    c = wanted_chroma
    while c > 0.0 and not in_gamut(lch(lightness, c, hue_degrees)):
        c -= 0.5
    return max(0.0, c)


def light_reflectance(rgb):
    """Light reflectance value (0..100): relative luminance in percent."""
    r, g, b = (_decode(c / 255.0) for c in rgb)
    return 100.0 * (0.2126 * r + 0.7152 * g + 0.0722 * b)
