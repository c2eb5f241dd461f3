"""hxnoise.cmds as a script uses it: each command with its positional arguments and its long
and short flags, what it answers, and how it refuses what it cannot do (a ValueError for a
name or value the script got wrong, a TypeError for an unknown flag, a RuntimeError with the
host's reason for what the scene refuses), leaving the scene as it was."""

import os
import shutil

import pytest

import hxnoise
from hxnoise import cmds


@pytest.fixture
def blob():
    """The example mesh with an hxNoise deformer: blob, hxNoise1, transform1, noiseLocator1."""
    cmds.file(hxnoise.example_mesh(), i=True)
    cmds.deformer("blob", type="hxNoise")
    return "blob"


class TestPlugins:
    def test_a_plugin_loads_by_name_once_and_answers_queries(self):
        assert cmds.loadPlugin("hxNoise") == ["hxNoise"]  # already loaded: left as it is
        assert cmds.pluginInfo("hxNoise", query=True, loaded=True)
        assert cmds.pluginInfo("hxNoise", q=True, v=True) == "3.0"
        assert cmds.pluginInfo("hxNoise", q=True, p=True) == os.path.join(hxnoise._hxnoise.plugin_folder(),
                                                                          "hxNoise.so")
        assert sorted(cmds.pluginInfo("hxNoise", q=True, dependNode=True)) == ["hxNoise", "noiseLocator"]
        assert cmds.pluginInfo(q=True, listPlugins=True) == ["hxNoise"]
        assert cmds.pluginInfo("noSuchPlugin", q=True, loaded=True) is False

    def test_a_name_is_searched_in_MAYA_PLUG_IN_PATH_first(self, tmp_path, monkeypatch):
        shutil.copy(os.path.join(hxnoise._hxnoise.plugin_folder(), "hxNoise.so"), tmp_path / "hxNoise.so")
        assert cmds.unloadPlugin("hxNoise") == ["hxNoise"]
        monkeypatch.setenv("MAYA_PLUG_IN_PATH", f"/nowhere::{tmp_path}")
        cmds.loadPlugin("hxNoise")
        assert cmds.pluginInfo("hxNoise", q=True, path=True) == str(tmp_path / "hxNoise.so")
        cmds.unloadPlugin("hxNoise")
        cmds.loadPlugin(str(tmp_path / "hxNoise.so"))  # by its file
        assert cmds.pluginInfo(str(tmp_path / "hxNoise.so"), q=True, loaded=True)
        cmds.unloadPlugin(str(tmp_path / "hxNoise.so"))  # the next test loads the installed one

    def test_a_plugin_whose_nodes_are_in_the_scene_stays_loaded(self, blob):
        with pytest.raises(RuntimeError, match="node 'noiseLocator1' of its type 'noiseLocator' is in the scene"):
            cmds.unloadPlugin("hxNoise")
        assert cmds.ls(type="hxNoise") == ["hxNoise1"]
        cmds.file(new=True, force=True)
        cmds.unloadPlugin("hxNoise")
        assert cmds.pluginInfo(q=True, ls=True) == []

    def test_what_cannot_be_loaded_or_asked_is_refused(self, tmp_path):
        (tmp_path / "notAPlugin.so").write_text("text")
        with pytest.raises(RuntimeError, match=r"cannot find the plug-in noSuchPlugin\.so in .*"
                                               r"\(MAYA_PLUG_IN_PATH is not set\)"):
            cmds.loadPlugin("noSuchPlugin")
        with pytest.raises(RuntimeError, match="cannot load plug-in 'notAPlugin'"):
            cmds.loadPlugin(str(tmp_path / "notAPlugin.so"))
        with pytest.raises(ValueError, match="is a directory"):
            cmds.loadPlugin(str(tmp_path))
        with pytest.raises(ValueError, match="must be a string"):
            cmds.loadPlugin(None)
        with pytest.raises(TypeError, match="invalid flag 'force'"):
            cmds.loadPlugin("hxNoise", force=True)
        with pytest.raises(RuntimeError, match="is not loaded"):
            cmds.unloadPlugin("noSuchPlugin")
        with pytest.raises(ValueError, match="query=True"):
            cmds.pluginInfo("hxNoise", version=True)
        with pytest.raises(ValueError, match="exactly one of the query flags"):
            cmds.pluginInfo("hxNoise", q=True, version=True, path=True)
        with pytest.raises(RuntimeError, match="plug-in 'noSuchPlugin' is not loaded"):
            cmds.pluginInfo("noSuchPlugin", q=True, version=True)
        assert cmds.pluginInfo(q=True, ls=True) == ["hxNoise"]


