#!/usr/bin/python3
"""The shell of the browser edition in Debian's headless Chromium, played
with real keys and clicks sent through chromium-driver:

- menus: START in the start dialog; the menu bar shows what the shell's
  model says, item for item, in both languages (its words, keys, separators,
  checks and grey items; the model itself is tested in tests/shell); each
  popup opens by its Alt mnemonic, the piece popup only with a piece
  selected; the language chosen in the Help menu is remembered across a
  reload; the library lists today's task and every task of index.txt with a
  picture drawn;
- made tasks: Today's task and Random task... load what they make, and the
  library shows today's task first with the days in a row the progress holds;
- solve: the built-in task solved with the keys of tests/play/solve-keyboard.play
  ends with the success message of vokta_ru.ts, and the completion is kept
  in the browser's storage;
- touch: a tap is a left click and a long press a right click;
- round trip: a task file chosen through Load... and written back by Save...
  downloads as the same bytes as vokta-play writes for the same game;
- the keyboard: the message about a damaged task file holds it until it
  closes, and the game keeps it through Tab and clicks on the help panel;
- device pixels: at two to a CSS pixel the library's pictures are drawn at
  the screen's pixels, and the start and About pictures are the @2x files;
- task codes: an address with #task=CODE opens that task after START (at
  once with ?start=1, and again when the address changes), Share task...
  shows its code and its link, whose Copy button copies it, and a code typed
  into Open task code... opens its task, a bad one refused with a message.

Every step waits for the condition it checks; the time limits only stop a
page that never gets there.
"""

import argparse
import base64
import io
import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

from PIL import Image
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from browser_test import PAGE_LIMIT_S, open_browser, serve

SEED = 4
# The browser hands a page over to a new service worker a moment after the
# last page of the old one has gone, so a start or two may still run on it.
UPDATE_STARTS = 5
# The keyboard plan first turns the camera by holding Left for four ticks;
# the page turns it as far with a drag of the pointer, which does not
# depend on how long a key is held: 4 ticks of 0.1 radians, at 0.01 radians
# a pixel (puzzle/input.h).
CAMERA_DRAG_PX = 40
EMPTY_CORNER = (20, 20)
# The lit top face of the red piece in the start-up view.
RED_FACE = (255, 0, 0)
ARROWS = [Keys.LEFT, Keys.RIGHT, Keys.UP, Keys.DOWN]
UNDO_GREY = "return document.querySelector('.item[data-name=\"undo\"]').classList.contains('disabled')"
# The library's picture in CSS pixels (puzzle/task_picture.h).
TASK_PICTURE_SIZE = (160, 120)
# A picture stretched smoothly to twice its size has edges half as steep
# (measured: 0.38 to 0.43 times as steep); one drawn at that size, as steep.
STRETCHED_STEEPNESS = 0.75
KEYS = {'left': Keys.LEFT, 'right': Keys.RIGHT, 'up': Keys.UP, 'down': Keys.DOWN, 'pageup': Keys.PAGE_UP,
        'pagedown': Keys.PAGE_DOWN, 'enter': Keys.ENTER, 'escape': Keys.ESCAPE, 'home': Keys.HOME}


def translations(ts_file):
    """(context, English) -> Russian, from the translation file."""
    table = {}
    for context in ElementTree.parse(ts_file).getroot().iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            table[(name, message.findtext('source'))] = message.findtext('translation')
    return table


class Page:
    def __init__(self, driver, url):
        self.driver = driver
        self.url = url

    def wait(self, condition, what):
        WebDriverWait(self.driver, PAGE_LIMIT_S).until(lambda d: condition(), message=what)

    def script(self, text, *arguments, async_script=False):
        if async_script:
            return self.driver.execute_async_script(text, *arguments)
        return self.driver.execute_script(text, *arguments)

    def load(self):
        self.driver.get(self.url)
        self.wait(lambda: self.script('return window.vokta !== undefined && window.vokta.ready'), 'the page loads')

    def start(self):
        self.wait(lambda: self.script("return !document.getElementById('start').hidden"), 'the start dialog shows')
        self.driver.find_element(By.ID, 'start-start').click()
        self.wait(lambda: self.status()['started'] and self.script('return window.vokta.frames > 0'),
                  'the game starts')

    def status(self):
        return self.script('return window.vokta.status()')

    def settle(self):
        self.wait(lambda: self.status()['falling'] == 0, 'the pieces come to rest')

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def alt(self, letter):
        ActionChains(self.driver).key_down(Keys.ALT).send_keys(letter).key_up(Keys.ALT).perform()

    def open_popup(self):
        return self.script('''const open = Array.from(document.querySelectorAll('.popup')).filter((p) => !p.hidden);
                              return open.length === 1 ? Array.from(document.querySelectorAll('.popup')).indexOf(open[0])
                                                       : -1;''')

    def menu_bar(self):
        """Every title with its mnemonic, whether it opens, and its popup's
        items as shown: '|' before an item after a separator, its text and
        keys, its check mark, whether it is grey."""
        return self.script('''
            const titles = Array.from(document.querySelectorAll('.menu-title'));
            const popups = Array.from(document.querySelectorAll('.popup'));
            return titles.map((title, index) => {
              const rows = [];
              let separated = false;
              for (const row of popups[index].children) {
                if (row.classList.contains('separator')) {
                  separated = true;
                  continue;
                }
                rows.push([(separated ? '|' : '') + row.querySelector('.text').textContent,
                           row.querySelector('.keys').textContent, row.querySelector('.check').textContent === '\u2713',
                           !row.classList.contains('disabled')]);
                separated = false;
              }
              return [title.textContent, title.querySelector('u').textContent,
                      !title.classList.contains('disabled'), rows];
            });''')

    def model_menus(self):
        """The menus as the shell's model gives them to the page, in the
        same form as menu_bar."""
        shown = self.script('return window.vokta.shownMenus()')
        bar = []
        for menu in shown:
            at = menu['title'].index('&')
            rows = [[('|' if item['separatorBefore'] else '') + item['text'], item['keys'], item['checked'],
                     item['enabled']] for item in menu['items']]
            bar.append([menu['title'].replace('&', ''), menu['title'][at + 1], menu['enabled'], rows])
        return bar

    def focused(self):
        return self.script('return document.activeElement.id')

    def message(self):
        return self.script('''const box = document.getElementById('message');
            return box.hidden ? null : [document.getElementById('message-caption').textContent,
                                        document.getElementById('message-text').textContent];''')

    def choose(self, mnemonic, downs):
        """Opens a popup by its mnemonic and chooses the item downs below the
        first enabled one, or the item of that command name."""
        if isinstance(downs, str):
            # The arrows go over the enabled items alone.
            downs = next([item['name'] for item in menu['items'] if item['enabled']].index(downs)
                         for menu in self.script('return window.vokta.shownMenus()')
                         if downs in [item['name'] for item in menu['items']])
        self.alt(mnemonic)
        self.wait(lambda: self.open_popup() >= 0, f'Alt+{mnemonic} opens its popup')
        self.keys(*([Keys.DOWN] * downs), Keys.ENTER)
        self.wait(lambda: self.open_popup() < 0, 'the popup closes')


