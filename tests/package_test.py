"""The Debian package: built with cpack from the build folder, unpacked with dpkg-deb, its
talvers-report run on a sample made by its own talvers-sample, its manual pages, fields and
description checked, and the whole checked by lintian.

Run by CTest with TALVERS_BUILD (the build folder), TALVERS_CPACK and TALVERS_VERSION.
"""
import glob
import gzip
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

    PROGRAMS = ("talvers", "talvers-report", "talvers-sample")

    def test_contents_and_fields(self):
        for program in self.PROGRAMS:
            for path in ("usr/bin/" + program, "usr/share/man/man1/%s.1.gz" % program):
                self.assertTrue(os.path.exists(os.path.join(self.root, path)), path)
        self.assertTrue(os.path.exists(os.path.join(self.root, "usr/share/doc/talvers/copyright")))
        depends = [d.strip().split()[0]
                   for d in run("dpkg-deb", "-f", self.deb, "Depends").stdout.split(",")]
        # Computed from the binaries: the C library, the workbook library and the allocator at
        # least; and the SVG plug-ins Qt loads by name, without which the icon is blank.
        self.assertIn("libc6", depends)
        self.assertIn("libxlsxwriter4", depends)
        self.assertIn("libjemalloc2", depends)
        self.assertIn("libqt6svg6", depends)
        self.assertEqual(run("dpkg-deb", "-f", self.deb, "Recommends").stdout.strip(), "tdsodbc")

    def test_description_lines_are_aligned(self):
        """apt shows a line that starts with two blanks as preformatted, out of line."""
        synopsis, *extended = run("dpkg-deb", "-f", self.deb, "Description").stdout.splitlines()
        self.assertEqual(synopsis, "buyers' reports from the ERP as formatted workbooks")
        self.assertGreater(len(extended), 2)
        for line in extended:
            self.assertRegex(line, r"^ \S", line)
            self.assertLessEqual(len(line), 80, line)

    def test_manual_pages_have_every_section_and_render_cleanly(self):
        sections = ["NOME", "SINOPSE", "DESCRIÇÃO", "OPÇÕES", "ESTADO DE SAÍDA", "FICHEIROS",
                    "AMBIENTE", "EXEMPLOS", "VEJA TAMBÉM"]
        for program in self.PROGRAMS:
            with self.subTest(program):
                page = os.path.join(self.root, "usr/share/man/man1/%s.1.gz" % program)
                with gzip.open(page, "rt", encoding="utf-8") as f:
                    text = f.read()
                headings = [line[4:].strip('"') for line in text.splitlines()
                            if line.startswith(".SH ")]
                self.assertEqual(headings, sections)
                self.assertIn("\n%s \\- " % program.replace("-", "\\-"), text)
                status = text.split('.SH "ESTADO DE SAÍDA"')[1].split(".SH")[0]
                codes = [line[3:4] for line in status.splitlines() if line.startswith("\\fB")]
                self.assertEqual(codes, ["0", "1", "2"] if program == "talvers-report"
                                 else ["0", "1"])
                if program != "talvers-sample":
                    for name in ("TALVERS_BASE", "XDG_CONFIG_HOME", "TALVERS_SQL_TRACE"):
                        self.assertIn("\\fB" + name, text)
                    # The search order: the user's file before the program folder's.
                    files = text.split('.SH "FICHEIROS"')[1].split(".SH")[0]
                    self.assertLess(files.index("kelmar/Talvers.qor"),
                                    files.index("<pasta do programa>/Talvers.qor"))
                rendered = subprocess.run(
                    ["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", page],
                    capture_output=True, text=True, timeout=60,
                    env=dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80"))
                self.assertEqual(rendered.returncode, 0, rendered.stderr)
                self.assertEqual(rendered.stderr, "")

    def test_unpacked_desktop_program_answers_without_a_display(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        talvers = os.path.join(self.root, "usr", "bin", "talvers")
        for args, expected in ((["--version"], "talvers " + VERSION + "\n"),
                               (["--help"], "Utilização:\n  talvers [FICHEIRO]\n")):
            result = subprocess.run([talvers, *args], capture_output=True, text=True,
                                    timeout=60, env=env)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertTrue(result.stdout.startswith(expected), result.stdout)

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

    def test_lintian_reports_no_error_and_no_missing_hardening(self):
        if not shutil.which("lintian"):
            self.fail("lintian is missing (scripts/setup.sh installs it)")
        result = run("lintian", "--pedantic", "--display-info", "--tag-display-limit", "0",
                     self.deb)
        errors = [line for line in result.stdout.splitlines() if line.startswith("E:")]
        self.assertEqual(errors, [], result.stdout)
        self.assertNotIn("no-manual-page", result.stdout)
        # Built with dpkg-buildflags' hardening: fortify, stack protector, relro, bindnow.
        self.assertNotIn("hardening-", result.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
