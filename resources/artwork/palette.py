"""The one 256-colour table shared by every bitmap.

Colours are added by name; ramps run from an outline colour (level 0) to a
highlight (last level).  Unused entries are filled with colours kept well
away from the used ones, so no two entries of the table look alike and a
nearest-colour lookup can never confuse them.
"""


def _lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def _distance_sq(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b))


class Palette:
    # Smallest distance (RGB, squared) allowed between two used entries and
    # between a used entry and a filler entry.
    MIN_USED_GAP_SQ = 6 ** 2
    MIN_FILLER_GAP_SQ = 20 ** 2

    def __init__(self):
        self._colours = []
        self._index = {}

    def add(self, name, rgb):
        if name in self._index:
            raise ValueError(f"colour {name!r} defined twice")
        for other_name, other in self._index.items():
            if _distance_sq(rgb, self._colours[other]) < self.MIN_USED_GAP_SQ:
                raise ValueError(f"colour {name!r} {rgb} is too close to {other_name!r}")
        self._index[name] = len(self._colours)
        self._colours.append(tuple(rgb))
        return self._index[name]

    def add_ramp(self, name, stops, levels):
        """Adds name0 .. name{levels-1}, interpolated through `stops`."""
        for level in range(levels):
            t = level / (levels - 1) * (len(stops) - 1)
            segment = min(int(t), len(stops) - 2)
            self.add(f"{name}{level}", _lerp(stops[segment], stops[segment + 1], t - segment))

    def __getitem__(self, name):
        return self._index[name]

    def rgb(self, index):
        return self._colours[index]

    def used_count(self):
        return len(self._colours)

    def table(self):
        """The full 256-entry table: used colours, then distinct fillers."""
        if len(self._colours) > 256:
            raise ValueError("more than 256 colours")
        table = list(self._colours)
        levels = (0, 64, 128, 192, 255, 32, 96, 160, 224)
        candidates = [(r, g, b) for r in levels for g in levels for b in levels]
        for candidate in candidates:
            if len(table) == 256:
                break
            if all(_distance_sq(candidate, c) >= self.MIN_FILLER_GAP_SQ for c in table):
                table.append(candidate)
        if len(table) != 256:
            raise ValueError("could not find enough distinct filler colours")
        return table
