#!/usr/bin/env python3
"""Cross-checks the models' tables against the printed model sheets.

Usage: check_model_tables.py SHEETS.md BUILD_DIR

Builds tools/dump_model_tables.cpp against BUILD_DIR/libironstep_game.a, runs
it, and compares every float of every keyframe table, the Carrier's tables,
the durations, the meshes and the face tables bit for bit with the values read
from the sheets (model numbers, box and proxy vertex tables) or computed from
the mesh rules (cylinder and sphere, rounded to six decimals). Prints the
FNV-1a digests that tests/models_data_test.cpp pins.
"""
import math
import os
import re
import struct
import subprocess
import sys
import tempfile
from fractions import Fraction

FIELDS = ["scale_x", "scale_y", "scale_z", "rot_x", "rot_y", "rot_z",
          "offset_x", "offset_y", "offset_z", "colour_r", "colour_g", "colour_b"]


def to_f32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def f32_neighbours(x):
    bits = struct.unpack("<I", struct.pack("<f", x))[0]
    out = []
    for b in (bits - 1, bits, bits + 1):
        if 0 <= b < 2**32:
            v = struct.unpack("<f", struct.pack("<I", b))[0]
            if math.isfinite(v):
                out.append(v)
    return out


def decimal_to_f32(text):
    """Nearest 32-bit float to a decimal string, rounded once (no detour through double rounding)."""
    text = text.replace("\u2212", "-").strip()
    exact = Fraction(text)
    best = min(f32_neighbours(to_f32(float(exact))), key=lambda c: abs(Fraction(c) - exact))
    return best


def table_after(text, marker):
    """Rows (lists of cell strings) of the first markdown table after marker."""
    pos = text.index(marker) + len(marker)
    lines = text[pos:].split("\n")
    rows = []
    started = False
    for line in lines:
        if line.startswith("|"):
            started = True
            rows.append([c.strip() for c in line.strip().strip("|").split("|")])
        elif started:
            break
    return rows[2:]  # header and rule


def numbers(cell):
    return [decimal_to_f32(n) for n in cell.split(",")]


def pose_table(text, marker):
    records = []
    for row in table_after(text, marker):
        assert int(row[0]) == len(records), (marker, row)
        rec = numbers(row[1]) + numbers(row[2]) + numbers(row[3]) + numbers(row[4])
        assert len(rec) == 12, (marker, row)
        records.append(rec)
    return records


def changes(cell):
    if cell == "as rest":
        return []
    out = []
    for item in cell.split(","):
        name, value = item.split()
        out.append((FIELDS.index(name), decimal_to_f32(value)))
    return out


def expand(rest, sets, change_rows, columns):
    """Keys of every set start as the rest pose; listed fields change."""
    keys = [[list(r) for r in rest] for _ in range(sets * 3)]
    for row in change_rows:
        part = int(row[0])
        for col, (s, k) in enumerate(columns):
            for field, value in changes(row[1 + col]):
                keys[s * 3 + k][part][field] = value
    return [rec for key in keys for rec in key]


def vertices(cell):
    return [tuple(decimal_to_f32(n) for n in m.split(","))
            for m in re.findall(r"\(([^)]*)\)", cell)]


def expected_tables(sheet):
    # Every marker below names one table and occurs once in the sheets.
    models = meshes = sheet
    t = {}

    rest = pose_table(models, "Key 0, the rest pose")
    t["PLAYER_KEYS"] = expand(rest, 1, table_after(models, "Keys 1 and 2 repeat key 0"), [(0, 1), (0, 2)])
    t["player_boxes"] = rest

    walker_columns = [(0, 1), (0, 2), (1, 1), (1, 2)]
    for kind in ("BOX", "SPHERE", "CYLINDER"):
        name = f"WALKER_{kind}_KEYS"
        rest = pose_table(models, f"`{name}`, key 0 of either set")
        after = models[models.index(f"`{name}`, key 0 of either set"):]
        t[name] = expand(rest, 2, table_after(after, "Other keys, fields that differ"), walker_columns)

    flyer_rule = re.search(r"key 2 equals key 1 except sphere part (\d+), which has `(\w+)` (\S+) and `(\w+)` (\S+)\.",
                           models.replace("\u2212", "-"))
    assert flyer_rule, "Flyer key 2 rule not found"
    for kind in ("SPHERE", "CYLINDER"):
        name = f"FLYER_{kind}_KEYS"
        k0 = pose_table(models, f"`{name}`, key 0:")
        k1 = pose_table(models, f"`{name}`, key 1:")
        k2 = [list(r) for r in k1]
        if kind == "SPHERE":
            part = int(flyer_rule.group(1))
            k2[part][FIELDS.index(flyer_rule.group(2))] = decimal_to_f32(flyer_rule.group(3))
            k2[part][FIELDS.index(flyer_rule.group(4))] = decimal_to_f32(flyer_rule.group(5))
        t[name] = k0 + k1 + k2

    t["CARRIER_BOXES"] = pose_table(models, "`CARRIER_BOXES`:")
    t["CARRIER_SPHERES"] = pose_table(models, "`CARRIER_SPHERES`:")

    durations = {}
    for m in re.finditer(r"`(\w+_KEY_DURATIONS)`: ([\d, ;]+)", models):
        durations[m.group(1)] = [int(n) for n in re.split(r"[,;]", m.group(2)) if n.strip()]
    assert sorted(durations) == ["FLYER_KEY_DURATIONS", "PLAYER_KEY_DURATIONS", "WALKER_KEY_DURATIONS"], durations

    quads = {}
    box = [vertices(row[2]) for row in table_after(meshes, "Box mesh (24 vertices, 6 quads)")]
    quads["BOX_MESH"] = box
    quads["BOX_FACES"] = box
    e = {}
    for m in re.finditer(r"(E\d) = \(([^)]*)\)", meshes):
        e[m.group(1)] = tuple(decimal_to_f32(n) for n in m.group(2).split(","))
    proxy = []
    for row in table_after(meshes, "`SPHERE_PROXY_FACES` stands in"):
        quad = []
        for item in re.findall(r"\([^)]*\)|E\d", row[1]):
            quad.append(e[item] if item.startswith("E") else vertices(item)[0])
        proxy.append(quad)
    quads["SPHERE_PROXY_FACES"] = proxy

    def six(v):
        return decimal_to_f32(f"{round(v, 6):.6f}")

    def rad(d):
        return math.radians(d)

    cylinder = []
    for k in range(30):
        a0, a1 = rad(12 * k), rad(12 * (k + 1))
        cylinder.append([(six(math.sin(a1)), 1.0, -six(math.cos(a1))), (six(math.sin(a1)), -1.0, -six(math.cos(a1))),
                         (six(math.sin(a0)), -1.0, -six(math.cos(a0))), (six(math.sin(a0)), 1.0, -six(math.cos(a0)))])
    quads["CYLINDER_MESH"] = cylinder
    quads["CYLINDER_PROXY_FACES"] = cylinder[:6]

    def point(p, t_):
        p, t_ = rad(p), rad(t_)
        return (six(math.sin(p) * math.sin(t_)), six(math.cos(p)), six(math.sin(p) * math.cos(t_)))

    sphere = []
    for b in range(5):
        for s in range(6):
            p0, p1, t0, t1 = 36 * b, 36 * (b + 1), 60 * s, 60 * (s + 1)
            sphere.append([point(p0, t0), point(p1, t0), point(p1, t1), point(p0, t1)])
    quads["SPHERE_MESH"] = sphere
    return t, durations, quads


