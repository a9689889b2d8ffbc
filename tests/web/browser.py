"""Headless Chromium driven over the DevTools protocol, for the browser tests
and tools/web-bench. A run serves the site from a local folder on a free port
of 127.0.0.1 (a server thread of this process), starts the browser's real
binary in a process group of its own with a fresh profile, and at the end
ends that whole group and checks that none of its processes is left: the
browser forks a zygote, a GPU and renderer processes that outlive a parent
killed alone. Everything the page writes on the console is kept, so a test
can require that nothing went to it as an error.

Only Debian's python3-websocket is needed besides the standard library."""

import ctypes
import functools
import http.server
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

import websocket

BROWSER = '/usr/lib/chromium/chromium-headless-shell'  # /usr/bin/chromium* are scripts that do not exec it

# What the run may leave running: nothing. Waiting for the group to go is
# bounded by this many seconds after SIGKILL.
GROUP_EXIT_SECONDS = 10


class BrowserError(Exception):
    pass


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Site:
    """The static folder served on 127.0.0.1 at a free port while in a with block."""

    def __init__(self, folder):
        self.folder = folder
        self.server = None

    def __enter__(self):
        handler = functools.partial(QuietHandler, directory=self.folder)
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        return self

    def url(self, page='index.html'):
        return 'http://127.0.0.1:%d/%s' % (self.server.server_address[1], page)

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


def dieWithParent():
    # In the browser's main process before exec: if this test is killed
    # outright (a CTest timeout), the browser goes too instead of loading
    # the machine; its children follow their parent.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    os.setsid()


def groupMembers(group):
    """Pids of the live processes in a process group (zombies count as gone)."""
    found = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open('/proc/%s/stat' % entry) as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rindex(')') + 2:].split()
        if int(fields[2]) == group and fields[0] != 'Z':
            found.append(int(entry))
    return found