def check_menus(page, library_index, failures):
    page.load()
    page.start()
    for language in ('English', 'Russian'):
        def same_as_model(when):
            shown, model = page.menu_bar(), page.model_menus()
            if shown != model:
                failures.append(f'{language} menus {when}: the page shows {shown}, the model says {model}')
            return model
        expected = same_as_model('at the start')
        if expected[0][0] != ('Task' if language == 'English' else 'Задача'):
            failures.append(f'{language}: the menu bar starts with {expected[0][0]}')
        # Each mnemonic opens its popup; the piece popup only with a piece selected.
        for index, (_, letter, _, _) in enumerate(expected):
            page.alt(letter.lower())
            if index == 1:
                if page.open_popup() != -1:
                    failures.append(f'{language}: Alt+{letter} opens the piece popup with nothing selected')
                page.keys('1')
                page.wait(lambda: page.status()['selected'] == 0, 'key 1 selects the first piece')
                same_as_model('with a piece selected')
                page.alt(letter.lower())
            page.wait(lambda: page.open_popup() == index, f'{language}: Alt+{letter} opens popup {index}')
            page.keys(Keys.ESCAPE)
            page.wait(lambda: page.open_popup() == -1, 'Escape closes the popup')
        page.keys(Keys.ENTER)
        page.settle()
        # Solid checked and Undo no longer grey, as the model has them.
        page.choose(expected[0][1].lower(), 'solid')
        same_as_model('after Solid and a step')
        page.choose(expected[0][1].lower(), 'solid')
        if language == 'English':
            help_letter = expected[2][1].lower()
            # The language item is the last: Up from the first wraps to it.
            page.alt(help_letter)
            page.wait(lambda: page.open_popup() == 2, 'the Help popup opens')
            page.keys(Keys.UP, Keys.ENTER)
            page.wait(lambda: page.script('return localStorage.getItem(window.vokta.table.storage.language)') ==
                      'Russian', 'the language is stored')
            # Remembered: the page comes back in Russian.
            page.load()
            page.start()

    # The library, in Russian now: every task of its index, each with a picture.
    tasks = [line for line in library_index.read_text(encoding='utf-8').splitlines()
             if line.strip() and not line.startswith('#')]
    page.choose(page.model_menus()[0][1].lower(), 'library')
    page.wait(lambda: page.script("return document.querySelectorAll('.task').length") == len(tasks) + 1,
              'the library lists today\'s task and every task of its index')
    names = page.script("return Array.from(document.querySelectorAll('.task'), (t) => t.textContent.split('\\n')[0])")
    if not names[0].startswith('Задача дня, ') or names[1:] != [line.split('\t')[4] for line in tasks]:
        failures.append(f'the library shows {names}, not today\'s task and the Russian names of its index')
    page.wait(lambda: page.script('''const rows = document.querySelectorAll('.task canvas');
        const last = rows[rows.length - 1].getContext('2d').getImageData(0, 0, 160, 120).data;
        const colours = new Set();
        for (let i = 0; i < last.length; i += 4)
            colours.add((last[i] << 16) | (last[i + 1] << 8) | last[i + 2]);
        return colours.size > 8;'''), 'the last task\'s picture is drawn')
    page.keys(Keys.ESCAPE)
    page.wait(lambda: page.script("return document.getElementById('library').hidden"), 'Escape closes the library')
    print(f'menus: as the model says in both languages, {len(tasks)} library tasks with pictures')


