#!/usr/bin/python3
"""The Windows program as a user gets it, proven under Wine against the Linux programs.

  installer_test.py WINDOWS_BUILD LINUX_BUILD

In a fresh Wine prefix (WINDOWS_BUILD/installer-test/prefix):
  1. Talvers-<version>-setup.exe /S installs for the user: the programs, Qt's parts, the
     translations, a Start-menu entry and an uninstall entry in the user's registry.
  2. The installed talvers-report.exe runs every command on samples made by the Linux
     talvers-sample (both company variants, in a folder whose name has accents), and each
     answer is the Linux talvers-report's: exit status, what it prints, and every workbook's
     cells, formats, merges, widths and page setup as the independent reader dumps them.
  3. talvers-report.exe runs two reports over the wire: Wine's odbc32, the host's unixODBC
     and FreeTDS, to the TDS double serving a Linux sample; each answer and workbook is the
     Linux program's direct run on that sample.
  4. talvers.exe starts under Xvfb with a window manager, its settings read from the machine's
     folder (%PROGRAMDATA%\\kelmar, the user having none); its main window shows the
     company's caption; the pending-orders window is opened and run by keyboard to a saved
     workbook whose cells are the Linux run's. A screenshot is kept in installer-test/.
  5. The uninstaller (/S) removes the program, its Start-menu and uninstall entries, and
     leaves the user's settings (%APPDATA%\\kelmar) as they were.
Each check prints one line; the exit status is 1 when any failed.
"""
import glob
import os
import shutil
import subprocess
import sys
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
READER = os.path.join(SOURCE, "tests", "support", "xlsx_reader.py")
COMPANY_CAPTION = "[Distribuidora Exemplo, Lda.]"
# The DLLs every Windows since 10 has in its system folder that the programs and Qt may load.
# Wine brings more (zlib1.dll among them), so a DLL missing from the installer would go
# unnoticed by running the programs here.
WINDOWS_DLLS = {
    "advapi32.dll", "authz.dll", "comctl32.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll",
    "dwmapi.dll", "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "mpr.dll",
    "msvcrt.dll", "netapi32.dll", "odbc32.dll", "ole32.dll", "oleaut32.dll", "shcore.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll",
    "winmm.dll", "ws2_32.dll", "wtsapi32.dll",
}

failures = []
checks = 0


def check(ok, what, detail=""):
    global checks
    checks += 1
    print(("ok    " if ok else "FAIL  ") + what + ("" if ok or not detail else ": " + detail))
    if not ok:
        failures.append(what)
    return ok


