"""A first Python module for Bellwick: plain functions the host calls from script."""


def greet(name):
    return "Hello, %s, from Python!" % name


def add(a, b):
    return a + b


def squares(count):
    return [n * n for n in range(count)]
