"""What every command shares: flags by their long or short names, checked arguments, and
the warnings and notes a command hands back."""

import numbers
import warnings


class HostWarning(UserWarning):
    """What the host or a file format says beside a result: a value clamped to an
    attribute's limits, a plug the plug-in never reads, what a format could not hold."""


def flags(command, given, known):
    """The keyword arguments `given` to `command` as {long name: value}.

    `known` lists (long, short) pairs. An unknown flag, or one given by both its names, is
    a TypeError, as the host's command module answers.
    """
    names = {}
    for long_name, short_name in known:
        names[long_name] = long_name
        names[short_name] = long_name
    result = {}
    for name, value in given.items():
        long_name = names.get(name)
        if long_name is None:
            raise TypeError(f"{command}: invalid flag '{name}'")
        if long_name in result:
            raise TypeError(f"{command}: flag '{long_name}' given twice")
        result[long_name] = value
    return result


def report(remarks, stacklevel=3):
    """Hands a command's (warnings, notes) to the script, each once: warnings as HostWarning,
    notes printed, as the tool prints them."""
    found_warnings, notes = remarks
    for message in dict.fromkeys(found_warnings):  # each once, in order
        warnings.warn(message, HostWarning, stacklevel=stacklevel)
    for note in dict.fromkeys(notes):
        print(note)


def text(value, what):
    """A name or path: a str (or os.PathLike), never empty."""
    if hasattr(value, "__fspath__"):
        value = value.__fspath__()
    if not isinstance(value, str):
        raise ValueError(f"{what} must be a string, not {type(value).__name__}")
    if not value:
        raise ValueError(f"{what} is empty")
    return value


def names(values, what):
    """One name or a list of names, as the host's commands take objects."""
    if isinstance(values, (list, tuple)):
        return [text(value, what) for value in values]
    return [text(values, what)]


def number(value, what):
    """A real number (bool, int, float or a NumPy scalar) as a float."""
    if not isinstance(value, numbers.Real):
        raise ValueError(f"{what} must be a number, not {value!r}")
    return float(value)


def numbers_in(values, what):
    """Every number in `values`, flattened out of lists and tuples."""
    flat = []
    for value in values:
        if hasattr(value, "tolist") and not isinstance(value, numbers.Real):
            value = value.tolist()  # a NumPy array or scalar, as Python lists and numbers
        if isinstance(value, (list, tuple)):
            flat.extend(numbers_in(value, what))
        else:
            flat.append(number(value, what))
    return flat


def whole_frame(value, what, max_frame):
    """A frame number: a whole number within the frames a key can be at."""
    frame = number(value, what)
    if frame != frame or not frame.is_integer():
        raise ValueError(f"{what} {value!r} is not a whole frame; keys go on whole frames")
    if abs(frame) > max_frame:
        raise ValueError(f"{what} {value!r} is outside {-max_frame}..{max_frame}")
    return int(frame)
