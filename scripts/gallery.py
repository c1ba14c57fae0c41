#!/usr/bin/env python3
"""Writes the gallery: a small scene of every object kind and every texture pattern, each
rendered into a small picture, and the page docs/gallery.md that shows them in tables.

    python3 scripts/gallery.py LUMETRA [--size WxH] [--only NAME ...]

LUMETRA is the lumetra executable (scripts/gallery.sh builds it and runs this). The scenes go
to docs/gallery/scenes/, the pictures to docs/gallery/, brought down to 256 colours by
ImageMagick's convert so that the gallery stays small. --only renders the named entries and
leaves the other pictures as they are (the page is written whole either way). A scene that
fails to render stops the run with its error and leaves the page as it was.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DOCS = ROOT / "docs"
PICTURES = DOCS / "gallery"
SCENES = PICTURES / "scenes"
# The showcase's mesh and images serve the gallery's scenes too.
SEARCH_PATH = os.path.relpath(ROOT / "examples" / "showcase", SCENES)


# ---- materials ---------------------------------------------------------------------------


def finish(ambient=0.15, diffuse=0.7, phong=0.0, reflection=None, **more):
    node = {"kind": "finish", "ambient": ambient, "diffuse": diffuse, "phong": phong, **more}
    if reflection is not None:
        node["children"] = [{"kind": "reflection_color", "color": [reflection] * 3}]
    return node


def material(name, pigment, *extras, finish_node=None):
    """A material node: a texture of one pigment node, its finish and extra texture nodes."""
    texture = {"kind": "texture",
               "children": [{"kind": "pigment", "children": [pigment]}, finish_node or finish(), *extras]}
    return {"kind": "material", "name": name, "children": [texture]}


def solid(rgb):
    return {"kind": "solid_color", "color": rgb}


def scale(factor, rotate=(0, 0, 0), translate=(0, 0, 0)):
    return {"kind": "transform", "scale": [factor] * 3, "rotate": list(rotate), "translate": list(translate)}


CLAY = material("Clay", solid([0.85, 0.45, 0.25]), finish_node=finish(phong=0.6, phong_size=50))
FLOOR = material("Floor", {"kind": "block_pigment", "block": "checker", "color1": [0.82, 0.82, 0.8],
                           "color2": [0.62, 0.63, 0.66]}, scale(0.5))
TINTED = material("Tinted", solid([0.85, 0.45, 0.25, 0, 0.55]), finish_node=finish(phong=0.6, phong_size=50))


# ---- scene templates ---------------------------------------------------------------------


def scene(objects, materials, camera, lights, environment=None):
    return {
        "format": "lumetra-scene",
        "version": 1,
        "render": {"antialias": True, "antialias_depth": 2, "antialias_threshold": 0.3,
                   "show_window": False},
        "environment": environment or {"background": [0.62, 0.72, 0.86], "ambient": [0.2, 0.2, 0.2]},
        "search_paths": [SEARCH_PATH],
        "objects": [*objects, *lights],
        "cameras": [{"type": "camera", "name": "Camera", "aspect": 4 / 3, **camera}],
        "materials": materials,
    }


KEY_LIGHT = {"type": "point_light", "name": "Key", "color": [0.9, 0.88, 0.85],
             "transform": {"translate": [-4, 7, 6]}}
FILL_LIGHT = {"type": "point_light", "name": "Fill", "color": [0.3, 0.32, 0.38], "no_shadows": True,
              "transform": {"translate": [5, 3, 5]}}
STAGE_CAMERA = {"location": [0, 2.4, 5.2], "look_at": [0, 0.7, 0], "fov": 45}


def on_stage(objects, materials=(CLAY,), lights=(KEY_LIGHT, FILL_LIGHT), camera=STAGE_CAMERA):
    """Objects on a checkered floor seen from the front and a little above."""
    floor = {"type": "plane", "name": "Floor", "texture": "Floor", "transform": {"rotate": [-90, 0, 0]}}
    return scene([floor, *objects], [FLOOR, *materials], camera, list(lights))


def swatch(pigment, *modifiers):
    """A flat square filling the view, shaded by its own colours alone, so the pattern shows as
    it is: the plane z = 0 seen head-on, x to the right and y up, 5 units across."""
    flat = material("Swatch", pigment, *modifiers, finish_node=finish(ambient=1, diffuse=0))
    square = {"type": "plane", "name": "Square", "texture": "Swatch"}
    return scene([square], [flat], {"location": [0, 0, 6], "look_at": [0, 0, 0], "fov": 45}, [],
                 environment={"background": [0, 0, 0], "ambient": [1, 1, 1]})


def relief(normal):
    """A ball whose surface a normal pattern ruffles, under a light from the upper left."""
    ball = {"type": "sphere", "name": "Ball", "texture": "Relief", "transform": {"translate": [0, 1, 0]}}
    bumpy = material("Relief", solid([0.75, 0.78, 0.85]), {"kind": "normal", "children": [normal]},
                     finish_node=finish(phong=0.7, phong_size=60))
    return on_stage([ball], [bumpy], camera={"location": [0, 1.6, 4.2], "look_at": [0, 0.95, 0], "fov": 40})


def obj(type_name, name, texture="Clay", transform=None, **fields):
    entry = {"type": type_name, "name": name, "texture": texture, **fields}
    if transform:
        entry["transform"] = transform
    return entry


# ---- the entries -------------------------------------------------------------------------

STAR = [[0, 1], [0.22, 0.3], [0.95, 0.3], [0.36, -0.1], [0.58, -0.8], [0, -0.38], [-0.58, -0.8],
        [-0.36, -0.1], [-0.95, 0.3], [-0.22, 0.3]]
VASE = [[0, 0], [0.55, 0], [0.75, 0.6], [0.35, 1.3], [0.45, 1.6], [0.4, 1.7]]
OCTAHEDRON = {"vertices": [[0, -1, 0], [1, 0, 0], [0, 0, 1], [-1, 0, 0], [0, 0, -1], [0, 1, 0]],
              "faces": [[0, 1, 2], [0, 2, 3], [0, 3, 4], [0, 4, 1], [5, 2, 1], [5, 3, 2], [5, 4, 3], [5, 1, 4]]}
PATCH = {"points": [[x, y, z] for y, row in enumerate([[0, 0.3, 0.3, 0], [0.2, 1, 1, 0.2], [0.2, 1, 1, 0.2],
                                                        [0, 0.3, 0.3, 0]]) for x, z in enumerate(row)],
         "patches": [list(range(16))]}
STAND_UP = {"rotate": [90, 0, 0]}  # cylinders, cones and height fields are made along z


def csg(operation, texture="Clay"):
    return obj("csg", operation.capitalize(), texture, {"rotate": [0, 30, 0], "translate": [0, 0.8, 0]},
               operation=operation,
               children=[{"type": "box", "name": "Cube", "transform": {"scale": [0.65] * 3}},
                         {"type": "sphere", "name": "Ball", "transform": {"scale": [0.85] * 3}}])


def spheres_lit_by(light):
    balls = [obj("sphere", f"Ball {i}", transform={"scale": [0.5] * 3, "translate": [x, 0.5, z]})
             for i, (x, z) in enumerate([(-1.3, 0.3), (0, -0.5), (1.3, 0.3)])]
    return on_stage(balls, lights=[light, {**FILL_LIGHT, "color": [0.15, 0.15, 0.18]}])


OBJECTS = [
    ("box", "a box, turned", on_stage([obj("box", "Box", transform={
        "scale": [0.7] * 3, "rotate": [0, 30, 0], "translate": [0, 0.7, 0]})])),
    ("sphere", "a sphere", on_stage([obj("sphere", "Sphere", transform={"translate": [0, 1, 0]})])),
    ("cylinder", "a cylinder, stood up", on_stage([obj("cylinder", "Cylinder", transform={
        "scale": [0.6, 0.6, 1.6], **STAND_UP})])),
    ("cone", "a cone cut off below its tip", on_stage([obj("cone", "Cone", lower_radius=0.9, upper_radius=0.2,
                                                          transform={"scale": [1, 1, 1.6], **STAND_UP})])),
    ("disc", "a disc with a hole, standing", on_stage([obj("disc", "Disc", inner_radius=0.35, transform={
        "rotate": [0, 20, 0], "translate": [0, 1.05, 0]})])),
    ("torus", "a torus", on_stage([obj("torus", "Torus", major_radius=0.8, minor_radius=0.3, transform={
        "rotate": [60, 0, 0], "translate": [0, 1.0, 0]})])),
    ("superquadric", "a superquadric: a rounded cube", on_stage([obj("superquadric", "Superquadric", e=0.3, r=0.3,
                                                                    transform={"scale": [0.75] * 3, "rotate": [0, 30, 0],
                                                                               "translate": [0, 0.75, 0]})])),
    ("blob", "a blob of two spheres and a cylinder", on_stage([obj("blob", "Blob", threshold=0.6, components=[
        {"kind": "sphere", "centre": [-0.4, 0, 0], "radius": 0.8, "strength": 1},
        {"kind": "sphere", "centre": [0.5, 0.2, 0], "radius": 0.7, "strength": 1},
        {"kind": "cylinder", "from": [0, 0, 0], "to": [0, 1.1, 0], "radius": 0.3, "strength": 1}],
        transform={"translate": [0, 0.6, 0]})])),
    ("lathe", "a lathe: an outline turned about y", on_stage([obj("lathe", "Lathe", spline="cubic", steps=16,
                                                                 points=VASE, corners=[1])])),
    ("sweep", "a sweep: an outline pushed along z", on_stage([obj("sweep", "Sweep", spline="linear", steps=1,
                                                                 extrusion=[0, 0.5], points=STAR, transform={
        "rotate": [0, 25, 0], "translate": [0, 0.8, 0]})])),
    ("extrusion", "an extrusion: an outline drawn to a point", on_stage([obj(
        "extrusion", "Extrusion", spline="linear", steps=1, extrusion=[0, 0.6], points=STAR,
        transform={"rotate": [0, 200, 0], "translate": [0, 0.8, 0]})])),
    ("height_field", "a height field from a grey image", on_stage([obj(
        "height_field", "Hills", image="terrain.png", smooth=True,
        transform={"scale": [1.4, 1.4, 0.6], **STAND_UP, "translate": [0, 0.6, 0]})])),
    ("mesh_file", "a mesh from an OBJ file", on_stage([obj("mesh_file", "Pyramid", file="pyramid.obj", transform={
        "rotate": [0, 25, 0]})])),
    ("polygon_mesh", "a polygon mesh: an octahedron", on_stage([obj("polygon_mesh", "Octahedron", **OCTAHEDRON,
                                                                   transform={"scale": [0.8, 1, 0.8], "rotate": [0, 20, 0],
                                                                              "translate": [0, 1, 0]})])),
    ("spline_mesh", "a spline mesh: one bicubic patch", on_stage([obj("spline_mesh", "Patch", **PATCH, transform={
        "scale": [0.6, 0.55, 0.6], "rotate": [0, -20, 0], "translate": [-0.9, 0.05, 0]})])),
    ("plugin_object-triangle_mesh", "a plug-in object: a triangle mesh", on_stage([obj(
        "plugin_object", "Mesh", kind="triangle_mesh", **OCTAHEDRON,
        transform={"scale": [0.8, 1, 0.8], "rotate": [0, 20, 0], "translate": [0, 1, 0]})])),
    ("plugin_object-spherical_height", "a plug-in object: a height field on a sphere", on_stage([obj(
        "plugin_object", "Planet", kind="spherical_height", image="terrain.png", smooth=True,
        transform={"scale": [0.8] * 3, "translate": [0, 1, 0]})])),
    ("text", "a text in a TrueType font", on_stage([obj("text", "Text", text="Lumetra", font="DejaVuSans-Bold.ttf",
                                                       depth=0.3, transform={"scale": [0.8] * 3,
                                                                             "translate": [-1.8, 0.2, 0]})],
                                                   camera={**STAGE_CAMERA, "look_at": [0, 0.5, 0]})),
    ("csg-union", "CSG union of a cube and a ball", on_stage([csg("union")])),
    ("csg-intersection", "CSG intersection of a cube and a ball", on_stage([csg("intersection")])),
    ("csg-difference", "CSG difference: a cube less a ball", on_stage([csg("difference")])),
    ("csg-merge", "CSG merge, see-through: no inner surfaces", on_stage([csg("merge", "Tinted")], [TINTED])),
    ("plane", "a plane: the floor, to the horizon", on_stage([])),
    ("clone", "a clone: the ball again, moved and scaled", on_stage([
        obj("sphere", "Ball", transform={"scale": [0.6] * 3, "translate": [-0.8, 0.6, 0]}),
        {"type": "clone", "name": "Copy", "source": "Ball", "transform": {"scale": [0.7] * 3, "translate": [1.2, 0, 0]}}])),
    ("group", "a group of three boxes", on_stage([{"type": "group", "name": "Stack", "transform": {"rotate": [0, 25, 0]},
                                                   "children": [obj("box", f"Box {i}", transform={
                                                       "scale": [0.35] * 3, "rotate": [0, 20 * i, 0],
                                                       "translate": [x, 0.35 + y, 0]})
                                                       for i, (x, y) in enumerate([(-0.4, 0), (0.4, 0), (0, 0.7)])]}])),
    ("camera", "a camera: a wide field of view, its up tilted", on_stage(
        [obj("sphere", f"Ball {i}", transform={"scale": [0.45] * 3, "translate": [x, 0.45, z]})
         for i, (x, z) in enumerate([(-1.2, 1.5), (0, 0), (1.2, -1.5)])],
        camera={**STAGE_CAMERA, "fov": 80, "up": [0.3, 1, 0], "location": [0, 1.6, 3.5]})),
    ("point_light", "a point light", spheres_lit_by(
        {"type": "point_light", "name": "Point", "transform": {"translate": [-2, 4, 3]}})),
    ("spot_light", "a spot light", spheres_lit_by(
        {"type": "spot_light", "name": "Spot", "falloff": 25, "radius": 15, "tightness": 2,
         "transform": {"rotate": [90, 0, 0], "translate": [0, 5, 0]}})),
    ("area_light", "an area light: soft shadows", spheres_lit_by(
        {"type": "area_light", "name": "Area", "samples": [5, 5, 1], "jitter": True,
         "transform": {"scale": [2, 2, 2], "translate": [-2, 5, 3]}})),
]

# Colour maps that suit the patterns: cool to warm, and two tones for patterns of lines.
WARM = [[0, 0.1, 0.15, 0.35], [0.5, 0.85, 0.85, 0.8], [1, 0.85, 0.4, 0.1]]
STRIPES = [[0, 0.15, 0.3, 0.6], [0.5, 0.15, 0.3, 0.6], [0.5, 0.95, 0.9, 0.8], [1, 0.95, 0.9, 0.8]]


def pattern(name, color_map=WARM, *modifiers, size=1.0, rotate=(0, 0, 0), translate=(0, 0, 0), **fields):
    pigment = {"kind": "pattern_pigment", "pattern": name, "color_map": color_map, **fields}
    if modifiers:
        pigment["children"] = list(modifiers)
    return swatch(pigment, scale(size, rotate, translate))


def turbulence(amount, **more):
    return {"kind": "noise_modifiers", "turbulence": amount, **more}


FACING_Y = (90, 0, 0)  # turns a pattern about the y axis to face the camera
PATTERNS = [
    ("agate", "agate", pattern("agate", [[0, 0.3, 0.15, 0.1], [0.5, 0.8, 0.6, 0.4], [1, 0.95, 0.9, 0.85]])),
    ("bozo", "bozo: smooth noise", pattern("bozo", WARM, size=0.7)),
    ("crackle", "crackle: cells", pattern("crackle", [[0, 0.1, 0.1, 0.1], [0.1, 0.9, 0.7, 0.4], [1, 0.95, 0.9, 0.8]],
                                          size=0.6, translate=(0, 0, 0.7))),
    ("gradient", "gradient along x", pattern("gradient", STRIPES, gradient=[1, 0, 0])),
    ("granite", "granite", pattern("granite", [[0, 0.95, 0.85, 0.8], [0.5, 0.6, 0.45, 0.45], [1, 0.15, 0.1, 0.1]],
                                   size=1.5)),
    ("leopard", "leopard: spots", pattern("leopard", [[0, 0.95, 0.8, 0.4], [0.3, 0.95, 0.8, 0.4], [0.45, 0.45, 0.25, 0.05],
                                                      [1, 0.15, 0.08, 0]], size=0.3, translate=(0, 0, 0.47))),
    ("mandel", "mandel: the Mandelbrot set", pattern("mandel", [[0, 0.05, 0.05, 0.2], [0.2, 0.2, 0.4, 0.9],
                                                               [0.6, 1, 0.9, 0.5], [1, 0, 0, 0]],
                                                     size=1.4, translate=(0.7, 0, 0))),
    ("marble", "marble with turbulence", pattern("marble", [[0, 0.95, 0.93, 0.9], [0.8, 0.85, 0.82, 0.8],
                                                            [1, 0.25, 0.22, 0.25]],
                                                 turbulence(0.8, wave="triangle"))),
    ("onion", "onion: rings about the centre", pattern("onion", STRIPES, size=0.6)),
    ("radial", "radial: turns about y", pattern("radial", STRIPES, {"kind": "noise_modifiers", "frequency": 6},
                                                       rotate=FACING_Y)),
    ("spiral1", "spiral1, three arms", pattern("spiral1", STRIPES, spiral_arms=3)),
    ("spiral2", "spiral2, three arms", pattern("spiral2", WARM, spiral_arms=3)),
    ("spotted", "spotted", pattern("spotted", [[0, 0.95, 0.95, 0.9], [0.55, 0.95, 0.95, 0.9], [0.6, 0.2, 0.3, 0.6],
                                               [1, 0.1, 0.15, 0.4]], size=0.4)),
    ("wood", "wood with turbulence", pattern("wood", [[0, 0.75, 0.52, 0.3], [0.7, 0.6, 0.38, 0.2],
                                                      [1, 0.4, 0.22, 0.1]], turbulence(0.05), size=0.4)),
    ("bumps", "bumps as colours", pattern("bumps", WARM, size=0.5)),
    ("ripples", "ripples as colours", pattern("ripples", WARM, size=0.5)),
    ("dents", "dents as colours", pattern("dents", WARM, size=0.5)),
    ("waves", "waves as colours", pattern("waves", WARM, size=0.5)),
    ("wrinkles", "wrinkles as colours", pattern("wrinkles", WARM, size=0.5)),
    ("quilted", "quilted as colours", pattern("quilted", WARM, size=0.8)),
    ("boxed", "boxed: falls off from a cube", pattern("boxed", WARM, size=2)),
    ("cylindrical", "cylindrical: falls off from y", pattern("cylindrical", WARM, size=2, rotate=FACING_Y)),
    ("planar", "planar: falls off from y = 0", pattern("planar", WARM, size=2)),
    ("spherical", "spherical: falls off from the centre", pattern("spherical", WARM, size=2)),
]


def block(name, size, **fields):
    pigment = {"kind": "block_pigment", "block": name, "color1": [0.9, 0.88, 0.8], "color2": [0.7, 0.2, 0.12],
               "color3": [0.2, 0.35, 0.6], **fields}
    return swatch(pigment, scale(size))


TEXTURES = [
    ("block-checker", "checker", block("checker", 0.8)),
    ("block-hexagon", "hexagon", block("hexagon", 0.5)),
    ("block-brick", "brick with mortar", block("brick", 0.7, color1=[0.85, 0.83, 0.78], brick_size=[1, 0.5, 0.5],
                                              mortar=0.06)),
    ("image_map", "an image map, planar",
     swatch({"kind": "image_map", "file": "painting.png", "map_type": "planar", "interpolate": True,
             "interpolation": 2}, {"kind": "transform", "scale": [3, -2, 1], "translate": [-1.5, 1, 0]})),
]

NORMALS = [
    (f"normal-{name}", f"{name} on the surface",
     relief({"kind": "pattern_normal", "pattern": name,
             "children": [{"kind": "bump_size", "amount": amount}, *modifiers, scale(size)]}))
    for name, amount, size, *modifiers in [
        ("bumps", 0.6, 0.25), ("dents", 0.8, 0.3), ("ripples", 0.8, 1, {"kind": "noise_modifiers", "frequency": 6}),
        ("waves", 0.8, 1, {"kind": "noise_modifiers", "frequency": 4}), ("wrinkles", 0.6, 0.3), ("quilted", 0.6, 0.25)]
]

SECTIONS = [
    ("Objects", "Every object kind of the scene format on a checkered floor, lit by a point light "
                "with its shadows and a faint fill light.", OBJECTS),
    ("Patterns", "Every pattern as a pigment on a flat square seen head-on, 5 units across, in its "
                 "own colours (no light).", PATTERNS),
    ("Blocks and images", "The block pigments and an image map on the same square.", TEXTURES),
    ("Normal patterns", "The patterns that tilt the surface normal, on a ball.", NORMALS),
]


# ---- writing ----------------------------------------------------------------------------


def render(lumetra, name, scene_file, size):
    picture = PICTURES / f"{name}.png"
    # The method is named, not taken from the user's settings; the shared-memory blocks are
    # this run's own, so that a render running beside it cannot meet it.
    run = subprocess.run([lumetra, "render", str(scene_file), "-o", str(picture), "--size", size,
                          "--method", "Raytracing", "--progress", "none"], capture_output=True, text=True,
                         env={**os.environ, "LUMETRA_SHM_NAMESPACE": f"-gallery-{os.getpid()}"})
    if run.returncode != 0:
        sys.exit(f"gallery.py: {scene_file.name} did not render: {run.stderr.strip()}")
    subprocess.run(["convert", str(picture), "-colors", "256", str(picture)], check=True)
    print(f"{name}.png", flush=True)


def to_json(value, indent=0, lead=0, width=100):
    """JSON with every object or list that fits on its line (after `lead` characters of key)
    kept on one line."""
    flat = json.dumps(value)
    if indent + lead + len(flat) <= width or not isinstance(value, (dict, list)) or not value:
        return flat
    inner = " " * (indent + 1)
    if isinstance(value, dict):
        items = [f"{inner}{json.dumps(key)}: {to_json(item, indent + 1, len(key) + 4, width)}"
                 for key, item in value.items()]
        return "{\n" + ",\n".join(items) + "\n" + " " * indent + "}"
    items = [inner + to_json(item, indent + 1, 0, width) for item in value]
    return "[\n" + ",\n".join(items) + "\n" + " " * indent + "]"


def page(columns=4):
    lines = ["# Gallery", "",
             "A small scene of every object kind and texture pattern of the [scene format](scene-format.md),",
             "rendered by `lumetra render` at a small size. `scripts/gallery.sh` writes the scenes",
             "(`gallery/scenes/`), renders the pictures and writes this page; each picture links its scene."]
    for title, words, entries in SECTIONS:
        lines += ["", f"## {title}", "", words, "", "|" + " |" * columns, "|" + "---|" * columns]
        cells = [f"[![{name}](gallery/{name}.png)](gallery/scenes/{name}.json)<br>**{name}**<br>{caption}"
                 for name, caption, _ in entries]
        for row in range(0, len(cells), columns):
            chunk = cells[row:row + columns] + [""] * (columns - len(cells[row:row + columns]))
            lines.append("| " + " | ".join(chunk) + " |")
    return "\n".join(lines) + "\n"


def write_atomically(path, text):
    with tempfile.NamedTemporaryFile("w", dir=path.parent, delete=False, suffix=".tmp") as out:
        out.write(text)
    os.replace(out.name, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("lumetra", help="the lumetra executable")
    parser.add_argument("--size", default="240x180", help="picture size WIDTHxHEIGHT (default 240x180)")
    parser.add_argument("--only", nargs="+", metavar="NAME", help="render only these entries")
    args = parser.parse_args()
    entries = {name: built for _, _, section in SECTIONS for name, _, built in section}
    unknown = sorted(set(args.only or []) - entries.keys())
    if unknown:
        parser.error("no gallery entry named " + ", ".join(unknown))
    if not os.access(args.lumetra, os.X_OK):
        parser.error(f"{args.lumetra} is not an executable")
    if not shutil.which("convert"):
        parser.error("ImageMagick's convert is needed to keep the pictures small (apt-get install imagemagick)")

    SCENES.mkdir(parents=True, exist_ok=True)
    # Pictures and scenes of entries that are gone would be left behind unseen.
    for stale in [*PICTURES.glob("*.png"), *SCENES.glob("*.json")]:
        if stale.stem not in entries:
            stale.unlink()
    for name, built in entries.items():
        scene_file = SCENES / f"{name}.json"
        write_atomically(scene_file, to_json(built) + "\n")
        if not args.only or name in args.only:
            render(args.lumetra, name, scene_file, args.size)
    write_atomically(DOCS / "gallery.md", page())


if __name__ == "__main__":
    main()
