#!/usr/bin/python3
"""The game's words in the page, as a screen reader reads them, in Debian's
headless Chromium with real keys sent through chromium-driver:

- the canvas is an application (so a screen reader leaves browse mode on it)
  named for the game in the interface's language;
- each key that changes something puts its words in the polite live region,
  a new paragraph each time, so that the same words said twice are read
  twice; the words are worked out from the rules and seed 4's scatter, whose
  red piece lands at (-20, -70, 0);
- Describe's words go to the live region and make the scene's outline, its
  first sentence the heading and the others the items, and draw no frame;
- the live region and the outline take no room on the screen;
- after Russian is chosen in the Help menu, the name and the words are
  vokta_ru.ts's.

Every step waits for the condition it checks; the time limits only stop a
page that never gets there.
"""

import argparse
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from browser_test import PAGE_LIMIT_S, open_browser, serve

SEED = 4
EMPTY_CORNER = (20, 20)
ENGLISH_NAME = "The game's view. D says what it shows."


def russian(ts_file, english):
    for context in ElementTree.parse(ts_file).getroot().iter('context'):
        if context.findtext('name') == 'Spoken':
            for message in context.iter('message'):
                if message.findtext('source') == english:
                    return message.findtext('translation')
    sys.exit(f'FAIL: no Russian for "{english}" in {ts_file}')


class Page:
    def __init__(self, driver):
        self.driver = driver

    def script(self, text, *arguments):
        return self.driver.execute_script(text, *arguments)

    def wait(self, condition, what):
        WebDriverWait(self.driver, PAGE_LIMIT_S).until(lambda d: condition(), message=what)

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def settle(self):
        """Waits for two game ticks and then for two animation frames, so
        that whatever those ticks left to draw has been drawn."""
        ticks = self.script('return window.vokta.status().ticks')
        self.wait(lambda: self.script('return window.vokta.status().ticks') >= ticks + 2, 'two ticks')
        self.driver.execute_async_script('''const done = arguments[arguments.length - 1];
            requestAnimationFrame(() => requestAnimationFrame(done));''')

    def said(self):
        return self.script("return document.getElementById('spoken').textContent")

    def listen(self):
        """From now on keeps every paragraph the live region says, in order,
        so that words replaced within a tick are heard all the same."""
        self.script('''window.heard = [];
            new MutationObserver((changes) => {
              for (const change of changes)
                for (const added of change.addedNodes) window.heard.push(added.textContent);
            }).observe(document.getElementById('spoken'), {childList: true});''')

    def say(self, keys, expected, what):
        """Sends keys and waits for the live region to say expected (a string,
        or a test of the words) in a paragraph of its own after them."""
        heard = self.script('return window.heard.length')
        self.keys(*keys)
        accept = expected if callable(expected) else (lambda words: words == expected)
        try:
            self.wait(lambda: any(accept(words) for words in self.script('return window.heard')[heard:]), what)
        except Exception:
            sys.exit(f'FAIL: {what}: the live region said {self.script("return window.heard")[heard:]!r}, '
                     f'expected {expected!r}')


def expect(actual, expected, what):
    if actual != expected:
        sys.exit(f'FAIL: {what}:\n  expected {expected!r}\n  found    {actual!r}')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--page', required=True)
    parser.add_argument('--translations', required=True)
    arguments = parser.parse_args()
    server = serve(arguments.page)
    with tempfile.TemporaryDirectory() as user_data:
        driver = open_browser(user_data)
        try:
            driver.get(f'http://127.0.0.1:{server.server_port}/index.html?seed={SEED}&start=1')
            page = Page(driver)
            page.wait(lambda: page.script('return window.vokta?.ready === true && window.vokta.frames > 0'),
                      'the game starts')
            page.listen()
            play(page, arguments.translations)
        finally:
            driver.quit()
            server.shutdown()
    print('PASS')


