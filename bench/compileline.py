#!/usr/bin/env python3
"""brushwright --compile against its floor: the same compiler commands run by
a shell, their output piped to cat. A generated map of two rooms and 300
func_wall crates, compiled by q2tools with light -extra; the two take turns,
five runs each (--full: vis runs every time, as in the shell), and the
medians are compared.

    bench/compileline.py BRUSHWRIGHT COMPILERS [--runs 5]

BRUSHWRIGHT is the built program (build/bin/brushwright); COMPILERS the
folder of ../shared/compilers.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time


def brush(x0, y0, z0, x1, y1, z1, texture):
    planes = [(x0, y1, z1, x1, y0, z1, x0, y0, z1), (x0, y0, z0, x1, y0, z0, x0, y1, z0),
              (x1, y0, z1, x1, y1, z0, x1, y0, z0), (x0, y0, z0, x0, y1, z0, x0, y0, z1),
              (x0, y1, z0, x1, y1, z0, x0, y1, z1), (x0, y0, z1, x1, y0, z0, x0, y0, z0)]
    return "{\n" + "".join("( %d %d %d ) ( %d %d %d ) ( %d %d %d ) %s 0 0 0 1 1 0 0 0\n"
                           % (p + (texture,)) for p in planes) + "}\n"


def crowded_map():
    world = '{\n"classname" "worldspawn"\n'
    world += brush(-528, -272, -16, 528, 272, 0, "e1u1/floor1_3")
    world += brush(-528, -272, 256, 528, 272, 272, "e1u1/ceil1_1")
    for box in [(-528, -272, 0, -512, 272, 256), (512, -272, 0, 528, 272, 256),
                (-528, -272, 0, 528, -256, 256), (-528, 256, 0, 528, 272, 256),
                (-8, -256, 0, 8, -176, 256), (-8, -144, 0, 8, 256, 256),
                (-8, -176, 128, 8, -144, 256)]:
        world += brush(*box, "e1u1/wall1_1")
    text = world + "}\n"
    for i in range(300):
        side, k = (-1 if i < 150 else 1), i % 150
        x, y = side * (40 + 44 * (k % 10)), -240 + 32 * (k // 10)
        text += '{\n"classname" "func_wall"\n' + brush(x, y, 16, x + 16, y + 16, 32,
                                                        "e1u1/wall1_1") + "}\n"
    return (text + '{\n"classname" "info_player_start"\n"origin" "-256 0 32"\n}\n'
            '{\n"classname" "light"\n"origin" "0 0 200"\n"light" "300"\n}\n')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("brushwright")
    parser.add_argument("compilers")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    root = tempfile.mkdtemp(prefix="compileline-")
    try:
        app = os.path.join(root, "app")
        os.makedirs(app)
        shutil.copy(args.brushwright, app)
        data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
        for name in ("settings.builtin", "default.builtin"):
            shutil.copy(os.path.join(data, name), app)
        # The shipped option set with "take five samples instead of one".
        with open(os.path.join(data, "lastused.builtin"), newline="") as f:
            lines = f.read().split("\r\n")
        lines[23] = "1"
        with open(os.path.join(app, "lastused.builtin"), "w", newline="") as f:
            f.write("\r\n".join(lines))
        with open(os.path.join(app, "brushwright.ini"), "w") as f:
            f.write("[compilers]\nsuite=q2tools\nfolder=%s/linux\n" % os.path.abspath(args.compilers))
        game = os.path.join(root, "quake2")
        maps = os.path.join(game, "baseq2", "maps")
        os.makedirs(maps)
        os.makedirs(os.path.join(game, "baseq2", "pics"))
        shutil.copy(os.path.join(args.compilers, "testmap", "colormap.pcx"),
                    os.path.join(game, "baseq2", "pics"))
        map_file = os.path.join(maps, "crowded.map")
        with open(map_file, "w") as f:
            f.write(crowded_map())
        env = dict(os.environ, XDG_CACHE_HOME=os.path.join(root, "cache"))
        env.pop("DISPLAY", None)
        program = [os.path.join(app, "brushwright"), "--compile", map_file, "--full"]
        # The commands it runs, taken from its own output.
        first = subprocess.run(program, env=env, capture_output=True, text=True)
        commands = [line[2:] for line in first.stdout.splitlines() if line.startswith("> ")]
        script = "cd '%s' && %s" % (maps, " && ".join(commands))
        print("commands:\n  " + "\n  ".join(commands))
        times = {"brushwright --compile": [], "shell, piped to cat": []}
        for _ in range(args.runs):
            for label, command in (("brushwright --compile", " ".join(
                    "'%s'" % part for part in program) + " | cat > /dev/null"),
                                   ("shell, piped to cat", "(%s) 2>&1 | cat > /dev/null" % script)):
                start = time.monotonic()
                subprocess.run(["bash", "-c", command], env=env, check=False)
                times[label].append(time.monotonic() - start)
        floor = statistics.median(times["shell, piped to cat"])
        print("| | median s | runs | vs shell |")
        print("|---|---|---|---|")
        for label, values in times.items():
            median = statistics.median(values)
            print("| %s | %.2f | %s | %.3f x |" % (label, median,
                                                   " ".join("%.2f" % v for v in values),
                                                   median / floor))
    finally:
        shutil.rmtree(root)


if __name__ == "__main__":
    main()
