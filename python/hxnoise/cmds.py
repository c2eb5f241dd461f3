"""The host's command words over the stand-in host, so that a rig or test script reads here
as it reads in the host:

    from hxnoise import cmds
    cmds.loadPlugin('hxNoise')
    blob, shape = cmds.file('blob.obj', i=True, returnNewNodes=True)
    noise = cmds.deformer(blob, type='hxNoise')[0]
    cmds.setAttr(noise + '.oyNoiseAmp', 0.5)
    cmds.setKeyframe(noise + '.oyNoiseSeed', t=1, v=0)
    cmds.file('out.obj', exportAll=True, force=True, type='OBJexport')

Positional arguments and flags (long or short names) are the host's. A mistake in what a
script names or types is a ValueError, an unknown flag a TypeError, and what the scene, a
plug-in or a file refuses a RuntimeError, each with a one-line reason. Warnings (a value
clamped to an attribute's limits) come as hxnoise.HostWarning. As in the host, listAttr and
listConnections answer None rather than an empty list.
"""

import fnmatch

from . import _hxnoise as _hx
from ._flags import flags, names, number, numbers_in, report, text, whole_frame

__all__ = [
    "loadPlugin", "unloadPlugin", "pluginInfo", "createNode", "delete", "rename", "ls", "listAttr",
    "attributeQuery", "getAttr", "setAttr", "connectAttr", "disconnectAttr", "listConnections", "deformer",
    "file", "setKeyframe", "currentTime",
]

# The host's names for value types, where ours differ.
_HOST_TYPE_NAMES = {"int": "long", "int2": "long2", "int3": "long3", "floatMatrix": "fltMatrix"}
_WHOLE_NUMBER_TYPES = ("byte", "char", "short", "int")


def _host_type(attribute):
    if attribute["kind"] == "typed":
        return attribute["valueType"]
    if attribute["kind"] == "compound" and attribute["valueType"] == "compound":
        return "TdataCompound"
    return _HOST_TYPE_NAMES.get(attribute["valueType"], attribute["valueType"])


def _one_query(command, chosen, queries):
    asked = [name for name in queries if chosen.get(name)]
    if len(asked) != 1:
        raise ValueError(f"{command}: give exactly one of the query flags {', '.join(queries)}"
                         + (f" (got {', '.join(asked)})" if asked else ""))
    return asked[0]


# ---- plug-ins ------------------------------------------------------------------------------

def loadPlugin(plugin, **kwargs):
    """Loads a plug-in by name (searched in MAYA_PLUG_IN_PATH, then the installed plug-ins)
    or by its file; one already loaded is left as it is. Returns [name]."""
    flags("loadPlugin", kwargs, [("quiet", "qt")])
    name, _path, remarks = _hx.load_plugin(text(plugin, "loadPlugin: the plug-in"))
    report(remarks)
    return [name]


def unloadPlugin(plugin, **kwargs):
    """Unloads a plug-in none of whose nodes is in the scene. Returns [name]."""
    flags("unloadPlugin", kwargs, [])
    plugin = text(plugin, "unloadPlugin: the plug-in")
    _hx.unload_plugin(plugin)
    return [plugin.rsplit("/", 1)[-1].split(".", 1)[0]]


def pluginInfo(plugin=None, **kwargs):
    """Answers one query about a plug-in (query=True): loaded, registered, version, path,
    vendor, apiVersion, name, dependNode (its node types); listPlugins needs no plug-in."""
    queries = ["loaded", "registered", "version", "path", "vendor", "apiVersion", "name", "dependNode",
               "listPlugins"]
    chosen = flags("pluginInfo", kwargs, [("query", "q"), ("loaded", "l"), ("registered", "r"), ("version", "v"),
                                          ("path", "p"), ("vendor", "vd"), ("apiVersion", "av"), ("name", "n"),
                                          ("dependNode", "dn"), ("listPlugins", "ls")])
    if not chosen.get("query"):
        raise ValueError("pluginInfo: only queries are answered here: pass query=True and one query flag")
    asked = _one_query("pluginInfo", chosen, queries)
    loaded = _hx.plugins()
    if asked == "listPlugins":
        return [p["name"] for p in loaded]
    wanted = text(plugin, "pluginInfo: the plug-in")
    wanted_name = wanted.rsplit("/", 1)[-1].split(".", 1)[0]
    found = next((p for p in loaded if p["name"] == wanted_name or p["path"] == wanted), None)
    if asked in ("loaded", "registered"):
        return found is not None
    if found is None:
        raise RuntimeError(f"pluginInfo: plug-in '{wanted}' is not loaded")
    return {"version": found["version"], "path": found["path"], "vendor": found["vendor"],
            "apiVersion": found["apiVersion"], "name": found["name"],
            "dependNode": list(found["nodeTypes"])}[asked]


