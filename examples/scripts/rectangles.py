"""Loaded as a module from the Scripts dock by examples/script_editor.js."""


def area(width, height):
    return width * height
