"""`cmake --install` into a scratch root, and the installed programs run from there as a user
whose home is empty (no XDG_CONFIG_HOME, no TALVERS_BASE, no display): the command line names
the settings file of the user's own folder, the program folder's file is read only where it is
already there and gives way to the user's, and the desktop program answers --help and
--version without a display.

Run by CTest with TALVERS_BUILD (the build folder) and TALVERS_VERSION.
"""
import os
import shutil
import subprocess
import tempfile
import unittest

BUILD = os.environ.get("TALVERS_BUILD", "")
VERSION = os.environ.get("TALVERS_VERSION", "")


class InstalledPrograms(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="talvers-install-")
        cls.root = os.path.join(cls.dir, "root")
        result = subprocess.run(["cmake", "--install", BUILD, "--prefix", cls.root],
                                capture_output=True, text=True, timeout=300)
        assert result.returncode == 0, result.stdout + result.stderr
        cls.home = os.path.join(cls.dir, "home")
        os.mkdir(cls.home)
        cls.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": cls.home,
                   "LANG": "C.UTF-8", "QT_QPA_PLATFORM": "offscreen"}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def run_installed(self, program, *args):
        return subprocess.run([os.path.join(self.root, "bin", program), *args],
                              capture_output=True, text=True, timeout=120, env=self.env)

    def test_manual_pages_are_installed(self):
        for program in ("talvers", "talvers-report", "talvers-sample"):
            page = os.path.join(self.root, "share", "man", "man1", program + ".1.gz")
            self.assertTrue(os.path.exists(page), page)

    def test_settings_are_looked_for_in_the_users_folder_first(self):
        user_file = os.path.join(self.home, ".config", "kelmar", "Talvers.qor")
        result = self.run_installed("talvers-report", "check")
        self.assertEqual(result.returncode, 1)
        self.assertIn('"%s" não existe' % user_file, result.stderr)
        self.assertIn("--settings", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.home, ".config")))

        # A file beside the program is read while the user has none...
        bin_dir = os.path.join(self.root, "bin")
        result = self.run_installed("talvers-sample", "--out", bin_dir, "--lines", "100")
        self.assertEqual(result.returncode, 0, result.stderr)
        result = self.run_installed("talvers-report", "check")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Variante: Não", result.stdout)
        # ...and the user's own file wins once it is there.
        result = self.run_installed("talvers-sample", "--out", os.path.dirname(user_file),
                                    "--lines", "100", "--variant", "alternate")
        self.assertEqual(result.returncode, 0, result.stderr)
        result = self.run_installed("talvers-report", "check")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Variante: Sim", result.stdout)

    def test_desktop_program_answers_without_a_display(self):
        result = self.run_installed("talvers", "--version")
        self.assertEqual((result.returncode, result.stdout), (0, "talvers %s\n" % VERSION),
                         result.stderr)
        result = self.run_installed("talvers", "--help")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("$XDG_CONFIG_HOME/kelmar/Talvers.qor", subprocess.run(
            ["zcat", os.path.join(self.root, "share", "man", "man1", "talvers.1.gz")],
            capture_output=True, text=True).stdout)
        result = self.run_installed("talvers", "--platform", "offscreen")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr, "talvers: Opção desconhecida: --platform. "
                                        "Experimente 'talvers --help'.\n")


if __name__ == "__main__":
    unittest.main(verbosity=2)
