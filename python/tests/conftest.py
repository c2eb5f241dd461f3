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


def without_recipe(path):
    """An OBJ file's bytes without the recipe comments the tool writes below its first line.

    The tool records how a file was made (its options, paths included) at the top of every OBJ;
    a script's export has no command line to record. What follows must match to the byte.
    """
    lines = pathlib.Path(path).read_bytes().splitlines(keepends=True)
    rest = 1
    while rest < len(lines) and lines[rest].startswith(b"#"):
        rest += 1
    return b"".join(lines[:1] + lines[rest:])


def png_without_text(path):
    """A PNG file's bytes without its text chunks (where the tool writes its recipe)."""
    data = pathlib.Path(path).read_bytes()
    kept, at = [data[:8]], 8
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        chunk = data[at:at + 12 + length]
        if chunk[4:8] not in (b"tEXt", b"iTXt", b"zTXt"):
            kept.append(chunk)
        at += 12 + length
    return b"".join(kept)


def obj_vertices(path):
    """The numbers of every `v` line of an OBJ file, as written."""
    return [line for line in pathlib.Path(path).read_text().splitlines() if line.startswith("v ")]


def obj_points(path):
    """The `v` lines of an OBJ file as (x, y, z) floats."""
    return [tuple(float(n) for n in line.split()[1:4]) for line in obj_vertices(path)]