class TestNodes:
    def test_nodes_are_created_renamed_listed_and_deleted(self):
        shape = cmds.createNode("mesh")  # a shape gets a transform above it
        assert (shape, cmds.ls(type="transform")) == ("mesh1", ["transform1"])
        assert cmds.createNode("transform", name="rig", parent="transform1") == "rig"
        assert cmds.createNode("mesh", n="rigShape", p="rig") == "rigShape"
        assert cmds.ls() == ["transform1", "mesh1", "rig", "rigShape"]
        assert cmds.ls("rig*", "mesh?") == ["mesh1", "rig", "rigShape"]
        assert cmds.ls(shapes=True) == ["mesh1", "rigShape"]
        assert cmds.ls(typ=["transform"], tr=True) == ["transform1", "rig"]
        assert cmds.rename("rig", "arm") == "arm"
        cmds.delete("arm")  # with its shape
        assert cmds.ls() == ["transform1", "mesh1"]
        cmds.delete(["mesh1"], "transform1")
        assert cmds.ls() == []

    def test_the_deformer_command_returns_its_new_nodes_deformer_first(self):
        cmds.file(hxnoise.example_mesh(), i=True)
        assert cmds.deformer("blob", type="hxNoise") == ["hxNoise1", "blobShapeOrig", "transform1", "noiseLocator1"]
        # A second deformer on the same shape goes after the first one.
        assert cmds.deformer("blobShape", type="hxNoise", name="wobble") == ["wobble", "transform2", "noiseLocator2"]
        assert cmds.listConnections("wobble.input[0].inputGeometry") == ["hxNoise1"]
        assert cmds.ls(type="hxNoise") == ["hxNoise1", "wobble"]

    def test_what_the_scene_cannot_do_is_refused_and_changes_nothing(self, blob):
        before = cmds.ls()
        cases = [
            (RuntimeError, "unknown node type 'nope'", lambda: cmds.createNode("nope")),
            (RuntimeError, "'bad name' is not a valid node name", lambda: cmds.createNode("transform", n="bad name")),
            (RuntimeError, "a node named 'blob' already exists", lambda: cmds.createNode("transform", n="blob")),
            (RuntimeError, "'hxNoise1' is not a transform", lambda: cmds.createNode("mesh", parent="hxNoise1")),
            (ValueError, "no node named 'nothing'", lambda: cmds.createNode("mesh", parent="nothing")),
            (ValueError, "no node named 'blb'; did you mean blob", lambda: cmds.rename("blb", "x")),
            (RuntimeError, "'9x' is not a valid node name", lambda: cmds.rename("blob", "9x")),
            (RuntimeError, "a node named 'transform1' already exists", lambda: cmds.rename("blob", "transform1")),
            (ValueError, "no node named 'nothing'", lambda: cmds.delete("blob", "nothing")),
            (ValueError, "name the nodes to delete", lambda: cmds.delete()),
            (ValueError, "give the deformer's type", lambda: cmds.deformer("blob")),
            (ValueError, r"name one mesh to deform \(got 2\)", lambda: cmds.deformer("blob", "blob", type="hxNoise")),
            (RuntimeError, "'hxNoise1' is not a mesh", lambda: cmds.deformer("hxNoise1", type="hxNoise")),
            (RuntimeError, "'transform' is not a deformer type", lambda: cmds.deformer("blob", type="transform")),
            (RuntimeError, "has no mesh shape under it", lambda: cmds.deformer("transform1", type="hxNoise")),
            (RuntimeError, "a node named 'hxNoise1' already exists",
             lambda: cmds.deformer("blob", type="hxNoise", name="hxNoise1")),
            (RuntimeError, "'two words' is not a valid node name",
             lambda: cmds.deformer("blob", type="hxNoise", name="two words")),
            (TypeError, "createNode: invalid flag 'shared'", lambda: cmds.createNode("mesh", shared=True)),
            (TypeError, "flag 'name' given twice", lambda: cmds.createNode("mesh", name="a", n="b")),
            (ValueError, "must be a string, not int", lambda: cmds.ls(7)),
        ]
        for error, message, call in cases:
            with pytest.raises(error, match=message):
                call()
        assert cmds.ls() == before


