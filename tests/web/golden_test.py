"""Golden frames in the browser: each moment of tools/show-moments.txt drawn
by the page at the golden frames' size and step (320 x 240, stepped at 10
frames a second from 0 as tools/capture-moment does natively) must be within
1 % RMSE of the native golden frame in tests/golden. Prints every figure
and leaves the browser's frames in TMPDIR/orbelune-web-golden, then fails
on any moment above the limit, on any error on the console and on a
browser process left running.
    golden_test.py SITE_FOLDER SOURCE_FOLDER"""

import os
import sys
import tempfile

import browser
import pictures
import show_page

LIMIT = 1.0  # per cent RMSE


def moments(source):
    found = []
    with open(os.path.join(source, 'tools', 'show-moments.txt')) as f:
        for line in f:
            fields = line.split()
            if fields and not fields[0].startswith('#'):
                found.append((int(fields[0]), fields[1]))
    return found


def main(site, source):
    failures = []
    frames = os.path.join(tempfile.gettempdir(), 'orbelune-web-golden')
    os.makedirs(frames, exist_ok=True)
    with browser.Site(site) as server, browser.Browser() as page:
        for section, seconds in moments(source):
            end = '%.2f' % (float(seconds) + 0.05)
            page.open(server.url(show_page.query('no-dialog', 'no-music', start=seconds, end=end,
                                                 mode='320x240', fps=10)))
            show_page.waitForState(page, ['ended'], show_page.RUN_SECONDS, 'section %d at %s s' % (section, seconds))
            got = show_page.lastFrame(page)
            pictures.writePng(os.path.join(frames, 'section%d.png' % section), got)
            want = pictures.readPng(os.path.join(source, 'tests', 'golden', 'section%d.png' % section))
            error = pictures.rmse(got, want)
            print('section %d at %s s: %.3f %% RMSE' % (section, seconds, error), flush=True)
            if error > LIMIT:
                failures.append('section %d: %.3f %% RMSE, more than %g %%' % (section, error, LIMIT))
        failures += ['console: ' + text for text in page.errors()]
    print('browser processes ended')
    for failure in failures:
        print('FAIL: ' + failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(show_page.siteOrSkip(sys.argv[1]), sys.argv[2]))
