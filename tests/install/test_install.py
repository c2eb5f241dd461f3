"""hxnoise installed as a user installs it: `cmake --install build --prefix P`, then the tree
moved elsewhere, so that nothing in it can lean on the build tree or on where it was put. The
tool and the Python module run from there find the plug-in and the example through the layout,
or through MAYA_PLUG_IN_PATH once the layout's plug-in is gone, and never anywhere else. The
Debian package holds the same layout under /usr."""

import os
import pathlib
import shutil
import subprocess
import sys

import pytest

BUILD = pathlib.Path(os.environ["HXNOISE_BUILD"])
PYTHON_DIR = os.environ["HX_PYTHON_DIR"]
LAYOUT = ["bin/hxnoise", "lib/hxnoise/libhxhost.so", "lib/hxnoise/plug-ins/hxNoise.so",
          f"{PYTHON_DIR}/hxnoise/__init__.py", f"{PYTHON_DIR}/hxnoise/cmds.py",
          "share/hxnoise/examples/blob.obj", "share/doc/hxnoise/README.md"]
SCRIPT = """
import hxnoise
from hxnoise import cmds
cmds.loadPlugin('hxNoise')
print(hxnoise.__file__)
print(cmds.pluginInfo('hxNoise', q=True, path=True))
print(hxnoise.example_mesh())
cmds.file(hxnoise.example_mesh(), i=True)
cmds.deformer('blob', type='hxNoise')
cmds.setAttr('hxNoise1.oyNoiseAmp', 0.5)
cmds.file('module.obj', exportAll=True)
"""


def clean_environment(**extra):
    """The environment of a user who installed hxnoise: no build paths, no plug-in path."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("PYTHONPATH", "LD_LIBRARY_PATH", "MAYA_PLUG_IN_PATH", "HXNOISE_TOOL")}
    env.update(extra)
    return env


def run(command, cwd, **extra):
    return subprocess.run([str(c) for c in command], cwd=cwd, capture_output=True, text=True,
                          env=clean_environment(**extra))


def run_module(prefix, cwd, **extra):
    return run([sys.executable, "-c", SCRIPT], cwd, PYTHONPATH=str(prefix / PYTHON_DIR), **extra)


@pytest.fixture(scope="module")
def installed(tmp_path_factory):
    """The installed tree, moved away from the prefix it was installed to."""
    root = tmp_path_factory.mktemp("install")
    done = subprocess.run([os.environ["CMAKE_COMMAND"], "--install", str(BUILD), "--prefix", str(root / "prefix")],
                          capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    shutil.move(root / "prefix", root / "moved")
    return root / "moved"


def test_the_tree_holds_the_layout_and_points_only_inside_itself(installed):
    for path in LAYOUT:
        assert (installed / path).is_file(), path
    modules = list((installed / PYTHON_DIR / "hxnoise").glob("_hxnoise*.so"))
    assert len(modules) == 1
    for binary, runpath in [("bin/hxnoise", "$ORIGIN/../lib/hxnoise"),
                            ("lib/hxnoise/plug-ins/hxNoise.so", "$ORIGIN/.."),
                            (modules[0], "$ORIGIN/../../../hxnoise")]:
        dynamic = subprocess.run(["readelf", "-d", str(installed / binary)], capture_output=True, text=True).stdout
        assert f"[{runpath}" in dynamic, (binary, dynamic)
        assert str(BUILD) not in dynamic


def without_recipe(path):
    """An OBJ file's bytes without the recipe comments (paths included) below its first line."""
    lines = path.read_bytes().splitlines(keepends=True)
    rest = 1
    while rest < len(lines) and lines[rest].startswith(b"#"):
        rest += 1
    return b"".join(lines[:1] + lines[rest:])


