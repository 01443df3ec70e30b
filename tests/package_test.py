"""The Debian package: built with cpack from the build folder, unpacked with dpkg-deb, its
talvers-report run on a sample made by its own talvers-sample, and checked by lintian.

Run by CTest with TALVERS_BUILD (the build folder), TALVERS_CPACK and TALVERS_VERSION.
"""
import glob
import os
import shutil
import subprocess
import tempfile
import unittest

BUILD = os.environ.get("TALVERS_BUILD", "")
CPACK = os.environ.get("TALVERS_CPACK", "cpack")
VERSION = os.environ.get("TALVERS_VERSION", "")


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=300, **kwargs)


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="talvers-package-")
        result = run(CPACK, "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                     "-B", cls.dir)
        assert result.returncode == 0, result.stdout + result.stderr
        cls.deb = os.path.join(cls.dir, "talvers_%s_amd64.deb" % VERSION)
        assert os.path.exists(cls.deb), os.listdir(cls.dir)
        cls.root = os.path.join(cls.dir, "root")
        result = run("dpkg-deb", "-x", cls.deb, cls.root)
        assert result.returncode == 0, result.stderr

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def test_contents_and_fields(self):
        for path in ("usr/bin/talvers-report", "usr/bin/talvers-sample",
                     "usr/share/man/man1/talvers-report.1.gz",
                     "usr/share/man/man1/talvers-sample.1.gz",
                     "usr/share/doc/talvers/copyright"):
            self.assertTrue(os.path.exists(os.path.join(self.root, path)), path)
        depends = run("dpkg-deb", "-f", self.deb, "Depends").stdout
        # Computed from the binaries: the C library and the workbook library at least.
        self.assertIn("libc6", depends)
        self.assertIn("libxlsxwriter", depends)

    def test_unpacked_programs_run_on_a_sample(self):
        bin_dir = os.path.join(self.root, "usr", "bin")
        sample = os.path.join(self.dir, "sample")
        result = run(os.path.join(bin_dir, "talvers-sample"), "--out", sample, "--lines", "100")
        self.assertEqual(result.returncode, 0, result.stderr)
        result = run(os.path.join(bin_dir, "talvers-report"), "check", "--settings",
                     os.path.join(sample, "Talvers.qor"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.splitlines(),
                         ["Empresa: [Distribuidora Exemplo, Lda.]", "Variante: Não",
                          "Versão: " + VERSION])

    def test_lintian_reports_no_error(self):
        if not shutil.which("lintian"):
            self.fail("lintian is missing (scripts/setup.sh installs it)")
        result = run("lintian", "--tag-display-limit", "0", self.deb)
        errors = [line for line in result.stdout.splitlines() if line.startswith("E:")]
        self.assertEqual(errors, [], result.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
