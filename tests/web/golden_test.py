"""Golden frames in the browser: each moment of tools/show-moments.txt drawn
by the page at the golden frames' size and step (320 x 240, stepped at 10
frames a second from 0 as tools/capture-moment does natively) must be within
1 % RMSE of the native golden frame in tests/golden, and where the orbit's
far grid changes mipmap level it must match pixel for pixel but a few.
Prints every figure and leaves the browser's frames in
TMPDIR/orbelune-web-golden, then fails on any moment above the limits, on
any error on the console and on a browser process left running.
    golden_test.py SITE_FOLDER SOURCE_FOLDER"""

import os
import sys
import tempfile

import browser
import pictures
import show_page

LIMIT = 1.0  # per cent RMSE
# Where the orbit's far grid changes mipmap level (section 6, rows 40 to
# 119) the level the GL layer picks must be Mesa's: few pixels there may be
# off by more than OFF_LEVELS. Measured: 11 with the layer's choice, 191
# with SwiftShader's own, 74 with the lower row of each 2 x 2 block taken
# one row off.
LEVEL_BAND = (6, 40, 120)  # section, first row, end row
LEVEL_BAND_PIXELS = 40
OFF_LEVELS = 24


def pixelsOff(got, want, rows):
    count = 0
    for y in range(*rows):
        row = slice(y * got.width * 3, (y + 1) * got.width * 3)
        a, b = got.rgb[row], want.rgb[row]
        count += sum(1 for x in range(0, len(a), 3)
                     if max(abs(a[x + k] - b[x + k]) for k in range(3)) > OFF_LEVELS)
    return count


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
            if section == LEVEL_BAND[0]:
                off = pixelsOff(got, want, LEVEL_BAND[1:])
                print('section %d, rows %d to %d: %d pixels off' % (section, LEVEL_BAND[1], LEVEL_BAND[2] - 1, off))
                if off > LEVEL_BAND_PIXELS:
                    failures.append('section %d: %d pixels off where the mipmap level changes, more than %d' %
                                    (section, off, LEVEL_BAND_PIXELS))
        failures += ['console: ' + text for text in page.errors()]
    print('browser processes ended')
    for failure in failures:
        print('FAIL: ' + failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(show_page.siteOrSkip(sys.argv[1]), sys.argv[2]))
