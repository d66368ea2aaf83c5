#!/usr/bin/env python3
"""Fails when an include points up the layers or reaches a wrapped library from outside its
wrapper. Usage: check_includes.py SOURCE_ROOT (the repository, or a copy for the self-test)."""
import pathlib
import re
import sys

# Folders of src/ from the bottom up; a folder may include its own layer and those below.
# Folders on one rank may not include each other (they are siblings, not a stack).
LAYERS = [["platform"], ["Lib/ZIRur/Util"], ["Lib/ZIRur/File"], ["Lib/lyt"],
          ["Lib/ZIRur/Graphics", "Lib/ZIRur/Sound"], ["Lib/ZIRur/Text"], ["Lib/ZIRur/Wnd"],
          ["Lib/ZIRur/Layout"], ["go"], ["progress"], ["lesson"], ["problem"], ["screens"],
          ["app"], ["platform/sdl", "platform/headless"], ["programs"]]
# The backends implement the platform interface and may use the utilities, nothing above;
# the screenshot capture replays frames with the SDL backend's replayer.
BACKEND_MAY_USE = {
    "platform/sdl": {"platform", "Lib/ZIRur/Util", "Lib/ZIRur/File", "platform/sdl"},
    "platform/headless": {"platform", "Lib/ZIRur/Util", "Lib/ZIRur/File", "platform/headless",
                          "platform/sdl"},
}
# Third-party headers and the only files allowed to include them.
WRAPPED = [
    (re.compile(r"^(SDL2?/)?SDL[_a-z0-9]*\.h$"), ("src/platform/sdl/", "src/platform/headless/FrameCapture.cpp")),
    (re.compile(r"^(ft2build\.h|freetype/.*|FT_[A-Z_]+_H)$"), ("src/Lib/ZIRur/Text/TSFont.cpp",)),
    (re.compile(r"^IL/.*|^il[a-z]*\.h$"), ("src/Lib/ZIRur/Graphics/ImageDecoderDevil.cpp",)),
    (re.compile(r"^stb/"), ("src/Lib/ZIRur/Graphics/ImageDecoderStb.cpp",
                            "src/Lib/ZIRur/Graphics/StbImage.cpp")),
    (re.compile(r"^(windows|psapi)\.h$"), ("src/platform/win32/",)),
    (re.compile(r"^iconv\.h$"), ("src/Lib/ZIRur/Text/generate/", "tools/", "tests/")),
]
INCLUDE = re.compile(r'^\s*#\s*include\s*(?:[<"]([^>"]+)[>"]|(FT_[A-Z_]+_H))')


def folder_of(path):
    """The (rank, folder) of the longest layer folder that holds `path` (relative to src/)."""
    holders = [(rank, folder) for rank, folders in enumerate(LAYERS) for folder in folders
               if path == folder or path.startswith(folder + "/")]
    return max(holders, key=lambda h: len(h[1]), default=None)


def main():
    root = pathlib.Path(sys.argv[1])
    problems = []
    files = [p for folder in ("src", "tests", "tools", "bench") for p in (root / folder).rglob("*")
             if p.suffix in (".cpp", ".h") and p.is_file()]
    for path in sorted(files):
        rel = path.relative_to(root).as_posix()
        src_folder = folder_of(rel[len("src/"):]) if rel.startswith("src/") else None
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            header = m.group(1) or m.group(2)
            for pattern, allowed in WRAPPED:
                if pattern.match(header) and not rel.startswith(allowed):
                    problems.append(f"{rel}:{number}: {header} is included only by {', '.join(allowed)}")
            if src_folder is None or not (root / "src" / header).is_file():
                continue
            target = folder_of(str(pathlib.PurePosixPath(header).parent))
            if target is None or target[1] == src_folder[1]:
                continue
            if src_folder[1] in BACKEND_MAY_USE:
                if target[1] not in BACKEND_MAY_USE[src_folder[1]]:
                    problems.append(f"{rel}:{number}: the backend {src_folder[1]} includes {header}")
            elif target[0] >= src_folder[0]:
                problems.append(f"{rel}:{number}: {src_folder[1]} includes {header} of the layer "
                                f"{target[1]}, which is not below it")
    for p in problems:
        print(p)
    print(f"checked {len(files)} files: {len(problems)} wrong includes")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
