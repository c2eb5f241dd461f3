"""A whole script, as a technical director writes one: load the plug-in, read a mesh, put the
deformer on it, key it and write the sequence out frame by frame."""

import os
import pathlib
import subprocess
import sys

import numpy

import hxnoise
from hxnoise import cmds

from conftest import obj_points


def test_a_script_loads_deforms_keys_and_writes_a_sequence(tmp_path):
    cmds.loadPlugin("hxNoise")
    blob = cmds.file(hxnoise.example_mesh(), i=True, returnNewNodes=True)[0]
    noise, original, handle, locator = cmds.deformer(blob, type="hxNoise")
    cmds.setAttr(noise + ".oxNoiseAmp", 0.3)
    cmds.setKeyframe(noise + ".oxNoiseAmp", t=10)      # 0.3, what it holds now, on the last frame
    cmds.setKeyframe(noise + ".oxNoiseAmp", t=1, v=0)  # 0 on the first, where the time still is
    cmds.setKeyframe(noise + ".oxNoiseOctaves", t=1, v=1)
    cmds.setKeyframe(noise + ".oxNoiseOctaves", t=10, v=6)
    cmds.setKeyframe(handle + ".translate", t=1, v=0)
    cmds.setKeyframe(handle + ".translateY", t=10, v=1)
    cmds.setAttr(locator + ".oxCrvLenIn", 3)

    written = []
    for frame in range(1, 11):
        cmds.currentTime(frame)
        written.append(cmds.file(str(tmp_path / f"blob.{frame:04d}.obj"), exportAll=True, force=True,
                                 type="OBJexport"))
        assert numpy.array_equal(numpy.array(obj_points(written[-1])), hxnoise.points(blob))
    hxnoise.render(tmp_path / "blob.png", view="side", size=(400, 300))

    assert sorted(os.listdir(tmp_path)) == sorted([pathlib.Path(p).name for p in written] + ["blob.png"])
    assert obj_points(written[0]) == obj_points(hxnoise.example_mesh())  # no noise yet
    frames = [obj_points(path) for path in written]
    assert all(a != b for a, b in zip(frames, frames[1:]))
    assert cmds.getAttr(noise + ".oxNoiseOctaves", t=5) == 3  # 2.67 rounded
    assert cmds.currentTime(q=True) == 10.0


def test_the_readme_script_runs_as_a_program(tmp_path):
    example = pathlib.Path(os.environ["HXNOISE_SOURCE"]) / "examples" / "noise_sequence.py"
    (tmp_path / "out").mkdir()
    run = subprocess.run([sys.executable, str(example)], cwd=tmp_path, capture_output=True, text=True)
    assert (run.returncode, run.stderr) == (0, "")
    names = sorted(os.listdir(tmp_path / "out"))
    assert names == [f"blob.{frame:04d}.obj" for frame in range(1, 25)] + ["blob.png"]
    assert obj_points(tmp_path / "out" / "blob.0001.obj") != obj_points(tmp_path / "out" / "blob.0024.obj")