# ---- nodes ---------------------------------------------------------------------------------

def createNode(node_type, **kwargs):
    """Creates a node of `node_type`; a shape without a parent gets a new transform above
    it. Returns the node's name."""
    chosen = flags("createNode", kwargs, [("name", "n"), ("parent", "p"), ("skipSelect", "ss")])
    name = text(chosen["name"], "createNode: name") if chosen.get("name") is not None else ""
    parent = text(chosen["parent"], "createNode: parent") if chosen.get("parent") is not None else ""
    return _hx.create_node(text(node_type, "createNode: the node type"), name, parent)


def delete(*objects, **kwargs):
    """Deletes the nodes named (a transform with its shapes), and their keys; none when one
    of them is not there."""
    flags("delete", kwargs, [])
    targets = [name for group in objects for name in names(group, "delete: a node")]
    if not targets:
        raise ValueError("delete: name the nodes to delete")
    _hx.delete_nodes(targets)


def rename(node, new_name, **kwargs):
    """Renames a node; its keys follow it. Returns the new name."""
    flags("rename", kwargs, [])
    return _hx.rename(text(node, "rename: the node"), text(new_name, "rename: the new name"))


def ls(*patterns, **kwargs):
    """The scene's nodes in creation order, those matching any of `patterns` (with * and ?)
    when given; type= (a name or a list), shapes=, transforms= narrow them."""
    chosen = flags("ls", kwargs, [("type", "typ"), ("shapes", "s"), ("transforms", "tr")])
    nodes = _hx.list_nodes("")
    wanted = [name for group in patterns for name in names(group, "ls: a name")]
    if wanted:
        nodes = [n for n in nodes if any(fnmatch.fnmatchcase(n, p) for p in wanted)]
    if chosen.get("type") is not None:
        types = names(chosen["type"], "ls: type")
        nodes = [n for n in nodes if _hx.type_of(n) in types]
    if chosen.get("shapes"):
        nodes = [n for n in nodes if _hx.type_of(n) != "transform" and _hx.parent_of(n)]
    if chosen.get("transforms"):
        nodes = [n for n in nodes if _hx.type_of(n) == "transform"]
    return nodes


def deformer(*objects, **kwargs):
    """The host's deformer command: puts a deformer of type= on one mesh (its shape, or the
    transform above it) and runs its accessory set-up. Returns the new nodes' names, the
    deformer's first."""
    chosen = flags("deformer", kwargs, [("type", "typ"), ("name", "n")])
    if chosen.get("type") is None:
        raise ValueError("deformer: give the deformer's type, e.g. type='hxNoise'")
    targets = [name for group in objects for name in names(group, "deformer: an object")]
    if len(targets) != 1:
        raise ValueError(f"deformer: name one mesh to deform (got {len(targets)}); "
                         "call deformer once for each mesh")
    name = text(chosen["name"], "deformer: name") if chosen.get("name") is not None else ""
    return _hx.deformer(text(chosen["type"], "deformer: type"), targets[0], name)


# ---- attributes ----------------------------------------------------------------------------

def _attribute_of(attribute, chosen, command):
    """The attribute dict for attributeQuery: on node= (with the closest names for a typo) or
    on the node type type=."""
    if (chosen.get("node") is None) == (chosen.get("type") is None):
        raise ValueError(f"{command}: give node= or type=")
    name = text(attribute, f"{command}: the attribute")
    if chosen.get("node") is not None:
        node = text(chosen["node"], f"{command}: node")
        type_name = _hx.type_of(node)
        if not type_name:
            _hx.plug_info(f"{node}.{name}")  # raises, naming the closest nodes
    else:
        type_name = text(chosen["type"], f"{command}: type")
    info = _hx.node_type(type_name)
    if info is None:
        raise ValueError(f"{command}: unknown node type '{type_name}'")
    for a in info["attributes"]:
        if name in (a["longName"], a["shortName"]):
            return a
    if chosen.get("node") is not None and chosen.get("exists") is not True:
        _hx.plug_info(f"{chosen['node']}.{name}")  # raises, naming the closest attributes
    return None