class Browser:
    """One headless browser with one page, in a with block. The block's end
    ends every process of the browser and raises BrowserError if one is left."""

    def __init__(self, width=800, height=600, flags=()):
        self.width, self.height = width, height
        self.flags = list(flags)
        self.console = []   # (level, text) in the order the page wrote them
        self.process = None
        self.socket = None
        self.profile = None
        self.nextId = 0

    def __enter__(self):
        if signal.getsignal(signal.SIGTERM) == signal.SIG_DFL:
            # A terminated run (a CTest timeout) still ends the browser and removes its profile.
            signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
        self.profile = tempfile.mkdtemp(prefix='orbelune-browser-')
        command = [BROWSER, '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                   '--no-first-run', '--disable-background-networking', '--disable-component-update',
                   '--disable-sync', '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
                   '--hide-scrollbars', '--window-size=%d,%d' % (self.width, self.height),
                   '--remote-debugging-port=0', '--user-data-dir=' + self.profile] + self.flags + ['about:blank']
        self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, preexec_fn=dieWithParent)
        try:
            self.connect()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, kind, value, trace):
        left = self.close()
        if left:
            message = 'browser processes left running: %s' % left
            if kind is None:
                raise BrowserError(message)
            print(message, file=sys.stderr)

    def connect(self):
        portFile = os.path.join(self.profile, 'DevToolsActivePort')
        deadline = time.monotonic() + 30
        while True:
            if self.process.poll() is not None:
                raise BrowserError('the browser ended at start with status %d' % self.process.returncode)
            try:
                with open(portFile) as f:
                    port = f.read().split()[0]
                break
            except (OSError, IndexError):
                if time.monotonic() > deadline:
                    raise BrowserError('the browser did not open its DevTools port within 30 s')
                time.sleep(0.05)
        with urllib.request.urlopen('http://127.0.0.1:%s/json/list' % port, timeout=30) as reply:
            targets = json.load(reply)
        page = next(t for t in targets if t['type'] == 'page')
        self.socket = websocket.create_connection(page['webSocketDebuggerUrl'], timeout=60,
                                                  suppress_origin=True)
        for domain in ('Runtime', 'Log', 'Page'):
            self.call(domain + '.enable')

    def close(self):
        """Ends the browser's process group; returns the pids still alive after that."""
        if self.socket:
            self.socket.close()
            self.socket = None
        left = []
        if self.process:
            group = self.process.pid
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(group, sig)
                except ProcessLookupError:
                    break
                try:
                    self.process.wait(3)
                except subprocess.TimeoutExpired:
                    pass
                deadline = time.monotonic() + (3 if sig == signal.SIGTERM else GROUP_EXIT_SECONDS)
                while groupMembers(group) and time.monotonic() < deadline:
                    time.sleep(0.05)
                if not groupMembers(group):
                    break
            if self.process.poll() is None:
                self.process.wait(GROUP_EXIT_SECONDS)
            left = groupMembers(group)
            self.process = None
        if self.profile:
            shutil.rmtree(self.profile, ignore_errors=True)
            self.profile = None
        return left

    # ---- the protocol ---------------------------------------------------------

    def call(self, method, **params):
        self.nextId += 1
        wanted = self.nextId
        self.socket.send(json.dumps({'id': wanted, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('id') == wanted:
                if 'error' in message:
                    raise BrowserError('%s: %s' % (method, message['error'].get('message')))
                return message.get('result', {})
            self.onEvent(message)

    def onEvent(self, message):
        method, params = message.get('method'), message.get('params', {})
        if method == 'Runtime.consoleAPICalled':
            text = ' '.join(str(a.get('value', a.get('description', ''))) for a in params['args'])
            self.console.append((params['type'], text))
        elif method == 'Runtime.exceptionThrown':
            details = params['exceptionDetails']
            text = details.get('exception', {}).get('description') or details.get('text', '')
            self.console.append(('exception', text))
        elif method == 'Log.entryAdded':
            entry = params['entry']
            self.console.append((entry['level'], entry['text']))

    def errors(self):
        """What the page reported as an error: console.error, uncaught exceptions, failed loads."""
        return [text for level, text in self.console if level in ('error', 'assert', 'exception')]

    def evaluate(self, expression):
        result = self.call('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True)
        if 'exceptionDetails' in result:
            raise BrowserError('%s: %s' % (expression, result['exceptionDetails'].get('text')))
        return result.get('result', {}).get('value')

    def waitFor(self, expression, seconds, what):
        """Polls a page expression until it is truthy; returns its value."""
        deadline = time.monotonic() + seconds
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise BrowserError('%s: not within %g s (%s)' % (what, seconds, self.evaluate(
                    'JSON.stringify(window.orbelune || null)')))
            time.sleep(0.05)

    def open(self, url):
        self.call('Page.navigate', url=url)

    def click(self, x, y):
        for kind in ('mousePressed', 'mouseReleased'):
            self.call('Input.dispatchMouseEvent', type=kind, x=x, y=y, button='left', clickCount=1)

    def key(self, kind, key, code, keyCode):
        """kind: 'keyDown' or 'keyUp'."""
        self.call('Input.dispatchKeyEvent', type=kind, key=key, code=code, windowsVirtualKeyCode=keyCode,
                  nativeVirtualKeyCode=keyCode)

    def center(self, selector):
        """The middle of an element in page pixels (for a click)."""
        box = self.evaluate('(() => { const r = document.querySelector(%s).getBoundingClientRect(); '
                            'return [r.left + r.width / 2, r.top + r.height / 2]; })()' % json.dumps(selector))
        return box[0], box[1]

    def drop(self, x, y, paths):
        """Drags files or folders from the disk onto the page and drops them at x, y."""
        data = {'items': [], 'files': list(paths), 'dragOperationsMask': 1}
        for kind in ('dragEnter', 'dragOver', 'drop'):
            self.call('Input.dispatchDragEvent', type=kind, x=x, y=y, data=data)
