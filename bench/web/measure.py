#!/usr/bin/python3
"""Measures the browser edition (make web) in Debian's headless Chromium:
the download's size compressed with gzip -9, the way a web host sends it
(the soundfont and the synthesizer, fetched only for sound, apart), the
time from the start of the page's load to the first frame of the scene
(window.vokta.firstFrameMs; the address skips the start dialog), over RUNS loads with the browser's cache off,
and the frame time at 1280 x 800: FRAMES frames drawn by the page's own
loop while the camera orbits (a camera key held), each timed from the
animation frame's start until WebGL has finished it. With VOKTA_MEASURE,
the desktop's frame time (vokta-measure frame-time) is measured in the same
run, for comparison; without a display it runs under Xvfb, as the tests do.

  /usr/bin/python3 bench/web/measure.py build/web [RUNS [VOKTA_MEASURE]]
"""

import gzip
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / 'tests' / 'web'))
from browser_test import PAGE_LIMIT_S, open_browser, serve  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

TARGET_BYTES = 3 << 20
TARGET_FIRST_FRAME_MS = 2000
SOUND_FILES = {'vokta-sounds.sf2', 'libfluidsynth.js', 'js-synthesizer.min.js'}
FRAMES = 300
FRAME_SIZE = (1280, 800)
# The desktop's window needs an X display: the Makefile's X_WRAP when there is none.
X_WRAP = [] if os.environ.get('DISPLAY') else ['xvfb-run', '-a', '-s', '-screen 0 1600x1000x24']

# Times every animation frame in which the page drew, from its start until
# WebGL has run the frame's commands: reading a pixel back waits for them
# (finish does not, in Chromium).
TIME_FRAMES = '''
  window.frameTimes = [];
  const pixel = new Uint8Array(4);
  const requestFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => requestFrame((time) => {
    const drawn = window.vokta ? window.vokta.frames : 0;
    const start = performance.now();
    callback(time);
    if (window.vokta && window.vokta.frames > drawn) {
      const gl = document.getElementById('view').getContext('webgl2');
      gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
      window.frameTimes.push(performance.now() - start);
    }
  });
'''


def summary(times):
    times = sorted(times)
    return f'median {statistics.median(times):.1f} ms, 95% of frames within {times[int(0.95 * len(times)) - 1]:.1f} ms'


def measure_frames(driver, port):
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                           {'width': FRAME_SIZE[0], 'height': FRAME_SIZE[1], 'deviceScaleFactor': 1, 'mobile': False})
    driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': TIME_FRAMES})
    driver.get(f'http://127.0.0.1:{port}/index.html?seed=1&start=1')
    WebDriverWait(driver, PAGE_LIMIT_S).until(lambda d: d.execute_script('return window.vokta?.ready === true'))
    # The menu bar takes the top of the window: the window grows by its height.
    menu_bar = driver.execute_script("return document.getElementById('menubar').offsetHeight")
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {'width': FRAME_SIZE[0], 'height': FRAME_SIZE[1] + menu_bar,
                                                                  'deviceScaleFactor': 1, 'mobile': False})
    canvas = driver.find_element(By.ID, 'view')
    WebDriverWait(driver, PAGE_LIMIT_S).until(
        lambda d: d.execute_script('return arguments[0].height', canvas) == FRAME_SIZE[1])
    size = tuple(driver.execute_script('return [arguments[0].width, arguments[0].height]', canvas))
    if size != FRAME_SIZE:
        sys.exit(f'measure: the page draws {size[0]} x {size[1]}, not {FRAME_SIZE[0]} x {FRAME_SIZE[1]}')
    ActionChains(driver).click(canvas).key_down(Keys.ARROW_LEFT).perform()
    driver.execute_script('window.frameTimes = []')
    WebDriverWait(driver, FRAMES).until(lambda d: d.execute_script('return window.frameTimes.length') >= FRAMES)
    ActionChains(driver).key_up(Keys.ARROW_LEFT).perform()
    return driver.execute_script('return window.frameTimes')[:FRAMES]


def main():
    page = pathlib.Path(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    measure_desktop = sys.argv[3] if len(sys.argv) > 3 else None
    # Everything the folder serves, the help pages and pictures included,
    # though those are fetched only when shown.
    sizes = {entry.relative_to(page).as_posix(): len(gzip.compress(entry.read_bytes(), 9))
             for entry in sorted(page.rglob('*')) if entry.is_file() and entry.suffix != '.txt'}
    for name, size in sizes.items():
        print(f'{name:22} {size / 1024:8.1f} KiB compressed')
    total = sum(size for name, size in sizes.items() if name not in SOUND_FILES)
    sound = sum(size for name, size in sizes.items() if name in SOUND_FILES)
    print(f'download: {total / 1024:.1f} KiB compressed, and {sound / 1024:.1f} KiB more for sound      '
          f'target: at most {TARGET_BYTES >> 20} MiB')

    server = serve(str(page))
    times = []
    with tempfile.TemporaryDirectory() as user_data:
        driver = open_browser(user_data)
        try:
            # Every load fetches and compiles everything again, as a first visit does.
            driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
            for run in range(runs):
                driver.get(f'http://127.0.0.1:{server.server_port}/index.html?seed=4&start=1&run={run}')
                WebDriverWait(driver, PAGE_LIMIT_S).until(
                    lambda d: d.execute_script('return window.vokta !== undefined && window.vokta.frames > 0'))
                times.append(driver.execute_script('return window.vokta.firstFrameMs'))
            frame_times = measure_frames(driver, server.server_port)
        finally:
            driver.quit()
            server.shutdown()
    times.sort()
    print(f'first frame: median {statistics.median(times):.0f} ms, '
          f'slowest {times[-1]:.0f} ms over {runs} loads      target: at most {TARGET_FIRST_FRAME_MS} ms')
    print(f'frame time at {FRAME_SIZE[0]} x {FRAME_SIZE[1]} in the page: {summary(frame_times)} over {FRAMES} frames')
    if measure_desktop:
        desktop = subprocess.run(X_WRAP + [measure_desktop, 'frame-time', str(FRAMES), *map(str, FRAME_SIZE)],
                                 capture_output=True, text=True)
        if desktop.returncode != 0:
            sys.exit(f'measure: {measure_desktop} ended with {desktop.returncode}: {desktop.stderr.strip()}')
        print('the desktop, in the same run:\n' + desktop.stdout.rstrip())


if __name__ == '__main__':
    main()
