#!/usr/bin/env python3
"""End-to-end tests of icotake-gui.exe: the 64-bit build under wine64 on a virtual display, looked
at through window-inspector.exe, typed into and clicked with xdotool.

Every run starts its own Xvfb and its own wineserver on a prefix of its own (made on first use
under BUILD/tests/gui-e2e/prefix), and stops every process that it started.

    gui_e2e.py --build-dir build/mingw-x64 CASE...    (no CASE: all of them)

Environment: ICOTAKE_TEST_DISPLAYS="FIRST-LAST" picks the X display numbers to try (default
100-199). The screenshots go to BUILD/tests/gui-e2e/artifacts/: main-window.png, and after-drop.png
with a dropped path in the edit box.
"""
import argparse
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WINE_RUN = ROOT / 'scripts' / 'wine-run'
WINESERVER = '/usr/lib/wine/wineserver64'
WINE_MODULES = Path('/usr/lib/x86_64-linux-gnu/wine/x86_64-windows')
DRAG_SOURCE = ROOT / 'tests' / 'gui' / 'drag_source.py'

TITLE = 'ico提取工具，取出图标'
ERROR_CAPTION = '错误'
SITE = 'www.qd583710.com'
# The output folder, C:\Documents and Settings\Administrator\桌面\取出的图标, inside the prefix.
OUTPUT = ('drive_c', 'Documents and Settings', 'Administrator', '桌面', '取出的图标')

WS_VISIBLE, WS_CHILD, WS_CLIPSIBLINGS, WS_CLIPCHILDREN = 0x10000000, 0x40000000, 0x04000000, 0x02000000
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_TABSTOP = 0x00C00000, 0x00080000, 0x00040000, 0x00010000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00020000, 0x00010000
WS_EX_WINDOWEDGE, WS_EX_CLIENTEDGE = 0x100, 0x200
BS_MULTILINE, BS_CENTER, BS_VCENTER = 0x2000, 0x300, 0xC00
ES_AUTOHSCROLL = 0x80
CS_VREDRAW, CS_HREDRAW, CS_DBLCLKS = 0x1, 0x2, 0x8
HTCLOSE = 20

BUTTON = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_CENTER | BS_VCENTER

# The form's controls in stacking order (the list order), as the program's table gives them.
# Rectangles are client-relative [left, top, width, height].
CONTROLS = [
    dict(name='按钮2', cls='Button', text='打开qd583710网站', rect=[368, 72, 112, 48],
         style=BUTTON | WS_VISIBLE, exstyle=0, visible=True),
    dict(name='标签1', cls='IcotakeLabel',
         text='用法：\r\n把想要提取的exe文件图标，或exe快捷方式图标\r\n拖进来点击按钮即可', rect=[56, 72, 264, 48],
         style=WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE, exstyle=0, visible=True,
         class_style=CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW),
    dict(name='拖放对象1', cls='IcotakeDropObject', text='', rect=[8, 64, 48, 64],
         style=WS_CHILD | WS_CLIPSIBLINGS, exstyle=0, visible=False),
    dict(name='按钮1', cls='Button', text='取出图标', rect=[368, 16, 112, 40],
         style=BUTTON | WS_VISIBLE, exstyle=0, visible=True),
    dict(name='编辑框2', cls='Edit', text='', rect=[8, 16, 352, 40],
         style=WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL | WS_VISIBLE,
         exstyle=WS_EX_CLIENTEDGE, visible=True),
]


def gbk_hex(text):
    return text.encode('gbk').hex()


