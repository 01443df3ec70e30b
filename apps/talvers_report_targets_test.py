#!/usr/bin/python3
"""End-to-end tests of where talvers-report writes: shared folders with links other users
planted beforehand, the statement trace against the run's own files, sticks and shares whose
file systems keep no Unix modes, a disk with little room, a file-size limit and a stop at an
exact step of the replace. Cases that need the super-user (another user's files, mounts) are
skipped elsewhere, saying so."""
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

from talvers_report_test import BIN, Sample, WorkdirTest, digest, run

STOP_LIBRARY = os.environ.get("TALVERS_STOP_AT_REPLACE_LIB", "")
# The tools that make and mount file systems live in the administrator's folders.
os.environ["PATH"] += ":/usr/sbin:/sbin"
# Users the system knows no name for: another user who plants links, and their victim.
PLANTER = 4242
VICTIM = 4243


def as_user(uid, action):
    """Runs `action` in a child process as the user `uid`."""
    pid = os.fork()
    if pid == 0:
        try:
            os.setgroups([])
            os.setgid(uid)
            os.setuid(uid)
            action()
            os._exit(0)
        except BaseException:
            os._exit(1)
    _, status = os.waitpid(pid, 0)
    assert os.waitstatus_to_exitcode(status) == 0, "the action as %d failed" % uid


def contents(path):
    """Every part of a workbook but the time it was made at."""
    with zipfile.ZipFile(path) as book:
        return {name: book.read(name) for name in book.namelist() if name != "docProps/core.xml"}


def ours_left(folder):
    return [n for n in os.listdir(folder) if n.startswith(".talvers-")]


class TargetTest(WorkdirTest):
    LINES = None  # the shared sample's, unless a test needs more

    def setUp(self):
        super().setUp()
        self.sample = os.path.join(self.dir, "sample")
        if self.LINES:
            result = run("talvers-sample", "--out", self.sample, "--lines", str(self.LINES))
            self.assertEqual(result.returncode, 0, result.stderr)
        else:
            shutil.copytree(os.path.dirname(Sample.settings("default")), self.sample)
        self.settings = os.path.join(self.sample, "Talvers.qor")
        # The scratch folder of each run, to see that nothing stays there either.
        self.scratch = os.path.join(self.dir, "tmp")
        os.mkdir(self.scratch)

    def tearDown(self):
        self.assertEqual(ours_left(self.scratch), [])
        super().tearDown()

    def pendentes(self, target, trace=None, env=None, limit=None):
        environment = dict(os.environ, TMPDIR=self.scratch)
        environment.update(env or {})
        if trace:
            environment["TALVERS_SQL_TRACE"] = trace

        def limit_size():
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
        return subprocess.run(
            [os.path.join(BIN, "talvers-report"), "pendentes", "--settings", self.settings,
             "--output", target], capture_output=True, text=True, timeout=120, env=environment,
            preexec_fn=limit_size if limit else None)


class OtherUsers(TargetTest):
    """Links another user planted before the run, in folders everybody may write to."""

    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("only the super-user can act as other users here")
        super().setUp()
        os.chmod(self.dir, 0o755)
        victims = os.path.join(self.dir, "vitima")
        os.mkdir(victims)
        self.victim = os.path.join(victims, "notas.txt")
        with open(self.victim, "w") as f:
            f.write("da vítima")
        os.chown(victims, VICTIM, VICTIM)
        os.chown(self.victim, VICTIM, VICTIM)

    def shared(self, mode):
        folder = tempfile.mkdtemp(dir=self.dir)
        os.chmod(folder, mode)
        return folder

    def plant(self, link, to):
        as_user(PLANTER, lambda: os.symlink(to, link))

    def test_planted_links_lead_nowhere(self):
        victim_folder = os.path.dirname(self.victim)
        for mode in (0o1777, 0o777):
            for kind in ("workbook", "trace", "dangling"):
                with self.subTest(mode=oct(mode), kind=kind):
                    folder = self.shared(mode)
                    link = os.path.join(folder, "t1.xlsx" if kind != "trace" else "trace.log")
                    self.plant(link, self.victim if kind != "dangling" else
                               os.path.join(victim_folder, "novo.xlsx"))
                    before = digest(self.victim)
                    if kind == "trace":
                        result = self.pendentes(os.path.join(self.dir, "p.xlsx"), trace=link)
                    else:
                        result = self.pendentes(link)
                    self.assertEqual(result.returncode, 1, result.stderr)
                    self.assertIn('a ligação simbólica "%s" pertence ao utilizador n.º %d, numa '
                                  "pasta onde outros utilizadores podem escrever" % (link, PLANTER),
                                  result.stderr)
                    self.assertEqual(digest(self.victim), before)
                    self.assertEqual(os.listdir(victim_folder), ["notas.txt"])
                    self.assertEqual(os.listdir(folder), [os.path.basename(link)])

    def test_another_users_file_in_a_sticky_folder_is_not_replaced(self):
        folder = self.shared(0o1777)
        target = os.path.join(folder, "t1.xlsx")
        as_user(PLANTER, lambda: open(target, "w").write("de outro"))
        os.chmod(target, 0o666)
        result = self.pendentes(target)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn("o ficheiro pertence ao utilizador n.º %d" % PLANTER, result.stderr)
        with open(target) as f:
            self.assertEqual(f.read(), "de outro")


