"""Nothing a script does ends the interpreter: a plug-in that fails or throws, nodes deleted
from under a deformer, calls into the C++ half with arguments of any type, an interpreter that
ends with the plug-in's nodes in the scene. Each failure is an exception with one line, and
nothing half-done is left on disk."""

import os
import subprocess
import sys

import numpy
import pytest

import hxnoise
from hxnoise import cmds


@pytest.fixture
def misbehaving(data):
    """A plug-in whose "hxNoise" deformer and "noiseLocator" fail on request (its failure
    attribute: 1 deform fails, 2 throws, 3 runs out of memory, 4 throws an int, 5 the curve's
    compute fails, 6 throws, 7 the locator's draw throws)."""
    cmds.unloadPlugin("hxNoise")
    cmds.loadPlugin(os.environ["HXNOISE_MISBEHAVING_PLUGIN"])
    cmds.file(str(data / "tet.obj"), i=True)
    cmds.deformer("tet", type="hxNoise")
    yield data
    cmds.file(new=True, force=True)
    cmds.unloadPlugin("MisbehavingHxNoise")


@pytest.mark.parametrize("failure, message", [
    (1, r"cannot evaluate tetShape: deform of hxNoise1.outputGeometry\[0\] failed"),
    (2, "threw an exception in plug-in 'MisbehavingHxNoise': the deformer broke on purpose"),
    (3, "ran out of memory in plug-in 'MisbehavingHxNoise'"),
    (4, "threw an exception in plug-in 'MisbehavingHxNoise'"),
])
def test_a_deformer_that_fails_fails_every_read_and_nothing_is_written(misbehaving, failure, message):
    cmds.setAttr("hxNoise1.failure", failure)
    for attempt in range(2):  # a script that caught the first failure gets it again
        with pytest.raises(RuntimeError, match=message):
            hxnoise.points("tet")
        with pytest.raises(RuntimeError, match=message):
            cmds.file(str(misbehaving / "out.obj"), exportAll=True, force=True)
        with pytest.raises(RuntimeError, match=message):
            hxnoise.render(misbehaving / "out.png")
    assert not (misbehaving / "out.obj").exists() and not (misbehaving / "out.png").exists()
    assert not [name for name in os.listdir(misbehaving) if ".tmp-" in name]
    cmds.setAttr("hxNoise1.failure", 0)
    assert hxnoise.points("tet").shape == (4, 3)


def test_a_locator_that_fails_to_draw_fails_the_picture_only(misbehaving):
    for failure, message in [(5, "compute of hxNoise1.curve failed"),
                             (6, "the curve broke on purpose"), (7, "the locator's draw broke on purpose")]:
        cmds.setAttr("hxNoise1.failure", failure)
        with pytest.raises(RuntimeError, match=message):
            hxnoise.render(misbehaving / "out.png")
        assert not (misbehaving / "out.png").exists()
        cmds.file(str(misbehaving / "out.obj"), exportAll=True, force=True)  # the mesh needs no curve
    cmds.setAttr("hxNoise1.failure", 0)
    hxnoise.render(misbehaving / "out.png")  # the renderer is none the worse for them
    assert (misbehaving / "out.png").stat().st_size > 0


def test_a_scene_taken_apart_under_its_deformer_still_answers(data, tmp_path):
    for doomed in ["tetShapeOrig", "hxNoise1", "transform1", "noiseLocator1", "tet"]:
        cmds.file(new=True, force=True)
        cmds.file(str(data / "tet.obj"), i=True)
        cmds.deformer("tet", type="hxNoise")
        cmds.setKeyframe("hxNoise1.oxNoiseAmp", t=1, v=0.5)
        cmds.delete(doomed)
        cmds.currentTime(2)
        for shape in cmds.ls(type="mesh"):
            hxnoise.points(shape)
        if cmds.ls("tetShape"):
            cmds.file(str(tmp_path / "out.obj"), exportAll=True, force=True)
            hxnoise.render(tmp_path / "out.png", shape="tetShape")


def test_the_cpp_half_turns_every_bad_argument_into_an_exception():
    calls = [
        lambda: hxnoise._hxnoise.create_node(1, 2, 3),
        lambda: hxnoise._hxnoise.set_attr("hxNoise1.xna", ["a"]),
        lambda: hxnoise._hxnoise.set_keyframe("x.y", 2 ** 40, None),
        lambda: hxnoise._hxnoise.render("x.png", "persp", -1, 2 ** 31 - 1, "", True, "auto"),
        lambda: hxnoise._hxnoise.render("x.png", "persp", 8, 8, "", False, "flat"),
        lambda: hxnoise._hxnoise.set_current_time(float("nan")),
        lambda: hxnoise._hxnoise.set_points("nothing", numpy.zeros((0, 3))),
        lambda: hxnoise._hxnoise.import_mesh(""),
        lambda: hxnoise._hxnoise.export_scene("\0.obj", True, ""),
        lambda: hxnoise._hxnoise.load_plugin(""),
        lambda: hxnoise._hxnoise.plug_info("."),
        lambda: hxnoise._hxnoise.deformer("", "", ""),
        lambda: hxnoise._hxnoise.connect("a", "b", True),
    ]
    for call in calls:
        with pytest.raises((TypeError, ValueError, RuntimeError)):
            call()


def test_the_interpreter_ends_cleanly_with_the_plugins_nodes_in_the_scene(tmp_path):
    script = ("import hxnoise\nfrom hxnoise import cmds\ncmds.loadPlugin('hxNoise')\n"
              "cmds.file(hxnoise.example_mesh(), i=True)\ncmds.deformer('blob', type='hxNoise')\n"
              "cmds.setKeyframe('hxNoise1.xna', t=1, v=1)\nprint(hxnoise.points('blob').shape)\n")
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, cwd=tmp_path)
    assert (run.returncode, run.stdout, run.stderr) == (0, "(3950, 3)\n", "")
