#!/usr/bin/python3
"""Measures the browser edition (make web) in Debian's headless Chromium:
the download's size compressed with gzip -9, the way a web host sends it,
and the time from the start of the page's load to the first frame of the
scene (window.vokta.firstFrameMs), over RUNS loads with the browser's cache
off.

  /usr/bin/python3 bench/web/measure.py build/web [RUNS]
"""

import gzip
import pathlib
import statistics
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / 'tests' / 'web'))
from browser_test import PAGE_LIMIT_S, open_browser, serve  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

TARGET_BYTES = 3 << 20
TARGET_FIRST_FRAME_MS = 2000


def main():
    page = pathlib.Path(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    sizes = {entry.name: len(gzip.compress(entry.read_bytes(), 9)) for entry in sorted(page.iterdir())}
    for name, size in sizes.items():
        print(f'{name:16} {size / 1024:8.1f} KiB compressed')
    total = sum(sizes.values())
    print(f'download: {total / 1024:.1f} KiB compressed      target: at most {TARGET_BYTES >> 20} MiB')

    server = serve(str(page))
    times = []
    with tempfile.TemporaryDirectory() as user_data:
        driver = open_browser(user_data)
        try:
            # Every load fetches and compiles everything again, as a first visit does.
            driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
            for run in range(runs):
                driver.get(f'http://127.0.0.1:{server.server_port}/index.html?seed=4&run={run}')
                WebDriverWait(driver, PAGE_LIMIT_S).until(
                    lambda d: d.execute_script('return window.vokta !== undefined && window.vokta.frames > 0'))
                times.append(driver.execute_script('return window.vokta.firstFrameMs'))
        finally:
            driver.quit()
            server.shutdown()
    times.sort()
    print(f'first frame: median {statistics.median(times):.0f} ms, '
          f'slowest {times[-1]:.0f} ms over {runs} loads      target: at most {TARGET_FIRST_FRAME_MS} ms')


if __name__ == '__main__':
    main()
