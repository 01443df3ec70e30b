"""Every workbook of both samples, printed: LibreOffice renders each to PDF and pdftotext reads
it back. Page 1 must hold the sheet's whole title, and the last page must hold rows, not only
its footer. Run by CTest like talvers_report_test.py; it exits 77 (counted as skipped, with the
reason printed) when LibreOffice (soffice) or pdftotext is not installed.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import openpyxl

import talvers_report_test as e2e

SKIPPED = 77
REPORTS = ("pendentes", "fornecedor", "aprovisionamento", "series")


def page_text(pdf, page):
    result = subprocess.run(["pdftotext", "-f", str(page), "-l", str(page), pdf, "-"],
                            capture_output=True, text=True, check=True)
    return " ".join(result.stdout.split())


def page_count(pdf):
    result = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True)
    return int(next(line.split()[-1] for line in result.stdout.splitlines()
                    if line.startswith("Pages:")))


class PrintedPages(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="talvers-pdf-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def test_page_one_holds_the_whole_title_and_no_page_is_left_blank_at_the_end(self):
        books = {}
        for variant in ("default", "alternate"):
            for command in REPORTS:
                path = os.path.join(self.dir, command + "-" + variant + ".xlsx")
                result = e2e.run("talvers-report", command, "--settings",
                                 e2e.Sample.settings(variant), "--output", path)
                self.assertEqual(result.returncode, 0, result.stderr)
                books[path] = openpyxl.load_workbook(path).worksheets[0]["A1"].value
        # A long report, where a taller repeated title row once made LibreOffice end in a band
        # of empty pages.
        long_sample = os.path.join(self.dir, "long")
        result = e2e.run("talvers-sample", "--out", long_sample, "--lines", "5000", "--today",
                         e2e.TODAY.isoformat())
        self.assertEqual(result.returncode, 0, result.stderr)
        path = os.path.join(self.dir, "pendentes-long.xlsx")
        result = e2e.run("talvers-report", "pendentes", "--settings",
                         os.path.join(long_sample, "Talvers.qor"), "--output", path)
        self.assertEqual(result.returncode, 0, result.stderr)
        books[path] = openpyxl.load_workbook(path, read_only=True).worksheets[0]["A1"].value
        # One LibreOffice for every workbook: its start is most of the time. A profile of its
        # own, so that a LibreOffice the user has open is neither used nor disturbed.
        profile = "file://" + os.path.join(self.dir, "profile")
        subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless",
                        "--convert-to", "pdf", "--outdir", self.dir, *books],
                       capture_output=True, check=True, timeout=600)
        for path, title in books.items():
            with self.subTest(workbook=os.path.basename(path)):
                pdf = path[:-len(".xlsx")] + ".pdf"
                self.assertIn(title, page_text(pdf, 1))
                last = page_count(pdf)
                footer = "Página {0} de {0}".format(last)
                self.assertNotEqual(page_text(pdf, last).replace(footer, "").strip(), "")


if __name__ == "__main__":
    missing = [tool for tool in ("soffice", "pdftotext", "pdfinfo") if not shutil.which(tool)]
    if missing:
        print("skipped: " + ", ".join(missing) + " not installed (Debian packages "
              "libreoffice-calc-nogui and poppler-utils)")
        sys.exit(SKIPPED)
    try:
        unittest.main(verbosity=2)
    finally:
        e2e.Sample.cleanup()
