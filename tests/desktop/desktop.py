"""A small step library that works the real program as a user does.

Each scenario starts Xvfb with a window manager, runs the program from a copy of its
folder with a fresh home, and drives it only with xdotool input: mouse moves, clicks,
drags, the wheel, keys and typed text. Where a click must land on a drawn element, the
program is asked where that element is drawn through its read-only query socket; the
query never acts. Screenshots go to build/test-output/desktop/<scenario>/.
"""

import contextlib
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import traceback

BUILD_DIR = os.environ.get("TVR_BUILD_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build"))
WAIT_SECONDS = float(os.environ.get("TVR_DESKTOP_WAIT", "30"))
# The title of the program's message boxes.
PROGRAM = "Tavrilon"


class StepFailed(Exception):
    pass


def _strip_mnemonic(text):
    text = text.split("\t")[0].replace("&&", "\x01").replace("&", "").replace("\x01", "&")
    return " ".join(text.rstrip(".…").split())


def _mnemonic(text):
    match = re.search(r"(?<!&)&([^&])", text)
    return match.group(1).lower() if match else None


def _centre(rect):
    x, y, w, h = (int(v) for v in rect.split()[:4])
    return x + w // 2, y + h // 2


class Desktop:
    """Xvfb with openbox on a display of its own."""

    def __init__(self, width=1600, height=1000):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write)
        number = b""
        with os.fdopen(read, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not start")
                number += chunk
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.wm = None
        self._start_wm()
        try:
            self._wait_for_wm()
        except RuntimeError:
            self.close()
            raise

    def _start_wm(self):
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)

    def _wait_for_wm(self):
        deadline = time.time() + 2 * WAIT_SECONDS
        restarts = 2
        while time.time() < deadline:
            if self.wm.poll() is not None and restarts > 0:
                # On a loaded machine the manager may lose its race with the new server.
                restarts -= 1
                self._start_wm()
            probe = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                   capture_output=True, text=True)
            if "window id" in probe.stdout:
                return
            time.sleep(0.1)
        raise RuntimeError("the window manager did not start")

    def close(self):
        for process in (self.wm, self.xvfb):
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, signal.SIGTERM)
            with contextlib.suppress(subprocess.TimeoutExpired):
                process.wait(5)