class TestAttributes:
    def test_values_are_set_and_read_as_the_host_gives_them(self, blob):
        cmds.setAttr("hxNoise1.oyNoiseAmp", 0.5)
        cmds.setAttr("hxNoise1.xno", 6)  # a short name
        cmds.setAttr("transform1.translate", 1, 2, 3)
        cmds.setAttr("transform1.rotate", [0, 90, 0])
        cmds.setAttr("transform1.sx", True)
        assert cmds.getAttr("hxNoise1.oyNoiseAmp") == 0.5
        assert cmds.getAttr("hxNoise1.oxNoiseOctaves") == 6 and isinstance(cmds.getAttr("hxNoise1.xno"), int)
        assert cmds.getAttr("transform1.translate") == [(1.0, 2.0, 3.0)]
        assert cmds.getAttr("transform1.ry") == pytest.approx(90.0)  # degrees, as set
        assert cmds.getAttr("blobShapeOrig.intermediateObject") is True
        assert cmds.getAttr("transform1.matrix")[12:15] == [1.0, 2.0, 3.0]
        assert len(cmds.getAttr("noiseLocator1.oxCurvePoints")) == 30  # the locator's curve, evaluated
        assert [cmds.getAttr(p, type=True) for p in ("hxNoise1.xno", "hxNoise1.xna", "transform1.t",
                                                     "transform1.matrix", "noiseLocator1.oxCurvePoints")] == \
            ["long", "float", "double3", "matrix", "vectorArray"]
        cmds.setAttr("transform1.translate", 4, 5, 6, type="double3")

    def test_values_past_the_limits_are_clamped_with_a_warning(self, blob):
        with pytest.warns(hxnoise.HostWarning, match="11 is above the maximum 10; set to the maximum"):
            cmds.setAttr("hxNoise1.oxNoiseOctaves", 11)
        assert cmds.getAttr("hxNoise1.oxNoiseOctaves") == 10
        with pytest.warns(hxnoise.HostWarning, match="envelope has no effect"):
            cmds.setAttr("hxNoise1.envelope", 0.5)

    def test_a_value_the_attribute_cannot_take_is_refused(self, blob):
        cases = [
            (ValueError, "'2.5' is not an integer", lambda: cmds.setAttr("hxNoise1.oxNoiseOctaves", 2.5)),
            (ValueError, "must be a number, not 'a'", lambda: cmds.setAttr("hxNoise1.oxNoiseAmp", "a")),
            (ValueError, "must be a number, not None", lambda: cmds.setAttr("hxNoise1.oxNoiseAmp", None)),
            (ValueError, "must be finite numbers", lambda: cmds.setAttr("hxNoise1.oxNoiseAmp", float("nan"))),
            (ValueError, "too large for a float attribute", lambda: cmds.setAttr("hxNoise1.oxNoiseAmp", 1e39)),
            (ValueError, "give the value", lambda: cmds.setAttr("hxNoise1.oxNoiseAmp")),
            (ValueError, r"takes 3 values \(translateX, translateY, translateZ\), got 2",
             lambda: cmds.setAttr("transform1.translate", 1, 2)),
            (ValueError, "is of type double3, not matrix",
             lambda: cmds.setAttr("transform1.translate", 1, 2, 3, type="matrix")),
            (ValueError, "is not NODE.ATTRIBUTE", lambda: cmds.setAttr("hxNoise1", 1)),
            (ValueError, "did you mean oxNoiseAmp, oyNoiseAmp or ozNoiseAmp",
             lambda: cmds.setAttr("hxNoise1.oxNoisAmp", 1)),
            (ValueError, "no node named 'hxNoise2'; did you mean hxNoise1", lambda: cmds.getAttr("hxNoise2.xna")),
            (RuntimeError, "driven by noiseLocator1.oxCrvLenOut and cannot be set",
             lambda: cmds.setAttr("hxNoise1.oxLength", 1)),
            (RuntimeError, "is an output and cannot be set", lambda: cmds.setAttr("transform1.matrix", *range(16))),
            (RuntimeError, r"holds a mesh; read its points with hxnoise.points\('blobShape'\)",
             lambda: cmds.getAttr("blobShape.outMesh")),
            (RuntimeError, "outputGeometry\\[0\\] holds a mesh, which getAttr does not read",
             lambda: cmds.getAttr("hxNoise1.outputGeometry[0]")),
            (TypeError, "getAttr: invalid flag 'asString'", lambda: cmds.getAttr("hxNoise1.xna", asString=True)),
        ]
        for error, message, call in cases:
            with pytest.raises(error, match=message):
                call()
        assert cmds.getAttr("hxNoise1.oxNoiseAmp") == 0.0
        assert cmds.getAttr("transform1.translate") == [(0.0, 0.0, 0.0)]

    def test_attributes_are_described_from_the_hosts_registry(self, blob):
        query = cmds.attributeQuery
        assert query("oxNoiseOctaves", node="hxNoise1", maximum=True) == [10.0]
        assert query("xno", n="hxNoise1", min=True) == [1.0]
        assert query("oxNoiseOctaves", type="hxNoise", listDefault=True) == [4.0]
        assert query("oxNoiseAmp", node="hxNoise1", maxExists=True) is False
        assert query("oxNoiseAmp", node="hxNoise1", keyable=True) and query("xna", node="hxNoise1", s=True)
        assert query("xna", node="hxNoise1", longName=True) == "oxNoiseAmp"
        assert query("oxNoiseAmp", node="hxNoise1", shortName=True) == "xna"
        assert query("translate", node="transform1", listChildren=True) == ["translateX", "translateY", "translateZ"]
        assert query("tx", node="transform1", listParent=True) == ["translate"]
        assert query("translate", node="transform1", at=True) == "double3"
        assert query("oxNoiseSeed", node="hxNoise1", attributeType=True) == "long"
        assert query("oxNoisAmp", node="hxNoise1", exists=True) is False
        assert query("oxNoiseAmp", type="hxNoise", exists=True) is True
        assert "oyNoiseAmp" in cmds.listAttr("hxNoise1", keyable=True)
        assert cmds.listAttr("hxNoise1", st="o?NoiseAmp") == ["oxNoiseAmp", "oyNoiseAmp", "ozNoiseAmp"]
        assert cmds.listAttr("hxNoise1", st="?na", shortNames=True) == ["xna", "yna", "zna"]
        assert cmds.listAttr("hxNoise1", userDefined=True) is None  # None, as the host answers

    def test_a_question_that_has_no_answer_is_refused(self, blob):
        query = cmds.attributeQuery
        with pytest.raises(RuntimeError, match="oxNoiseAmp has no maximum"):
            query("oxNoiseAmp", node="hxNoise1", max=True)
        with pytest.raises(ValueError, match="did you mean oxNoiseOctaves"):
            query("oxNoisOctaves", node="hxNoise1", keyable=True)
        with pytest.raises(ValueError, match="no node named 'hxNoise7'"):
            query("oxNoiseAmp", node="hxNoise7", exists=True)
        with pytest.raises(ValueError, match="unknown node type 'hxNoize'"):
            query("oxNoiseAmp", type="hxNoize", exists=True)
        with pytest.raises(ValueError, match="no attribute 'nope' on node type 'hxNoise'"):
            query("nope", type="hxNoise", keyable=True)
        with pytest.raises(ValueError, match="give node= or type="):
            query("oxNoiseAmp", exists=True)
        with pytest.raises(ValueError, match="exactly one of the query flags"):
            query("oxNoiseAmp", node="hxNoise1")
        with pytest.raises(ValueError, match="no node named 'nothing'"):
            cmds.listAttr("nothing")


