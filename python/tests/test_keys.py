"""Keys and time, with the tool's rules: keys on whole frames, one curve per number however
the attribute is named, linear or smooth between keys, held before the first and after the
last, integers rounded half away from zero, and two keys on one number at one frame refused."""

import pytest

import hxnoise
from hxnoise import cmds


@pytest.fixture(autouse=True)
def blob():
    cmds.file(hxnoise.example_mesh(), i=True)
    cmds.deformer("blob", type="hxNoise")


def values_at(plug, frames):
    found = []
    for frame in frames:
        cmds.currentTime(frame)
        found.append(cmds.getAttr(plug))
    return found


def test_a_number_runs_straight_between_its_keys_and_holds_beyond_them():
    assert cmds.setKeyframe("hxNoise1.oyNoiseAmp", t=10, v=1.0) == 1
    assert cmds.setKeyframe("hxNoise1.yna", time=20, value=0.5) == 1  # the short name: the same curve
    assert values_at("hxNoise1.oyNoiseAmp", [1, 10, 15, 20, 30]) == [1.0, 1.0, 0.75, 0.5, 0.5]
    assert cmds.currentTime(12.5) == 12.5 and cmds.getAttr("hxNoise1.oyNoiseAmp") == 0.875  # between frames
    assert cmds.currentTime(q=True) == 12.5
    assert hxnoise.keys() == ["hxNoise1.oyNoiseAmp@10=1", "hxNoise1.yna@20=0.5"]


def test_smooth_curves_ease_between_keys_without_overshooting_them():
    hxnoise.set_tangents("smooth")
    cmds.setKeyframe("transform1.tx", t=1, v=0)
    cmds.setKeyframe("transform1.tx", t=5, v=4)
    cmds.setKeyframe("transform1.tx", t=9, v=4.5)
    smooth = values_at("transform1.tx", range(1, 10))
    assert smooth[0] == 0 and smooth[4] == 4 and smooth[8] == 4.5
    assert all(a <= b for a, b in zip(smooth, smooth[1:]))  # rises as its keys do, never past them
    assert smooth[1] < 1.0  # eases out of the flat first key
    hxnoise.set_tangents("linear")
    assert values_at("transform1.tx", [2, 3]) == [1.0, 2.0]
    with pytest.raises(ValueError, match="tangents"):
        hxnoise.set_tangents("bouncy")


def test_integer_attributes_take_rounded_values_half_away_from_zero():
    cmds.setKeyframe("hxNoise1.oxNoiseSeed", t=1, v=0)
    cmds.setKeyframe("hxNoise1.oxNoiseSeed", t=3, v=3)
    assert values_at("hxNoise1.oxNoiseSeed", [1, 2, 3]) == [0, 2, 3]  # 1.5 is 2
    with pytest.raises(ValueError, match="'2.5' is not an integer"):
        cmds.setKeyframe("hxNoise1.oxNoiseSeed", t=5, v=2.5)


def test_a_compound_is_keyed_child_by_child_and_its_children_meet_on_the_same_curves():
    cmds.setAttr("transform1.translate", 1, 2, 3)
    assert cmds.setKeyframe("transform1.translate", t=1) == 3  # what it holds now
    assert cmds.setKeyframe("transform1", attribute=["tx", "tz"], t=11, v=0) == 2
    cmds.currentTime(6)
    assert cmds.getAttr("transform1.translate") == [(0.5, 2.0, 1.5)]
    with pytest.raises(ValueError, match=r"two keys on transform1\.translateX at frame 11: "
                                         r"transform1\.tx@11=0 and transform1\.translate@11=5,5,5"):
        cmds.setKeyframe("transform1.translate", t=11, v=5)
    assert len(hxnoise.keys()) == 3


def test_a_key_defaults_to_the_current_frame_and_value():
    cmds.setAttr("hxNoise1.oxNoiseFreq", 2.5)
    cmds.currentTime(7)
    cmds.setKeyframe("hxNoise1.oxNoiseFreq")
    assert hxnoise.keys() == ["hxNoise1.oxNoiseFreq@7=2.5"]
    cmds.currentTime(7.5)
    with pytest.raises(ValueError, match="the current time 7.5 is between frames"):
        cmds.setKeyframe("hxNoise1.oxNoiseFreq")