def check_solve(page, plan, table, failures):
    """In Russian, the language the menus' check left behind."""
    page.load()
    page.script('localStorage.removeItem(window.vokta.table.storage.progress)')
    page.load()
    page.start()
    page.settle()
    canvas = page.driver.find_element(By.ID, 'view')
    box = canvas.rect
    x, y = EMPTY_CORNER
    ActionChains(page.driver).move_to_element_with_offset(canvas, x - box['width'] // 2, y - box['height'] // 2) \
        .click_and_hold().move_by_offset(CAMERA_DRAG_PX, 0).release().perform()
    lines = [line.split('#')[0].split() for line in plan.read_text(encoding='utf-8').splitlines()]
    lines = [line for line in lines if line]
    # The plan after its camera turn: keys, and ticks that wait for the piece let go to land.
    turn_end = next(i for i, line in enumerate(lines) if line == ['keyup', 'left'])
    keys = ActionChains(page.driver)
    for line in lines[turn_end + 1:]:
        if line[0] == 'tick':
            keys.perform()
            keys = ActionChains(page.driver)
            page.settle()
        elif line[0] == 'key' and line[2:] == ['shift']:
            keys.key_down(Keys.SHIFT).send_keys(KEYS[line[1]]).key_up(Keys.SHIFT)
        elif line[0] == 'key':
            keys.send_keys(KEYS.get(line[1], line[1]))
        elif line[0] not in ('state', 'expect'):
            failures.append(f'solve: the plan has a line the page test does not play: {" ".join(line)}')
    keys.perform()
    expected = [table[('vokta::MainWindow', 'Success')], table[('vokta::MainWindow', 'Task completed.\nCongratulations!')]]
    page.wait(lambda: page.message() is not None, 'a message shows')
    if page.message() != expected:
        failures.append(f'solve: the page says {page.message()}, not {expected}')
    if not page.script("return (localStorage.getItem(window.vokta.table.storage.progress) || '').split('\\n').length > 2"):
        failures.append('solve: the completion is not in the browser storage')
    print(f'solve: {page.message()}')


def check_made_tasks(page, failures):
    """Today's task and Random task... chosen in the Task menu, the library
    with the day's task first and the days in a row the stored progress
    holds, and today's task opened from it, with real keys and clicks; the
    day fixed by the address, the player's progress one day before it."""
    page.load()
    page.script('localStorage.clear()')
    page.script('localStorage.setItem(window.vokta.table.storage.progress, arguments[0])',
                '# Vokta progress 1\nday\t2026-02-28\n')
    page.load()
    page.start()
    task_letter = page.model_menus()[0][1].lower()
    first_task = "const row = document.querySelector('#library:not([hidden]) .task'); return row && row.textContent"
    hard = lambda: page.driver.find_elements(By.CSS_SELECTOR, '#random-buttons button')[2]
    rows = [
        ("Today's task", lambda: page.choose(task_letter, 'todays-task'),
         lambda: page.status()['task'] == 'daily-2026-03-01.tsk'),
        ('Random task...', lambda: page.choose(task_letter, 'random-task'),
         lambda: page.script("return !document.getElementById('random').hidden")),
        ('Hard clicked', lambda: ActionChains(page.driver).click(hard()).perform(),
         lambda: page.status()['task'].startswith('random-hard-')),
        ("the library, today's task first", lambda: page.choose(task_letter, 'library'),
         lambda: page.script(first_task) == "Today's task, 2026-03-01\nunique\ndays in a row: 1"),
        ("today's task opened by a double click",
         lambda: ActionChains(page.driver).double_click(page.driver.find_element(By.CSS_SELECTOR, '.task')).perform(),
         lambda: page.status()['task'] == 'daily-2026-03-01.tsk' and page.focused() == 'view'),
    ]
    for what, act, until in rows:
        act()
        page.wait(until, what)
    print(f'made tasks: {", ".join(what for what, _, _ in rows)}')


def check_touch(page, failures):
    """A tap on the red piece selects it, which is no step; a long press on it
    is a right click, which turns it: a step, so Undo is no longer grey."""
    page.load()
    page.start()
    page.settle()
    canvas = page.driver.find_element(By.ID, 'view')
    picture = Image.open(io.BytesIO(canvas.screenshot_as_png)).convert('RGB')
    red = [(x, y) for y in range(0, picture.height, 2) for x in range(0, picture.width, 2)
           if picture.getpixel((x, y)) == RED_FACE]
    if not red:
        failures.append('touch: no red piece in view')
        return
    # The red pixel nearest the middle of them all: on the piece whatever its shape.
    middle = (sum(x for x, _ in red) / len(red), sum(y for _, y in red) / len(red))
    x, y = min(red, key=lambda pixel: (pixel[0] - middle[0]) ** 2 + (pixel[1] - middle[1]) ** 2)
    point = {'x': canvas.rect['x'] + x, 'y': canvas.rect['y'] + y}
    page.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 1})
    touch = lambda kind, points: page.driver.execute_cdp_cmd('Input.dispatchTouchEvent',
                                                            {'type': kind, 'touchPoints': points})
    touch('touchStart', [point])
    touch('touchEnd', [])
    if page.status()['selected'] < 0 or not page.script(UNDO_GREY):
        failures.append(f'touch: a tap on the red piece gives {page.status()} and Undo grey: {page.script(UNDO_GREY)}')
    touch('touchStart', [point])
    page.wait(lambda: not page.script(UNDO_GREY), 'a long press turns the piece')
    touch('touchEnd', [])
    print(f'touch: tap and long press on the red piece at ({point["x"]:.0f}, {point["y"]:.0f})')
    page.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': False})