class Wine:
    """One prefix of its own and the environment every Windows program runs in."""

    def __init__(self, prefix):
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": prefix, "WINEDEBUG": "-all", "WINEARCH": "win64",
            # No Mono or Gecko prompts, nothing written into the host's menus or file types.
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            # Wine reads the Unix command line and environment in the locale's encoding.
            "LC_ALL": "C.UTF-8",
        })
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "TALVERS_BASE", "TALVERS_SQL_TRACE"):
            self.env.pop(name, None)
        shutil.rmtree(prefix, ignore_errors=True)
        os.makedirs(prefix)
        subprocess.run([WINESERVER, "-p"], env=self.env, check=True)
        # The prefix's services start here, once: started by a later run whose output is read,
        # they would hold its pipes open after it ends.
        quiet = dict(env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINE, "wineboot", "-i"], check=True, **quiet)
        subprocess.run([WINE, "cmd", "/c", "exit"], check=True, **quiet)

    def run(self, *args, display=None, timeout=300):
        env = dict(self.env)
        if display:
            env["DISPLAY"] = display
        return subprocess.run([WINE, *args], env=env, capture_output=True, timeout=timeout)

    def start(self, *args, display):
        env = dict(self.env, DISPLAY=display)
        return subprocess.Popen([WINE, *args], env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def folder(self, variable):
        """A Windows folder of the prefix's user (%APPDATA%, ...), as a Unix path."""
        windows = self.run("cmd", "/c", "echo %" + variable + "%").stdout.decode().strip()
        return self.unix(windows)

    def unix(self, windows_path):
        return self.run("winepath", "-u", windows_path).stdout.decode().strip()

    @staticmethod
    def windows(unix_path):
        return "Z:" + os.path.abspath(unix_path).replace("/", "\\")

    def stop(self):
        subprocess.run([WINESERVER, "-k"], env=self.env)


def normalized(output):
    # The Windows C runtime writes its text streams with CR LF.
    return output.replace(b"\r\n", b"\n").decode("utf-8", "replace")


def dump(workbook):
    result = subprocess.run(["/usr/bin/python3", READER, workbook], capture_output=True)
    return result.stdout.decode() if result.returncode == 0 else None


def first_difference(a, b):
    for number, (x, y) in enumerate(zip(a.splitlines(), b.splitlines()), 1):
        if x != y:
            return "line %d: %r != %r" % (number, x, y)
    return "%d lines != %d lines" % (len(a.splitlines()), len(b.splitlines()))


def foreign_imports(folder):
    """What the installed executables and DLLs import that is neither installed with them nor
    one of Windows' own, as "file: dll"."""
    binaries = [os.path.join(top, name) for top, _, names in os.walk(folder) for name in names
                if name.lower().endswith((".exe", ".dll"))]
    shipped = {os.path.basename(b).lower() for b in binaries}
    foreign = []
    for binary in binaries:
        headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", binary],
                                 capture_output=True, text=True).stdout
        for line in headers.splitlines():
            if "DLL Name:" in line:
                dll = line.split("DLL Name:")[1].strip().lower()
                if (dll not in shipped and dll not in WINDOWS_DLLS and
                        not dll.startswith("api-ms-win-")):
                    foreign.append("%s: %s" % (os.path.relpath(binary, folder), dll))
    return foreign


def install(wine, setup):
    result = wine.run(setup, "/S")
    programs = os.path.join(wine.folder("LOCALAPPDATA"), "Programs", "Talvers")
    check(result.returncode == 0, "the setup installs silently", "status %d" % result.returncode)
    expected = ["bin/talvers.exe", "bin/talvers-report.exe", "bin/talvers-sample.exe",
                "bin/Qt6Core.dll", "bin/Qt6Gui.dll", "bin/Qt6Widgets.dll",
                "plugins/platforms/qwindows.dll", "plugins/styles/qwindowsvistastyle.dll",
                "translations/qtbase_talvers_pt_PT.qm", "translations/qtbase_pt_BR.qm",
                "talvers.ico", "uninstall.exe"]
    missing = [f for f in expected if not os.path.isfile(os.path.join(programs, f))]
    check(not missing, "installed for the user in %LOCALAPPDATA%\\Programs\\Talvers",
          "missing " + ", ".join(missing))
    check(not foreign_imports(programs), "the programs and DLLs need no DLL the setup lacks",
          ", ".join(foreign_imports(programs)))
    menu = os.path.join(wine.folder("APPDATA"), "Microsoft", "Windows", "Start Menu",
                        "Programs", "Talvers.lnk")
    check(os.path.isfile(menu), "a Start-menu entry of the user's own")
    key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Talvers"
    entry = normalized(wine.run("reg", "query", key, "/v", "QuietUninstallString").stdout)
    check("uninstall.exe" in entry and "/S" in entry, "an uninstall entry in the user's registry",
          entry.strip())
    return programs, menu, key


