"""Meshes in and out through cmds.file, and the viewport picture through hxnoise.render: the
tool's readers, writers, output checks and renderer, so a file appears whole or not at all,
never over a file the scene came from, and an existing one only with force=True."""

import os
import struct

import pytest

import hxnoise
from hxnoise import cmds

from conftest import obj_points, png_without_text, run_tool


def test_an_imported_mesh_is_named_as_the_tool_names_it(data):
    assert cmds.file(str(data / "box.obj"), i=True, returnNewNodes=True) == ["box", "boxShape"]
    assert cmds.file(str(data / "box.obj"), i=True, rnn=True) == ["box1", "box1Shape"]  # a free name
    assert cmds.file(str(data / "tet.obj"), i=True) == str(data / "tet.obj")  # no o line: the file's name
    assert cmds.ls(type="mesh") == ["boxShape", "box1Shape", "tetShape"]
    assert hxnoise.points("tet").tolist() == [[0, 0, 0], [1, 0, 0], [0, 1, 0], [0, 0, 1]]


def test_other_formats_are_read_and_written_through_the_tools_mesh_layer(data):
    (data / "quad.ply").write_text("ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
                                   "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
                                   "end_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n")
    transform, shape = cmds.file(str(data / "quad.ply"), i=True, rnn=True)
    assert hxnoise.points(transform).tolist() == [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0]]
    with pytest.warns(hxnoise.HostWarning, match="1 faces with more than 3 corners are split into triangles"):
        cmds.file(str(data / "quad.stl"), exportAll=True, type="STL")
    assert struct.unpack_from("<I", (data / "quad.stl").read_bytes(), 80)[0] == 2  # two triangles
    with pytest.warns(hxnoise.HostWarning, match="groups, materials and smoothing groups are not kept"):
        cmds.file(str(data / "tet.obj"), i=True)
        cmds.file(str(data / "box.obj"), i=True)
        cmds.file(str(data / "all.glb"), ea=True)
    assert (data / "all.glb").read_bytes()[:4] == b"glTF"


def test_every_visible_mesh_is_written_in_world_space_as_one_file(data):
    cmds.file(str(data / "tet.obj"), i=True)
    cmds.file(str(data / "box.obj"), i=True)
    cmds.file(str(data / "box.obj"), i=True)
    cmds.deformer("box", type="hxNoise")
    cmds.setAttr("tet.translate", 10, 0, 0)
    cmds.file(str(data / "all.obj"), exportAll=True)
    text = (data / "all.obj").read_text()
    assert [line for line in text.splitlines() if line.startswith("o ")] == ["o tet", "o box", "o box1"]
    assert text.count("\nf ") == 4 + 6 + 6 and text.count("\nmtllib ") == 1
    assert obj_points(data / "all.obj")[:4] == [(10, 0, 0), (11, 0, 0), (10, 1, 0), (10, 0, 1)]
    # Each box's corners past the points, texture coordinates and normals before them.
    assert "\nf 5/1/1 6/2/1 8/4/1 7/3/1\n" in text and "\nf 13/5/7 14/6/7 16/8/7 15/7/7\n" in text
    assert not [name for name in os.listdir(data) if ".tmp-" in name]


def test_a_mesh_written_elsewhere_keeps_its_material_library(data, tmp_path, capsys):
    cmds.file(str(data / "box.obj"), i=True)
    (tmp_path / "out").mkdir()
    cmds.file(str(tmp_path / "out" / "box.obj"), exportAll=True)
    assert "mtllib ../data/box.mtl\n" in (tmp_path / "out" / "box.obj").read_text()
    assert "mtllib box.mtl is written as ../data/box.mtl" in capsys.readouterr().out


def test_no_file_is_written_over_without_force_nor_ever_over_what_the_scene_came_from(data):
    cmds.file(str(data / "box.obj"), i=True)
    cmds.file(str(data / "out.obj"), exportAll=True)
    written = (data / "out.obj").read_bytes()
    cmds.setAttr("box.translateX", 5)
    with pytest.raises(RuntimeError, match="out.obj already exists; pass force=True to replace it"):
        cmds.file(str(data / "out.obj"), exportAll=True)
    assert (data / "out.obj").read_bytes() == written
    cmds.file(str(data / "out.obj"), exportAll=True, force=True)
    assert (data / "out.obj").read_bytes() != written

    os.symlink(data / "box.obj", data / "link.obj")
    os.symlink(hxnoise.cmds.pluginInfo("hxNoise", q=True, path=True), data / "plugin.obj")
    source = (data / "box.obj").read_bytes()
    with pytest.raises(ValueError, match=r"box.obj is the mesh file .*box.obj; write the output to a new file"):
        cmds.file(str(data / "box.obj"), exportAll=True, force=True)
    with pytest.raises(ValueError, match=r"link.obj is the mesh file .*box.obj"):
        cmds.file(str(data / "link.obj"), exportAll=True, force=True)
    with pytest.raises(ValueError, match=r"plugin.obj is the plug-in .*hxNoise.so"):
        cmds.file(str(data / "plugin.obj"), exportAll=True, force=True)
    assert (data / "box.obj").read_bytes() == source


