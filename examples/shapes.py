# Loaded by examples/pythonmanager.js through "PythonManager".
import math


def area(radius):
    return round(math.pi * radius * radius, 2)


def describe(name, sides):
    return "%s has %d sides" % (name, sides)


def report_to_script(values):
    # `notify` is a script function the host script bound into this module.
    total = sum(values)
    notify.call(["total of %d values" % len(values), total])
    return total