class TestConnections:
    def test_plugs_are_connected_listed_and_disconnected(self, blob):
        assert cmds.connectAttr("transform1.tx", "noiseLocator1.oxCrvLenIn") == \
            "Connected transform1.tx to noiseLocator1.oxCrvLenIn."
        cmds.setAttr("transform1.tx", 3)
        assert cmds.getAttr("hxNoise1.oxLength") == 3.0  # through the locator, to the deformer
        assert cmds.listConnections("noiseLocator1.oxCrvLenIn") == ["transform1"]
        assert cmds.listConnections("noiseLocator1.oxCrvLenIn", plugs=True, connections=True) == \
            ["noiseLocator1.oxCrvLenIn", "transform1.translate.translateX"]
        assert cmds.listConnections("transform1", source=False) == ["hxNoise1", "noiseLocator1"]
        assert cmds.listConnections("hxNoise1", d=False, type="mesh") == ["blobShapeOrig"]
        assert cmds.listConnections("hxNoise1", s=False, t="mesh", p=True) == ["blobShape.inMesh"]
        assert cmds.listConnections("blob") is None  # None, as the host answers

        with pytest.raises(RuntimeError, match="already has an incoming connection"):
            cmds.connectAttr("transform1.ty", "noiseLocator1.oxCrvLenIn")
        cmds.connectAttr("transform1.ty", "noiseLocator1.oxCrvLenIn", force=True)
        assert cmds.listConnections("noiseLocator1.oxCrvLenIn", p=True) == ["transform1.translate.translateY"]
        assert cmds.disconnectAttr("transform1.ty", "noiseLocator1.oxCrvLenIn") == \
            "Disconnect transform1.ty from noiseLocator1.oxCrvLenIn."
        assert cmds.listConnections("noiseLocator1.oxCrvLenIn") is None

    def test_what_cannot_be_connected_is_refused(self, blob):
        cases = [
            (RuntimeError, "type mismatch", lambda: cmds.connectAttr("transform1.matrix", "noiseLocator1.oxCrvLenIn")),
            (RuntimeError, "is not connected to", lambda: cmds.disconnectAttr("transform1.tx", "hxNoise1.xna")),
            (ValueError, "unknown attribute 'nope' on transform1",
             lambda: cmds.connectAttr("transform1.nope", "hxNoise1.xna")),
            (ValueError, "no node named 'nothing'", lambda: cmds.disconnectAttr("transform1.tx", "nothing.x")),
            (ValueError, "no node named 'nothing'", lambda: cmds.listConnections("nothing")),
            (TypeError, "invalid flag 'nextAvailable'",
             lambda: cmds.connectAttr("transform1.tx", "hxNoise1.xna", nextAvailable=True)),
        ]
        for error, message, call in cases:
            with pytest.raises(error, match=message):
                call()
        cmds.setKeyframe("hxNoise1.xna", t=1, v=0.5)
        with pytest.raises(RuntimeError, match="hxNoise1.oxNoiseAmp is keyed"):
            cmds.connectAttr("transform1.tx", "hxNoise1.xna", force=True)
        assert cmds.listConnections("hxNoise1.xna") is None
