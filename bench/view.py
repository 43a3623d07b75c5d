"""The real program's 3D view on generated maps: from the process's start to
the view window's first frame on the display (X DAMAGE, as bench.py watches
the main window), and the peak resident memory once it is shown, for a map
of one tile (what the view costs with next to no map: with Mesa's software
renderer mostly LLVM's code) and for a large map.

    view.py BIN_FOLDER MAPS_FOLDER [RUNS]

MAPS_FOLDER is where brushwright_viewbench wrote its maps. Each map is
viewed RUNS times (5 by default) after one warm-up run, on the display in
DISPLAY, with a session bus of its own.
"""
import os
import sys
import time

import bench
import xwatch

VIEW_SIZE = (1024, 720)


def one_run(display, program, path):
    display.forget()
    began = time.monotonic()
    process = bench.start([program, "--view", path], os.path.dirname(program), bench.environment())
    try:
        window = display.wait_for(lambda: display.painted(VIEW_SIZE), 120)
        if window is None:
            raise RuntimeError("no view window painted")
        display.drain(2)
        return (window.painted_at - began) * 1000, bench.peak_rss_kib(process.pid) * 1024
    finally:
        bench.stop(process)


def measure(display, program, path, runs):
    one_run(display, program, path)
    results = [one_run(display, program, path) for _ in range(runs)]
    return [ms for ms, _ in results], bench.median([peak for _, peak in results])


def main():
    program = os.path.abspath(os.path.join(sys.argv[1], "brushwright"))
    maps = sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    tiny = os.path.join(maps, "tiny/quake2/baseq2/maps/tiny.bsp")
    big = os.path.join(maps, "big/quake2/baseq2/maps/big.bsp")
    display = xwatch.Display()
    with bench.session_bus():
        _, floor = measure(display, program, tiny, runs)
        times, peak = measure(display, program, big, runs)
    size = os.path.getsize(big)
    print(f"The view of one tile: peak resident memory {floor / 1e6:.1f} MB (median of {runs})")
    print(f"{os.path.basename(big)} ({size / 1e6:.1f} MB): first frame of the view "
          f"{bench.median(times):.0f} ms after the program's start (median of {runs}, "
          f"{min(times):.0f}-{max(times):.0f} ms); peak resident memory {peak / 1e6:.1f} MB "
          f"= {peak / size:.2f} x the file, {(peak - floor) / 1e6:.1f} MB "
          f"= {(peak - floor) / size:.2f} x the file over the view of one tile")


if __name__ == "__main__":
    main()
