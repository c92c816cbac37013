# Halvane light rig for Blender 3.x and 4.x: 2 point lights from studio.hdr.
#
# Run it in Blender's Text Editor (Run Script), or without a window:
#     blender -b --python-exit-code 1 -P rig.py
# It builds an Empty "ZR_Halvane" whose custom properties are the rig's
# controls (the Maya rig's names, defaults and ranges), an Empty per level
# under it, and a point light per rig light under its level. Location, colour,
# energy, shadow switch, specular factor, radius and render visibility of every light
# are drivers on the root's properties, so changing distToOrigin or saturation
# on the root updates the rig at once. Hide the root from renders to hide the
# whole rig. Visibility drives the render switch only: Blender leaves objects
# disabled in viewports out of its evaluation, drivers included, so a driven
# viewport switch could never turn a light back on. Blender lights have no
# shadow colour: shadowUmbra is kept for other tools only.
#
# The lights sit where a World whose Environment Texture shows the same image
# (equirectangular, no mapping) shows their pixels: Z up, the image centre
# towards +X, its left quarter towards +Y.
#
# Brightness: the Maya rig's point lights do not decay, Blender's fall off with
# the square of the distance. A point light of P watts lights a point at
# distance d like a Sun of strength P / (4 pi d^2), so each light gets
#     energy = 4 pi distToOrigin^2 * min(intensity * multiplyIntensity, clampIntensity)
# and lights the origin exactly as the Maya light does, whatever the dome's
# size.
#
# Every driver is a simple expression (numbers, the root's properties,
# arithmetic, comparisons, min, pi), which Blender evaluates without Python,
# so the rig works with auto-run of Python scripts disabled.

import bpy

ROOT_NAME = "ZR_Halvane"
LEVEL_COUNT = 6

# name, default, min, max (switches hold 0 or 1)
CONTROLS = [
    ("distToOrigin", 100.0, 1.0, 5000.0),
    ("multiplyIntensity", 1.0, 0.0, 10.0),
    ("saturation", 1.0, 0.0, 10.0),
    ("hideLowIntensity", 0.01, 0.0, 10.0),
    ("clampIntensity", 2.0, 0.0, 100.0),
    ("specularLevel", 1.2, 0.5, 10.0),
    ("shadowLevel", 0.5, 0.0, 1.5),
    ("shadowUmbra", 0.0, 0.0, 1.0),
    ("enableShadows", 1, 0, 1),
    ("enableArealights", 1, 0, 1),
]

# name, level, direction (x, y, z), colour at saturation 1 (r, g, b), grey,
# intensity, image highlight, area scale
LIGHTS = [
    ("ZR_Light1Q", 2, (0.5, -0.5, 0.7071067811865476), (1, 0.5, 0.25), 0.6225, 0.25, 1.1, 0.204),
    ("ZR_Light4Q", 1, (0, 0, 1), (0, 0, 0), 0, 0.125, 0.05, 0.0765),
]


def link(obj, parent):
    bpy.context.scene.collection.objects.link(obj)
    obj.parent = parent
    return obj


def add_driver(owner, path, index, expression, root):
    curve = owner.driver_add(path, index) if index is not None else owner.driver_add(path)
    driver = curve.driver
    driver.type = "SCRIPTED"
    for name, _, _, _ in CONTROLS:
        if name in expression:
            variable = driver.variables.new()
            variable.name = name
            variable.type = "SINGLE_PROP"
            variable.targets[0].id_type = "OBJECT"
            variable.targets[0].id = root
            variable.targets[0].data_path = '["%s"]' % name
    if "rootHidden" in expression:
        variable = driver.variables.new()
        variable.name = "rootHidden"
        variable.type = "SINGLE_PROP"
        variable.targets[0].id_type = "OBJECT"
        variable.targets[0].id = root
        variable.targets[0].data_path = "hide_render"
    driver.expression = expression


def build_root():
    root = link(bpy.data.objects.new(ROOT_NAME, None), None)
    root.empty_display_size = 3
    for name, default, low, high in CONTROLS:
        root[name] = default
        root.id_properties_ui(name).update(default=default, min=low, max=high)
    return root


def build_light(root, levels, name, level, direction, colour, grey, intensity, highlight, area):
    data = bpy.data.lights.new(name, type="POINT")
    light = link(bpy.data.objects.new(name, data), levels[level - 1])
    for axis in range(3):
        add_driver(light, "location", axis, "distToOrigin * %r" % direction[axis], root)
        add_driver(data, "color", axis,
                   "%r + (%r - %r) * saturation" % (grey, colour[axis], grey), root)
    add_driver(data, "energy", None,
               "4 * pi * distToOrigin * distToOrigin * min(%r * multiplyIntensity, clampIntensity)"
               % intensity, root)
    add_driver(light, "hide_render", None, "rootHidden or not %r > hideLowIntensity" % intensity,
               root)
    add_driver(data, "specular_factor", None, "1 if %r >= specularLevel else 0" % highlight, root)
    add_driver(data, "use_shadow", None, "%r >= shadowLevel and enableShadows" % highlight, root)
    add_driver(data, "shadow_soft_size", None, "distToOrigin * %r * enableArealights" % area, root)


def build():
    root = build_root()
    levels = [link(bpy.data.objects.new("ZR_Level_%d" % (n + 1), None), root)
              for n in range(LEVEL_COUNT)]
    for light in LIGHTS:
        build_light(root, levels, *light)
    bpy.context.view_layer.update()
    print("<ZR_Halvane>  %d lights created" % len(LIGHTS))


build()