def check_kept_game(page, failures):
    """The player's game (no seed in the address) is kept after every step
    and continued on the next visit: the same picture, the earlier steps to
    undo. A scatter asked for by its seed neither continues nor replaces it."""
    player = Page(page.driver, page.url.replace(f'seed={SEED}', 'start=1'))
    player.load()
    player.script('localStorage.removeItem(window.vokta.table.storage.game)')
    player.load()
    player.wait(lambda: player.status()['started'], 'the game starts at once')
    player.settle()
    task_letter = player.model_menus()[0][1].lower()
    for retry in range(2):
        player.choose(task_letter, 'retry')
        player.settle()
    canvas = player.driver.find_element(By.ID, 'view')
    before = canvas.screenshot_as_png
    if not player.script('return localStorage.getItem(window.vokta.table.storage.game)'):
        failures.append('kept game: nothing kept after two steps')
        return
    # Leaving the page keeps the game as it stands; another scatter, asked
    # for by its seed, leaves it be.
    page.load()
    kept = page.script('return localStorage.getItem(window.vokta.table.storage.game)')
    page.start()
    page.settle()
    page.choose(task_letter, 'retry')
    page.settle()
    if player.script('return localStorage.getItem(window.vokta.table.storage.game)') != kept:
        failures.append('kept game: a game scattered by its seed changed the kept one')
    player.load()
    player.wait(lambda: player.status()['started'] and player.script('return window.vokta.frames > 0'),
                'the kept game comes back')
    player.settle()
    after = player.driver.find_element(By.ID, 'view').screenshot_as_png
    if Image.open(io.BytesIO(after)).tobytes() != Image.open(io.BytesIO(before)).tobytes():
        failures.append('kept game: the continued game does not look as it did')
    undone = 0
    while not player.script(UNDO_GREY) and undone < 5:
        ActionChains(player.driver).key_down(Keys.CONTROL).send_keys('z').key_up(Keys.CONTROL).perform()
        undone += 1
        player.settle()
    if undone != 2:
        failures.append(f'kept game: {undone} steps to undo after the reload, not the two Retries')
    print(f'kept game: continued after a reload, {undone} earlier steps undone')


def check_phone(page, failures):
    """On a phone held upright (360 x 640 CSS pixels): the whole floor in
    the view, every popup and dialog within the screen, and a pinch with
    two fingers moving the camera in and out."""
    driver = page.driver
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                           {'width': 360, 'height': 640, 'deviceScaleFactor': 2, 'mobile': True})
    driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 2})
    try:
        page.load()
        within = '''const box = arguments[0].getBoundingClientRect();
            return box.width > 0 && box.left >= 0 && box.right <= document.documentElement.clientWidth;'''
        if not page.script(within, driver.find_element(By.ID, 'start-box')):
            failures.append('phone: the start dialog is wider than the screen')
        page.start()
        page.settle()
        canvas = driver.find_element(By.ID, 'view')
        # Upright, the view spans across its width what the desktop's 4:3
        # window does: every piece of the seeded scatter shows, none cut away.
        picture = Image.open(io.BytesIO(canvas.screenshot_as_png)).convert('RGB').reduce(2)
        hues = {'magenta': lambda r, g, b: r > 120 and b > 120 and g < 40, 'cyan': lambda r, g, b: g > 120 and b > 120 and r < 40,
                'red': lambda r, g, b: r > 120 and g < 30 and b < 30, 'green': lambda r, g, b: g > 120 and r < 40 and b < 40,
                'blue': lambda r, g, b: b > 120 and r < 40 and g < 40,
                'pink': lambda r, g, b: r > 120 and 40 < g < 130 and abs(g - b) < 12}
        pixels = list(picture.getdata())
        missing = [name for name, shade in hues.items() if sum(1 for pixel in pixels if shade(*pixel)) < 30]
        if missing:
            failures.append(f'phone: upright, the view leaves out the {", ".join(missing)} piece')
        letters = [menu[1].lower() for menu in page.model_menus()]
        page.keys('1')
        page.wait(lambda: page.status()['selected'] == 0, 'key 1 selects the first piece')
        for index, letter in enumerate(letters):
            page.alt(letter)
            page.wait(lambda: page.open_popup() == index, f'phone: Alt+{letter} opens its popup')
            if not page.script(within, driver.find_elements(By.CSS_SELECTOR, '.popup')[index]):
                failures.append(f'phone: popup {index} is wider than the screen')
            page.keys(Keys.ESCAPE)
        page.keys(Keys.ENTER)
        page.settle()
        for downs, dialog in (('library', 'library-box'), ('new', 'message-box')):
            page.choose(letters[0], downs)
            if dialog == 'message-box':
                page.keys('h')
            page.wait(lambda: not driver.find_element(By.ID, dialog).find_element(By.XPATH, '..').get_attribute(
                'hidden'), f'phone: {dialog} shows')
            if not page.script(within, driver.find_element(By.ID, dialog)):
                failures.append(f'phone: {dialog} is wider than the screen')
            page.keys(Keys.ESCAPE)
        # A pinch in the middle of the view, the fingers spreading apart: closer.
        box = canvas.rect
        middle = (box['x'] + box['width'] / 2, box['y'] + box['height'] / 2)
        fingers = lambda spread: [{'x': middle[0] - spread, 'y': middle[1], 'id': 1},
                                  {'x': middle[0] + spread, 'y': middle[1], 'id': 2}]
        before = page.status()['cameraDistance']
        touch = lambda kind, points: driver.execute_cdp_cmd('Input.dispatchTouchEvent',
                                                            {'type': kind, 'touchPoints': points})
        touch('touchStart', fingers(20))
        for spread in range(30, 100, 10):
            touch('touchMove', fingers(spread))
        touch('touchEnd', [])
        page.wait(lambda: page.status()['cameraDistance'] < before - 100, 'phone: a pinch brings the camera closer')
        print(f'phone: every piece in the upright view, popups and dialogs within 360 px, a pinch from '
              f'{before:.0f} to {page.status()["cameraDistance"]:.0f} units')
    finally:
        driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': False})
        driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})