def test_the_installed_tool_and_module_use_their_own_plugin_and_example(installed, tmp_path):
    tool = run([installed / "bin/hxnoise", "deform", "-o", "tool.obj", "--set", "hxNoise1.oyNoiseAmp=0.5"], tmp_path)
    assert tool.returncode == 0, tool.stderr
    assert f"read {installed}/share/hxnoise/examples/blob.obj (the bundled example)" in tool.stdout

    module = run_module(installed, tmp_path)
    assert module.returncode == 0, module.stderr
    assert module.stdout.splitlines() == [f"{installed}/{PYTHON_DIR}/hxnoise/__init__.py",
                                          f"{installed}/lib/hxnoise/plug-ins/hxNoise.so",
                                          f"{installed}/share/hxnoise/examples/blob.obj"]
    assert without_recipe(tmp_path / "module.obj") == without_recipe(tmp_path / "tool.obj")

    # The same as the build tree's tool gives.
    built = run([BUILD / "tools/hxnoise", "deform", "-o", "built.obj", "--set", "hxNoise1.oyNoiseAmp=0.5"], tmp_path)
    assert without_recipe(tmp_path / "built.obj") == without_recipe(tmp_path / "tool.obj"), built.stderr


def test_without_the_layouts_plugin_only_MAYA_PLUG_IN_PATH_is_searched(installed, tmp_path):
    plugins = tmp_path / "plugins"
    plugins.mkdir()
    shutil.move(installed / "lib/hxnoise/plug-ins/hxNoise.so", plugins / "hxNoise.so")
    try:
        tool = run([installed / "bin/hxnoise", "deform", "-o", "a.obj"], tmp_path)
        assert (tool.returncode, tool.stderr) == (
            1, f"hxnoise: cannot find the plug-in: no hxNoise.so in {installed}/lib/hxnoise/plug-ins and "
               "MAYA_PLUG_IN_PATH is not set; name it with --plugin PATH\n")
        named = run([installed / "bin/hxnoise", "deform", "-o", "a.obj", "--plugin", "hxNoise"], tmp_path)
        assert named.returncode == 1 and "cannot find the plug-in hxNoise.so in" in named.stderr
        module = run_module(installed, tmp_path)
        assert module.returncode == 1 and "RuntimeError: cannot find the plug-in hxNoise.so in " \
                                          f"{installed}/lib/hxnoise/plug-ins (MAYA_PLUG_IN_PATH is not set)" \
                                          in module.stderr

        search = {"MAYA_PLUG_IN_PATH": f"{tmp_path}/nowhere:{plugins}"}
        for arguments in [[], ["--plugin", "hxNoise"]]:
            tool = run([installed / "bin/hxnoise", "deform", "-o", "a.obj", *arguments], tmp_path, **search)
            assert tool.returncode == 0, tool.stderr
        module = run_module(installed, tmp_path, **search)
        assert module.returncode == 0, module.stderr
        assert module.stdout.splitlines()[1] == f"{plugins}/hxNoise.so"
    finally:
        shutil.move(plugins / "hxNoise.so", installed / "lib/hxnoise/plug-ins/hxNoise.so")


def test_the_debian_package_holds_the_layout_under_usr(tmp_path):
    made = subprocess.run([os.environ["CPACK_COMMAND"], "-G", "DEB", "-B", str(tmp_path / "package"),
                           "--config", str(BUILD / "CPackConfig.cmake")], capture_output=True, text=True)
    assert made.returncode == 0, made.stdout + made.stderr
    packages = list((tmp_path / "package").glob("hxnoise_*_amd64.deb"))
    assert len(packages) == 1
    listing = subprocess.run(["dpkg-deb", "-c", str(packages[0])], capture_output=True, text=True).stdout
    for path in LAYOUT:
        assert f" ./usr/{path}\n" in listing, path
    fields = subprocess.run(["dpkg-deb", "-f", str(packages[0]), "Package", "Version", "Depends"],
                            capture_output=True, text=True).stdout
    assert "Package: hxnoise\n" in fields and "Version: 3.0\n" in fields
    python = f"python3 (>= {sys.version_info.major}.{sys.version_info.minor})"
    for dependency in [python, "python3-numpy", "libassimp5", "libosmesa6", "libpng16-16"]:
        assert dependency in fields, fields

    # Unpacked anywhere, the package's tree runs as an installed one does.
    subprocess.run(["dpkg-deb", "-x", str(packages[0]), str(tmp_path / "root")], check=True)
    tool = run([tmp_path / "root/usr/bin/hxnoise", "deform", "-o", "a.obj"], tmp_path)
    assert tool.returncode == 0, tool.stderr
    assert (tmp_path / "a.obj").stat().st_size > 0
