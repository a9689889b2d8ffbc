"""The show's page as the browser tests and tools/web-bench see it: where
the site is, the query string that plays a given stretch of the show, the
page's state record (window.orbelune) and the last frame's pixels; and the
environment the native program runs in beside it, without a display or a
sound card.

A test run without a built site is skipped (CTest's skip code 77) with the
command that builds it."""

import base64
import json
import os
import sys

import pictures

SKIPPED = 77

# Bounds on how long the page may take for one step: generous, since two
# cores are shared with the rest of the test run; they only stop a hung page.
LOAD_SECONDS = 120
RUN_SECONDS = 600


def siteOrSkip(folder):
    if not os.path.isfile(os.path.join(folder, 'index.html')):
        print('skipped: the site was not built in %s (scripts/web --build builds it)' % folder)
        sys.exit(SKIPPED)
    return folder


def nativeEnvironment():
    environment = dict(os.environ, SDL_VIDEODRIVER='offscreen', SDL_AUDIODRIVER='dummy')
    environment.pop('DISPLAY', None)
    environment.pop('WAYLAND_DISPLAY', None)
    return environment


def query(*flags, **values):
    """index.html with options: query('no-dialog', start=3) -> index.html?no-dialog&start=3"""
    parts = list(flags) + ['%s=%s' % (key.replace('_', '-'), value) for key, value in values.items()]
    return 'index.html' + ('?' + '&'.join(parts) if parts else '')


def state(browser):
    return browser.evaluate('window.orbelune ? JSON.parse(JSON.stringify({state: orbelune.state, time: '
                            'orbelune.time, frames: orbelune.frames, message: orbelune.message, boxes: '
                            'orbelune.boxes, firstFrameMs: orbelune.firstFrameMs})) : null')


def waitForState(browser, wanted, seconds, what):
    """Waits until window.orbelune.state is one of wanted (or "error", which fails unless wanted)."""
    names = json.dumps(list(wanted) + ['error'])
    found = browser.waitFor('window.orbelune && %s.includes(orbelune.state) && orbelune.state' % names, seconds,
                            what)
    if found == 'error' and 'error' not in wanted:
        raise AssertionError('%s: the page failed: %s' % (what, state(browser)['message']))
    return found


def lastFrame(browser):
    """The canvas's last presented frame as a picture."""
    frame = browser.evaluate('orbelune.pixels()')
    return pictures.Picture(frame['width'], frame['height'], base64.b64decode(frame['rgb']))