def check_offline(driver, folder, library_index, failures):
    """The browser reads the manifest without errors; once the service
    worker keeps the page, it starts and plays with the server gone: the
    game, the library with its pictures."""
    server = serve(folder)
    page = Page(driver, f'http://127.0.0.1:{server.server_port}/index.html?seed={SEED}&start=1')
    try:
        page.load()
        manifest = driver.execute_cdp_cmd('Page.getAppManifest', {})
        if manifest.get('errors') or '"Vokta"' not in manifest.get('data', ''):
            failures.append(f'offline: the manifest has errors or no name: {manifest.get("errors")}')
        page.wait(lambda: page.script('return navigator.serviceWorker.controller !== null'),
                  'the service worker takes the page')
        # Every file the service worker lists is kept once it is active.
        page.wait(lambda: page.script('''const done = arguments[arguments.length - 1];
            navigator.serviceWorker.getRegistration().then((registration) => registration.active.state)
              .then((state) => done(state === 'activated'));''', async_script=True),
                  'the service worker has kept the page\'s files')
    finally:
        server.shutdown()
        server.server_close()
    # The server is gone: everything comes from what the service worker kept.
    page.load()
    page.wait(lambda: page.status()['started'] and page.script('return window.vokta.frames > 0'),
              'offline, the game starts')
    tasks = [line for line in library_index.read_text(encoding='utf-8').splitlines()
             if line.strip() and not line.startswith('#')]
    page.settle()
    page.choose(page.model_menus()[0][1].lower(), 'library')
    page.wait(lambda: page.script("return document.querySelectorAll('.task canvas').length") == len(tasks) + 1,
              'offline, the library lists today\'s task and every task')
    page.keys(Keys.ENTER)
    page.wait(lambda: page.script("return document.getElementById('library').hidden") and
              page.status()['falling'] > 0, 'offline, the first task is opened')
    print(f'offline: the page came from the service worker\'s {len(tasks)} tasks and all')


def check_update(driver, folder, source, failures):
    """A newer version of the page's files, published while the old one is
    kept: the next start runs on the new files, all of them, and says so in
    one line."""
    with tempfile.TemporaryDirectory() as published:
        shutil.copytree(folder, published, dirs_exist_ok=True)
        server = serve(published)
        try:
            page = Page(driver, f'http://127.0.0.1:{server.server_port}/index.html?seed={SEED}&start=1')
            page.load()
            page.wait(lambda: page.script('return window.vokta.version !== undefined'), 'the page learns its version')
            first = page.script('return window.vokta.version')
            marker = '// published again'
            with open(pathlib.Path(published) / 'vokta-page.js', 'a', encoding='utf-8') as script:
                script.write(marker + '\n')
            subprocess.run(['cmake', f'-DTEMPLATE={source}/web/service-worker.js', f'-DFOLDER={published}',
                            '-P', f'{source}/web/offline.cmake'], check=True, capture_output=True)
            # Found and kept whole at this visit, beside the old, which goes on;
            # taken over once no page of the old version is open.
            page.load()
            page.wait(lambda: page.script('''const done = arguments[arguments.length - 1];
                navigator.serviceWorker.getRegistration().then((r) => done(r.waiting !== null));''',
                                          async_script=True), 'the new version waits, kept whole')
            if page.script('return window.vokta.version') != first:
                failures.append('update: the new version took over while the old page ran')
            # The old page closed, the worker hands over when it has seen it go:
            # each start until then still runs on the old version, whole.
            for start in range(UPDATE_STARTS):
                driver.get('about:blank')
                page.load()
                page.wait(lambda: page.script('return window.vokta.version') is not None, 'the page learns its version')
                if page.script('return window.vokta.version') != first:
                    break
            else:
                failures.append(f'update: {UPDATE_STARTS} starts after the page closed still ran the old version')
                return
            page.wait(lambda: not page.script("return document.getElementById('notice-line').hidden"),
                      'the page says it has been updated')
            served = page.script('''const done = arguments[arguments.length - 1];
                fetch('vokta-page.js').then((answer) => answer.text()).then(done);''', async_script=True)
            if marker not in served:
                failures.append('update: the new version serves the old script')
            line = page.script("return document.getElementById('notice-line').textContent")
            print(f'update: from {first} to {page.script("return window.vokta.version")}, "{line}"')
        finally:
            server.shutdown()
            server.server_close()


