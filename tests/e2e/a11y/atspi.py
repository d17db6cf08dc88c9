#!/usr/bin/python3
"""Reads and drives an application through the accessibility bus, as a screen reader does.

    atspi.py tree APP                      every node: depth, role, name, states, actions
    atspi.py find APP ROLE NAME            the node's screen rectangle "x y width height"
    atspi.py do APP ROLE NAME ACTION       runs a named action of the node ("toggle", "Press")
    atspi.py state APP ROLE NAME STATE     exits 0 when the node has the state ("checked")
    atspi.py value APP ROLE NAME           the node's text, or its current value

ROLE is a role name as AT-SPI spells it ("push button", "check box", "list item"); NAME is
matched exactly, and a node on screen wins over a hidden one of the same role and name. Each command waits up to $ATSPI_TIMEOUT seconds (default 10) for the
application and the node to appear, since a window's tree arrives a moment after it shows.
Exit status: 0 done, 1 not found, 2 usage.
"""
import os
import sys
import time

import pyatspi

TIMEOUT = float(os.environ.get("ATSPI_TIMEOUT", "10"))


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == name:
            return app
    return None


def walk(node, depth=0):
    """Every node below `node`, depth first, with its depth; broken nodes are skipped."""
    yield depth, node
    try:
        count = node.childCount
    except Exception:
        return
    for index in range(count):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is not None:
            yield from walk(child, depth + 1)


def states(node):
    try:
        state_set = node.getState()
        return sorted(pyatspi.stateToString(s) for s in state_set.getStates())
    except Exception:
        return []


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def describe(depth, node):
    return "%s%s | %s | %s | %s" % ("  " * depth, node.getRoleName(), node.name,
                                     ",".join(states(node)), ",".join(actions(node)))


def find_node(app_name, role, name):
    """The first node of that role and name on screen, else the first one at all (a control
    of a page not shown, or one its window keeps hidden in that state)."""
    app = find_app(app_name)
    if app is None:
        return None
    hidden = None
    for _, node in walk(app):
        try:
            if node.getRoleName() != role or node.name != name:
                continue
        except Exception:
            continue
        if "showing" in states(node):
            return node
        hidden = hidden or node
    return hidden


def wait_for(lookup):
    deadline = time.monotonic() + TIMEOUT
    while True:
        found = lookup()
        if found is not None or time.monotonic() > deadline:
            return found
        time.sleep(0.2)


def node_or_exit(args):
    node = wait_for(lambda: find_node(*args[:3]))
    if node is None:
        print("not found: %s %r in %s" % (args[1], args[2], args[0]), file=sys.stderr)
        sys.exit(1)
    return node


def command_tree(args):
    app = wait_for(lambda: find_app(args[0]))
    if app is None:
        print("no application %r on the accessibility bus" % args[0], file=sys.stderr)
        return 1
    for depth, node in walk(app):
        try:
            print(describe(depth, node))
        except Exception:
            continue
    return 0


def command_find(args):
    extents = node_or_exit(args).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(extents.x, extents.y, extents.width, extents.height)
    return 0


def command_do(args):
    node = node_or_exit(args)
    names = actions(node)
    if args[3] not in names:
        print("no action %r, only %s" % (args[3], names), file=sys.stderr)
        return 1
    node.queryAction().doAction(names.index(args[3]))
    return 0


def command_state(args):
    node = node_or_exit(args)
    return 0 if args[3] in states(node) else 1


def command_value(args):
    node = node_or_exit(args)
    try:
        text = node.queryText()
        print(text.getText(0, text.characterCount))
    except NotImplementedError:
        print(node.queryValue().currentValue)
    return 0


COMMANDS = {"tree": (command_tree, 1), "find": (command_find, 3), "do": (command_do, 4),
            "state": (command_state, 4), "value": (command_value, 3)}


def main(argv):
    if len(argv) < 2 or argv[1] not in COMMANDS or len(argv) - 2 != COMMANDS[argv[1]][1]:
        print(__doc__, file=sys.stderr)
        return 2
    return COMMANDS[argv[1]][0](argv[2:])


if __name__ == "__main__":
    sys.exit(main(sys.argv))
