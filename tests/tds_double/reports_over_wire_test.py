#!/usr/bin/env python3
"""Every report of talvers-report run twice on the same generated sample: directly on its
SQLite files, and over the wire — unixODBC and FreeTDS talking TDS to tds-double, which serves
the same files with SQL Server's types. The cells of every workbook (read back with openpyxl)
and the printed results must be the same both ways, on two seeds of both company variants.
From the double's trace it counts the statements each report sends (at most 15, the same at
two sample sizes), checks that SQL Server gets no scan for quantities that are not numbers,
and that a server refusing OPENJSON (compatibility level 110; SQL Server 2014, which knows no
JSON) gets the chunked lookups once refused, with the same cells.

  reports_over_wire_test.py default|alternate|older-servers

Run by CTest with TALVERS_BIN (the folder of talvers-report and talvers-sample), TDS_DOUBLE
(the double's program) and TALVERS_READER (the independent workbook reader)."""
import os
import subprocess
import sys
import tempfile
import unittest

BIN = os.environ.get("TALVERS_BIN", "")
DOUBLE = os.environ.get("TDS_DOUBLE", "")
READER = os.environ.get("TALVERS_READER", "")
MOST_STATEMENTS = 15
# Start-up's own batches: the text size on both connections, the two functions, the company.
STARTUP = 5


def talvers(*args):
    return subprocess.run([os.path.join(BIN, args[0]), *args[1:]], capture_output=True,
                          text=True, timeout=180)


def cells(workbook):
    if not os.path.exists(workbook):
        return None
    return subprocess.run([sys.executable, READER, workbook], capture_output=True, text=True,
                          check=True).stdout


class Double:
    """tds-double on the sample's two files, its standard input held open until close()."""

    def __init__(self, folder, *options):
        self.trace = os.path.join(folder, "trace.txt")
        open(self.trace, "w").close()
        self.process = subprocess.Popen(
            [DOUBLE, "--catalog", "ERP=" + os.path.join(folder, "erp.db"),
             "--catalog", "EXT=" + os.path.join(folder, "externa.db"),
             "--trace", self.trace, *options],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        if not line.startswith("port "):
            raise RuntimeError("tds-double did not start: " + line)
        self.port = int(line.split()[1])

    def batches(self):
        with open(self.trace, encoding="utf-8") as f:
            return f.read().splitlines()

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)


def sample(folder, seed, variant, lines=200):
    out = talvers("talvers-sample", "--out", folder, "--seed", str(seed), "--lines", str(lines),
                  "--today", "2026-06-30", "--variant", variant)
    if out.returncode != 0:
        raise RuntimeError(out.stderr)
    return os.path.join(folder, "Talvers.qor")


def wire_settings(folder, port, extra=""):
    path = os.path.join(folder, "wire.qor")
    with open(os.path.join(folder, "Talvers.qor"), encoding="utf-8") as f:
        program = f.read().split("[Talvers]", 1)[1]
    connection = "Servidor=127.0.0.1,{}\nEmpresa={}\nUsername=talvers\nPassword=talvers\n"
    with open(path, "w", encoding="utf-8") as f:
        f.write("[Ligação]\n" + connection.format(port, "ERP") + "[LigaçãoExterna]\n" +
                connection.format(port, "EXT") + "[Talvers]" + program + extra)
    return path


def commands(variant):
    """Each command as the user runs it, and whether it writes a workbook."""
    listed = [("check",), ("lista", "armazens"), ("lista", "grupos"), ("lista", "familias"),
              ("lista", "familias", "--group", "TRV")]
    reports = [("pendentes", "--date", "2025-06-30"), ("fornecedor", "--date", "2025-06-30"),
               ("aprovisionamento", "--from", "2026-01-01", "--to", "2026-06-30"), ("series",)]
    if variant == "alternate":
        reports.append(("aprovisionamento", "--from", "2026-01-01", "--to", "2026-06-30",
                        "--group", "TRV", "--family", "PAS"))
    return [(c, False) for c in listed] + [(r, True) for r in reports]


