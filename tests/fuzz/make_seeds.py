#!/usr/bin/env python3
"""Writes the hand-made seeds of the engine fuzzer into corpus/ (run it from anywhere).

Each seed is a short game in the fuzz target's input format (engine_fuzz_target.cpp): the fuzzer
starts from these and mutates them, and the test suite replays them.
"""
import pathlib
import struct

DOWN, RIGHT, UP, LEFT = 0, 1, 2, 3


def player(*keys, bits=1):
    reports = [bits if k in keys else 0 for k in (DOWN, RIGHT, UP, LEFT)]
    return bytes([0]) + struct.pack("<4h", *reports)


def pellets():
    return bytes([1])


def draw(fraction):
    """An in-contract draw in [0, 1)."""
    return bytes([0]) + struct.pack("<I", int(fraction * 2**32) & 0xFFFFFFFF)


def raw_draw(value):
    """Any double as a draw, out of contract when not in [0, 1)."""
    return bytes([0xFF]) + struct.pack("<d", value)


def monster(*draws):
    return bytes([2]) + b"".join(draws)


def place_cell(row, column):
    return bytes([3, 0]) + struct.pack("<bb", row, column)


def place_float(top, left):
    return bytes([3, 1]) + struct.pack("<ff", top, left)


def place_near_limit(offset_halves, board_row, negative=False, on_top=False):
    mode = 2 | (0x10 if negative else 0) | (0x20 if on_top else 0)
    return bytes([3, mode, offset_halves, board_row])


def onto_character():
    return bytes([4])


def zeros():
    return monster(draw(0), draw(0), draw(0), draw(0))


SEEDS = {
    # Walk the top row eating its four pellets, ticking everything in between.
    "walk_top_row": b"".join(player(RIGHT) + pellets() + monster(draw(.3), draw(.5), draw(.1), draw(.9))
                             for _ in range(5)),
    # Down the left column: eight pellets, and a two-key tick that cuts a corner.
    "walk_left_column": b"".join(player(DOWN) + pellets() for _ in range(8)) + player(DOWN, RIGHT) + pellets(),
    # Keys with other bits than bit 0, and all four at once.
    "odd_key_bits": player(DOWN, bits=-32768) + player(RIGHT, bits=-1) + player(DOWN, RIGHT, UP, LEFT)
    + player(DOWN, RIGHT, bits=0x7FFE) + pellets(),
    # A capture ends the game: the ticks after it are never read.
    "capture": player(RIGHT) + pellets() + onto_character() + pellets() + bytes([3, 1, 0, 1, 2, 1, 2]),
    "capture_with_score": player(RIGHT) + pellets() + player(RIGHT) + pellets() + onto_character() + pellets()
    + bytes([2, 1, 1]),
    # The monster off the board steps right until its Left no longer fits in 16 bits.
    "near_limit_right": place_float(3150, 30000) + zeros() * 8,
    "near_limit_mode": place_near_limit(255, 5) + zeros() * 2 + place_near_limit(40, 3, negative=True, on_top=True)
    + zeros(),
    "near_limit_exact": place_float(3150, 32767.5) + zeros(),
    "last_fitting_left": place_float(3150, 32767.49) + zeros() + place_float(3150, -32768.5) + zeros(),
    # A gap beyond 16 bits while both coordinates fit.
    "gap_overflow": place_float(3150, -32760) + zeros(),
    "gap_overflow_top": place_float(-32740, 50) + zeros(),
    # Far off the board on the grid, and positions no grid knows.
    "far_cells": place_cell(-128, 127) + zeros() + place_cell(40, -40) + zeros() + place_cell(11, 18) + zeros(),
    "nan": place_float(float("nan"), 4390) + zeros(),
    "infinity": place_float(3150, float("-inf")) + zeros(),
    "fractional": place_float(3150.25, 4390.75) + zeros() * 3 + pellets(),
    # Either side of the farthest pixel position a window system takes (29999 pixels of 15 twips),
    # and the largest floats: shown, or not shown at all.
    "pixel_limits": place_float(3150, 449992) + pellets() + place_float(-449993, 50) + pellets()
    + place_float(3e38, -3e38) + pellets(),
    # Draws outside [0, 1): large, negative, NaN.
    "odd_draws": monster(raw_draw(0.999999), raw_draw(-0.5), raw_draw(1.0), raw_draw(9.99))
    + monster(raw_draw(1e300), draw(0), draw(0), draw(0)),
    "nan_draw": monster(raw_draw(float("nan"))),
    # A draw that makes the largest weight, then the momentum bonus on it: the addition overflows.
    "bonus_overflow": zeros() + monster(draw(0), raw_draw(3276.75), draw(0), draw(0)),
    # Momentum and chase on the same direction: the heaviest weight, 16.
    "heaviest_weight": place_cell(5, 10) + monster(draw(.95), draw(0), draw(0), draw(0)) * 4,
    # The monster hemmed in on the closed cells and the dead end.
    "closed_cells": place_cell(4, 5) + zeros() * 2 + place_cell(7, 8) + zeros() * 2 + place_cell(2, 19) + zeros(),
}


def main():
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    corpus.mkdir(exist_ok=True)
    for name, data in SEEDS.items():
        (corpus / name).write_bytes(data)
    print(f"wrote {len(SEEDS)} seeds to {corpus}")


if __name__ == "__main__":
    main()