def check_round_trip(page, task_file, vokta_play, downloads, failures):
    """For a new player: in English, the storage cleared."""
    page.driver.execute_cdp_cmd('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': str(downloads)})
    page.load()
    page.script('localStorage.clear()')
    page.load()
    page.start()
    page.settle()
    task_letter = page.model_menus()[0][1].lower()
    # The file picker that Load... opens is answered as a player would.
    page.driver.execute_cdp_cmd('Page.setInterceptFileChooserDialog', {'enabled': True})
    page.choose(task_letter, 'load')
    page.driver.find_element(By.ID, 'load-file').send_keys(str(task_file.resolve()))
    page.wait(lambda: page.status()['falling'] > 0, 'the loaded task scatters the pieces')
    page.settle()
    page.choose(task_letter, 'save')
    saved = downloads / task_file.name
    page.wait(lambda: saved.is_file() and not list(downloads.glob('*.crdownload')), 'Save downloads the task')
    with tempfile.TemporaryDirectory() as work:
        folder = pathlib.Path(work)
        (folder / task_file.name).write_bytes(task_file.read_bytes())
        script = f'setup {SEED}\nload {task_file.name}\ntick 200\nsave written.tsk\n'
        subprocess.run([str(pathlib.Path(vokta_play).resolve())], input=script.encode(), cwd=folder, check=True, capture_output=True)
        written = (folder / 'written.tsk').read_bytes()
    if saved.read_bytes() != written:
        failures.append(f'round trip: the page saved {len(saved.read_bytes())} bytes, vokta-play {len(written)} '
                        'other ones')
    print(f'round trip: {task_file.name} saved as {len(written)} bytes')


def check_message_keeps_keyboard(page, task_letter, damaged, failures):
    """The message naming a damaged task file chosen through Load... holds the
    keyboard: the arrows and Tab move nothing behind it, Enter closes it (its
    release letting no piece go), and then the arrows move the piece again."""
    page.load()
    page.start()
    page.settle()
    page.keys('1')
    page.wait(lambda: page.status()['selected'] == 0, 'key 1 selects the first piece')
    page.driver.execute_cdp_cmd('Page.setInterceptFileChooserDialog', {'enabled': True})
    page.choose(task_letter, 'load')
    page.driver.find_element(By.ID, 'load-file').send_keys(str(damaged.resolve()))
    page.wait(lambda: page.message() is not None, 'the damaged file is reported')
    shown = page.message()
    in_message = "return document.getElementById('message').contains(document.activeElement)"
    if damaged.name not in shown[1] or not page.script(in_message):
        failures.append(f'message: {shown} does not name {damaged.name} or has not the keyboard')
    page.keys(*ARROWS, Keys.TAB, *ARROWS)
    if page.message() is None or not page.script(in_message) or not page.script(UNDO_GREY):
        failures.append('message: the arrows and Tab left it or moved the piece behind it')
    page.keys(Keys.ENTER)
    page.wait(lambda: page.message() is None and page.focused() == 'view', 'Enter closes the message')
    page.keys(*ARROWS)
    if page.status()['selected'] != 0 or page.script(UNDO_GREY):
        failures.append(f'message: after it closed the arrows moved nothing: {page.status()}')
    print(f'message: "{shown[1]}" held the keyboard')


def check_released_keys(page, letters, failures):
    """Enter and Escape let the selected piece go when they come up in the
    game; one whose press chose a menu item, closed a menu, About or a
    message box comes up in the game too, and must let nothing go. The key
    is held until what it closed has gone, as a player's is."""
    task_letter, piece_letter, help_letter = letters
    about_shown = "return !document.getElementById('about').hidden"
    nothing_over = ("return document.getElementById('about').hidden && document.getElementById('message').hidden "
                    "&& !Array.from(document.querySelectorAll('.popup')).some((p) => !p.hidden)")
    rows = [
        ('Move Right chosen with Enter from the piece menu', [('alt', piece_letter), ('keys', Keys.DOWN)], Keys.ENTER),
        ('the Task menu closed with Escape', [('alt', task_letter)], Keys.ESCAPE),
        ('About opened and closed with Enter', [('alt', help_letter), ('keys', Keys.ENTER), ('until', about_shown)],
         Keys.ENTER),
        ('About opened with Enter and closed with Escape',
         [('alt', help_letter), ('keys', Keys.ENTER), ('until', about_shown)], Keys.ESCAPE),
        ('a message box closed with Enter',
         [('keys', 'h'), ('until', "return !document.getElementById('message').hidden")], Keys.ENTER),
    ]
    page.load()
    page.start()
    page.settle()
    # A free build, so that H answers with a message box.
    page.choose(task_letter, 'new')
    page.settle()
    for what, steps, closing in rows:
        page.keys('4')
        page.wait(lambda: page.status()['selected'] >= 0, f'{what}: 4 selects a piece')
        selected = page.status()['selected']
        for kind, value in steps:
            if kind == 'alt':
                page.alt(value)
                page.wait(lambda: page.open_popup() >= 0, f'{what}: Alt+{value} opens its popup')
            elif kind == 'keys':
                page.keys(value)
            else:
                page.wait(lambda: page.script(value), f'{what}: it shows')
        ActionChains(page.driver).key_down(closing).perform()
        page.wait(lambda: page.script(nothing_over), f'{what}: it closes')
        ActionChains(page.driver).key_up(closing).perform()
        if page.status()['selected'] != selected:
            failures.append(f'{what}: the release let piece {selected} go: {page.status()}')
    # Its own Enter, pressed in the game, lets it go.
    page.keys(Keys.ENTER)
    page.wait(lambda: page.status()['selected'] < 0, 'Enter pressed in the game lets the piece go')
    print(f'released keys: {len(rows)} ways of closing with Enter or Escape let no piece go')


