# Checks, inside the Blender that has just run a Halvane rig script, that the
# rig holds what the rig layer computed. Run as
#     blender -b --factory-startup --python-exit-code 1 -P rig.py -P check_blender_rig.py -- EXPECTED.json
# EXPECTED.json (written by the consumer tests) lists, for the default controls
# and for changed ones, every light's location, colour, energy, visibility,
# specular factor, shadow switch and radius, and the irradiance at the origin.
# With "--environment IMAGE" it also renders, through a World whose Environment
# Texture is IMAGE, a narrow view towards the brightest light, which must show
# the image's one bright pixel. Exits 1 on the first failed group of checks.
# With "--lights" in place of EXPECTED.json it checks nothing and prints one
# line "LIGHTS {...}": the rig's lights as Blender evaluates them at the
# default controls (see dump_lights).
import json
import math
import sys

import bpy
from mathutils import Vector

args = sys.argv[sys.argv.index("--") + 1:]
expected = {"root": "ZR_Halvane"} if args[0] == "--lights" else json.load(open(args[0]))
environment = args[args.index("--environment") + 1] if "--environment" in args else None
failures = []


def close(actual, wanted, relative=1e-5, absolute=1e-5):
    return abs(actual - wanted) <= absolute + relative * abs(wanted)


def check(condition, message):
    if not condition:
        failures.append(message)


def finish(group):
    if failures:
        for message in failures[:20]:
            print("FAIL %s: %s" % (group, message))
        print("%d failed checks in %s" % (len(failures), group))
        sys.exit(1)
    print("ok %s" % group)


root = bpy.data.objects.get(expected["root"])
check(root is not None, "no root %s" % expected["root"])
finish("root")


def in_rig(obj):
    while obj.parent is not None:
        obj = obj.parent
    return obj == root


def dump_lights():
    """{"lights": [{kind: point|sun, direction (unit, Blender's frame, towards the
    light), distance (point lights), value (energy), colour, visible}]}"""
    root.update_tag()
    bpy.context.view_layer.update()
    depsgraph = bpy.context.evaluated_depsgraph_get()
    lights = []
    for obj in [o.evaluated_get(depsgraph) for o in bpy.data.objects if o.type == "LIGHT" and in_rig(o)]:
        read = {"value": obj.data.energy, "colour": list(obj.data.color), "visible": not obj.hide_render}
        if obj.data.type == "SUN":  # shines along its -Z axis
            towards = obj.matrix_world.to_3x3() @ Vector((0.0, 0.0, 1.0))
            read.update(kind="sun", direction=list(towards.normalized()))
        else:
            where = obj.matrix_world.translation
            read.update(kind="point", direction=list(where.normalized()), distance=where.length)
        lights.append(read)
    print("LIGHTS " + json.dumps({"lights": lights}))


if args[0] == "--lights":
    dump_lights()
    sys.exit(0)


# The startup scene's own light is no part of the rig; the sun is checked apart.
sun_expected = expected.get("sun")
sun_name = sun_expected["name"] if sun_expected else None
lights = [o for o in bpy.data.objects if o.type == "LIGHT" and in_rig(o) and o.name != sun_name]
# The drivers must all work without Python auto-run.
drivers = 0
for owner in lights + [o.data for o in lights]:
    if owner.animation_data is None:
        continue
    for curve in owner.animation_data.drivers:
        drivers += 1
        check(curve.driver.is_valid, "%s %s is not valid" % (owner.name, curve.data_path))
        check(curve.driver.is_simple_expression,
              "%s %s is no simple expression: %s" % (owner.name, curve.data_path, curve.driver.expression))
check(len(lights) == len(expected["states"][0]["lights"]), "%d lights" % len(lights))
check(drivers == 11 * len(lights), "%d drivers for %d lights" % (drivers, len(lights)))
check(sorted(o.name for o in lights) == sorted(l["name"] for l in expected["states"][0]["lights"]),
      "light names differ")
for entry in expected["controls"]:
    ui = root.id_properties_ui(entry["name"]).as_dict()
    check(root[entry["name"]] == entry["default"], "%s default %r" % (entry["name"], root[entry["name"]]))
    check(ui["min"] == entry["min"] and ui["max"] == entry["max"], "%s range %r" % (entry["name"], ui))
finish("drivers and controls")

if sun_expected:
    sun = bpy.data.objects.get(sun_name)
    check(sun is not None and in_rig(sun) and sun.data.type == "SUN", "no sun light %s" % sun_name)
    finish("sun")
    check(close(sun.data.angle, sun_expected["angle"]), "sun angle %r" % sun.data.angle)
    for owner in (sun, sun.data):
        for curve in owner.animation_data.drivers:
            check(curve.driver.is_valid and curve.driver.is_simple_expression,
                  "sun %s: %s" % (curve.data_path, curve.driver.expression))
    finish("sun angle and drivers")