def test_a_file_that_cannot_be_read_or_written_is_refused_in_one_line(data):
    (data / "broken.obj").write_text("v 0 0 0\nf 1 2 3\n")
    os.mkdir(data / "folder.obj")
    cases = [
        (RuntimeError, "nothing.obj: No such file or directory", lambda: cmds.file(str(data / "nothing.obj"), i=True)),
        (RuntimeError, "broken.obj:2: face names vertex 3 but the file has only 1",
         lambda: cmds.file(str(data / "broken.obj"), i=True)),
        (ValueError, "unknown mesh format '.xyz'", lambda: cmds.file(str(data / "mesh.xyz"), i=True)),
        (RuntimeError, "the scene has no mesh to write", lambda: cmds.file(str(data / "empty.obj"), ea=True)),
    ]
    for error, message, call in cases:
        with pytest.raises(error, match=message):
            call()
    cmds.file(str(data / "tet.obj"), i=True)
    cases = [
        (ValueError, "FBX files are read, not written", lambda: cmds.file(str(data / "out.fbx"), ea=True)),
        (ValueError, "type 'OBJexport' does not match .*out.ply, which names a PLY file",
         lambda: cmds.file(str(data / "out.ply"), ea=True, type="OBJexport")),
        (RuntimeError, "directory .*nowhere does not exist", lambda: cmds.file(str(data / "nowhere/out.obj"), ea=True)),
        (RuntimeError, "folder.obj: it is a directory", lambda: cmds.file(str(data / "folder.obj"), ea=True, f=True)),
        (ValueError, "give one of i=True", lambda: cmds.file(str(data / "out.obj"))),
        (ValueError, "give one of i=True", lambda: cmds.file(str(data / "out.obj"), i=True, exportAll=True)),
        (ValueError, "new=True takes no path", lambda: cmds.file(str(data / "out.obj"), new=True)),
        (ValueError, "the path is empty", lambda: cmds.file("", exportAll=True)),
        (ValueError, "name the file to write", lambda: cmds.file("-", exportAll=True)),
        (TypeError, "invalid flag 'options'", lambda: cmds.file(str(data / "o.obj"), ea=True, options="v=0")),
    ]
    for error, message, call in cases:
        with pytest.raises(error, match=message):
            call()
    assert sorted(os.listdir(data)) == ["box.mtl", "box.obj", "broken.obj", "folder.obj", "tet.obj"]
    assert cmds.ls(type="mesh") == ["tetShape"]


def test_the_picture_is_the_tools_to_the_byte(tmp_path):
    # The tool's display lists the values it set, which a script's scene has no record of.
    run_tool("deform", "--render", tmp_path / "tool.png", "--size", "320x240", "--view", "front", "--hud", "off",
             "--set", "hxNoise1.oyNoiseAmp=0.5", "--set", "noiseLocator1.oxCrvLenIn=4")
    cmds.file(hxnoise.example_mesh(), i=True)
    cmds.deformer("blob", type="hxNoise")
    cmds.setAttr("hxNoise1.oyNoiseAmp", 0.5)
    cmds.setAttr("noiseLocator1.oxCrvLenIn", 4)
    assert hxnoise.render(str(tmp_path / "python.png"), view="front", size=(320, 240), hud=False) == \
        str(tmp_path / "python.png")
    assert png_without_text(tmp_path / "python.png") == png_without_text(tmp_path / "tool.png")
    hxnoise.render(tmp_path / "small.png", size="64x48")
    assert struct.unpack(">II", (tmp_path / "small.png").read_bytes()[16:24]) == (64, 48)


def test_a_picture_that_cannot_be_drawn_is_refused(data, tmp_path):
    with pytest.raises(RuntimeError, match="the scene has no mesh to draw"):
        hxnoise.render(tmp_path / "r.png")
    cmds.file(str(data / "tet.obj"), i=True)
    cmds.file(str(data / "box.obj"), i=True)
    cases = [
        (r"the scene has 2 meshes \(tetShape, boxShape\); name the one to draw", dict()),
        ("pictures are written as PNG; name the file with .png instead of .jpg", dict(path="r.jpg", shape="box")),
        ("view 'iso' is not persp, top, front or side", dict(view="iso", shape="box")),
        ("size 0x5 is not a picture's size", dict(size=(0, 5), shape="box")),
        ("size 9000x10 is outside 1..8192 on a side", dict(size=(9000, 10), shape="box")),
        ("size 'big' is not WIDTHxHEIGHT", dict(size="big", shape="box")),
        (r"size must be \(width, height\) in whole pixels", dict(size=(1.5, 2), shape="box")),
        ("'hxNoise1' is a hxNoise, not a mesh", dict(shape="hxNoise1")),
        ("is the mesh file", dict(path=str(data / "box.png"), shape="box")),
    ]
    cmds.deformer("box", type="hxNoise")
    os.symlink(data / "box.obj", data / "box.png")
    for message, arguments in cases:
        path = arguments.pop("path", str(tmp_path / "r.png"))
        with pytest.raises(ValueError, match=message):
            hxnoise.render(path, **arguments)
    assert os.listdir(tmp_path) == ["data"]