def play(page, ts_file):
    canvas = page.script('''const view = document.getElementById('view');
        return [view.getAttribute('role'), view.getAttribute('aria-label'), view.tabIndex];''')
    expect(canvas, ['application', ENGLISH_NAME, 0], "the canvas's role, name and place in the keyboard's round")
    expect(page.script("return document.getElementById('spoken').getAttribute('aria-live')"), 'polite',
           'the live region')
    for region in ('spoken', 'outline'):
        size = page.script(f"const box = document.getElementById('{region}').getBoundingClientRect();"
                           "return [box.width, box.height];")
        if size[0] > 1 or size[1] > 1:
            sys.exit(f'FAIL: the {region} region takes {size} pixels of the screen')

    # A click on the empty corner gives the canvas the keyboard; once every
    # scattered piece has come to rest, the last of them has been said.
    view = page.driver.find_element(By.ID, 'view')
    box = view.rect
    x, y = EMPTY_CORNER
    ActionChains(page.driver).move_to_element_with_offset(view, x - box['width'] // 2, y - box['height'] // 2) \
        .click().perform()
    page.wait(lambda: page.script('return window.vokta.status().falling') == 0, 'the pieces coming to rest')
    expect(page.said().endswith('came to rest on the floor.'), True, 'the last landing said')
    page.say(['2'], 'Selected red piece 2: columns -1 to 1, 6 cells behind the figure, on the floor.',
             'selecting the red piece')
    # From the diagonal start-up view Left goes one cell along -x and one along +y.
    page.say([Keys.LEFT], '1 cell left of the figure, 5 behind, on the floor.', 'moving it left')
    page.say([Keys.PAGE_DOWN], 'The floor is in the way.', 'moving it into the floor')
    page.say([Keys.PAGE_DOWN], 'The floor is in the way.', 'the same refusal said again')

    page.settle()
    frames = page.script('return window.vokta.frames')
    page.say(['d'], lambda words: words.startswith('Figure: 3 wide, 3 deep, 3 high, 27 cells, 0 filled. '),
             'the description')
    outline = page.script('''const outline = document.getElementById('outline');
        return [outline.getAttribute('aria-label'), outline.querySelector('h2').textContent,
                Array.from(outline.querySelectorAll('li')).map((item) => item.textContent)];''')
    expect(outline[0], ENGLISH_NAME, "the outline's name")
    expect(outline[1], 'Figure: 3 wide, 3 deep, 3 high, 27 cells, 0 filled.', "the outline's heading")
    expect(outline[2][:4], ['Layer 1 empty.', 'Layer 2 empty.', 'Layer 3 empty.', 'Away from the figure, in cells:'],
           "the outline's layers")
    if 'Red 2, selected: 1 left, 5 behind.' not in outline[2]:
        sys.exit(f'FAIL: the outline does not hold the red piece where it is: {outline[2]}')
    expect(' '.join([outline[1]] + outline[2]), page.said(), 'the outline and the words said')
    # Once the ticks after it have been drawn, nothing has been drawn for the words.
    page.settle()
    expect(page.script('return window.vokta.frames'), frames, 'frames drawn for the words')

    # Russian, the last item of the Help menu (Up from its first wraps to it).
    ActionChains(page.driver).key_down(Keys.ALT).send_keys('h').key_up(Keys.ALT).perform()
    page.wait(lambda: page.script("return Array.from(document.querySelectorAll('.popup')).some((p) => !p.hidden)"),
              'the Help popup opens')
    page.keys(Keys.UP, Keys.ENTER)
    russian_name = russian(ts_file, ENGLISH_NAME)
    page.wait(lambda: page.script("return document.getElementById('view').getAttribute('aria-label')") ==
              russian_name, "the canvas's name in Russian")
    page.say([Keys.PAGE_DOWN], russian(ts_file, 'The floor is in the way.'), 'the floor in the way, in Russian')
    page.say(['3'], lambda words: words.startswith('Выбрана жёлтая деталь 3: '), 'selecting yellow, in Russian')


if __name__ == '__main__':
    main()