def run_dump(build_dir):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    flags = subprocess.run(["pkg-config", "--cflags", "--libs", "allegro", "allegrogl"],
                           check=True, capture_output=True, text=True).stdout.split()
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, "dump_model_tables")
        subprocess.run(["g++", "-std=c++20", "-O1", "-I", root, os.path.join(root, "tools/dump_model_tables.cpp"),
                        os.path.join(build_dir, "libironstep_game.a"), *flags, "-lGL", "-lGLU", "-lm", "-o", exe],
                       check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
    records, durations, quads = {}, {}, {}
    for line in out.splitlines():
        parts = line.split()
        if parts[0].endswith("_DURATIONS"):
            durations[parts[0]] = [int(n) for n in parts[1:]]
        elif parts[0].endswith(("_MESH", "_FACES")):
            vals = [float.fromhex(v) for v in parts[2:]]
            quads.setdefault(parts[0], []).append([tuple(vals[i:i + 3]) for i in range(0, 12, 3)])
        else:
            records.setdefault(parts[0], []).append([float.fromhex(v) for v in parts[2:]])
    return records, durations, quads


def bits(v):
    return struct.unpack("<I", struct.pack("<f", v))[0]


def fnv1a(words):
    h = 0xcbf29ce484222325
    for w in words:
        for byte in struct.pack("<I", w & 0xffffffff):
            h ^= byte
            h = (h * 0x100000001b3) & 0xffffffffffffffff
    return h


def main():
    sheet_path, build_dir = sys.argv[1], sys.argv[2]
    with open(sheet_path, encoding="utf-8") as f:
        sheet = f.read()
    want, want_durations, want_quads = expected_tables(sheet)
    have, have_durations, have_quads = run_dump(build_dir)
    faults = 0
    floats = 0
    for name, records in want.items():
        got = have.get(name, [])
        if len(got) != len(records):
            print(f"{name}: {len(got)} records, sheets give {len(records)}")
            faults += 1
            continue
        for i, (w, g) in enumerate(zip(records, got)):
            for f, (a, b) in enumerate(zip(w, g)):
                floats += 1
                if bits(a) != bits(b) and not (a == 0 and b == 0):
                    print(f"{name}[{i}].{FIELDS[f]}: have {b!r}, sheets give {a!r}")
                    faults += 1
    for name, values in want_durations.items():
        if have_durations.get(name) != values:
            print(f"{name}: have {have_durations.get(name)}, sheets give {values}")
            faults += 1
    for name, qs in want_quads.items():
        got = have_quads.get(name, [])
        if len(got) != len(qs):
            print(f"{name}: {len(got)} quads, expected {len(qs)}")
            faults += 1
            continue
        for i, (wq, gq) in enumerate(zip(qs, got)):
            for v, (wv, gv) in enumerate(zip(wq, gq)):
                for a, b in zip(wv, gv):
                    floats += 1
                    if bits(a) != bits(b) and not (a == 0 and b == 0):
                        print(f"{name}[{i}] vertex {v}: have {gv}, expected {wv}")
                        faults += 1
                        break
    print(f"compared {floats} floats in {len(want) + len(want_quads)} tables and "
          f"{len(want_durations)} duration tables: {faults} differences")
    print("digests of the sheets' tables (FNV-1a 64 over the float bits):")
    for name, records in want.items():
        print(f"  {name}: 0x{fnv1a(bits(v) for r in records for v in r):016x}")
    for name, values in want_durations.items():
        print(f"  {name}: 0x{fnv1a(values):016x}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