def check_sun(state, depsgraph, irradiance):
    want = state["sun"]
    obj = bpy.data.objects[sun_name].evaluated_get(depsgraph)
    where = "sun at %s" % state["set"]
    facing = obj.matrix_world.to_3x3() @ Vector((0.0, 0.0, -1.0))  # a Sun shines along -Z
    for axis in range(3):
        check(close(obj.matrix_world.translation[axis], want["location"][axis]), where + " location")
        check(close(facing[axis], -want["direction"][axis]), "%s shines along %r" % (where, tuple(facing)))
        check(close(obj.data.color[axis], want["colour"][axis]), where + " colour")
    check(close(obj.data.energy, want["energy"]), "%s energy %r" % (where, obj.data.energy))
    check(obj.hide_render == want["hidden"], where + " visibility")
    check(obj.data.use_shadow == want["shadow"], where + " shadow")
    if not obj.hide_render:
        for k in range(3):
            irradiance[k] += obj.data.energy * obj.data.color[k]

for state in expected["states"]:
    for name, value in state["set"].items():
        root[name] = value
    root.update_tag()  # as editing the property in the interface does
    bpy.context.view_layer.update()
    depsgraph = bpy.context.evaluated_depsgraph_get()
    irradiance = [0.0, 0.0, 0.0]
    for want in state["lights"]:
        obj = bpy.data.objects[want["name"]].evaluated_get(depsgraph)
        data = obj.data
        where = "%s at %s" % (want["name"], state["set"])
        check(obj.parent is not None and obj.parent.name == want["parent"], where + " parent")
        location = obj.matrix_world.translation
        for axis in range(3):
            check(close(location[axis], want["location"][axis]),
                  "%s location %r != %r" % (where, tuple(location), want["location"]))
            check(close(data.color[axis], want["colour"][axis]),
                  "%s colour %r != %r" % (where, tuple(data.color), want["colour"]))
        check(close(data.energy, want["energy"]), "%s energy %r != %r" % (where, data.energy, want["energy"]))
        check(obj.hide_render == want["hidden"], where + " visibility")
        check(data.specular_factor == want["specular"], where + " specular")
        check(data.use_shadow == want["shadow"], where + " shadow")
        check(close(data.shadow_soft_size, want["radius"]), "%s radius %r" % (where, data.shadow_soft_size))
        if not obj.hide_render:
            # A point light of P watts gives P / (4 pi d^2) at distance d.
            falloff = data.energy / (4 * math.pi * location.length_squared)
            for k in range(3):
                irradiance[k] += falloff * data.color[k]
    if sun_expected:
        check_sun(state, depsgraph, irradiance)
    for k in range(3):
        check(close(irradiance[k], state["irradiance"][k], 1e-4, 1e-12),
              "irradiance %r != %r at %s" % (irradiance, state["irradiance"], state["set"]))
    finish("lights at %s" % state["set"])

if environment:
    scene = bpy.context.scene
    scene.render.engine = "CYCLES"
    scene.cycles.device = "CPU"
    scene.cycles.samples = 4
    scene.cycles.use_denoising = False
    world = bpy.data.worlds.new("Environment")
    scene.world = world
    world.use_nodes = True
    texture = world.node_tree.nodes.new("ShaderNodeTexEnvironment")
    texture.image = bpy.data.images.load(environment)
    texture.interpolation = "Closest"
    world.node_tree.links.new(texture.outputs["Color"], world.node_tree.nodes["Background"].inputs["Color"])
    # Black lights keep an intensity but light nothing: brightness is energy times colour.
    brightest = max(lights, key=lambda o: o.data.energy * max(o.data.color))
    towards = brightest.matrix_world.translation.normalized()
    for obj in list(bpy.data.objects):
        bpy.data.objects.remove(obj)  # only the environment is to be seen (the startup cube too)
    camera = bpy.data.objects.new("Probe", bpy.data.cameras.new("Probe"))
    camera.data.angle = math.radians(24)
    scene.collection.objects.link(camera)
    scene.camera = camera
    camera.rotation_euler = towards.to_track_quat("-Z", "Y").to_euler()
    scene.render.resolution_x = scene.render.resolution_y = 8
    scene.render.filepath = bpy.app.tempdir + "probe.exr"
    scene.render.image_settings.file_format = "OPEN_EXR"
    bpy.ops.render.render(write_still=True)
    picture = bpy.data.images.load(scene.render.filepath)
    peak = max(picture.pixels[:])
    check(peak > 1.0, "the view towards %r misses the bright pixel (peak %r)" % (tuple(towards), peak))
    finish("environment")

print("ALL CHECKS PASSED")