def compare_commands(wine, programs, linux_build, work):
    """Every command of the installed talvers-report against the Linux one, on both variants."""
    linux_report = os.path.join(linux_build, "apps", "talvers-report")
    windows_report = os.path.join(programs, "bin", "talvers-report.exe")
    # An argument Windows' ANSI code page cannot hold, through the wide command line and back
    # out on the console as UTF-8.
    text = "Conceição Ελλάδα €"
    linux = subprocess.run([linux_report, "encode-password", text], capture_output=True)
    windows = wine.run(windows_report, "encode-password", text)
    check(normalized(windows.stdout) == normalized(linux.stdout) and linux.returncode == 0,
          "talvers-report.exe encode-password: a text outside the code page, as on Linux",
          "%r != %r" % (normalized(windows.stdout), normalized(linux.stdout)))
    runs = [("check", []), ("lista", ["armazens"]), ("lista", ["grupos"]),
            ("lista", ["familias"]), ("pendentes", ["--date", "2025-06-30"]),
            ("fornecedor", ["--date", "2025-06-30"]),
            ("aprovisionamento", ["--from", "2026-01-01", "--to", "2026-06-30"]),
            ("series", [])]
    for side in ("linux", "windows"):
        os.makedirs(os.path.join(work, side), exist_ok=True)
    for variant in ("default", "alternate"):
        sample = os.path.join(work, "João Conceição Ελλάδα", "amostra " + variant)
        subprocess.run([os.path.join(linux_build, "apps", "talvers-sample"), "--out", sample,
                        "--lines", "400", "--today", "2026-06-30", "--variant", variant],
                       check=True, capture_output=True)
        settings = os.path.join(sample, "Talvers.qor")
        for command, options in runs:
            name = "%s-%s%s" % (variant, command, "-" + options[0] if command == "lista" else "")
            writes = command not in ("check", "lista")
            outputs = {side: os.path.join(work, side, name + ".xlsx")
                       for side in ("linux", "windows")}
            linux_args = [command, *options, "--settings", settings]
            windows_args = [command, *options, "--settings", Wine.windows(settings)]
            if writes:
                linux_args += ["--output", outputs["linux"]]
                windows_args += ["--output", Wine.windows(outputs["windows"])]
            linux = subprocess.run([linux_report, *linux_args], capture_output=True)
            windows = wine.run(windows_report, *windows_args)
            check((windows.returncode, normalized(windows.stdout)) ==
                  (linux.returncode, normalized(linux.stdout)),
                  "talvers-report.exe %s: the Linux status and output" % name,
                  "%d %r != %d %r (stderr %r)" % (
                      windows.returncode, normalized(windows.stdout)[:200], linux.returncode,
                      normalized(linux.stdout)[:200], normalized(windows.stderr)[:300]))
            if writes and linux.returncode == 0:
                cells = {side: dump(path) for side, path in outputs.items()}
                check(cells["windows"] is not None and cells["windows"] == cells["linux"],
                      "talvers-report.exe %s: the Linux workbook's cells" % name,
                      "unreadable" if cells["windows"] is None
                      else first_difference(cells["windows"], cells["linux"]))