def attributeQuery(attribute, **kwargs):
    """Answers one question about an attribute of node= or of the node type type=: exists,
    minExists, maxExists, minimum, maximum (as [value]), keyable, storable, readable,
    writable, connectable, hidden, multi, shortName, longName, attributeType, listDefault,
    listChildren, listParent, numberOfChildren."""
    queries = ["exists", "minExists", "maxExists", "minimum", "maximum", "keyable", "storable", "readable",
               "writable", "connectable", "hidden", "multi", "shortName", "longName", "attributeType",
               "listDefault", "listChildren", "listParent", "numberOfChildren"]
    chosen = flags("attributeQuery", kwargs, [
        ("node", "n"), ("type", "typ"), ("exists", "ex"), ("minExists", "mne"), ("maxExists", "mxe"),
        ("minimum", "min"), ("maximum", "max"), ("keyable", "k"), ("storable", "s"), ("readable", "r"),
        ("writable", "w"), ("connectable", "c"), ("hidden", "h"), ("multi", "m"), ("shortName", "sn"),
        ("longName", "ln"), ("attributeType", "at"), ("listDefault", "ld"), ("listChildren", "lc"),
        ("listParent", "lp"), ("numberOfChildren", "nc")])
    asked = _one_query("attributeQuery", chosen, queries)
    a = _attribute_of(attribute, chosen, "attributeQuery")
    if asked == "exists":
        return a is not None
    if a is None:
        raise ValueError(f"attributeQuery: no attribute '{attribute}' on node type '{chosen['type']}'")
    if asked in ("minimum", "maximum"):
        limit = a["min" if asked == "minimum" else "max"]
        if limit is None:
            raise RuntimeError(f"attributeQuery: {a['longName']} has no {asked}")
        return [limit]
    if asked == "minExists":
        return a["min"] is not None
    if asked == "maxExists":
        return a["max"] is not None
    if asked == "multi":
        return a["array"]
    if asked == "attributeType":
        return _host_type(a)
    if asked == "listDefault":
        return list(a["default"]) if a["default"] else None
    if asked == "listChildren":
        return list(a["children"]) or None
    if asked == "listParent":
        return [a["parent"]] if a["parent"] else None
    if asked == "numberOfChildren":
        return len(a["children"])
    return a[asked]


def _shaped(info, values):
    """A plug's numbers as the host's getAttr gives them: one number as bool, int or float; a
    compound or a 3-number attribute as [(x, y, z)]; a matrix as 16 floats; a vector array
    as [(x, y, z), ...]."""
    attribute, components = info["attribute"], info["components"]

    def one(component, value):
        value_type = component["valueType"]
        if value_type == "bool":
            return bool(value)
        if value_type.startswith(_WHOLE_NUMBER_TYPES):
            return int(value)
        return float(value)

    if attribute["valueType"] == "vectorArray":
        return [tuple(values[i:i + 3]) for i in range(0, len(values), 3)]
    if not components:
        return list(values)
    if len(components) == 1:
        return one(components[0], values[0])
    return [tuple(one(c, v) for c, v in zip(components, values))]


def getAttr(attribute, **kwargs):
    """The value of "node.attr" (long or short names), evaluated; time= evaluates the keyed
    numbers at that time, the scene staying where it is; type=True gives the attribute's
    type instead."""
    chosen = flags("getAttr", kwargs, [("time", "t"), ("type", "typ")])
    plug = text(attribute, "getAttr: the attribute")
    info = _hx.plug_info(plug)
    if chosen.get("type"):
        return _host_type(info["attribute"])
    if info["attribute"]["valueType"] == "mesh":
        if info["nodeType"] == "mesh":
            raise RuntimeError(f"getAttr: {plug} holds a mesh; read its points with hxnoise.points('{info['node']}')")
        raise RuntimeError(f"getAttr: {plug} holds a mesh, which getAttr does not read")
    if chosen.get("time") is not None:
        values = _hx.get_attr_at(plug, number(chosen["time"], "getAttr: time"))
    else:
        values = _hx.get_attr(plug)
    return _shaped(info, values)


