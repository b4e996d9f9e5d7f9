# Huelink for Inkscape: "Paint collections…" fills the selected objects with
# a colour picked in the Huelink window, and "Apply My Palette as swatches"
# writes My Palette into the document as swatches. The window comes from the
# stand-in host program, My Palette from the collection tool; both are run as
# separate programs so Inkscape's Python needs nothing of ours.
import json
import os
import re
import shutil
import subprocess

import inkex

# The build writes the installed paths in; a source copy finds them on PATH.
INSTALLED_HOST = "@HUELINK_HOST_PROGRAM@"
INSTALLED_TOOL = "@HUELINK_COLLECTION_PROGRAM@"
# Tests make the pick choose this chip code, as a user would.
TEST_CHOOSE = "HUELINK_INKSCAPE_TEST_CHOOSE"
SWATCH_PREFIX = "huelink-swatch-"
PICK_PROMPT = "Paint collections"
# The lists we read are a few lines; anything far larger is not ours.
MAX_OUTPUT = 1 << 20


def program(variable, installed, name):
    path = os.environ.get(variable) or ("" if installed.startswith("@") else installed)
    return path or shutil.which(name) or name


def run(arguments):
    """Runs one of our programs; its output, or an abort with its message."""
    try:
        done = subprocess.run(arguments, stdin=subprocess.DEVNULL, capture_output=True, check=False)
    except OSError as error:
        raise inkex.AbortExtension(f"Huelink: cannot start {arguments[0]}: {error.strerror}") from error
    if len(done.stdout) > MAX_OUTPUT:
        raise inkex.AbortExtension(f"Huelink: {arguments[0]} wrote more than expected")
    if done.returncode != 0:
        message = done.stderr.decode("utf-8", "replace").strip() or f"exit status {done.returncode}"
        raise inkex.AbortExtension(f"Huelink: {message}")
    return done.stdout.decode("utf-8", "replace")


def swatch_color(document, reference):
    """The colour of a swatch a fill refers to (url(#id)), or None."""
    match = re.fullmatch(r"url\(#([^)]+)\)", reference.strip())
    element = document.getElementById(match.group(1)) if match else None
    stops = element.findall(inkex.addNS("stop", "svg")) if element is not None else []
    if len(stops) != 1:
        return None
    return inkex.Style(stops[0].get("style", "")).get("stop-color") or stops[0].get("stop-color")


def fill_rgb(document, element):
    """The element's fill as 0..255 components; black when it has none."""
    if element is None:
        return (0, 0, 0)
    fill = element.specified_style().get("fill") or "black"
    if fill.startswith("url("):
        fill = swatch_color(document, fill) or "black"
    try:
        color = inkex.Color(fill).to_rgb()
    except (inkex.colors.ColorError, ValueError):
        return (0, 0, 0)
    return (color.red, color.green, color.blue)


def set_fill(element, value):
    # As Inkscape paints a group: the group and every object inside it.
    targets = element.descendants() if isinstance(element, inkex.Group) else [element]
    for target in targets:
        if not isinstance(target, inkex.Group) or target is element:
            target.style["fill"] = value


def swatch_id(code, taken):
    base = SWATCH_PREFIX + (re.sub(r"[^A-Za-z0-9_.-]", "_", code) or "chip")
    candidate, number = base, 2
    while candidate in taken:
        candidate, number = f"{base}-{number}", number + 1
    taken.add(candidate)
    return candidate


class HuelinkExtension(inkex.EffectExtension):
    def add_arguments(self, pars):
        pars.add_argument("--action", default="pick", choices=("pick", "swatches"))

    def effect(self):
        if self.options.action == "pick":
            return self.pick()
        return self.apply_swatches()

    def pick(self):
        selected = list(self.svg.selection.values())
        rgb = fill_rgb(self.svg, selected[0] if selected else None)
        host = program("HUELINK_HOST", INSTALLED_HOST, "huelink-host")
        arguments = [host, "pick", "--space", "rgb", "--prompt", PICK_PROMPT,
                     "--components", ",".join(str(c * 257) for c in rgb) + ",0"]
        code = os.environ.get(TEST_CHOOSE)
        if code:
            arguments += ["--choose", code, "--close-after", "60000"]
        lines = run(arguments).strip().splitlines()
        try:
            block = json.loads(lines[-1])
        except (IndexError, ValueError) as error:
            raise inkex.AbortExtension("Huelink: the host answered nothing readable") from error
        if block.get("status") != 0:
            raise inkex.AbortExtension(f"Huelink: the pick ended with status {block.get('status')}")
        if not block.get("changed"):
            return False  # cancelled: the document stays as it was
        components = block.get("components") or []
        if block.get("space") != 0 or len(components) != 4:
            raise inkex.AbortExtension("Huelink: the host answered a colour that is not RGB")
        value = "#" + "".join(f"{round(c / 257):02x}" for c in components[:3])
        for element in selected:
            set_fill(element, value)
        return True

    def apply_swatches(self):
        tool = program("HUELINK_COLLECTION_TOOL", INSTALLED_TOOL, "huelink-collection")
        try:
            palette = json.loads(run([tool, "my-palette", "--json"]))
            chips = [(c["code"], c["name"], inkex.Color(c["rgb"])) for c in palette["chips"]]
        except (KeyError, TypeError, ValueError, inkex.colors.ColorError) as error:
            raise inkex.AbortExtension("Huelink: My Palette could not be read") from error
        if not chips:
            raise inkex.AbortExtension("Huelink: My Palette holds no chips")
        defs = self.svg.defs
        # Applying again replaces the swatches written before.
        for old in list(defs):
            if (old.get("id") or "").startswith(SWATCH_PREFIX):
                defs.remove(old)
        taken = set(self.svg.get_ids())
        seen = set()
        for code, name, color in chips:
            if (code, str(color)) in seen:
                continue
            seen.add((code, str(color)))
            gradient = inkex.LinearGradient()
            gradient.set("id", swatch_id(code, taken))
            gradient.set("inkscape:swatch", "solid")
            gradient.set("inkscape:label", name)
            stop = inkex.Stop()
            stop.set("offset", "0")
            stop.style = inkex.Style({"stop-color": str(color), "stop-opacity": "1"})
            gradient.append(stop)
            defs.append(gradient)
        if palette.get("missing"):
            inkex.errormsg(f"Huelink: {palette['missing']} cells of My Palette name collections "
                           "that are no longer installed; they were left out.")
        return True


if __name__ == "__main__":
    HuelinkExtension().run()
