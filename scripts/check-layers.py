#!/usr/bin/env python3
"""Checks that every include of both programs points down the layer stack.

Each row names a folder and the folders it may include besides itself; a
folder not in the table is an error, so a new folder must take its place in
the stack. Operating-system headers and platform conditionals belong to the
system folders alone. Tests, benchmarks, fuzzers and demos are not layers.

    check-layers.py [ROOT]     check the tree at ROOT (default: the repository)
    check-layers.py --self-test
    check-layers.py --help
"""

import pathlib
import re
import sys
import tempfile

# folder                 may include
LAYERS = """
audit/app                export journal scan reports naming run dat catalogue archive zip sniff files system
audit/export             naming run dat catalogue archive zip sniff files system
audit/journal            run catalogue files system
audit/scan               naming run catalogue archive zip sniff files system
audit/reports            export naming run catalogue files system
audit/naming             run catalogue sniff files system
audit/run                catalogue zip files system
audit/dat                catalogue sniff files system
audit/catalogue          files system
audit/archive            zip system
audit/zip                system
audit/files              system
audit/sniff
audit/system

launcher/main_window     manual_window about collection common icons platform
launcher/manual_window   common icons platform
launcher/about           common icons platform
launcher/collection      platform
launcher/common          platform
launcher/icons
launcher/platform
"""

PROGRAMS = ("audit", "launcher")  # a file at a program's top may include all of it
NOT_LAYERS = {"audit/tests", "launcher/tests", "launcher/bench", "launcher/demo"}
SYSTEM_FOLDERS = {"audit/system", "launcher/platform"}

OS_HEADER = re.compile(
    r"#\s*include\s*<(unistd|fcntl|dirent|windows|io|direct|pwd|shlobj|"
    r"winbase|winuser|shellapi|process|libgen|spawn|sys/\w+)\.h>")
PLATFORM_CONDITIONAL = re.compile(
    r"#\s*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|__linux__|__unix__|__APPLE__|"
    r"WIN32|_MSC_VER|__MINGW32__|__MINGW64__|__CYGWIN__|__FreeBSD__|Q_OS_\w+)\b")
OWN_INCLUDE = re.compile(r'#\s*include\s*"([^"/]+)/[^"]+"')
SOURCES = ("*.h", "*.cpp")


def parse_layers(text):
    layers = {}
    for line in text.strip().splitlines():
        if line.strip():
            folder, *allowed = line.split()
            program = folder.split("/")[0]
            layers[folder] = {f"{program}/{name}" for name in allowed}
    return layers


def missing_folders(root, layers):
    """A root without the programs, or without a folder of the table, is no
    tree to pass: an include check over nothing would pass anything."""
    programs = [program for program in PROGRAMS if (root / program).is_dir()]
    if not programs:
        return [f"{root}: holds no program folder ({', '.join(PROGRAMS)})"]
    return [f"{root / folder}: folder of the layer table is missing"
            for folder in sorted(layers)
            if folder.split("/")[0] in programs and not (root / folder).is_dir()]


def problems_in(root, layers):
    problems = []
    for program in PROGRAMS:
        base = root / program
        for path in sorted(p for pattern in SOURCES for p in base.rglob(pattern)):
            relative = path.relative_to(root)
            parts = relative.parts
            folder = "/".join(parts[:2]) if len(parts) > 2 else None
            if folder in NOT_LAYERS:
                continue
            if folder is not None and folder not in layers:
                problems.append(f"{relative}: folder {folder} has no row in the layer table")
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                where = f"{relative}:{number}"
                problems += check_line(line, where, program, folder, layers)
    return problems


def check_line(line, where, program, folder, layers):
    found = []
    include = OWN_INCLUDE.match(line.strip())
    if include and folder is not None:
        target = f"{program}/{include.group(1)}"
        if target != folder and target not in layers[folder]:
            found.append(f"{where}: {folder} may not include {target} ({line.strip()})")
    if folder not in SYSTEM_FOLDERS and folder is not None:
        if OS_HEADER.match(line.strip()):
            found.append(f"{where}: operating-system header outside the system layer")
        if PLATFORM_CONDITIONAL.match(line.strip()):
            found.append(f"{where}: platform conditional outside the system layer")
    return found


def self_test():
    """The checker must catch each kind of fault, and pass a clean tree."""
    cases = [  # (file, content, expected fault or None)
        ("audit/system/a.cpp", '#include "run/run_state.h"\n', "may not include"),
        ("audit/naming/a.cpp", '#include "scan/walk.h"\n', "may not include"),
        ("audit/run/a.cpp", '#include "naming/info_config.h"\n', "may not include"),
        ("audit/reports/a.cpp", '#include "journal/undo_run.h"\n', "may not include"),
        ("audit/zip/a.cpp", '#include "catalogue/rom_database.h"\n', "may not include"),
        ("audit/scan/a.cpp", "#include <unistd.h>\n", "operating-system header"),
        ("audit/catalogue/a.cpp", "#ifdef _WIN32\n#endif\n", "platform conditional"),
        ("audit/zip/a.cpp", "#include <sys/types.h>\n", "operating-system header"),
        ("audit/zip/a.cpp", "#if defined(WIN32)\n#endif\n", "platform conditional"),
        ("launcher/manual_window/a.cpp", '#include "main_window/form1.h"\n', "may not include"),
        ("audit/newlayer/a.cpp", "\n", "no row in the layer table"),
        ("audit/app/a.cpp", '#include "scan/walk.h"\n#include "system/x.h"\n', None),
        ("audit/journal/a.cpp", '#include "run/run_state.h"\n#include "system/x.h"\n', None),
        ("audit/system/a.cpp", "#include <unistd.h>\n#ifdef _WIN32\n#endif\n", None),
        ("audit/tests/a.cpp", '#include "app/run_driver.h"\n#include <unistd.h>\n', None),
        ("launcher/main.cpp", '#include "main_window/form1.h"\n', None),
    ]
    failures = sum(not run_case(name, content, expected) for name, content, expected in cases)
    with tempfile.TemporaryDirectory() as directory:
        if not main([str(pathlib.Path(directory) / "nonexistent")], quiet=True):
            failures += 1
            print("self-test: a root without the programs passed")
    print(f"{len(cases) + 1 - failures} passed, {failures} failed")
    return 1 if failures else 0


def run_case(name, content, expected):
    """One file in an otherwise empty tree; folders of the table it lacks are
    not this case's fault."""
    with tempfile.TemporaryDirectory() as directory:
        root = pathlib.Path(directory)
        (root / name).parent.mkdir(parents=True)
        (root / name).write_text(content)
        found = problems_in(root, parse_layers(LAYERS))
        ok = any(expected in p for p in found) if expected else not found
        if not ok:
            print(f"self-test: {name}: expected {expected or 'no fault'}, got {found}")
        return ok


def main(arguments, quiet=False):
    if arguments[:1] in (["--help"], ["-h"]):
        print(__doc__.strip())
        return 0
    if arguments[:1] == ["--self-test"]:
        return self_test()
    root = pathlib.Path(arguments[0] if arguments else pathlib.Path(__file__).parent.parent)
    layers = parse_layers(LAYERS)
    missing = missing_folders(root.resolve(), layers)
    if missing:
        if not quiet:
            print("\n".join(missing))
            print(f"layers: nothing checked; {root} is not the tree the table describes")
        return 1
    problems = problems_in(root.resolve(), layers)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the layers; see the table in {__file__}")
        return 1
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
