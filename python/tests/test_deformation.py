"""The deformation through Python is the tool's, bit for bit: the same mesh, settings and
keys give the very same numbers in the written files and in hxnoise.points."""

import numpy
import pytest

import hxnoise
from hxnoise import cmds

from conftest import obj_points, obj_vertices, run_tool, without_recipe

SETTINGS = [
    ("hxNoise1.oxNoiseAmp", 0.6), ("hxNoise1.oyNoiseAmp", 0.45), ("hxNoise1.ozNoiseAmp", 0.3),
    ("hxNoise1.oxNoiseFreq", 1.7), ("hxNoise1.yna", -0.2), ("hxNoise1.ozNoiseOctaves", 7),
    ("hxNoise1.oxNoiseSeed", 12), ("transform1.translate", (1.3, -0.2, 1.4)),
    ("transform1.rotate", (10, 20, 30)), ("transform1.scale", (0.35, 0.5, 0.35)),
]


def tool_settings():
    args = []
    for plug, value in SETTINGS:
        text = ",".join(map(str, value)) if isinstance(value, tuple) else str(value)
        args += ["--set", f"{plug}={text}"]
    return args


def deform_in_python(mesh):
    transform = cmds.file(str(mesh), i=True, returnNewNodes=True)[0]
    cmds.deformer(transform, type="hxNoise")
    for plug, value in SETTINGS:
        cmds.setAttr(plug, *(value if isinstance(value, tuple) else (value,)))
    return transform


@pytest.mark.parametrize("mesh", ["example", "box.obj", "tet.obj"])
def test_a_deformed_mesh_is_the_tools_to_the_bit(mesh, data, tmp_path):
    # Written beside the input, where the material library's name stays as it is.
    source = hxnoise.example_mesh() if mesh == "example" else data / mesh
    run_tool("deform", source, "-o", data / "tool.obj", *tool_settings())

    transform = deform_in_python(source)
    cmds.file(str(data / "python.obj"), exportAll=True, type="OBJexport")

    # Same writer, same numbers: the whole file, groups, materials and normals included.
    assert without_recipe(data / "python.obj") == without_recipe(data / "tool.obj")
    assert obj_vertices(data / "python.obj") != obj_vertices(source)
    # And the points a script reads are the numbers written, exactly.
    assert numpy.array_equal(hxnoise.points(transform), numpy.array(obj_points(data / "tool.obj")))


def test_a_keyed_sequence_is_the_tools_frame_for_frame(data):
    # The tool's FROM:TO keys are keys on the first and last frames of the run.
    run_tool("deform", data / "box.obj", "-o", data / "tool.obj", "--frames", 5,
             "--set", "hxNoise1.oxNoiseAmp=0.3", "--key", "hxNoise1.oyNoiseAmp=0:0.8",
             "--key", "hxNoise1.oyNoiseOctaves=1:8", "--key", "transform1.tz=-1:2")

    cmds.file(str(data / "box.obj"), i=True)
    cmds.deformer("box", type="hxNoise")
    cmds.setAttr("hxNoise1.oxNoiseAmp", 0.3)
    for plug, first, last in [("hxNoise1.oyNoiseAmp", 0, 0.8), ("hxNoise1.oyNoiseOctaves", 1, 8),
                              ("transform1.tz", -1, 2)]:
        cmds.setKeyframe(plug, t=1, v=first)
        cmds.setKeyframe(plug, t=5, v=last)
    for frame in range(1, 6):
        cmds.currentTime(frame)
        cmds.file(str(data / f"python_{frame:04d}.obj"), exportAll=True, force=True)
        assert without_recipe(data / f"python_{frame:04d}.obj") == \
            without_recipe(data / f"tool_{frame:04d}.obj"), f"frame {frame}"