def setAttr(attribute, *values, **kwargs):
    """Sets "node.attr" to `values`: one number, or one per child of a compound
    (setAttr('transform1.translate', 1, 2, 3)), 16 for a matrix. Whole numbers for integer
    attributes; a value past the attribute's limits is clamped with a HostWarning. type=,
    when given, must be the attribute's type."""
    chosen = flags("setAttr", kwargs, [("type", "typ"), ("clamp", "c")])
    plug = text(attribute, "setAttr: the attribute")
    numbers_given = numbers_in(values, f"setAttr: a value of {plug}")
    if not numbers_given:
        raise ValueError(f"setAttr: give the value of {plug}")
    if chosen.get("type") is not None:
        info = _hx.plug_info(plug)
        expected = _host_type(info["attribute"])
        if text(chosen["type"], "setAttr: type") not in (expected, info["attribute"]["valueType"]):
            raise ValueError(f"setAttr: {plug} is of type {expected}, not {chosen['type']}")
    report(_hx.set_attr(plug, numbers_given))


def listAttr(node, **kwargs):
    """The long names (shortNames=True: the short ones) of a node's attributes, those with
    every quality asked for: keyable, connectable, read, write, multi, visible (not hidden);
    string= keeps names matching a pattern. None when there are none."""
    chosen = flags("listAttr", kwargs, [("keyable", "k"), ("connectable", "c"), ("read", "r"), ("write", "w"),
                                        ("multi", "m"), ("visible", "v"), ("shortNames", "sn"), ("string", "st"),
                                        ("userDefined", "ud")])
    node = text(node, "listAttr: the node")
    node = node.split(".", 1)[0]
    type_name = _hx.type_of(node)
    if not type_name:
        _hx.plug_info(node + ".message")  # raises, naming the closest nodes
    qualities = {"keyable": "keyable", "connectable": "connectable", "read": "readable", "write": "writable",
                 "multi": "array"}
    found = []
    for a in _hx.node_type(type_name)["attributes"]:
        if chosen.get("userDefined"):
            continue  # the stand-in host has no dynamic attributes
        if any(chosen.get(flag) and not a[quality] for flag, quality in qualities.items()):
            continue
        if chosen.get("visible") and a["hidden"]:
            continue
        name = a["shortName"] if chosen.get("shortNames") else a["longName"]
        if chosen.get("string") is not None and not any(
                fnmatch.fnmatchcase(name, p) for p in names(chosen["string"], "listAttr: string")):
            continue
        found.append(name)
    return found or None


def connectAttr(source, destination, **kwargs):
    """Connects plug `source` to plug `destination`; force=True first breaks the connection
    the destination already has. Returns the host's line, "Connected a.b to c.d."."""
    chosen = flags("connectAttr", kwargs, [("force", "f")])
    source = text(source, "connectAttr: the source")
    destination = text(destination, "connectAttr: the destination")
    _hx.connect(source, destination, bool(chosen.get("force")))
    return f"Connected {source} to {destination}."


def disconnectAttr(source, destination, **kwargs):
    """Breaks the connection from `source` to `destination`. Returns the host's line,
    "Disconnect a.b from c.d."."""
    flags("disconnectAttr", kwargs, [])
    source = text(source, "disconnectAttr: the source")
    destination = text(destination, "disconnectAttr: the destination")
    _hx.disconnect(source, destination)
    return f"Disconnect {source} from {destination}."


def listConnections(obj, **kwargs):
    """The nodes connected to a node or plug: sources and destinations (source=, destination=
    choose), the plugs at the far end with plugs=True, pairs (this plug, far plug) flattened
    with connections=True, only nodes of type= when given. None when there are none."""
    chosen = flags("listConnections", kwargs, [("source", "s"), ("destination", "d"), ("plugs", "p"),
                                               ("connections", "c"), ("type", "t")])
    obj = text(obj, "listConnections: the node or plug")
    sources = chosen.get("source", True)
    destinations = chosen.get("destination", True)
    if "." in obj:
        info = _hx.plug_info(obj)  # raises for a name that is not there
        pairs = []
        source = _hx.source_of(obj)
        if source:
            pairs.append((info["name"], source, True))
        pairs.extend((info["name"], d, False) for d in _hx.destinations_of(obj))
    else:
        if not _hx.exists(obj):
            _hx.plug_info(obj + ".message")  # raises, naming the closest nodes
        pairs = []
        for s, d in _hx.connections_of(obj):
            if s.split(".", 1)[0] == obj:
                pairs.append((s, d, False))
            if d.split(".", 1)[0] == obj:
                pairs.append((d, s, True))
    found = []
    for here, there, incoming in pairs:
        if (incoming and not sources) or (not incoming and not destinations):
            continue
        far_node = there.split(".", 1)[0]
        if chosen.get("type") is not None and _hx.type_of(far_node) not in names(chosen["type"], "type"):
            continue
        far = there if chosen.get("plugs") else far_node
        found.extend([here, far] if chosen.get("connections") else [far])
    return found or None