class Program:
    """One run of the program on a desktop, from a copy of the program folder."""

    def __init__(self, scenario, language="fr"):
        self.name = scenario
        self.out = os.path.join(BUILD_DIR, "test-output", "desktop", scenario)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.root = tempfile.mkdtemp(prefix=f"tvr-desktop-{scenario}-")
        self.home = os.path.join(self.root, "home")
        self.folder = os.path.join(self.root, "program")
        self.documents = os.path.join(self.home, "Documents")
        self._copy_program_folder()
        for sub in (".config", ".local/share", ".cache", "run", "Documents"):
            os.makedirs(os.path.join(self.home, sub), exist_ok=True)
        os.chmod(os.path.join(self.home, "run"), 0o700)
        self.language = language
        self.desktop = Desktop()
        self.socket_path = os.path.join(self.root, "query.sock")
        self.process = None
        self.shots = 0
        self.log = open(os.path.join(self.out, "program.log"), "w")

    def _copy_program_folder(self):
        source = os.path.join(BUILD_DIR, "bin")
        skip = shutil.ignore_patterns("*_test", "*_tests", "bench_*", "*.a")
        shutil.copytree(source, self.folder, ignore=skip, symlinks=True)

    def env(self):
        env = dict(self.desktop.env)
        for key in ("QT_QPA_PLATFORM", "TVR_DUMP_WINDOW_FILE", "TVR_SCRIPT_FILE", "TVR_SCREENSHOT_FILE"):
            env.pop(key, None)
        env.update(HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local/share"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                   XDG_RUNTIME_DIR=os.path.join(self.home, "run"), TVR_QUERY_SOCKET=self.socket_path,
                   LANG="fr_FR.UTF-8" if self.language == "fr" else "en_GB.UTF-8", LC_ALL="")
        return env

    # -- the program -------------------------------------------------------------------

    def start(self, *arguments):
        if os.path.exists(self.socket_path):
            os.unlink(self.socket_path)
        self.process = subprocess.Popen([os.path.join(self.folder, "tvr"), *arguments], env=self.env(),
                                        cwd=self.home, stdout=self.log, stderr=self.log)
        self.wait(lambda: os.path.exists(self.socket_path) and self.dump().get("title"), "the main window")

    def running(self):
        if self.process is not None and self.process.poll() is None:
            return True
        return bool(self._restarted_pids())

    def _restarted_pids(self):
        """The copies of the program that the program started itself (a restart in
        another language), found by their path."""
        found = subprocess.run(["pgrep", "-f", os.path.join(self.folder, "tvr")], capture_output=True, text=True)
        return [int(pid) for pid in found.stdout.split()]

    def wait_restart(self):
        """The program restarts itself: its first process ends and a new one answers."""
        self.wait(lambda: self.process.poll() is not None, "the program to end for its restart")
        self.wait(lambda: self._restarted_pids() and os.path.exists(self.socket_path) and self.dump().get("title"),
                  "the restarted program")

    def query(self, text):
        if not self.running():
            raise StepFailed(f"the program is not running (exit code {self.process.returncode})")
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as connection:
            connection.settimeout(10)
            try:
                connection.connect(self.socket_path)
                connection.sendall(text.encode() + b"\n")
                chunks = []
                while chunk := connection.recv(65536):
                    chunks.append(chunk)
            except (OSError, socket.timeout) as error:
                raise StepFailed(f"the program does not answer ({error}): is it hanging?") from error
        answer = b"".join(chunks).decode().rstrip("\n")
        if answer.startswith("error:"):
            raise StepFailed(f"{text}: {answer}")
        return answer

    def dump(self):
        values = {"window": []}
        for line in self.query("dump").splitlines():
            key, _, value = line.partition("=")
            if key == "window":
                values["window"].append(value)
            else:
                values[key] = value
        return values

    def wait(self, predicate, what, seconds=WAIT_SECONDS):
        deadline = time.time() + seconds
        while True:
            try:
                result = predicate()
            except StepFailed:
                if not self.running():
                    raise
                result = None
            if result:
                return result
            if time.time() > deadline:
                raise StepFailed(f"waited {seconds:.0f} s in vain for {what}")
            time.sleep(0.1)

    def wait_modal(self, title=""):
        """Waits for a modal window whose title holds `title`, active and so ready for
        input; returns its dump line."""
        def ready():
            dump = self.dump()
            modal = dump.get("modal")
            # The splash lies over the start dialogs until it closes, and takes their clicks.
            splash = any(window.startswith("CSplashDlg") for window in dump["window"])
            return (modal and title in modal.split("|")[2] and dump.get("activewindow") == modal
                    and not splash and modal)
        return self.wait(ready, f"a modal window titled '{title}'")

    def answer(self, button, *words, title=PROGRAM):
        """Answers the program's message box (titled with the program's name) with the
        button of that id (1 OK, 2 Cancel, 6 Yes, 7 No) after checking that it says each
        of the words; returns its text."""
        box = self.wait_modal(title)
        text = self.widget("1326")["text"]
        missing = [word for word in words if word not in text]
        if missing:
            raise StepFailed(f"the message lacks {missing}: {text}")
        self.click_widget(button)
        self.wait(lambda: self.dump().get("modal") != box or self.widget("1326")["text"] != text,
                  "the message box to close")
        return text

    def close_window(self, title):
        """Closes a window of that title, if shown, as a user does: a click on its title
        bar, then the window manager's Alt+F4."""
        def shown():
            return [w for w in self.dump()["window"] if title in w.split("|")[2]]

        def closed():
            # Another window lying over its title bar takes the click, and closes first.
            for window in shown()[:1]:
                x, y, w, _ = (int(v) for v in window.split("|")[3].split()[:4])
                self.click(x + w // 2, y + 6)
                self.key("alt+F4")
                time.sleep(0.3)
            return not shown()
        self.wait(closed, f"the window '{title}' to close")

    def wait_no_modal(self):
        self.wait(lambda: not self.dump().get("modal"), "the modal window to close")

    def wait_status(self, text):
        self.wait(lambda: text in self.dump().get("status", ""), f"the status bar to show '{text}'")

    def quit(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            with contextlib.suppress(subprocess.TimeoutExpired):
                self.process.wait(10)
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait()
        for pid in self._restarted_pids():
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)

    def close(self):
        self.quit()
        self.desktop.close()
        self.log.close()
        # What the scenario wrote stays beside its screenshots, to be looked at.
        shutil.copytree(self.documents, os.path.join(self.out, "documents"), dirs_exist_ok=True)
        shutil.rmtree(self.root, ignore_errors=True)

    # -- real input --------------------------------------------------------------------

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *[str(a) for a in arguments]], env=self.desktop.env, check=True)
        time.sleep(0.05)

    def move(self, x, y):
        # Not --sync: it waits for a motion that never comes when the pointer is there already.
        self.xdotool("mousemove", x, y)
        # The program sees the pointer arrive (enter and hover) before anything is pressed.
        time.sleep(0.15)

    def click(self, x, y, button=1, count=1, modifiers=()):
        self.move(x, y)
        for key in modifiers:
            self.xdotool("keydown", key)
        for _ in range(count):
            self.xdotool("mousedown", button)
            self.xdotool("mouseup", button)
        for key in reversed(modifiers):
            self.xdotool("keyup", key)

    def double_click(self, x, y):
        self.click(x, y, count=2)

    def drag(self, start, end, button=1, steps=12, modifiers=()):
        self.move(*start)
        for key in modifiers:
            self.xdotool("keydown", key)
        self.xdotool("mousedown", button)
        for i in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
        self.xdotool("mouseup", button)
        for key in reversed(modifiers):
            self.xdotool("keyup", key)

    def wheel(self, x, y, clicks):
        self.move(x, y)
        self.xdotool("click", "--repeat", abs(clicks), "--delay", 60, 4 if clicks > 0 else 5)

    def key(self, *keys):
        for key in keys:
            self.xdotool("key", "--clearmodifiers", key)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    # -- widgets found by their name or text, then clicked -----------------------------

    def widget(self, name):
        rect, kind, enabled, text = self.query(f"widget {name}").split("|", 3)
        return {"rect": rect, "class": kind, "enabled": enabled == "1", "text": text}

    def shown(self, name):
        """Whether a widget of that name is shown."""
        return self._answers(f"widget {name}")

    def _answers(self, query):
        try:
            self.query(query)
            return True
        except StepFailed:
            if not self.running():
                raise
            return False

    def click_widget(self, name, count=1):
        found = self.wait(lambda: self.widget(name), f"widget {name}")
        if not found["enabled"]:
            raise StepFailed(f"widget {name} is disabled")
        x, y = _centre(found["rect"])
        if found["class"] in ("QCheckBox", "QRadioButton"):
            # A box wider than its text takes a click only on its mark and text.
            x = int(found["rect"].split()[0]) + 8
        self.click(x, y, count=count)

    def click_text(self, text, count=1, seconds=WAIT_SECONDS):
        rect = self.wait(lambda: self.query(f"text {text}"), f"'{text}' shown", seconds)
        self.click(*_centre(rect), count=count)

    def fill(self, name, text):
        """Clicks into a field, selects what it holds and types the text."""
        self.click_widget(name)
        self.key("ctrl+a")
        self.type(text)

    def entries(self, name):
        """The entries of combo box `name`, seen by opening its list and closing it again."""
        self.click_widget(name)
        items = self.wait(lambda: self.dump().get("popup") == "open|list" and self._menu_items(),
                          f"the list of {name}")
        self.key("Escape")
        self.wait(lambda: not self.dump().get("popup"), f"the list of {name} to close")
        return [item[0] for item in items]

    def choose(self, name, text):
        """Opens combo box `name` with the mouse and chooses the entry that begins with
        `text`: a click where the list shows it, else the arrow keys."""
        self.click_widget(name)
        items = self.wait(lambda: self.dump().get("popup") == "open|list" and self._menu_items(),
                          f"the list of {name}")
        texts = [item[0] for item in items]
        row = next((i for i, t in enumerate(texts) if t.startswith(text)), None)
        if row is None:
            self.key("Escape")
            raise StepFailed(f"no entry '{text}' in list {name}: {texts}")
        x, y, w, h = (int(v) for v in items[row][2].split())
        if w > 0 and h > 0:
            self.click(x + w // 2, y + h // 2)
        else:
            self.key("Home", *["Down"] * row, "Return")
        self.wait(lambda: not self.dump().get("popup"), f"the list of {name} to close")

    def menu(self, *path):
        """Chooses a menu item by the mnemonics of its path, as a keyboard user does; an item
        without a mnemonic of its own is clicked."""
        self.wait(lambda: not self.dump().get("modal"), "no modal window over the menus")
        bar = self._menu_items()
        top = self._find_item(bar, path[0])
        self.key(f"alt+{_mnemonic(top[0])}")
        for depth, label in enumerate(path[1:], start=1):
            items = self.wait(lambda: self.dump().get("popup") and self._menu_items(),
                              f"the menu {path[depth - 1]}")
            item = self._find_item(items, label)
            if item[1] != "1":
                while self.dump().get("popup"):
                    self.key("Escape")
                raise StepFailed(f"menu item {' > '.join(path[:depth + 1])} is disabled")
            letter = _mnemonic(item[0])
            # A letter that another item shares, even a disabled one, only moves the highlight.
            letters = [_mnemonic(other[0]) for other in items]
            if letter and letters.count(letter) == 1:
                self.key(letter)
            else:
                self.click(*_centre(item[2]))
        self.wait(lambda: not self.dump().get("popup"), "the menu to close")

    def _menu_items(self):
        return [line.split("|") for line in self.query("menu").splitlines() if line]

    @staticmethod
    def _find_item(items, label):
        for item in items:
            if _strip_mnemonic(item[0]) == _strip_mnemonic(label):
                return item
        # A label ending in "*" names the first item that begins so (a recent file).
        for item in items:
            if label.endswith("*") and _strip_mnemonic(item[0]).startswith(label[:-1]):
                return item
        # Items that name what they act on ("Annuler : Extrémité").
        for item in items:
            if _strip_mnemonic(item[0]).startswith(_strip_mnemonic(label) + " "):
                return item
        raise StepFailed(f"no menu item '{label}' among {[_strip_mnemonic(i[0]) for i in items]}")

    # -- what the program shows --------------------------------------------------------

    def shot(self, name):
        self.shots += 1
        path = os.path.join(self.out, f"{self.shots:02d}_{name}.png")
        subprocess.run(["import", "-display", self.desktop.display, "-window", "root", path], check=True)
        return path

    def bill(self):
        """The bill page shown: its tabs (text, current) and its rows of cells."""
        tabs, rows = [], []
        for line in self.query("bill").splitlines():
            kind, _, rest = line.partition("|")
            if kind == "tab":
                _, text, current = rest.split("|")
                tabs.append((text, current == "*"))
            elif kind == "row":
                rows.append(rest.split("\t"))
        return tabs, rows

    def cells(self, name):
        """The cells of a shown list, tree or table, a row a list."""
        return [line.split("\t") for line in self.query(f"cells {name}").splitlines()]

    def file_dialog(self, title, path):
        """Answers a file dialog (open or save) by typing the whole path into its name
        field, as a user may."""
        self.wait_modal(title)
        self.fill("fileNameEdit", path)
        self.key("Return")

    def elements(self, run):
        found = []
        for line in self.query(f"elements {run}").splitlines():
            index, kind, reference, rect = line.split("|")
            found.append({"index": int(index), "kind": int(kind), "reference": reference, "rect": rect})
        return found

    def box(self, run, index, slot):
        """Where the element's box in that slot is drawn ("x y w h"), None for no box."""
        try:
            return self.query(f"box {run} {index} {slot}")
        except StepFailed as error:
            if "no such box" in str(error):
                return None
            raise

    def element_point(self, run, index, slot=6):
        return _centre(self.query(f"box {run} {index} {slot}"))


class Scenario:
    """Runs steps in order. A step marked with the fault that mends it is expected to fail
    today; it turns the scenario red once it passes, so that the mark goes with the fix."""

    def __init__(self, name, language="fr"):
        self.name = name
        self.program = Program(name, language)
        self.results = []

    @contextlib.contextmanager
    def step(self, title, fails_until=None):
        started = time.time()
        try:
            yield self.program
        except Exception as error:  # noqa: BLE001 - every failure is reported with its picture
            self._leave_evidence(title, error)
            if fails_until is None:
                self.results.append(("FAIL", title, str(error)))
                raise _Stop() from error
            self.results.append(("xfail", title, f"{fails_until}: {error}"))
            self._recover()
        else:
            outcome = "XPASS" if fails_until else "ok"
            self.results.append((outcome, title, f"{time.time() - started:.1f} s" +
                                 (f" (marked as failing until {fails_until})" if fails_until else "")))

    def _leave_evidence(self, title, error):
        safe = re.sub(r"[^A-Za-z0-9]+", "_", title)[:40]
        with contextlib.suppress(Exception):
            self.program.shot(f"FAILED_{safe}")
        with open(os.path.join(self.program.out, f"FAILED_{safe}.txt"), "w") as report:
            report.write("".join(traceback.format_exception(error)))
            with contextlib.suppress(Exception):
                report.write("\n--- dump ---\n" + self.program.query("dump") + "\n")

    def _recover(self):
        """Closes what a failed step left open (menus, questions) so the next step starts
        from the window; a program that ended is started again."""
        program = self.program
        if not program.running():
            return
        for _ in range(4):
            with contextlib.suppress(Exception):
                dump = program.dump()
                if not dump.get("modal") and not dump.get("popup"):
                    return
                program.key("Escape")
                time.sleep(0.3)

    def run(self, steps):
        code = 0
        try:
            steps(self)
        except _Stop:
            code = 1
        except Exception as error:  # noqa: BLE001
            self.results.append(("FAIL", "scenario", "".join(traceback.format_exception(error))))
            code = 1
        finally:
            self.program.close()
        for outcome, title, detail in self.results:
            print(f"{outcome:6} {title}: {detail}")
        if any(outcome == "XPASS" for outcome, _, _ in self.results):
            print("A step marked as failing passed: remove its mark.")
            code = 1
        return code


class _Stop(Exception):
    pass


def main(steps, language="fr"):
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    sys.exit(Scenario(name, language).run(steps))


def files_below(folder):
    return {os.path.join(root, name) for root, _, names in os.walk(folder) for name in names}


def export(p, suffix, *menu):
    """An export through its menu, the proposed file name taken and any question that
    follows answered by Enter; returns the file written (below the documents folder:
    beside a saved design, or in the projects folder for a new one)."""
    before = files_below(p.documents)
    p.menu(*menu)
    p.wait_modal("Enregistrer")
    p.key("Return")

    def written():
        if p.dump().get("modal"):
            p.key("Return")
            return None
        new = [path for path in files_below(p.documents) - before if path.lower().endswith(suffix)]
        return new and os.path.getsize(new[0]) > 0 and new[0]
    return p.wait(written, f"the {suffix} file", seconds=60)
