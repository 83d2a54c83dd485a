#!/usr/bin/python3
"""The browser edition in Debian's headless Chromium, driven through
chromium-driver by python3-selenium.

Serves the page (build/web) on a free loopback port and checks that
- the page draws the seeded scene with a WebGL 2 context: the canvas holds
  the background, the floor and the pieces' colours;
- every script of tests/play (and the bad ones of tests/play/bad), run
  through window.vokta.play with the files of tests/play/data, prints byte
  for byte what vokta-play prints, ends with the same exit code and leaves
  the same files behind.

Every step waits for the condition it checks; the time limits only stop a
page that never gets there.
"""

import argparse
import base64
import functools
import http.server
import io
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import threading

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'
# Headless, with WebGL on the software rasterizer, and quiet on a machine
# without a network.
CHROMIUM_FLAGS = [
    '--headless', '--no-sandbox', '--disable-gpu', '--use-gl=angle', '--use-angle=swiftshader',
    '--enable-unsafe-swiftshader', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--window-size=1280,800',
]
SEED = 4
PAGE_LIMIT_S = 60
# The colours every start scene shows: the background, and the floor's and
# the pieces' many shades.
LEAST_COLOURS = 8


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, '.wasm': 'application/wasm'}

    def log_message(self, *arguments):
        pass


def serve(folder):
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(QuietHandler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def open_browser(user_data):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in CHROMIUM_FLAGS + ['--user-data-dir=' + user_data]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def check_first_frame(driver, failures):
    WebDriverWait(driver, PAGE_LIMIT_S).until(
        lambda d: d.execute_script('return window.vokta !== undefined && window.vokta.frames > 0'))
    if not driver.execute_script("return document.getElementById('view').getContext('webgl2') !== null"):
        failures.append('the canvas has no WebGL 2 context')
    canvas = driver.find_element(By.ID, 'view')
    picture = Image.open(io.BytesIO(canvas.screenshot_as_png)).convert('RGB')
    colours = picture.getcolors(maxcolors=1 << 20) or []
    if len(colours) < LEAST_COLOURS:
        failures.append(f'the canvas shows {len(colours)} colours, fewer than the scene\'s {LEAST_COLOURS}')
    print(f'first frame after {driver.execute_script("return window.vokta.firstFrameMs"):.0f} ms, '
          f'{len(colours)} colours')


def files_of(folder):
    return {entry.name: entry.read_bytes() for entry in sorted(folder.iterdir()) if entry.is_file()}


def check_scripts(driver, vokta_play, scripts, data, failures):
    WebDriverWait(driver, PAGE_LIMIT_S).until(lambda d: d.execute_script('return window.vokta.ready'))
    for script in sorted(scripts.glob('*.play')) + sorted(scripts.glob('bad/*.txt')):
        with tempfile.TemporaryDirectory() as work:
            folder = pathlib.Path(work) / 'files'
            shutil.copytree(data, folder)
            given = files_of(folder)
            desktop = subprocess.run([vokta_play, str(script.resolve())], cwd=folder, capture_output=True)
            expected_files = files_of(folder)
        result = driver.execute_script(
            '''const files = {};
               for (const [name, text] of Object.entries(arguments[1]))
                 files[name] = Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
               const output = window.vokta.play(arguments[0], files);
               const written = {};
               for (const [name, bytes] of Object.entries(files))
                 written[name] = btoa(Array.from(bytes, (b) => String.fromCharCode(b)).join(''));
               return {output: output, exitCode: window.vokta.lastExitCode, files: written};''',
            script.read_text(encoding='utf-8'), {name: base64.b64encode(bytes_).decode() for name, bytes_ in given.items()})
        page_files = {name: base64.b64decode(text) for name, text in result['files'].items()}
        problems = []
        if result['output'].encode('utf-8') != desktop.stdout:
            problems.append('prints something else than vokta-play')
        if result['exitCode'] != desktop.returncode:
            problems.append(f'ends with {result["exitCode"]}, vokta-play with {desktop.returncode}')
        if page_files != expected_files:
            problems.append('leaves other files than vokta-play')
        print(f'{script.name}: {", ".join(problems) or "the same"} '
              f'({len(desktop.stdout)} bytes of output, exit code {desktop.returncode})')
        failures.extend(f'{script.name} {problem}' for problem in problems)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--page', required=True, help='the folder make web writes (build/web)')
    parser.add_argument('--vokta-play', required=True, help='the desktop vokta-play')
    parser.add_argument('--scripts', required=True, help='the folder of .play scripts')
    parser.add_argument('--files', required=True, help='the files the scripts start with')
    arguments = parser.parse_args()
    if not os.path.isfile(os.path.join(arguments.page, 'vokta.wasm')):
        print(f'browser_test: {arguments.page} holds no browser edition; build it with make web', file=sys.stderr)
        return 1

    server = serve(arguments.page)
    failures = []
    with tempfile.TemporaryDirectory() as user_data:
        driver = open_browser(user_data)
        try:
            driver.get(f'http://127.0.0.1:{server.server_port}/index.html?seed={SEED}')
            check_first_frame(driver, failures)
            check_scripts(driver, arguments.vokta_play, pathlib.Path(arguments.scripts),
                          pathlib.Path(arguments.files), failures)
        finally:
            driver.quit()
            server.shutdown()
    for failure in failures:
        print('FAILED: ' + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