# ---- files ---------------------------------------------------------------------------------

def file(path=None, **kwargs):
    """Scene files, as the host's file command:
    - file(path, i=True): reads a mesh (OBJ, PLY, STL, glTF, GLB, FBX, Collada) into a new
      transform and shape; returnNewNodes=True returns their names, else the path;
    - file(path, exportAll=True, force=True, type='OBJexport'): writes every visible mesh,
      evaluated, as one file of the format its name asks for; an existing file is replaced
      only with force=True, whole or not at all; returns the path;
    - file(new=True, force=True): empties the scene (plug-ins stay loaded), time back to 1.
    """
    chosen = flags("file", kwargs, [("import", "i"), ("exportAll", "ea"), ("new", "new"), ("force", "f"),
                                    ("type", "typ"), ("returnNewNodes", "rnn")])
    actions = [a for a in ("import", "exportAll", "new") if chosen.get(a)]
    if len(actions) != 1:
        raise ValueError("file: give one of i=True (import), exportAll=True or new=True")
    if actions[0] == "new":
        if path is not None:
            raise ValueError("file: new=True takes no path")
        _hx.new_scene()
        return None
    path = text(path, "file: the path")
    if actions[0] == "import":
        nodes, remarks = _hx.import_mesh(path)
        report(remarks)
        return nodes if chosen.get("returnNewNodes") else path
    file_type = text(chosen["type"], "file: type") if chosen.get("type") is not None else ""
    report(_hx.export_scene(path, bool(chosen.get("force")), file_type))
    return path


# ---- keys and time -------------------------------------------------------------------------

def setKeyframe(*objects, **kwargs):
    """Keys "node.attr" (or node with attribute=, one name or a list) at time= (one frame or
    a list; default: the current time) to value= (default: what it holds now). Keys are at
    whole frames; between them a curve is linear (or smooth: hxnoise.set_tangents), integer
    attributes rounded. A number keyed at that frame already is refused. Returns the number
    of keys set (one per number: three for a translate)."""
    chosen = flags("setKeyframe", kwargs, [("attribute", "at"), ("time", "t"), ("value", "v")])
    targets = [name for group in objects for name in names(group, "setKeyframe: an object")]
    if not targets:
        raise ValueError("setKeyframe: name the attribute to key, e.g. setKeyframe('hxNoise1.oxNoiseAmp', t=1)")
    attributes = names(chosen["attribute"], "setKeyframe: attribute") if chosen.get("attribute") else []
    plugs = []
    for target in targets:
        if attributes:
            plugs.extend(f"{target}.{a}" for a in attributes)
        elif "." in target:
            plugs.append(target)
        else:
            raise ValueError(f"setKeyframe: name the attribute of {target} to key, e.g. attribute='oxNoiseAmp'")
    times = chosen.get("time")
    if times is None:
        frames = [None]
    else:
        frames = [whole_frame(t, "setKeyframe: time", _hx.max_frame)
                  for t in (times if isinstance(times, (list, tuple)) else [times])]
    value = number(chosen["value"], "setKeyframe: value") if chosen.get("value") is not None else None
    count = 0
    for plug in plugs:
        for frame in frames:
            keyed, remarks = _hx.set_keyframe(plug, frame, value)
            report(remarks)
            count += keyed
    return count


def currentTime(time=None, **kwargs):
    """Goes to `time` (frames need not be whole), where every keyed number takes its curve's
    value, and returns it; query=True returns the current time."""
    chosen = flags("currentTime", kwargs, [("query", "q"), ("edit", "e"), ("update", "u")])
    if chosen.get("query"):
        if time is not None:
            raise ValueError("currentTime: query=True takes no time")
        return _hx.current_time()
    if time is None:
        raise ValueError("currentTime: give the time to go to, or query=True")
    report(_hx.set_current_time(number(time, "currentTime: the time")))
    return _hx.current_time()