class OwnLinks(TargetTest):
    def test_a_link_that_leads_nowhere_makes_no_file(self):
        for kind in ("workbook", "trace"):
            with self.subTest(kind=kind):
                link = os.path.join(self.dir, kind + ".xlsx")
                missing = os.path.join(self.dir, kind + "-falta")
                os.symlink(missing, link)
                if kind == "trace":
                    result = self.pendentes(os.path.join(self.dir, "p.xlsx"), trace=link)
                else:
                    result = self.pendentes(link)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn('a ligação simbólica "%s" aponta para um ficheiro que não existe'
                              % link, result.stderr)
                self.assertFalse(os.path.exists(missing))


class TraceTargets(TargetTest):
    """The statement trace never writes into what the run reads or writes."""

    def test_output_database_journal_and_settings_are_refused(self):
        output = os.path.join(self.dir, "p.xlsx")
        result = self.pendentes(output)
        self.assertEqual(result.returncode, 0, result.stderr)
        journal = os.path.join(self.sample, "erp.db-journal")
        missing_output = os.path.join(self.dir, "novo.xlsx")
        cases = [(output, output), (missing_output, missing_output), (output, journal),
                 (output, self.settings), (output, os.path.join(self.sample, "ERP.DB-WAL"))]
        for target, trace in cases:
            with self.subTest(target=target, trace=trace):
                before = {name: digest(os.path.join(folder, name))
                          for folder in (self.dir, self.sample)
                          for name in os.listdir(folder)
                          if os.path.isfile(os.path.join(folder, name))}
                result = self.pendentes(target, trace=trace)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn("é um ficheiro que o programa está a usar", result.stderr)
                after = {name: digest(os.path.join(folder, name))
                         for folder in (self.dir, self.sample)
                         for name in os.listdir(folder)
                         if os.path.isfile(os.path.join(folder, name))}
                self.assertEqual(after, before)