def odbc_through_tds_double(wine, programs, linux_build, work):
    """Reports of talvers-report.exe over the wire: Wine's odbc32 hands the calls to the host's
    unixODBC, whose FreeTDS talks TDS to the double serving the Linux sample's files. Each
    answer must be the Linux program's direct run on those files."""
    double = os.path.join(linux_build, "tests", "tds_double", "tds-double")
    linux_report = os.path.join(linux_build, "apps", "talvers-report")
    windows_report = os.path.join(programs, "bin", "talvers-report.exe")
    sample = os.path.join(work, "sobre a rede")
    subprocess.run([os.path.join(linux_build, "apps", "talvers-sample"), "--out", sample,
                    "--lines", "300", "--today", "2026-06-30"], check=True, capture_output=True)
    trace = os.path.join(sample, "trace.txt")
    server = subprocess.Popen([double, "--catalog", "ERP=" + os.path.join(sample, "erp.db"),
                               "--catalog", "EXT=" + os.path.join(sample, "externa.db"),
                               "--trace", trace], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, text=True)
    try:
        port = int(server.stdout.readline().split()[1])
        with open(os.path.join(sample, "Talvers.qor"), encoding="utf-8") as f:
            program = f.read().split("[Talvers]", 1)[1]
        # The driver by its registered name: the Windows program's default is Microsoft's.
        connection = ("Driver=FreeTDS\nServidor=127.0.0.1,%d\nEmpresa=%s\nUsername=talvers\n"
                      "Password=talvers\n")
        wire = os.path.join(sample, "wire.qor")
        with open(wire, "w", encoding="utf-8") as f:
            f.write("[Ligação]\n" + connection % (port, "ERP") + "[LigaçãoExterna]\n" +
                    connection % (port, "EXT") + "[Talvers]" + program)
        for command, options in (("pendentes", ["--date", "2025-06-30"]),
                                 ("aprovisionamento", ["--from", "2026-01-01",
                                                       "--to", "2026-06-30"])):
            outputs = {side: os.path.join(sample, side + "-" + command + ".xlsx")
                       for side in ("linux", "windows")}
            linux = subprocess.run([linux_report, command, *options, "--settings",
                                    os.path.join(sample, "Talvers.qor"), "--output",
                                    outputs["linux"]], capture_output=True)
            with open(trace, encoding="utf-8") as f:
                before = len(f.read().splitlines())
            windows = wine.run(windows_report, command, *options, "--settings",
                               Wine.windows(wire), "--output", Wine.windows(outputs["windows"]))
            with open(trace, encoding="utf-8") as f:
                sent = len(f.read().splitlines()) - before
            what = "talvers-report.exe %s through odbc32, unixODBC and FreeTDS" % command
            check(linux.returncode == 0 and sent > 0 and
                  (windows.returncode, normalized(windows.stdout)) ==
                  (linux.returncode, normalized(linux.stdout)),
                  what + ": the direct Linux run's status and output (%d batches)" % sent,
                  "%d %r != %d %r (stderr %r)" % (
                      windows.returncode, normalized(windows.stdout)[:200], linux.returncode,
                      normalized(linux.stdout)[:200], normalized(windows.stderr)[:300]))
            cells = {side: dump(path) for side, path in outputs.items()}
            check(cells["windows"] is not None and cells["windows"] == cells["linux"],
                  what + ": the direct Linux run's cells",
                  "unreadable" if cells["windows"] is None
                  else first_difference(cells["windows"], cells["linux"]))
    finally:
        server.stdin.close()
        server.wait(timeout=10)


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.5)
    return None


def window_named(display, name):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                           env=dict(os.environ, DISPLAY=display), capture_output=True)
    ids = found.stdout.decode().split()
    return ids[0] if ids else None


def xdotool(display, *args):
    subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=display), check=False)


