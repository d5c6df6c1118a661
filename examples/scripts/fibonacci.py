"""Prints the first Fibonacci numbers and their ratio."""


def fibonacci(count):
    a, b = 0, 1
    for _ in range(count):
        yield a
        a, b = b, a + b


numbers = list(fibonacci(12))
print("Fibonacci:", numbers)
print("ratio %.6f" % (numbers[-1] / numbers[-2]))  # close to the golden ratio
print("run as", __file__)
