"""Points as NumPy arrays: hxnoise.points gives a mesh's evaluated points as a new (N, 3)
float64 array; hxnoise.set_points takes one, checked for its shape, type and finiteness, and
on a deformed mesh hands it to the geometry the deformer reads."""

import numpy
import pytest

import hxnoise
from hxnoise import cmds


@pytest.fixture
def tet(data):
    cmds.file(str(data / "tet.obj"), i=True)
    return "tet"


def test_points_are_a_new_float64_array_of_the_evaluated_mesh(tet):
    points = hxnoise.points(tet)
    assert points.shape == (4, 3) and points.dtype == numpy.float64
    points[0] = 9  # a copy: the mesh keeps its points
    assert hxnoise.points("tetShape")[0].tolist() == [0, 0, 0]
    hxnoise.set_points(tet, hxnoise.points(tet) * 0.3 + 0.1)  # off the noise's lattice, where it is 0
    cmds.deformer(tet, type="hxNoise")
    cmds.setAttr("hxNoise1.oxNoiseAmp", 0.5)
    moved = hxnoise.points(tet)
    assert not numpy.array_equal(moved, hxnoise.points("tetShapeOrig"))
    assert numpy.array_equal(moved[:, 1:], hxnoise.points("tetShapeOrig")[:, 1:])  # only x moves


def test_new_points_go_before_the_deformer(tet):
    cmds.deformer(tet, type="hxNoise")
    raised = hxnoise.points(tet) + [0.25, 2.5, 0.125]
    hxnoise.set_points(tet, raised)
    assert numpy.array_equal(hxnoise.points("tetShapeOrig"), raised)
    assert numpy.array_equal(hxnoise.points(tet), raised)  # the amplitudes are 0 by default
    cmds.setAttr("hxNoise1.oyNoiseAmp", 0.3)
    assert not numpy.array_equal(hxnoise.points(tet), raised)  # and the noise moves them from there
    hxnoise.set_points("tetShape", [[0, 0, 0], [1, 0, 0], [0, 1, 0], [0, 0, 1]])  # lists, whole numbers
    hxnoise.set_points(tet, numpy.zeros((4, 3), dtype=numpy.float32))
    assert not hxnoise.points("tetShapeOrig").any()


def test_points_that_do_not_fit_the_mesh_are_refused_and_change_nothing(tet):
    before = hxnoise.points(tet)
    cases = [
        (r"shape \(N, 3\), not \(4, 2\)", numpy.zeros((4, 2))),
        (r"shape \(N, 3\), not \(12,\)", numpy.zeros(12)),
        (r"shape \(N, 3\), not \(1, 4, 3\)", numpy.zeros((1, 4, 3))),
        ("tetShape has 4 points, got 5", numpy.zeros((5, 3))),
        ("real numbers, not an array of dtype <U1", [["a", "b", "c"]] * 4),
        ("real numbers, not an array of dtype complex128", numpy.zeros((4, 3), dtype=complex)),
        ("real numbers, not an array of dtype bool", numpy.zeros((4, 3), dtype=bool)),
        ("real numbers, not an array of dtype object", numpy.array([[None] * 3] * 4)),
        ("must be finite numbers", numpy.full((4, 3), numpy.nan)),
        ("must be finite numbers", numpy.array([[0, 0, numpy.inf]] * 4)),
    ]
    for message, array in cases:
        with pytest.raises(ValueError, match=message):
            hxnoise.set_points(tet, array)
    with pytest.raises(ValueError, match="no node named 'tett'; did you mean tet"):
        hxnoise.points("tett")
    with pytest.raises(ValueError, match="'transform1' has no mesh shape under it|no node named 'transform1'"):
        hxnoise.set_points("transform1", before)
    cmds.createNode("transform", name="empty")
    with pytest.raises(ValueError, match="transform 'empty' has no mesh shape under it"):
        hxnoise.points("empty")
    with pytest.raises(ValueError, match="must be a string"):
        hxnoise.points(None)
    # The C++ half checks as much, for a script that calls it directly.
    with pytest.raises(ValueError, match=r"shape \(N, 3\)"):
        hxnoise._hxnoise.set_points(tet, numpy.zeros((4, 2)))
    with pytest.raises(ValueError, match="must be finite"):
        hxnoise._hxnoise.set_points(tet, numpy.full((4, 3), numpy.inf))
    with pytest.raises(TypeError):
        hxnoise._hxnoise.set_points(tet, "points")
    assert numpy.array_equal(hxnoise.points(tet), before)