def desktop(wine, programs, linux_build, work, build):
    """talvers.exe on the machine's settings, one report run by keyboard to a saved workbook."""
    sample = os.path.join(work, "João Conceição Ελλάδα", "amostra default")
    machine = os.path.join(wine.folder("PROGRAMDATA"), "kelmar")
    os.makedirs(machine, exist_ok=True)
    for name in ("Talvers.qor", "erp.db", "externa.db"):
        shutil.copy(os.path.join(sample, name), machine)
    saved = os.path.join(work, "desktop", "pendentes.xlsx")
    os.makedirs(os.path.dirname(saved), exist_ok=True)
    # Wine has no program for workbooks: Notepad stands in, as the shell's association for
    # .xlsx, so that the program's opener is seen handing the saved workbook to the shell.
    # (Wine reads associations from the machine's classes only, not the user's.)
    for key, value in ((r"HKLM\Software\Classes\.xlsx", "Talvers.Teste"),
                       (r"HKLM\Software\Classes\Talvers.Teste\shell\open\command",
                        'notepad.exe "%1"')):
        wine.run("reg", "add", key, "/ve", "/d", value, "/f")
    # Xvfb picks a free display itself and says which.
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x900x24",
                             "-nolisten", "tcp"], pass_fds=(write,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as answer:
        display = ":" + answer.readline().strip()
    helpers = [xvfb]
    try:
        helpers.append(subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=display),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(1)
        started = time.monotonic()
        program = wine.start(os.path.join(programs, "bin", "talvers.exe"), display=display)
        helpers.append(program)
        main = wait_for(lambda: window_named(display, "^\\[Distribuidora"), 90)
        if not check(main is not None, "talvers.exe shows its main window",
                     "no window after 90 s"):
            return
        print("      (main window after %.1f s)" % (time.monotonic() - started))
        title = subprocess.run(["xdotool", "getwindowname", main], capture_output=True,
                               env=dict(os.environ, DISPLAY=display)).stdout.decode().strip()
        check(title == COMPANY_CAPTION, "the main window's caption is the company's", title)
        xdotool(display, "windowactivate", "--sync", main)
        time.sleep(1)
        # Alt+T opens the Talvers menu, E its Encomendas Pendentes.
        xdotool(display, "key", "--delay", "300", "alt+t", "e")
        time.sleep(3)
        # Enter runs Confirmar; the save dialog opens with its file name field focused.
        xdotool(display, "key", "Return")
        dialog = wait_for(lambda: window_named(display, "Guardar relat"), 60)
        if not check(dialog is not None, "the report runs by keyboard to the save dialog"):
            return
        time.sleep(1)
        xdotool(display, "type", "--delay", "20", Wine.windows(saved))
        xdotool(display, "key", "Return")
        written = wait_for(lambda: os.path.isfile(saved) or None, 60)
        # Notepad's caption names the file (the window's own names the report).
        opened = wait_for(lambda: window_named(display, "pendentes\\.xlsx"), 30)
        time.sleep(2)
        screenshot = os.path.join(build, "installer-test", "desktop.png")
        subprocess.run(["import", "-display", display, "-window", "root", screenshot],
                       check=False)
        print("      screenshot: " + screenshot)
        if not check(written is not None, "the desktop saves the workbook named by keyboard"):
            return
        check(opened is not None, "the desktop opens the saved workbook through the shell's "
              "association for .xlsx")
        linux = os.path.join(work, "linux", "desktop-pendentes.xlsx")
        subprocess.run([os.path.join(linux_build, "apps", "talvers-report"), "pendentes",
                        "--settings", os.path.join(sample, "Talvers.qor"), "--output", linux],
                       check=True, capture_output=True)
        cells = dump(saved), dump(linux)
        check(cells[0] is not None and cells[0] == cells[1],
              "the desktop's workbook has the Linux run's cells",
              "unreadable" if cells[0] is None else first_difference(*cells))
    finally:
        for helper in reversed(helpers):
            helper.terminate()
        for helper in helpers:
            try:
                helper.wait(10)
            except subprocess.TimeoutExpired:
                helper.kill()


def uninstall(wine, programs, menu, key):
    settings = os.path.join(wine.folder("APPDATA"), "kelmar", "Talvers.qor")
    os.makedirs(os.path.dirname(settings), exist_ok=True)
    with open(settings, "w", encoding="utf-8") as f:
        f.write("[Ligação]\nMotor=sqlite\nEmpresa=erp.db\n")
    # The uninstaller copies itself out of the folder it removes and returns at once.
    wine.run(os.path.join(programs, "uninstall.exe"), "/S")
    gone = wait_for(lambda: not os.path.exists(programs), 60)
    check(gone, "the uninstaller removes the program's folder",
          ", ".join(sorted(glob.glob(programs + "/**", recursive=True)))[:300])
    check(not os.path.exists(menu), "the uninstaller removes the Start-menu entry")
    check(wine.run("reg", "query", key).returncode != 0,
          "the uninstaller removes the uninstall entry")
    with open(settings, encoding="utf-8") as f:
        check(f.read() == "[Ligação]\nMotor=sqlite\nEmpresa=erp.db\n",
              "the user's settings stay as they were")


def main():
    build, linux_build = (os.path.abspath(a) for a in sys.argv[1:3])
    setups = glob.glob(os.path.join(build, "Talvers-*-setup.exe"))
    if len(setups) != 1:
        print("installer_test: no setup in " + build)
        return 1
    root = os.path.join(build, "installer-test")
    work = os.path.join(root, "work")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    wine = Wine(os.path.join(root, "prefix"))
    try:
        programs, menu, key = install(wine, setups[0])
        compare_commands(wine, programs, linux_build, work)
        odbc_through_tds_double(wine, programs, linux_build, work)
        desktop(wine, programs, linux_build, work, build)
        uninstall(wine, programs, menu, key)
    finally:
        wine.stop()
    print("installer_test: %d checks, %d failed" % (checks, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
