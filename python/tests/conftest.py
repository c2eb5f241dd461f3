"""What the suites share: a fresh scene with the plug-in loaded for every test, the built
hxnoise tool run as a process, and the meshes in data/."""

import os
import pathlib
import shutil
import subprocess

import pytest

import hxnoise
from hxnoise import cmds

DATA = pathlib.Path(__file__).parent / "data"


@pytest.fixture(autouse=True)
def scene():
    """An empty scene at time 1 with linear keys and the hxNoise plug-in loaded."""
    cmds.file(new=True, force=True)
    hxnoise.set_tangents("linear")
    cmds.loadPlugin("hxNoise")
    yield


@pytest.fixture
def data(tmp_path):
    """A copy of data/ in the test's own folder, so that writing beside a mesh is safe."""
    folder = tmp_path / "data"
    shutil.copytree(DATA, folder)
    return folder


def run_tool(*args, cwd=None, check=True):
    """The built hxnoise tool, run as a user runs it."""
    run = subprocess.run([os.environ["HXNOISE_TOOL"], *map(str, args)], cwd=cwd, capture_output=True, text=True)
    if check and run.returncode != 0:
        raise AssertionError(f"hxnoise {' '.join(map(str, args))} failed ({run.returncode}): {run.stderr}")
    return run


def obj_vertices(path):
    """The numbers of every `v` line of an OBJ file, as written."""
    return [line for line in pathlib.Path(path).read_text().splitlines() if line.startswith("v ")]


def obj_points(path):
    """The `v` lines of an OBJ file as (x, y, z) floats."""
    return [tuple(float(n) for n in line.split()[1:4]) for line in obj_vertices(path)]