class Limits(TargetTest):
    def setUp(self):
        super().setUp()
        self.target = os.path.join(self.dir, "p.xlsx")
        result = self.pendentes(self.target)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.old = digest(self.target)

    def test_a_file_size_limit_is_a_reason_not_a_crash(self):
        # The limit's own signal is left as the shell leaves it: it would kill the program.
        result = self.pendentes(self.target, limit=os.path.getsize(self.target) // 2)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn("o ficheiro excede o tamanho permitido", result.stderr)
        self.assertEqual(digest(self.target), self.old)
        self.assertEqual(ours_left(self.dir), [])

    def test_a_stop_before_the_rename_keeps_the_old_file_and_after_it_the_new(self):
        if not STOP_LIBRARY:
            self.skipTest("the stop-injecting preload library is built on Linux only")
        for step, status, message in [
                ("before-rename", 143, "a gravação foi interrompida (SIGTERM)"),
                ("after-rename", 0, "O ficheiro foi gravado; a interrupção (SIGTERM) chegou "
                                    "depois.")]:
            with self.subTest(step=step):
                old = os.stat(self.target).st_ino
                result = self.pendentes(self.target, env={"TALVERS_STOP_AT": step,
                                                          "LD_PRELOAD": STOP_LIBRARY})
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(message, result.stderr)
                replaced = os.stat(self.target).st_ino != old
                self.assertEqual(replaced, status == 0)
                self.assertEqual(ours_left(self.dir), [])

    def test_an_unusable_temporary_folder_is_named(self):
        missing = os.path.join(self.dir, "falta")
        result = self.pendentes(self.target, env={"TMPDIR": missing})
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn('Não foi possível usar a pasta temporária "%s": a pasta não existe'
                      % missing, result.stderr)
        self.assertEqual(digest(self.target), self.old)


class Mount:
    """A file system mounted on a fresh folder for one test, unmounted at the end."""

    def __init__(self, folder, command, fuse):
        self.folder, self.fuse = folder, fuse
        os.makedirs(folder)
        result = subprocess.run(command + [folder] if fuse else command, capture_output=True,
                                text=True)
        self.error = "" if result.returncode == 0 and os.path.ismount(folder) else (
            " ".join(command[:1]) + ": " + (result.stderr.strip() or "not mounted"))

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if not self.error:
            subprocess.run(["fusermount", "-u", self.folder] if self.fuse else
                           ["umount", "-l", self.folder], capture_output=True)


def missing_tools(*tools):
    return [t for t in tools if not shutil.which(t)]


class ForeignFileSystems(TargetTest):
    """Sticks and shares: file systems without Unix modes (FAT, NTFS through FUSE), one
    mounted read-only, and a disk with room for one workbook and a tenth."""
    # A workbook of some size, next to which the small files of a write (the private folder's
    # mark, one page of the disk) stay small.
    LINES = 2000

    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("mounting file systems needs the super-user")
        super().setUp()
        reference = os.path.join(self.dir, "referencia.xlsx")
        result = self.pendentes(reference)
        self.assertEqual(result.returncode, 0, result.stderr)
        # The same workbook, part for part, wherever it is written whole.
        self.reference = contents(reference)
        self.size = os.path.getsize(reference)

    def image(self, name, make):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.truncate(64 << 20)
        subprocess.run(make + [path], check=True, capture_output=True)
        return path

    def assertWritesWholeTwice(self, folder):
        target = os.path.join(folder, "p.xlsx")
        for attempt in ("novo", "substituído"):
            result = self.pendentes(target)
            self.assertEqual(result.returncode, 0, attempt + ": " + result.stderr)
            self.assertEqual(contents(target), self.reference)
            self.assertEqual(sorted(os.listdir(folder)), ["p.xlsx"])

    def test_sticks_and_shares_without_unix_modes(self):
        if not os.path.exists("/dev/fuse"):
            self.skipTest("no /dev/fuse here: FUSE file systems cannot be mounted")
        cases = [("FAT montado com umask 022", ["mkfs.vfat"], ["fusefat", "-o", "rw+,umask=022"]),
                 ("FAT", ["mkfs.vfat"], ["fusefat", "-o", "rw+"]),
                 ("NTFS", ["mkntfs", "-F", "-q"], ["ntfs-3g"])]
        for name, make, mount in cases:
            with self.subTest(name):
                missing = missing_tools(make[0], mount[0])
                if missing:
                    self.skipTest("not installed: " + ", ".join(missing))
                image = self.image(name.replace(" ", "_") + ".img", make)
                with Mount(os.path.join(self.dir, name), mount + [image], True) as disk:
                    if disk.error:
                        self.skipTest(disk.error)
                    self.assertWritesWholeTwice(disk.folder)

    def test_a_read_only_stick_is_refused_with_its_reason(self):
        missing = missing_tools("mkfs.vfat", "fusefat")
        if missing or not os.path.exists("/dev/fuse"):
            self.skipTest("no FUSE FAT here: " + (", ".join(missing) or "no /dev/fuse"))
        image = self.image("ro.img", ["mkfs.vfat"])
        with Mount(os.path.join(self.dir, "ro"), ["fusefat", "-o", "ro", image], True) as disk:
            if disk.error:
                self.skipTest(disk.error)
            result = self.pendentes(os.path.join(disk.folder, "p.xlsx"))
            self.assertEqual(result.returncode, 1, result.stderr)
            self.assertIn("a pasta está num disco só de leitura", result.stderr)
            self.assertEqual(os.listdir(disk.folder), [])

    def test_a_disk_with_room_for_one_workbook(self):
        # Room for the finished workbook and a tenth more: the library's temporaries, several
        # times its size, go to the scratch folder.
        room = (self.size * 11 // 10 + 4095) // 4096 * 4096
        folder = os.path.join(self.dir, "pequeno")
        with Mount(folder, ["mount", "-t", "tmpfs", "-o", "size=%d" % room, "tmpfs", folder],
                   False) as disk:
            if disk.error:
                self.skipTest(disk.error)
            target = os.path.join(folder, "p.xlsx")
            result = self.pendentes(target)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(contents(target), self.reference)
            old = digest(target)
            # The old and the new workbook together do not fit: the old one stays.
            result = self.pendentes(target)
            self.assertEqual(result.returncode, 1, result.stderr)
            self.assertIn("o disco está cheio", result.stderr)
            self.assertEqual(digest(target), old)
            self.assertEqual(os.listdir(folder), ["p.xlsx"])


if __name__ == "__main__":
    try:
        unittest.main(verbosity=2)
    finally:
        Sample.cleanup()
