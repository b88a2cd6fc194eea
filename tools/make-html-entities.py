#!/usr/bin/env python3
"""Writes documents/HtmlEntityTable.cpp, the named character references of HTML, from Python's own copy of
the WHATWG list (html.entities.html5). Run from anywhere: tools/make-html-entities.py"""
import html.entities
import pathlib

target = pathlib.Path(__file__).resolve().parent.parent / "documents" / "HtmlEntityTable.cpp"
entities = html.entities.html5

lines = [
    "// Made by tools/make-html-entities.py from Python's html.entities.html5 (the WHATWG list of named character",
    "// references); run the script again rather than editing this file.",
    '#include "documents/HtmlEntities.h"',
    "",
    "#include <algorithm>",
    "#include <array>",
    "",
    "namespace {",
    "",
    "// clang-format off",
    f"constexpr std::array<HtmlEntity, {len(entities)}> Entities{{{{",
]
for name in sorted(entities):
    assert name.isascii() and 1 <= len(entities[name]) <= 2
    points = [f"0x{ord(c):X}" for c in entities[name]] + ["0"]
    lines.append(f'    {{"{name}", {points[0]}, {points[1]}}},')
lines += [
    "}};",
    "// clang-format on",
    "",
    "static_assert(std::is_sorted(Entities.begin(), Entities.end(),",
    "                             [](const HtmlEntity& a, const HtmlEntity& b) { return a.name < b.name; }));",
    "",
    "} // namespace",
    "",
    "std::span<const HtmlEntity> HtmlEntityTable()",
    "{",
    "    return Entities;",
    "}",
]
target.write_text("\n".join(lines) + "\n")
print(f"{target}: {len(entities)} names")
