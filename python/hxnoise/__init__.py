"""hxNoise for scripts: the stand-in host with the hxNoise deformer, driven headless in the
host's own command words (hxnoise.cmds), plus what the host's words do not say:

    import hxnoise
    from hxnoise import cmds

    cmds.loadPlugin('hxNoise')
    cmds.file(hxnoise.example_mesh(), i=True)
    noise = cmds.deformer('blob', type='hxNoise')[0]
    cmds.setAttr(noise + '.oyNoiseAmp', 0.5)
    points = hxnoise.points('blob')          # (N, 3) float64, deformed
    hxnoise.render('blob.png', view='persp', size=(800, 600))

The scene is the process's one host, as in the host itself. Errors are ValueError (a name or
value the script got wrong) or RuntimeError (what the scene, a plug-in or a file refused),
each with a one-line reason; warnings come as HostWarning.
"""

import atexit

import numpy

from . import _hxnoise as _hx
from ._flags import HostWarning, report, text

__version__ = _hx.version()
__all__ = ["cmds", "points", "set_points", "render", "example_mesh", "set_tangents", "tangents", "keys",
           "HostWarning"]


def points(shape):
    """The evaluated (deformed) points of a mesh shape, or of the mesh under a transform, as
    a new (N, 3) float64 array in the shape's object space."""
    return _hx.points(text(shape, "points: the shape"))


def set_points(shape, array):
    """Gives a mesh new points: an (N, 3) array of real numbers, all finite, N the mesh's
    vertex count. On a deformed shape the points go to the geometry its deformer reads, so
    points(shape) then gives them deformed."""
    shape = text(shape, "set_points: the shape")
    given = numpy.asarray(array)
    if given.dtype.kind not in "fiu":
        raise ValueError(f"set_points: points must be real numbers, not an array of dtype {given.dtype}")
    if given.ndim != 2 or given.shape[1] != 3:
        raise ValueError(f"set_points: points must be an array of shape (N, 3), not {given.shape}")
    if given.dtype.kind == "f" and not numpy.isfinite(given).all():
        raise ValueError("set_points: points must be finite numbers")
    _hx.set_points(shape, numpy.ascontiguousarray(given, dtype=numpy.float64))


def render(path, view="persp", size=(640, 480), shape=None, hud=True, shading="auto"):
    """Writes the viewport picture to a PNG file, as the tool's --render: the grid, the mesh
    shaded with its wireframe, then each locator's own draw. view: persp, top, front or side;
    size: (width, height) or "WxH"; shape: the mesh to draw, when the scene has several;
    hud: the heads-up display (as --hud on|off); shading: auto, smooth, wire or both."""
    path = text(path, "render: the path")
    if isinstance(size, str):
        parts = size.lower().split("x")
        if len(parts) != 2 or not all(p.isdigit() for p in parts):
            raise ValueError(f"render: size '{size}' is not WIDTHxHEIGHT, e.g. 800x600")
        size = (int(parts[0]), int(parts[1]))
    if not isinstance(size, (tuple, list)) or len(size) != 2 or not all(
            isinstance(side, int) and not isinstance(side, bool) for side in size):
        raise ValueError(f"render: size must be (width, height) in whole pixels, not {size!r}")
    if not all(1 <= side <= 1 << 20 for side in size):
        raise ValueError(f"render: size {size[0]}x{size[1]} is not a picture's size")
    shape = text(shape, "render: shape") if shape is not None else ""
    if not isinstance(hud, bool):
        raise ValueError(f"render: hud must be True or False, not {hud!r}")
    report(_hx.render(path, text(view, "render: view"), size[0], size[1], shape, hud,
                      text(shading, "render: shading")))
    return path


def example_mesh():
    """The bundled example mesh, blob.obj (3,950 vertices), where the install keeps it."""
    return _hx.example_mesh()


def set_tangents(name):
    """How every key curve runs between keys, as the tool's --tangents: "linear" (the
    default) or "smooth" (monotone cubic: no overshoot between keys)."""
    _hx.set_tangents(text(name, "set_tangents: the tangents"))


def tangents():
    """"linear" or "smooth"."""
    return _hx.tangents()


def keys():
    """Every key of the scene as the tool's recipes write them, "hxNoise1.oxNoiseAmp@10=0.5"."""
    return _hx.keys()


# The scene empties before the interpreter ends, while the plug-ins' code is still loaded.
atexit.register(_hx.shutdown)

from . import cmds  # noqa: E402  (after the names cmds' docstrings point at)
