#!/usr/bin/env python3
"""Writes the table of GL functions from the Khronos GL registry (gl.xml): for each
function of the desktop GL interface, the core versions it belongs to (as a bit per
version, for the compatibility and the core profile) and the extensions that bring it.

usage: gl_function_table.py gl.xml output.h
"""
import sys
import xml.etree.ElementTree as ET


def api_is_gl(element):
    return element.get("api") in (None, "gl")


def main(registry, output):
    root = ET.parse(registry).getroot()
    features = [f for f in root.iter("feature") if f.get("api") == "gl"]
    features.sort(key=lambda f: tuple(int(n) for n in f.get("number").split(".")))
    versions = [f.get("number") for f in features]

    # Membership after each version, per profile: the compatibility profile never drops
    # a function; the core profile drops what a version removes for it.
    compatibility, core = {}, {}
    inside = {"compatibility": set(), "core": set()}
    for index, feature in enumerate(features):
        for block in feature:
            if not api_is_gl(block):
                continue
            profiles = [block.get("profile")] if block.get("profile") else ["compatibility", "core"]
            names = [c.get("name") for c in block.iter("command")]
            for profile in profiles:
                if block.tag == "require":
                    inside[profile].update(names)
                elif block.tag == "remove":
                    inside[profile].difference_update(names)
        for name in inside["compatibility"]:
            compatibility[name] = compatibility.get(name, 0) | (1 << index)
        for name in inside["core"]:
            core[name] = core.get(name, 0) | (1 << index)

    extensions = {}
    for extension in root.iter("extension"):
        supported = extension.get("supported", "").split("|")
        if "gl" not in supported and "glcore" not in supported:
            continue
        for block in extension.iter("require"):
            if not api_is_gl(block):
                continue
            for command in block.iter("command"):
                names = extensions.setdefault(command.get("name"), [])
                if extension.get("name") not in names:
                    names.append(extension.get("name"))

    names = sorted(set(compatibility) | set(core) | set(extensions))
    with open(output, "w") as out:
        out.write("// Generated from the Khronos GL registry by tools/gl_function_table.py.\n")
        out.write("#pragma once\n\n#include <cstdint>\n\nnamespace qrv::host {\n\n")
        numbers = ", ".join(str(int(v.split(".")[0]) * 10 + int(v.split(".")[1])) for v in versions)
        out.write("// The GL versions as major * 10 + minor; bit i of a mask is version i.\n")
        out.write("inline constexpr int kGlVersions[] = {%s};\n\n" % numbers)
        out.write("struct GlFunctionOrigin {\n  const char* name;\n  uint32_t compatibility;\n"
                  "  uint32_t core;\n  const char* extensions;  // blank-separated\n};\n\n")
        out.write("// Sorted by name (byte order).\ninline constexpr GlFunctionOrigin kGlFunctions[] = {\n")
        for name in names:
            out.write('    {"%s", 0x%x, 0x%x, "%s"},\n' % (name, compatibility.get(name, 0),
                                                       core.get(name, 0),
                                                       " ".join(extensions.get(name, []))))
        out.write("};\n\n}  // namespace qrv::host\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