class OverTheWire(unittest.TestCase):
    maxDiff = None

    def run_both(self, folder, direct, wire, double, command, workbook):
        """Runs `command` both ways; returns the batches the double received for it."""
        results = []
        for name, settings in (("direct", direct), ("wire", wire)):
            args = [command[0], *command[1:], "--settings", settings]
            output = os.path.join(folder, name + ".xlsx")
            if os.path.exists(output):
                os.remove(output)
            if workbook:
                args += ["--output", output]
            before = len(double.batches())
            out = talvers("talvers-report", *args)
            results.append((out.returncode, out.stdout, cells(output) if workbook else None))
            if name == "wire":
                sent = double.batches()[before:]
        self.assertIn(results[0][0], (0, 2), " ".join(command))
        self.assertEqual(results[0], results[1], " ".join(command))
        return sent

    def reports_equal(self, variant, seed, options=(), extra=""):
        """Every command both ways; the statements each report sent over the wire."""
        counts = {}
        with tempfile.TemporaryDirectory() as folder:
            direct = sample(folder, seed, variant)
            double = Double(folder, *options)
            try:
                wire = wire_settings(folder, double.port, extra)
                for command, workbook in commands(variant):
                    sent = self.run_both(folder, direct, wire, double, command, workbook)
                    counts[" ".join(command)] = sent
            finally:
                double.close()
        return counts

    def assertFewStatements(self, counts):
        for command, sent in counts.items():
            report = len(sent) - STARTUP
            print(f"  {command}: {report} statements after start-up")
            self.assertLessEqual(report, MOST_STATEMENTS, command)

    def both_seeds(self, variant):
        for seed in (1, 2):
            with self.subTest(seed=seed):
                counts = self.reports_equal(variant, seed)
                self.assertFewStatements(counts)
                scans = [b for sent in counts.values() for b in sent if "+ 0" in b]
                self.assertEqual(scans, [])
                # Start-up's CREATE FUNCTION: created by the first command, refused with 2714
                # (and ignored) by every later one.
                check = counts["check"]
                self.assertEqual(sum("Create FUNCTION" in b for b in check), 2)

    def test_default(self):
        self.both_seeds("default")
        # The same statements whatever the sample's size: one per lookup kind.
        with tempfile.TemporaryDirectory() as folder:
            sizes = []
            for lines in (200, 1200):
                sample(folder, 3, "default", lines)
                double = Double(folder)
                wire = wire_settings(folder, double.port)
                sent = []
                for report in ("pendentes", "fornecedor", "series"):
                    before = len(double.batches())
                    out = talvers("talvers-report", report, "--date", "2025-06-30",
                                  "--settings", wire, "--output", os.path.join(folder, "o.xlsx"))
                    if report == "series":
                        out = talvers("talvers-report", report, "--settings", wire, "--output",
                                      os.path.join(folder, "o.xlsx"))
                    self.assertIn(out.returncode, (0, 2), out.stderr)
                    sent.append(len(double.batches()) - before)
                double.close()
                sizes.append(sent)
            self.assertEqual(sizes[0], sizes[1])

    def test_alternate(self):
        self.both_seeds("alternate")

    def test_older_servers(self):
        """A refused OPENJSON: the same cells through the chunked lookups, one refusal each
        connection."""
        for options in (("--level", "110"), ("--server-version", "12")):
            with self.subTest(options=options):
                counts = self.reports_equal("default", 1, options)
                sent = counts["pendentes --date 2025-06-30"]
                refused = [b for b in sent if "OPENJSON" in b]
                chunked = [b for b in sent if "(values (" in b]
                self.assertEqual(len(refused), 2, refused)  # once on each connection
                self.assertGreater(len(chunked), 0)
                later = counts["fornecedor --date 2025-06-30"]
                self.assertTrue(any("OPENJSON" in b for b in later))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    test = {"default": "test_default", "alternate": "test_alternate",
            "older-servers": "test_older_servers"}[sys.argv.pop()]
    suite = unittest.TestSuite([OverTheWire(test)])
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