class Session:
    """Xvfb, a wineserver and the programs started on them; stop() ends them all."""

    def __init__(self, build_dir):
        self.build = Path(build_dir).resolve()
        self.work = self.build / 'tests' / 'gui-e2e'
        self.prefix = self.work / 'prefix'
        self.artifacts = self.work / 'artifacts'
        self.browser_log = self.prefix / 'browser-calls.txt'
        self.env = dict(os.environ, ICOTAKE_WINEPREFIX=str(self.prefix), WINEPREFIX=str(self.prefix))
        self.xvfb = None
        self.programs = []

    # -- processes -------------------------------------------------------------------------------
    def start(self):
        self.work.mkdir(parents=True, exist_ok=True)
        self.artifacts.mkdir(parents=True, exist_ok=True)
        self._start_xvfb()
        # Makes the prefix on first use; then a server of our own that lives until stop().
        if not (self.prefix / 'system.reg').exists():
            self.wine('cmd', '/c', 'exit', timeout=300)
            subprocess.run([WINESERVER, '-w'], env=self.env, check=False)
        subprocess.run([WINESERVER, '-p'], env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self._prepare_prefix()

    def stop(self):
        for program in self.programs:
            if program.poll() is None:
                program.kill()
                program.wait()
        self.programs.clear()
        subprocess.run([WINESERVER, '-k'], env=self.env, check=False)
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
            self.xvfb = None

    def _start_xvfb(self):
        first, last = (int(n) for n in os.environ.get('ICOTAKE_TEST_DISPLAYS', '100-199').split('-'))
        for number in range(first, last + 1):
            if Path(f'/tmp/.X{number}-lock').exists() or Path(f'/tmp/.X11-unix/X{number}').exists():
                continue
            xvfb = subprocess.Popen(['Xvfb', f':{number}', '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if xvfb.poll() is not None or Path(f'/tmp/.X11-unix/X{number}').exists():
                    break
                time.sleep(0.05)
            if xvfb.poll() is None:
                self.xvfb = xvfb
                self.env['DISPLAY'] = f':{number}'
                return
        raise RuntimeError(f'no free X display in {first}-{last}')

    def _prepare_prefix(self):
        # The output folder's parents: a new prefix has no "Documents and Settings".
        self.prefix.joinpath(*OUTPUT[:-1]).mkdir(parents=True, exist_ok=True)
        # Wine's shell opens web addresses with winebrowser, which runs the first program of this list.
        recorder = self.prefix / 'record-browser.sh'
        recorder.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{self.browser_log}"\n')
        recorder.chmod(0o755)
        user_registry = (self.prefix / 'user.reg').read_text(errors='replace')
        if f'"Browsers"="{recorder}"' not in user_registry:  # written once; a start of reg costs seconds
            self.wine('reg', 'add', r'HKCU\Software\Wine\WineBrowser', '/v', 'Browsers', '/d', str(recorder), '/f')

    def wine(self, *args, timeout=60):
        # Output through a file, not a pipe: the Wine services that a program starts keep a pipe
        # open until the wineserver ends.
        with tempfile.TemporaryFile() as out:
            result = subprocess.run([str(WINE_RUN), *map(str, args)], env=self.env, stdout=out,
                                    stderr=subprocess.DEVNULL, timeout=timeout)
            out.seek(0)
            return result.returncode, out.read().decode('latin-1')

    def launch(self, exe, cwd=None):
        program = subprocess.Popen([str(WINE_RUN), str(exe)], env=self.env, cwd=cwd,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.programs.append(program)
        return program

    # -- looking -----------------------------------------------------------------------------------
    def inspect(self, title=TITLE, wait_ms=20000):
        code, out = self.wine(self.build / 'tests' / 'window-inspector.exe', 'tree', gbk_hex(title), wait_ms)
        return json.loads(out) if code == 0 else None

    def window_gone(self, title=TITLE, wait_ms=10000):
        return self.wine(self.build / 'tests' / 'window-inspector.exe', 'gone', gbk_hex(title), wait_ms)[0] == 0

    def hit_point(self, code, title=TITLE):
        _, out = self.wine(self.build / 'tests' / 'window-inspector.exe', 'hit', gbk_hex(title), code)
        x, y = out.split()
        return int(x), int(y)

    def screenshot(self, rect, path):
        left, top, width, height = rect
        subprocess.run(['import', '-display', self.env['DISPLAY'], '-window', 'root',
                        '-crop', f'{width}x{height}+{left}+{top}', '+repage', str(path)], check=True)

    # -- acting ------------------------------------------------------------------------------------
    def xdotool(self, *args):
        return subprocess.run(['xdotool', *map(str, args)], env=self.env, capture_output=True, text=True,
                              timeout=30)

    def focus_x_window(self, title=TITLE):
        # Wine ignores synthetic key events sent to a window; it takes real ones for the window
        # that has the X input focus. A hidden IME window shares the title, hence --onlyvisible.
        found = self.xdotool('search', '--sync', '--onlyvisible', '--name', f'^{title}$')
        window = found.stdout.split()[0]
        self.xdotool('windowfocus', '--sync', window)
        return window

    def keys(self, *keys):
        self.focus_x_window()
        for key in keys:
            self.xdotool('key', key)
            time.sleep(0.15)

    def type_text(self, text):
        self.focus_x_window()
        self.xdotool('type', '--delay', '30', text)

    def click(self, x, y):
        self.xdotool('mousemove', '--sync', x, y)
        time.sleep(0.1)
        self.xdotool('click', '1')

    def drag(self, target, files=None, text=None):
        """Drags files (or a text selection) from a GTK program onto the screen point `target` with the
        mouse, as a person would; answers what the drag source reported."""
        what = ['--files', *map(str, files)] if files else ['--text', text]
        # GTK from Debian's own Python, whatever python3 the test runs with.
        source = subprocess.Popen(['/usr/bin/python3', str(DRAG_SOURCE), '--at', '20', '20', *what], env=self.env,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.programs.append(source)

        def line(seconds):
            ready, _, _ = select.select([source.stdout], [], [], seconds)
            return source.stdout.readline().strip() if ready else None

        try:
            if line(20) != 'ready':
                raise RuntimeError('the drag source did not start')
            found = self.xdotool('search', '--sync', '--onlyvisible', '--name', '^icotake drag source$')
            geometry = self.xdotool('getwindowgeometry', '--shell', found.stdout.split()[0]).stdout
            values = dict(item.split('=') for item in geometry.split())
            x = int(values['X']) + int(values['WIDTH']) // 2
            y = int(values['Y']) + int(values['HEIGHT']) // 2
            self.xdotool('mousemove', '--sync', x, y)
            time.sleep(0.1)
            self.xdotool('mousedown', '1')
            time.sleep(0.1)
            for step in (4, 8, 12):  # past GTK's drag threshold
                self.xdotool('mousemove', x + step, y + step)
                time.sleep(0.05)
            start_x, start_y = x + 12, y + 12
            for step in range(1, 7):  # over to the target, where XDND messages start to flow
                self.xdotool('mousemove', start_x + (target[0] - start_x) * step // 6,
                             start_y + (target[1] - start_y) * step // 6)
                time.sleep(0.08)
            time.sleep(0.2)
            self.xdotool('mouseup', '1')
            reported = []
            while (said := line(10)) is not None:
                reported.append(said)
                # A refused drag ends with drag-failed; drag-end follows only after GTK's animation.
                if said == 'drag-end' or said.startswith('drag-failed'):
                    break
            return reported
        finally:
            source.terminate()
            source.wait()
            self.programs.remove(source)


SESSION = None


def child(tree, name):
    index = [c['name'] for c in CONTROLS].index(name)
    return tree['children'][index]


def centre(rect):
    left, top, width, height = rect
    return left + width // 2, top + height // 2


def wait_for(predicate, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.1)
    return predicate()


class GuiTest(unittest.TestCase):
    """Each test starts icotake-gui.exe and leaves no program of it running."""

    exe_name = 'app/icotake-gui.exe'
    start_folder = None  # the folder the program is started from; the test's own by default

    def setUp(self):
        self.session = SESSION
        self.program = self.session.launch(self.session.build / self.exe_name, cwd=self.start_folder)
        self.tree = self.session.inspect()
        self.assertIsNotNone(self.tree, 'the main window did not appear')

    def tearDown(self):
        if self.program.poll() is None:
            self.program.kill()
            self.program.wait()

    def focused(self):
        tree = self.session.inspect()
        names = [c['name'] for c, w in zip(CONTROLS, tree['children']) if w['focus']]
        return names[0] if names else None

    def edit_text(self):
        return bytes.fromhex(child(self.session.inspect(), '编辑框2')['text']).decode('gbk')

    def assertExitCode(self, code, seconds=20):
        try:
            self.assertEqual(self.program.wait(timeout=seconds), code)
        except subprocess.TimeoutExpired:
            self.fail('the program did not end')


class Layout(GuiTest):
    def test_layout(self):
        tree = self.tree
        screen_width, screen_height = tree['screen_size']
        with self.subTest('window'):
            self.assertEqual(tree['class'], 'IcotakeMainWindow')
            self.assertEqual(bytes.fromhex(tree['text']), TITLE.encode('gbk'))
            # Centred by integer division, 493 x 147 outside.
            self.assertEqual(tree['screen'], [(screen_width - 493) // 2, (screen_height - 147) // 2, 493, 147])
            style = int(tree['style'], 16)
            # WS_CLIPSIBLINGS: the system adds it to every top-level window.
            self.assertEqual(style, WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN)
            self.assertFalse(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX))
            # No extended style of its own; the system adds WS_EX_WINDOWEDGE to a dialog frame.
            self.assertEqual(int(tree['exstyle'], 16), WS_EX_WINDOWEDGE)
            self.assertEqual(int(tree['class_style'], 16), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)
            self.assertTrue(tree['visible'])
            self.assertTrue(tree['active'])
        self.assertEqual(len(tree['children']), len(CONTROLS))
        for expected, actual in zip(CONTROLS, tree['children']):
            with self.subTest(expected['name']):
                self.assertEqual(actual['class'], expected['cls'])
                self.assertEqual(bytes.fromhex(actual['text']), expected['text'].encode('gbk'))
                self.assertEqual(actual['rect'], expected['rect'])
                self.assertEqual(int(actual['style'], 16), expected['style'], actual['style'])
                self.assertEqual(int(actual['exstyle'], 16), expected['exstyle'])
                self.assertEqual(actual['visible'], expected['visible'])
                self.assertTrue(actual['enabled'])
                if 'class_style' in expected:
                    self.assertEqual(int(actual['class_style'], 16), expected['class_style'])
                # The edit box has the focus when the window first shows.
                self.assertEqual(actual['focus'], expected['name'] == '编辑框2')
        self.session.keys('Escape')
        self.assertExitCode(0)


class Screenshot(GuiTest):
    def test_screenshot(self):
        shot = self.session.artifacts / 'main-window.png'
        shot.unlink(missing_ok=True)
        time.sleep(0.5)  # let the window finish painting
        self.session.screenshot(self.tree['screen'], shot)
        self.assertTrue(shot.exists())
        size = subprocess.run(['identify', '-format', '%w %h %k', str(shot)], capture_output=True, text=True,
                              check=True).stdout.split()
        self.assertEqual(size[:2], ['493', '147'])
        # Text, frame, face and edit box: far more than a blank or single-colour picture.
        self.assertGreater(int(size[2]), 16)
        print(f'screenshot: {shot}')
        self.session.keys('Escape')
        self.assertExitCode(0)


class TabOrder(GuiTest):
    def test_tab_order(self):
        self.assertEqual(self.focused(), '编辑框2')
        for key, expected in [('Tab', '按钮1'), ('Tab', '按钮2'), ('Tab', '编辑框2'),
                              ('shift+Tab', '按钮2'), ('shift+Tab', '按钮1'), ('shift+Tab', '编辑框2')]:
            self.session.keys(key)
            self.assertEqual(self.focused(), expected, key)
        self.session.keys('Escape')
        self.assertExitCode(0)


class ExtractTypedPath(GuiTest):
    def test_extract_typed_path(self):
        output = self.session.prefix.joinpath(*OUTPUT)
        shutil.rmtree(output, ignore_errors=True)
        source = 'Z:' + str(WINE_MODULES / 'notepad.exe').replace('/', '\\')
        self.session.type_text(source)
        self.assertTrue(wait_for(lambda: self.edit_text() == source, 5), self.edit_text())
        self.session.click(*centre(child(self.tree, '按钮1')['screen']))
        self.assertTrue(wait_for(lambda: (output / '1.ico').exists(), 30), 'no 1.ico')
        # The 100 passes are over when the window answers again.
        self.assertEqual(self.edit_text(), source)
        self.assertEqual(sorted(p.name for p in output.iterdir()), ['1.ico'])  # notepad.exe has one group
        # The same images as the module's group: compare the icon directories (wrestool appends
        # bytes after its last image, so whole files differ).
        reference = self.session.work / 'notepad-group.ico'
        subprocess.run(['wrestool', '-x', '--type=14', '-o', str(reference), str(WINE_MODULES / 'notepad.exe')],
                       check=True)
        listing = [subprocess.run(['icotool', '-l', str(f)], capture_output=True, text=True, check=True).stdout
                   for f in (output / '1.ico', reference)]
        self.assertTrue(listing[0].strip())
        self.assertEqual(listing[0], listing[1])
        self.session.keys('Escape')
        self.assertExitCode(0)


class RelativePath(GuiTest):
    # Started from another folder, the program makes its own folder the current one, so a bare
    # file name means the file beside it: here icotake-gui.exe itself, with its program icon.
    start_folder = '/'

    def test_relative_path(self):
        output = self.session.prefix.joinpath(*OUTPUT)
        shutil.rmtree(output, ignore_errors=True)
        self.session.type_text('icotake-gui.exe')
        self.assertTrue(wait_for(lambda: self.edit_text() == 'icotake-gui.exe', 5))
        self.session.click(*centre(child(self.tree, '按钮1')['screen']))
        self.assertTrue(wait_for(lambda: (output / '1.ico').exists(), 30), 'no 1.ico')
        self.assertEqual(self.edit_text(), 'icotake-gui.exe')  # the 100 passes are over
        self.assertEqual(sorted(p.name for p in output.iterdir()), ['1.ico'])
        listing = subprocess.run(['icotool', '-l', str(output / '1.ico')], capture_output=True, text=True,
                                 check=True).stdout.splitlines()
        # DEFAULT_ICON: three images of 16 colours.
        self.assertEqual([line.split()[2:5] for line in listing],
                         [[f'--width={n}', f'--height={n}', '--bit-depth=4'] for n in (16, 32, 48)])
        self.session.keys('Escape')
        self.assertExitCode(0)


class EscapeCloses(GuiTest):
    def test_escape_closes(self):
        # From the edit box here; the other controls in test_escape_from_buttons.
        self.session.keys('Escape')
        self.assertExitCode(0)

    def test_escape_from_buttons(self):
        for tabs, name in [(1, '按钮1'), (2, '按钮2')]:
            with self.subTest(name):
                if self.program.poll() is not None:
                    self.setUp()
                self.session.keys(*['Tab'] * tabs)
                self.assertEqual(self.focused(), name)
                self.session.keys('Escape')
                self.assertExitCode(0)


class CloseBox(GuiTest):
    def test_close_box(self):
        self.session.focus_x_window()
        self.session.click(*self.session.hit_point(HTCLOSE))
        self.assertExitCode(0)


class AltF4(GuiTest):
    def test_alt_f4(self):
        self.session.keys('alt+F4')
        self.assertExitCode(0)


class EnterDoesNothing(GuiTest):
    def test_enter_does_nothing(self):
        output = self.session.prefix.joinpath(*OUTPUT)
        shutil.rmtree(output, ignore_errors=True)
        self.session.type_text('abc')
        self.assertTrue(wait_for(lambda: self.edit_text() == 'abc', 5))
        before = self.session.inspect()
        self.session.keys('Return', 'F1')
        time.sleep(0.5)
        after = self.session.inspect()
        self.assertIsNone(self.program.poll())
        self.assertEqual(child(after, '编辑框2')['text'], child(before, '编辑框2')['text'])
        self.assertTrue(child(after, '编辑框2')['focus'])
        self.assertEqual(after['screen'], before['screen'])
        self.assertFalse(output.exists())  # no button was clicked
        self.session.keys('Escape')
        self.assertExitCode(0)


class WebSite(GuiTest):
    def test_web_site(self):
        self.session.browser_log.unlink(missing_ok=True)
        self.session.type_text('keep')
        self.assertTrue(wait_for(lambda: self.edit_text() == 'keep', 5))
        self.session.click(*centre(child(self.tree, '按钮2')['screen']))
        self.assertTrue(wait_for(self.session.browser_log.exists, 30), 'the browser was not started')
        time.sleep(0.3)
        calls = self.session.browser_log.read_text().split()
        # The shell's open action takes the bare host name for a web address; winebrowser hands
        # the browser the address in its canonical form, with the root path.
        self.assertEqual(calls, ['http://' + SITE + '/'])
        self.assertIsNone(self.program.poll())
        self.assertEqual(self.edit_text(), 'keep')
        self.session.keys('Escape')
        self.assertExitCode(0)


def windows_path(path):
    return 'Z:' + str(path).replace('/', '\\')


class DropTest(GuiTest):
    """Files and text dragged onto the window from an X11 program, through Wine's XDND and OLE."""

    def setUp(self):
        super().setUp()
        # A short folder, so that the screenshot shows a whole path.
        self.drops = Path(tempfile.mkdtemp(prefix='icotake-drop-'))
        self.output = self.session.prefix.joinpath(*OUTPUT)
        shutil.rmtree(self.output, ignore_errors=True)

    def tearDown(self):
        super().tearDown()
        shutil.rmtree(self.drops, ignore_errors=True)

    def drop(self, files=None, text=None):
        # Anywhere on the window: here the middle of the usage label.
        reported = self.session.drag(centre(child(self.tree, '标签1')['screen']), files=files, text=text)
        self.assertTrue(reported, 'the drag did not end')
        return reported

    def real_file(self, name, module='notepad.exe'):
        path = self.drops / name
        shutil.copyfile(WINE_MODULES / module, path)
        return path

    def test_drop_one_file_then_extract(self):
        # A Chinese name, as a user's desktop holds them: the path arrives in code page 936.
        dropped = self.real_file('记事本 副本.exe')
        self.drop(files=[dropped])
        self.assertTrue(wait_for(lambda: self.edit_text() == windows_path(dropped), 10), self.edit_text())
        shot = self.session.artifacts / 'after-drop.png'
        shot.unlink(missing_ok=True)
        time.sleep(0.3)
        self.session.screenshot(self.tree['screen'], shot)
        print(f'screenshot after the drop: {shot}')

        self.session.click(*centre(child(self.tree, '按钮1')['screen']))
        self.assertTrue(wait_for(lambda: (self.output / '1.ico').exists(), 30), 'no 1.ico')
        self.assertEqual(self.edit_text(), windows_path(dropped))  # the 100 passes are over
        self.assertEqual(sorted(p.name for p in self.output.iterdir()), ['1.ico'])
        reference = self.session.work / 'notepad-group.ico'
        subprocess.run(['wrestool', '-x', '--type=14', '-o', str(reference), str(dropped)], check=True)
        listing = [subprocess.run(['icotool', '-l', str(f)], capture_output=True, text=True, check=True).stdout
                   for f in (self.output / '1.ico', reference)]
        self.assertTrue(listing[0].strip())
        self.assertEqual(listing[0], listing[1])
        self.session.keys('Escape')
        self.assertExitCode(0)

    def test_drop_two_files_replaces_one(self):
        first = self.real_file('a.exe')
        self.drop(files=[first])
        self.assertTrue(wait_for(lambda: self.edit_text() == windows_path(first), 10), self.edit_text())
        # Two or more: each path followed by a line break, the last one too; the box holds it all.
        second = [self.real_file('b c.dll', 'comdlg32.dll'), self.real_file('d.exe')]
        self.drop(files=second)
        expected = ''.join(windows_path(p) + '\r\n' for p in second)
        self.assertTrue(wait_for(lambda: self.edit_text() == expected, 10), repr(self.edit_text()))
        self.session.keys('Escape')
        self.assertExitCode(0)

    def test_drop_replaces_typed_path(self):
        self.session.type_text('typed')
        self.assertTrue(wait_for(lambda: self.edit_text() == 'typed', 5))
        dropped = self.real_file('e.exe')
        self.drop(files=[dropped])
        self.assertTrue(wait_for(lambda: self.edit_text() == windows_path(dropped), 10), self.edit_text())
        self.session.keys('Escape')
        self.assertExitCode(0)

    def test_drop_text_changes_nothing(self):
        self.session.type_text('keep')
        self.assertTrue(wait_for(lambda: self.edit_text() == 'keep', 5))
        # Wine offers a dragged text as CF_UNICODETEXT only, which the drop object does not take:
        # the drag source hears that nothing would take it.
        reported = self.drop(text='some selected words')
        print(f'the drag source says: {reported}')
        time.sleep(0.5)
        self.assertEqual(self.edit_text(), 'keep')
        self.assertIsNone(self.program.poll())
        self.assertFalse(self.output.exists())
        self.session.keys('Escape')
        self.assertExitCode(0)


class FatalErrorBox(GuiTest):
    # The program's own start-up and window, whose text heap runs out once the loop is idle.
    exe_name = 'tests/icotake-gui-fatal-probe.exe'

    def test_fatal_error_box(self):
        box = self.session.inspect(ERROR_CAPTION)
        self.assertIsNotNone(box, 'no error box')
        self.assertEqual(box['class'], '#32770')
        texts = [bytes.fromhex(c['text']) for c in box['children'] if c['class'] == 'Static']
        expected_start = '运行时出错!\r\n\r\n错误信息：分配 '.encode('gbk')
        message = [t for t in texts if t.startswith(expected_start)]
        self.assertEqual(len(message), 1, texts)
        count = message[0][len(expected_start):].split(b' ', 1)
        self.assertTrue(count[0].isdigit(), message[0])
        self.assertEqual(b' ' + count[1], ' 字节内存失败!\r\n'.encode('gbk'))
        self.assertIsNone(self.program.poll())  # waits for the user
        # MB_ICONERROR: the box shows an icon (a Static control with SS_ICON).
        self.assertTrue([c for c in box['children'] if c['class'] == 'Static' and int(c['style'], 16) & 0x1F == 0x3])
        ok = [c for c in box['children'] if c['class'] == 'Button']
        self.assertEqual(len(ok), 1)
        self.session.focus_x_window(ERROR_CAPTION)
        self.session.click(*centre(ok[0]['screen']))
        self.assertExitCode(255)  # ExitProcess(-1), as the process status shows it


class InProcess(unittest.TestCase):
    def test_in_process(self):
        # gui_window_tests.exe builds MainWindow itself and checks what needs the same process.
        code, out = SESSION.wine(SESSION.build / 'tests' / 'gui_window_tests.exe', timeout=120)
        self.assertEqual(code, 0, out)


CASES = {
    'in_process': 'InProcess',
    'layout': 'Layout', 'screenshot': 'Screenshot', 'tab_order': 'TabOrder',
    'extract_typed_path': 'ExtractTypedPath', 'relative_path': 'RelativePath', 'escape_closes': 'EscapeCloses', 'close_box': 'CloseBox',
    'alt_f4': 'AltF4', 'enter_does_nothing': 'EnterDoesNothing', 'web_site': 'WebSite',
    'fatal_error_box': 'FatalErrorBox',
    'drop_one_file': 'DropTest.test_drop_one_file_then_extract',
    'drop_two_files': 'DropTest.test_drop_two_files_replaces_one',
    'drop_replaces_typed': 'DropTest.test_drop_replaces_typed_path',
    'drop_text': 'DropTest.test_drop_text_changes_nothing',
}


def main():
    global SESSION
    parser = argparse.ArgumentParser()
    parser.add_argument('--build-dir', required=True)
    parser.add_argument('cases', nargs='*', help=' '.join(CASES))
    args = parser.parse_args()
    unknown = [c for c in args.cases if c not in CASES]
    if unknown:
        parser.error(f'unknown cases: {unknown}')
    loader = unittest.defaultTestLoader
    module = sys.modules[__name__]
    suite = unittest.TestSuite(loader.loadTestsFromName(CASES[c], module) for c in (args.cases or CASES))
    SESSION = Session(args.build_dir)
    try:
        SESSION.start()
        result = unittest.TextTestRunner(verbosity=2).run(suite)
    finally:
        SESSION.stop()
    return 0 if result.wasSuccessful() else 1


if __name__ == '__main__':
    sys.exit(main())