def check_game_keeps_keyboard(page, help_letter, failures):
    """While the game runs with nothing over it, after each input below the
    keyboard is with the game, so that a digit selects its piece: Tab takes
    it nowhere, and the help panel beside the game neither takes it nor keeps
    it when it closes."""
    page.load()
    page.start()
    page.settle()
    page.choose(help_letter, 1)
    help_page = page.driver.find_element(By.ID, 'help-page')
    page.wait(lambda: page.script('const shown = arguments[0].contentDocument; '
                                  'return shown.readyState === "complete" && shown.URL.endsWith("/index.html")',
                                  help_page), 'Help > Index shows the contents')
    back_enabled = "return !document.getElementById('help-back').disabled"

    def follow_link():
        page.driver.switch_to.frame(help_page)
        page.driver.find_element(By.CSS_SELECTOR, 'a[href]').click()
        page.driver.switch_to.default_content()
        page.wait(lambda: page.script(back_enabled), 'a link in the help leads on')

    def click(id_, until=lambda: True):
        page.driver.find_element(By.ID, id_).click()
        page.wait(until, f'a click on {id_} acts')

    rows = [
        ('Tab', lambda: page.keys(Keys.TAB)),
        ('Shift+Tab', lambda: ActionChains(page.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB)
         .key_up(Keys.SHIFT).perform()),
        ('a link in the help page', follow_link),
        ('Back', lambda: click('help-back', lambda: not page.script(back_enabled))),
        ('Contents', lambda: click('help-contents')),
        ('the help panel\'s caption', lambda: click('help-caption')),
        ('the help panel\'s close button', lambda: click('help-close', lambda: page.script(
            "return document.getElementById('help').hidden"))),
    ]
    for digit, (what, act) in zip('1234567', rows):
        before = page.status()['selected']
        act()
        page.wait(lambda: page.focused() == 'view', f'the game has the keyboard after {what}')
        page.keys(digit)
        if page.status()['selected'] in (before, -1):
            failures.append(f'keyboard: after {what}, digit {digit} selected nothing')
    print(f'keyboard: with the game after {", ".join(what for what, _ in rows)}')


def check_task_codes(page, task_letter, failures):
    """In English, as the keyboard checks left it."""
    bed, cube, five = '1uX9IaSx_dA003W001m000G', '1vAs____-', '1fAsJ_Zy3W8'
    shown = "return document.getElementById('share').hidden ? null : document.getElementById('share-code').value"

    def share(what):
        page.choose(task_letter, 'share-task')
        page.wait(lambda: page.script(shown) is not None, f'{what}: Share task... shows the code')
        code = page.script(shown)
        link = page.script("return document.getElementById('share-link').value")
        if link != page.url.split('?')[0].split('#')[0] + '#task=' + code:
            failures.append(f'codes: {what}: the link {link} does not open {code} on this page')
        return code

    def close_share():
        page.keys(Keys.ENTER)
        page.wait(lambda: page.script(shown) is None and page.focused() == 'view', 'Enter closes the share dialog')

    def open_code(text):
        page.choose(task_letter, 'open-task-code')
        page.wait(lambda: page.focused() == 'open-code-text', 'Open task code... asks for the code')
        page.keys(text, Keys.ENTER)
        page.wait(lambda: page.script("return document.getElementById('open-code').hidden"), 'Enter answers it')

    # Loaded afresh, not only the address's fragment changed.
    page.driver.get('about:blank')
    page.driver.get(page.url + '#task=' + bed)
    page.wait(lambda: page.script('return window.vokta !== undefined && window.vokta.ready'), 'the page loads')
    page.start()
    page.settle()
    if share('a link to the bed') != bed:
        failures.append(f'codes: the address #task={bed} opened {page.script(shown)}')
    copy_words = page.script("return document.getElementById('share-copy').textContent")
    page.driver.find_element(By.ID, 'share-copy').click()
    page.wait(lambda: page.script("return document.getElementById('share-copy').textContent") != copy_words,
              'Copy says the link is copied')
    close_share()

    open_code('1vAs___')
    page.wait(lambda: page.message() is not None, 'the cut code is refused')
    refused = page.message()
    page.keys(Keys.ENTER)
    page.wait(lambda: page.message() is None, 'Enter closes the message')
    expected = 'The task code 1vAs___ cannot be opened: it ends before its task does: part of it is missing.'
    if refused != ['Open task code', expected]:
        failures.append(f'codes: a cut code is refused with {refused}')
    if share('after the refused code') != bed:
        failures.append('codes: a refused code changed the task')
    close_share()
    open_code(cube)
    page.settle()
    if share('the cube typed in') != cube:
        failures.append(f'codes: the code {cube} typed in opened {page.script(shown)}')
    close_share()

    # At once with ?start=1, and a new link in the address of the page open.
    page.driver.get(page.url.replace('?', '?start=1&') + '#task=' + five)
    page.wait(lambda: page.script('return window.vokta.ready') and page.status()['started'], 'the game starts at once')
    page.settle()
    if share('?start=1 with a link') != five:
        failures.append(f'codes: ?start=1#task={five} opened {page.script(shown)}')
    close_share()
    page.script(f"location.hash = '#task={bed}'")
    page.wait(lambda: page.status()['falling'] > 0, 'a new link scatters the pieces')
    page.settle()
    if share('a new link in the address') != bed:
        failures.append(f'codes: the address changed to #task={bed} opened {page.script(shown)}')
    close_share()
    print(f'codes: opened from links and typed in, shared with their links; refused: "{expected}"')