def test_a_set_value_holds_until_the_time_changes_and_getAttr_can_look_at_another_time():
    cmds.setKeyframe("hxNoise1.xna", t=1, v=0)
    cmds.setKeyframe("hxNoise1.xna", t=11, v=1)
    cmds.setAttr("hxNoise1.xna", 7)
    assert cmds.getAttr("hxNoise1.xna") == 7
    assert cmds.getAttr("hxNoise1.xna", time=6) == 0.5
    assert cmds.getAttr("hxNoise1.xna", t=11) == 1.0
    assert cmds.currentTime(q=True) == 1.0
    cmds.currentTime(1)
    assert cmds.getAttr("hxNoise1.xna") == 0.0
    # The deformed points follow the keys too, at any time asked.
    flat = hxnoise.points("blob")
    cmds.currentTime(11)
    assert (hxnoise.points("blob") != flat).any()


def test_keys_follow_a_renamed_node_and_go_with_a_deleted_one():
    cmds.setKeyframe("hxNoise1.xna", t=1, v=0.2)
    cmds.setKeyframe("transform1.ty", t=1, v=3)
    cmds.rename("hxNoise1", "wobble")
    assert hxnoise.keys() == ["wobble.xna@1=0.2", "transform1.ty@1=3"]
    cmds.setKeyframe("wobble.xna", t=5, v=0.4)
    assert cmds.getAttr("wobble.xna", t=3) == pytest.approx(0.3)
    cmds.delete("transform1")  # with noiseLocator1
    assert hxnoise.keys() == ["wobble.xna@1=0.2", "wobble.xna@5=0.4"]
    cmds.currentTime(3)  # nothing left pointing at the deleted nodes
    cmds.file(new=True, force=True)
    assert hxnoise.keys() == [] and cmds.currentTime(q=True) == 1.0


def test_what_cannot_be_keyed_is_refused_and_leaves_the_keys_as_they_were():
    cmds.setKeyframe("hxNoise1.xna", t=1, v=0.5)
    cases = [
        (RuntimeError, "cannot key hxNoise1.oxLength: hxNoise1.oxLength is driven by noiseLocator1.oxCrvLenOut",
         lambda: cmds.setKeyframe("hxNoise1.oxLength", t=1)),
        (ValueError, r"transform1.matrix \(matrix\) cannot be keyed", lambda: cmds.setKeyframe("transform1.matrix")),
        (ValueError, "two keys on hxNoise1.oxNoiseAmp at frame 1",
         lambda: cmds.setKeyframe("hxNoise1.oxNoiseAmp", t=1, v=0.7)),
        (ValueError, "1.5 is not a whole frame", lambda: cmds.setKeyframe("hxNoise1.xna", t=1.5)),
        (ValueError, "is outside -9999999..9999999", lambda: cmds.setKeyframe("hxNoise1.xna", t=1e12)),
        (ValueError, "nan is not a whole frame", lambda: cmds.setKeyframe("hxNoise1.xna", t=float("nan"))),
        (ValueError, "must be a number, not 'x'", lambda: cmds.setKeyframe("hxNoise1.xna", t=2, v="x")),
        (ValueError, "must be a finite number", lambda: cmds.setKeyframe("hxNoise1.xna", t=2, v=float("inf"))),
        (ValueError, "too large for a float attribute", lambda: cmds.setKeyframe("hxNoise1.xna", t=2, v=1e39)),
        (ValueError, "name the attribute of hxNoise1 to key", lambda: cmds.setKeyframe("hxNoise1", t=2)),
        (ValueError, "name the attribute to key", lambda: cmds.setKeyframe(t=2)),
        (ValueError, "no node named 'hxNoise9'", lambda: cmds.setKeyframe("hxNoise9.xna", t=2)),
        (ValueError, "array elements", lambda: cmds.setKeyframe("hxNoise1.input[0].groupId", t=2)),
        (TypeError, "invalid flag 'inTangentType'", lambda: cmds.setKeyframe("hxNoise1.xna", inTangentType="linear")),
        (ValueError, "must be a number, not 'ten'", lambda: cmds.currentTime("ten")),
        (ValueError, "the time must be a finite number", lambda: cmds.currentTime(float("inf"))),
        (ValueError, "give the time to go to", lambda: cmds.currentTime()),
        (ValueError, "query=True takes no time", lambda: cmds.currentTime(3, q=True)),
        (ValueError, "the time must be a finite number", lambda: cmds.getAttr("hxNoise1.xna", t=float("nan"))),
    ]
    for error, message, call in cases:
        with pytest.raises(error, match=message):
            call()
    assert hxnoise.keys() == ["hxNoise1.xna@1=0.5"]
    assert cmds.getAttr("hxNoise1.oxLength") == 1.0 and cmds.currentTime(q=True) == 1.0
