#!/usr/bin/env python3
"""Writes a template with each @NAME@ replaced by the value given for NAME,
and fails on a placeholder left without a value.

    packaging/fill.py TEMPLATE OUT NAME=VALUE...
"""
import re
import sys


def main():
    template, out, pairs = sys.argv[1], sys.argv[2], sys.argv[3:]
    values = dict(pair.split("=", 1) for pair in pairs)
    text = open(template, encoding="utf-8").read()

    def value(match):
        name = match.group(1)
        if name not in values:
            raise SystemExit(f"{template}: no value for @{name}@")
        return values[name]

    with open(out, "w", encoding="utf-8") as output:
        output.write(re.sub(r"@([A-Z_]+)@", value, text))


if __name__ == "__main__":
    main()