def picture_of(page, element):
    """What a canvas holds, pixel for pixel, as an image."""
    url = page.script("return arguments[0].toDataURL('image/png')", element)
    return Image.open(io.BytesIO(base64.b64decode(url.split(',', 1)[1]))).convert('L')


def edge_steepness(picture):
    """How much of an edge's contrast one step from a pixel to its neighbour
    crosses, on average over every edge: the same for the same scene drawn
    at any size, half as much when a picture is stretched to twice its size."""
    width, height = picture.size
    pixels = picture.load()
    steps = [abs(pixels[x, y] - pixels[x + dx, y + dy]) for y in range(height - 1) for x in range(width - 1)
             for dx, dy in ((1, 0), (0, 1))]
    return sum(step * step for step in steps) / max(1, sum(steps))


def shown_source(page, selector):
    """The file an <img> shows, once it has loaded."""
    image = page.driver.find_element(By.CSS_SELECTOR, selector)
    page.wait(lambda: page.script('return arguments[0].complete && arguments[0].naturalWidth > 0', image),
              f'{selector} loads')
    return page.script('return arguments[0].currentSrc', image)


def check_device_pixels(pages, task_letter, help_letter, failures):
    """pages: (page, device pixels to a CSS pixel). The start and About
    pictures are the @2x files at two; the first library picture has the
    screen's pixels behind its layout, with edges as steep as at one."""
    steepness = {}
    for page, ratio in pages:
        page.load()
        sources = [shown_source(page, '#start-box img')]
        page.start()
        page.choose(help_letter, 0)
        sources.append(shown_source(page, '#about-picture'))
        page.keys(Keys.ESCAPE)
        if any(source.endswith('@2x.png') != (ratio == 2) for source in sources):
            failures.append(f'device pixels {ratio}: the start and About pictures are {sources}')
        page.choose(task_letter, 'library')
        first = lambda: page.driver.find_element(By.CSS_SELECTOR, '.task canvas')
        page.wait(lambda: len(picture_of(page, first()).getcolors(1 << 16) or []) > 8, 'the first picture is drawn')
        box = page.script('const box = arguments[0].getBoundingClientRect(); return [box.width, box.height]', first())
        pixels = page.script('return [arguments[0].width, arguments[0].height]', first())
        if tuple(box) != TASK_PICTURE_SIZE or tuple(pixels) != tuple(ratio * side for side in TASK_PICTURE_SIZE):
            failures.append(f'device pixels {ratio}: the library picture is {box} CSS pixels of {pixels}')
        steepness[ratio] = edge_steepness(picture_of(page, first()))
        page.keys(Keys.ESCAPE)
    print(f'device pixels: edge steepness of the library picture {steepness}')
    if steepness[2] < STRETCHED_STEEPNESS * steepness[1]:
        failures.append(f'device pixels: the library picture at two is stretched: {steepness}')


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--page', required=True, help='the folder make web writes (build/web)')
    parser.add_argument('--source', required=True, help='the source tree')
    parser.add_argument('--vokta-play', required=True, help='the desktop vokta-play')
    arguments = parser.parse_args()
    source = pathlib.Path(arguments.source)
    table = translations(source / 'resources/translations/vokta_ru.ts')

    server = serve(arguments.page)
    failures = []
    with tempfile.TemporaryDirectory() as user_data, tempfile.TemporaryDirectory() as downloads:
        driver = open_browser(user_data)
        try:
            page = Page(driver, f'http://127.0.0.1:{server.server_port}/index.html?seed={SEED}')
            check_menus(page, source / 'resources/tasks/index.txt', failures)
            check_solve(page, source / 'tests/play/solve-keyboard.play', table, failures)
            check_touch(page, failures)
            check_made_tasks(Page(driver, page.url + '&today=2026-03-01'), failures)
            check_kept_game(page, failures)
            check_round_trip(page, source / 'tests/play/data/cube-v0.tsk', arguments.vokta_play,
                             pathlib.Path(downloads), failures)
            # The round trip left the page in English: the popups' letters as the model gives them.
            task_letter, _, help_letter = [menu[1].lower() for menu in page.model_menus()]
            check_message_keeps_keyboard(page, task_letter, source / 'tests/play/data/truncated.tsk', failures)
            check_released_keys(page, [menu[1].lower() for menu in page.model_menus()], failures)
            check_game_keeps_keyboard(page, help_letter, failures)
            check_phone(page, failures)
            check_offline(driver, arguments.page, source / 'resources/tasks/index.txt', failures)
            check_update(driver, arguments.page, source, failures)
            check_task_codes(page, task_letter, failures)
            with tempfile.TemporaryDirectory() as sharp_data:
                sharp_driver = open_browser(sharp_data, ['--force-device-scale-factor=2'])
                try:
                    check_device_pixels([(page, 1), (Page(sharp_driver, page.url), 2)], task_letter, help_letter,
                                        failures)
                finally:
                    sharp_driver.quit()
        finally:
            driver.quit()
            server.shutdown()
    for failure in failures:
        print('FAILED: ' + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
