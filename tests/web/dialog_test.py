"""The page as a visitor meets it, in two browser runs:
- the setup form: its OK button, clicked (a user gesture, so no autoplay
  flag is given), starts the show with music: the AudioContext runs, the
  soundtrack's source starts, `state` goes to "playing" and the show time
  advances with the audio's playback time; Escape held down ends the show
  ("ended", the page says so and offers to play again);
- an own show: a copy of the show's data folder with one texture cut short,
  dropped on the page, shows the same message boxes, captions and texts in
  the same order as the native program on that folder with the same options
  (each closed with OK), and gives up as the native program does.
Both runs fail on any error on the console and on a browser process left.
    dialog_test.py SITE_FOLDER BUILD_FOLDER"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

import browser
import show_page

# The native program's message-box captions; without a display it writes
# each box as "caption: text" on stderr (the boxes of a broken texture are
# one line each; other lines, such as a driver's warnings, are not boxes).
CAPTIONS = ('ERROR', 'SHUTDOWN ERROR', 'Wexo GL', 'multimedia error', 'BASS ERROR', 'scenefile error', 'Error')

# Audio and picture may differ by a frame and an audio render quantum or
# two; a clock that ignored the music would drift by far more over seconds.
AUDIO_TOLERANCE = 0.15  # seconds
LISTEN_SECONDS = 3.0    # show seconds watched while the music plays
# Held down, Escape leaves every remaining section after one frame that is
# not shown; what may still be shown are the frames drawn while the key
# event travels from the test to the page.
ESCAPE_FRAMES = 5

# Records the page's audio contexts and started sources for the checks;
# runs before any script of the page.
AUDIO_PROBE = '''(() => {
    const Context = window.AudioContext;
    window.audioProbe = {contexts: [], sourcesStarted: 0};
    window.AudioContext = window.webkitAudioContext = class extends Context {
        constructor(...options) { super(...options); window.audioProbe.contexts.push(this); }
    };
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...when) {
        window.audioProbe.sourcesStarted++;
        return start.apply(this, when);
    };
})();'''

# While the own show starts: "box" when box number %d (from 0) of the page is open,
# "failed" once the run has given up and no box is open.
BOX_OR_FAILURE = '''(() => {
    const open = document.querySelector("#box").checkVisibility();
    if (orbelune.boxes.length > %d && open) return "box";
    return orbelune.state === "error" && !open && "failed";
})()'''

CLOCKS = ('(() => { const c = audioProbe.contexts.find(c => c.state === "running"); '
          'return {show: orbelune.time, audio: c ? c.currentTime : null, sources: audioProbe.sourcesStarted}; })()')


def check(failures, ok, text):
    print(('ok: ' if ok else 'FAIL: ') + text, flush=True)
    if not ok:
        failures.append(text)


def consoleClean(page, failures):
    errors = page.errors()
    check(failures, not errors, 'no error on the console' + ''.join('\n  ' + text for text in errors))


def press(page, selector, failures):
    """Clicks an element where a visitor would: in its middle, and only if
    nothing else lies on top of it there. Returns whether it was pressed."""
    x, y = page.center(selector)
    top = page.evaluate('(() => { const e = document.elementFromPoint(%r, %r); return e && (e.closest(%s) ? "" : '
                        'e.tagName.toLowerCase() + (e.id ? "#" + e.id : "")); })()' % (x, y, json.dumps(selector)))
    if top:
        check(failures, False, '%s can be clicked: %s lies on top of it' % (selector, top))
        return False
    page.click(x, y)
    return True


def visible(page, selector):
    return page.evaluate('(() => { const e = document.querySelector(%s); return !!e && e.checkVisibility(); })()'
                         % json.dumps(selector))


def playAndEscape(page, server, failures):
    page.call('Page.addScriptToEvaluateOnNewDocument', source=AUDIO_PROBE)
    page.open(server.url())
    show_page.waitForState(page, ['dialog'], show_page.LOAD_SECONDS, 'the setup form')
    check(failures, visible(page, '#setup'), 'the setup form is shown')
    check(failures, not page.evaluate('audioProbe.contexts.some(c => c.state === "running")'),
          'no sound before the OK click')

    if not press(page, '#control-1001', failures):
        return
    show_page.waitForState(page, ['playing'], show_page.LOAD_SECONDS, 'the show after OK')
    page.waitFor('orbelune.frames > 0 && audioProbe.contexts.some(c => c.state === "running")',
                 show_page.LOAD_SECONDS, 'the first frame with the music running')
    first = page.evaluate(CLOCKS)
    page.waitFor('orbelune.time >= %r' % (first['show'] + LISTEN_SECONDS), show_page.RUN_SECONDS,
                 '%g s of show' % LISTEN_SECONDS)
    last = page.evaluate(CLOCKS)
    check(failures, last['sources'] >= 1, 'the soundtrack started (%d sources)' % last['sources'])
    shown, heard = last['show'] - first['show'], last['audio'] - first['audio']
    check(failures, abs(shown - heard) <= AUDIO_TOLERANCE,
          'the show time follows the music: %.3f s shown while %.3f s played' % (shown, heard))

    before = show_page.state(page)
    page.key('keyDown', 'Escape', 'Escape', 27)
    show_page.waitForState(page, ['ended'], show_page.RUN_SECONDS, 'the end with Escape held')
    page.key('keyUp', 'Escape', 'Escape', 27)
    after = show_page.state(page)
    check(failures, after['frames'] - before['frames'] <= ESCAPE_FRAMES,
          'Escape held ended the show at %.2f s after %d more frames' % (after['time'],
                                                                         after['frames'] - before['frames']))
    check(failures, visible(page, '#end') and visible(page, '#play-again'),
          'the page says so and offers to play again: "%s"' % page.evaluate(
              'document.querySelector("#end-text").textContent'))


def dialogAndKeys(server, failures):
    with browser.Browser() as page:
        playAndEscape(page, server, failures)
        consoleClean(page, failures)
    print('browser processes ended')


def brokenCopy(data, into):
    """A copy of the data folder with its first listed texture cut to 100 bytes; returns the copy."""
    copy = os.path.join(into, 'data')
    shutil.copytree(data, copy)
    with open(os.path.join(copy, 'script', 'texture.dat'), encoding='latin-1') as f:
        first = f.readline().strip().replace('\\', '/')
    texture = os.path.join(into, first)
    with open(texture, 'rb') as f:
        head = f.read(100)
    with open(texture, 'wb') as f:
        f.write(head)
    return copy


def nativeBoxes(build, folder, scratch):
    frames = os.path.join(scratch, 'frames')
    os.makedirs(frames)
    run = subprocess.run([os.path.join(build, 'orbelune'), '--data', os.path.dirname(folder), '--no-dialog',
                          '--no-music', '--capture', frames, '--fps', '10', '--end', '0.05'],
                         env=show_page.nativeEnvironment(), capture_output=True, text=True,
                         timeout=show_page.LOAD_SECONDS)
    boxes = []
    for line in run.stderr.splitlines():
        caption = next((c for c in CAPTIONS if line.startswith(c + ': ')), None)
        if caption:
            boxes.append({'caption': caption, 'text': line[len(caption) + 2:]})
    return boxes


def ownShow(server, build, failures):
    scratch = tempfile.mkdtemp(prefix='orbelune-own-show-')
    try:
        folder = brokenCopy(os.path.join(build, 'data'), scratch)
        want = nativeBoxes(build, folder, scratch)
        check(failures, len(want) > 0, 'the native program reports the broken texture (%d boxes)' % len(want))
        with browser.Browser() as page:
            # The bundled show first, to its end, as the native run is started.
            page.open(server.url(show_page.query('no-dialog', 'no-music', end=0.05)))
            show_page.waitForState(page, ['ended'], show_page.LOAD_SECONDS, 'the bundled show')
            earlier = len(show_page.state(page)['boxes'])
            page.drop(*page.center('#stage'), [folder])
            got = []
            while page.waitFor(BOX_OR_FAILURE % (earlier + len(got)), show_page.LOAD_SECONDS,
                               'box %d or the end' % (len(got) + 1)) == 'box':
                got.append(page.evaluate('({caption: document.querySelector("#box-caption").textContent, '
                                         'text: document.querySelector("#box-text").textContent})'))
                if not press(page, '#box-ok', failures):
                    break
            for box in got:
                print('box: %s: %s' % (box['caption'], box['text']))
            check(failures, got == want, 'the same boxes as the native program: %s' % json.dumps(want))
            listed = show_page.state(page)['boxes'][earlier:]
            check(failures, listed == want, 'window.orbelune.boxes lists them: %s' % json.dumps(listed))
            consoleClean(page, failures)
        print('browser processes ended')
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main(site, build):
    failures = []
    with browser.Site(site) as server:
        dialogAndKeys(server, failures)
        ownShow(server, build, failures)
    print('%d checks failed' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(show_page.siteOrSkip(sys.argv[1]), sys.argv[2]))
