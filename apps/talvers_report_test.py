"""End-to-end tests of talvers-report on generated sample databases.

Every workbook is read back with openpyxl, independently of the program's own code. Run by
CTest with TALVERS_BIN (the folder of talvers-report and talvers-sample) and
TALVERS_VERSION in the environment.
"""
import datetime
import hashlib
import os
import random
import resource
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

import openpyxl

BIN = os.environ.get("TALVERS_BIN", "")
READER = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "tests", "support",
                      "xlsx_reader.py")
VERSION = os.environ.get("TALVERS_VERSION", "")
TODAY = datetime.date.today()
TITLE_DATE = TODAY.strftime("%d-%m-%Y")

RED = "00FF0000"
WHITE = "00FFFFFF"
BLUE = "007ACDF6"


def run(*args, timeout=120):
    return subprocess.run([os.path.join(BIN, args[0]), *args[1:]], capture_output=True,
                          text=True, timeout=timeout)


def extended_properties(path):
    """The company (app.xml) and the custom properties, which openpyxl does not read."""
    with zipfile.ZipFile(path) as archive:
        app = ElementTree.fromstring(archive.read("docProps/app.xml"))
        custom = ElementTree.fromstring(archive.read("docProps/custom.xml"))
    company = next((e.text for e in app if e.tag.endswith("}Company")), None)
    values = {p.get("name"): p[0].text for p in custom}
    return company, values


def run_limited(limit, *args):
    """run() with a file-size limit, its signal ignored so that writes fail with EFBIG."""
    def limit_size():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return subprocess.run([os.path.join(BIN, args[0]), *args[1:]], capture_output=True,
                          text=True, timeout=120, preexec_fn=limit_size)


def reader_records(path):
    """The independent reader's records of a workbook, each a list of its fields."""
    result = subprocess.run([sys.executable, READER, path], capture_output=True, text=True,
                            check=True)
    return [line.split("\t") for line in result.stdout.splitlines()]


def printed_scale(path, sheet):
    """The percent `sheet` prints at, from its page setup and column widths as the reader finds
    them: fitted one page wide, it shrinks until its columns fit between the margins of A4's
    long side (a stored width w is trunc((256 w + trunc(128 / 7)) / 256 * 7) pixels of 0.75 pt,
    a column without one 64 pixels); not fitted, it prints at its scale."""
    records = reader_records(path)
    page = next(r for r in records if r[0] == "page" and r[1] == sheet)
    (_, _, orientation, paper, fit, fit_width, fit_height, scale, _, _, _, left, right,
     _) = page
    assert paper == "9" and orientation == "landscape", page
    max_column = int(next(r for r in records if r[0] == "sheet" and r[1] == sheet)[3])
    pixels = {letter: 64 for letter in (openpyxl.utils.get_column_letter(i + 1)
                                        for i in range(max_column))}
    for r in records:
        if r[0] == "column" and r[1] == sheet:
            width = float(r[3])
            pixels[r[2]] = int((256 * width + int(128 / 7)) / 256 * 7)
    total = sum(pixels.values()) * 0.75
    printable = 297 / 25.4 * 72 - 72 * (float(left) + float(right))
    if fit == "1":
        assert int(fit_width or 1) == 1 and int(fit_height or 1) == 0, page
        return 100 if total <= printable else int(printable * 100 / total)
    return int(scale or 100)


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def colour(rgb):
    # openpyxl reports ARGB; the alpha byte varies between writers.
    return "00" + rgb[-6:] if rgb else None


class Sample:
    """One generated sample per variant, shared by the tests of a run."""
    _folders = {}
    _root = None

    @classmethod
    def settings(cls, variant):
        if cls._root is None:
            cls._root = tempfile.mkdtemp(prefix="talvers-e2e-")
        if variant not in cls._folders:
            folder = os.path.join(cls._root, variant)
            result = run("talvers-sample", "--out", folder, "--lines", "400", "--today",
                         TODAY.isoformat(), "--variant", variant)
            assert result.returncode == 0, result.stderr
            cls._folders[variant] = folder
        return os.path.join(cls._folders[variant], "Talvers.qor")

    @classmethod
    def cleanup(cls):
        if cls._root:
            shutil.rmtree(cls._root, ignore_errors=True)


class WorkdirTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="talvers-e2e-out-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def report(self, command, variant, *extra):
        path = os.path.join(self.dir, command + "-" + variant + ".xlsx")
        result = run("talvers-report", command, "--settings", Sample.settings(variant),
                     "--output", path, *extra)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.last_path = path
        return openpyxl.load_workbook(path)

    def assertPrintAndProperties(self, book, ws, title):
        self.assertEqual(ws.row_dimensions[1].height, 26)
        setup = ws.page_setup
        self.assertEqual(setup.orientation, "landscape")
        self.assertEqual(int(setup.paperSize), 9)  # A4
        # Readable on paper: fitted one page wide only when that keeps 50 %, otherwise pages
        # across, each with the title in its header and printed from the headings on. Only the
        # headings repeat: rows and columns together would be one union, which some
        # spreadsheets drop.
        self.assertGreaterEqual(printed_scale(self.last_path, ws.title), 50)
        self.assertIsNone(ws.print_title_cols)
        self.assertEqual(ws.print_title_rows, "$3:$3")
        if not ws.sheet_properties.pageSetUpPr.fitToPage:
            self.assertEqual(ws.oddHeader.center.text, "&B" + title)  # bold
            self.assertEqual(ws.print_area, ["$A$3:$" +
                             openpyxl.utils.get_column_letter(ws.max_column) + "$" +
                             str(ws.max_row)])
        else:
            self.assertIsNone(ws.print_area)
        self.assertEqual(ws.oddFooter.center.text, "Página &P de &N")
        self.assertEqual(book.properties.title, title)
        company, custom = extended_properties(self.last_path)
        self.assertEqual(company, "Distribuidora Exemplo, Lda.")
        self.assertEqual(custom.get("Aplicação"), "Talvers " + VERSION)

    def assertLayout(self, book, sheet_name, title, headers, money_columns):
        self.assertEqual(book.sheetnames, [sheet_name])
        ws = book[sheet_name]
        n = len(headers)
        last = openpyxl.utils.get_column_letter(n)
        self.assertIn("A1:" + last + "1", [str(r) for r in ws.merged_cells.ranges])
        a1 = ws["A1"]
        self.assertEqual(a1.value, title)
        self.assertTrue(a1.font.b)
        self.assertEqual(a1.font.sz, 20)
        self.assertEqual(colour(a1.font.color.rgb), WHITE)
        self.assertEqual(colour(a1.fill.fgColor.rgb), RED)
        self.assertEqual(a1.alignment.horizontal, "center")
        self.assertTrue(all(c.value is None for c in ws[2]))
        self.assertEqual([c.value for c in ws[3]], headers)
        for c in ws[3]:
            self.assertTrue(c.font.b)
            self.assertEqual(colour(c.fill.fgColor.rgb), RED)
            self.assertEqual(colour(c.font.color.rgb), WHITE)
        self.assertGreater(ws.max_row, 3)
        for row in ws.iter_rows(min_row=4, max_row=ws.max_row, max_col=n):
            for c in row:
                self.assertEqual(colour(c.fill.fgColor.rgb), BLUE, c.coordinate)
        for col in money_columns:
            letter = openpyxl.utils.get_column_letter(headers.index(col) + 1)
            self.assertAlmostEqual(ws.column_dimensions[letter].width, 15.71, places=1)
            for c in ws[letter][3:]:
                self.assertEqual(c.number_format, "###,###,##0.00", c.coordinate)
                self.assertTrue(c.value is None or isinstance(c.value, (int, float)))
        self.assertPrintAndProperties(book, ws, title)
        return ws


PENDING_HEADERS = ["Doc.", "Nome Vendedor", "Data", "Cliente", "Nome Cliente", "Artigo",
                   "Valor", "Nome Fornecedor", "Quant.", "Stock Disp.", "Stock Real", "OBS",
                   "Separado", "Enc Cli Lx", "Cli Lx", "Enc Forn", "Guia Forn"]
BDC_HEADERS = ["Data", "Doc.", "Nome Cliente", "Artigo", "Nome Artigo", "Quant",
               "Disponibilidade", "Prazo Estimado"]
DIID_HEADERS = ["Data", "Doc.", "Nome Cliente", "Nome Cliente Lx", "Nome Fornecedor",
                "Enc.Forn.", "Artigo", "Nome Artigo", "Quant.", "Data Estimada", "Notas"]
PROVISIONING_HEADERS = ["Artigo", "Abreviatura", "Nome Artigo", "Vendas", "Existência",
                        "Enc.Cli.", "Enc.Forn.", "Prazo", "Fornecedor", "Nome Fornecedor"]


class CheckCommand(unittest.TestCase):
    def test_default_and_variant_company(self):
        for variant, flag in (("default", "Não"), ("alternate", "Sim")):
            result = run("talvers-report", "check", "--settings", Sample.settings(variant))
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(result.stdout.splitlines(),
                             ["Empresa: [Distribuidora Exemplo, Lda.]", "Variante: " + flag,
                              "Versão: " + VERSION])


class CommandLine(unittest.TestCase):
    """Help and version on stdout with status 0; usage errors on stderr with status 1."""
    COMMANDS = ["check", "pendentes", "fornecedor", "aprovisionamento", "lista", "series",
                "encode-password"]

    CASES = [
        # program, arguments, status, text on stdout, text on stderr (None: stream empty)
        ("talvers-report", ["--help"], 0, "Utilização: talvers-report COMANDO", None),
        ("talvers-report", ["-h"], 0, "--version", None),
        ("talvers-report", ["pendentes", "--help"], 0, "--date AAAA-MM-DD", None),
        ("talvers-report", ["aprovisionamento", "-h"], 0, "--family CODIGO", None),
        ("talvers-report", ["--version"], 0, "talvers-report " + VERSION + "\n", None),
        ("talvers-report", [], 1, None, "talvers-report: Falta o comando."),
        ("talvers-report", ["bogus"], 1, None, "Comando desconhecido: bogus"),
        ("talvers-report", ["pendentes", "--bogus", "x"], 1, None, "Opção desconhecida: --bogus"),
        ("talvers-report", ["pendentes", "--date"], 1, None, "talvers-report pendentes"),
        ("talvers-report", ["encode-password", "--", "--help"], 0, "enc1:", None),
        ("talvers-sample", ["--help"], 0, "--variant default|alternate", None),
        ("talvers-sample", ["-h"], 0, "--out PASTA", None),
        ("talvers-sample", ["--version"], 0, "talvers-sample " + VERSION + "\n", None),
        ("talvers-sample", [], 1, None, "Falta a pasta de destino (--out)."),
        ("talvers-sample", ["--out", "x", "--lines", "5"], 1, None, "Número de linhas inválido"),
    ]

    def test_streams_and_status(self):
        for program, args, status, out, err in self.CASES:
            with self.subTest(program=program, args=args):
                result = run(program, *args)
                self.assertEqual(result.returncode, status, result.stderr)
                for stream, expected in ((result.stdout, out), (result.stderr, err)):
                    if expected is None:
                        self.assertEqual(stream, "")
                    else:
                        self.assertIn(expected, stream)
                if status == 1:
                    # One line, in the program's name, pointing at the help.
                    self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
                    self.assertTrue(result.stderr.startswith(program + ": "), result.stderr)
                    self.assertIn(" --help'.", result.stderr)

    def test_a_failed_write_to_standard_output_is_reported(self):
        for program, args in (("talvers-report", ["--help"]), ("talvers-report", ["--version"]),
                              ("talvers-report", ["encode-password", "x"]),
                              ("talvers-sample", ["--help"]), ("talvers-sample", ["--version"])):
            with self.subTest(program=program, args=args), open("/dev/full", "w") as full:
                result = subprocess.run([os.path.join(BIN, program), *args], stdout=full,
                                        stderr=subprocess.PIPE, text=True, timeout=60)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stderr, program + ": não foi possível escrever na saída "
                                 "padrão (No space left on device).\n")

    def test_every_command_explains_each_of_its_options(self):
        for command in self.COMMANDS:
            with self.subTest(command):
                text = run("talvers-report", command, "--help").stdout
                synopsis, summary, *options = [l for l in text.splitlines()[1:] if l]
                named = [word for word in synopsis.replace("[", " ").split()
                         if word.startswith("--")]
                self.assertEqual([line.split()[0] for line in options], named)
                self.assertTrue(all(len(line.split()) > 2 for line in options))


class FormsAndRefusals(WorkdirTest):
    """GNU option forms are accepted; inputs that cannot mean what they say are refused with a
    one-line message and status 1, writing nothing. Boundaries sit on both sides."""

    def test_table(self):
        default, alternate = Sample.settings("default"), Sample.settings("alternate")
        out = lambda name: os.path.join(self.dir, name)
        group = run("talvers-report", "lista", "grupos", "--settings", alternate).stdout.split()[0]
        cases = [
            # arguments, exit status, text on stderr (None: empty), workbook to find (or not)
            (["pendentes", "--settings=" + default, "--date=2024-01-01", "--output=" + out("a.xlsx")],
             0, None, "a.xlsx"),
            (["pendentes", "--settings", default, "--output", out("sem-extensao")], 0, None,
             "sem-extensao"),
            (["pendentes", "--settings", default, "--output", out("b.XLSX")], 0, None, "b.XLSX"),
            (["pendentes", "--settings", default, "--output", out("c.csv")], 1,
             "O livro tem de ter a extensão .xlsx", "c.csv"),
            (["series", "--settings", default, "--output", out("d.xlsx.txt")], 1,
             "extensão .xlsx", "d.xlsx.txt"),
            (["pendentes", "--settings", default, "--date", "1753-01-01", "--output", out("e.xlsx")],
             0, None, "e.xlsx"),
            (["pendentes", "--settings", default, "--date", "1752-12-31", "--output", out("f.xlsx")],
             1, "Data fora do intervalo em --date: '1752-12-31' (de 1753-01-01 a 9999-12-31).",
             "f.xlsx"),
            (["fornecedor", "--settings", default, "--date", "0001-01-01", "--output", out("g.xlsx")],
             1, "Data fora do intervalo", "g.xlsx"),
            (["pendentes", "--settings", default, "--date", "9999-12-31", "--output", out("h.xlsx")],
             2, "Não existe informação", "h.xlsx"),
            (["aprovisionamento", "--settings", default, "--from", "2026-03-01", "--to",
              "2025-01-01", "--output", out("i.xlsx")], 1,
             "O primeiro dia das vendas (2026-03-01) é posterior ao último (2025-01-01).", "i.xlsx"),
            (["aprovisionamento", "--settings", default, "--from=2025-01-01", "--to=2025-01-01",
              "--output", out("j.xlsx")], 0, None, "j.xlsx"),
            (["aprovisionamento", "--settings", default, "--group", group, "--output", out("k.xlsx")],
             1, "não se aplicam a esta empresa", "k.xlsx"),
            (["aprovisionamento", "--settings", default, "--family=1", "--output", out("l.xlsx")],
             1, "não se aplicam a esta empresa", "l.xlsx"),
            (["aprovisionamento", "--settings", alternate, "--group", group, "--output",
              out("m.xlsx")], 0, None, "m.xlsx"),
            (["lista", "armazens", "--settings", default, "--group", "1"], 1,
             "A opção --group só se aplica à lista familias.", None),
            (["lista", "familias", "--settings", default, "--group=" + group], 0, None, None),
            (["encode-password", "--", "-segredo"], 0, None, None),
            (["check", "-s", default], 1, "Opção desconhecida: -s.", None),
        ]
        for args, status, err, written in cases:
            with self.subTest(args=args):
                result = run("talvers-report", *args)
                self.assertEqual(result.returncode, status, result.stderr)
                if err is None:
                    self.assertEqual(result.stderr, "")
                else:
                    self.assertIn(err, result.stderr)
                    self.assertTrue(result.stderr.startswith("talvers-report: "), result.stderr)
                if status == 1:
                    self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
                if written:
                    self.assertEqual(os.path.exists(out(written)), status == 0, written)


class StartFailures(WorkdirTest):
    def write_settings(self, body, encoding="utf-8"):
        path = os.path.join(self.dir, "Talvers.qor")
        with open(path, "wb") as f:
            f.write(body if isinstance(body, bytes) else body.encode(encoding))
        return path

    def check(self, settings, timeout=60):
        return run("talvers-report", "check", "--settings", settings, timeout=timeout)

    def test_missing_database_file_is_reported_and_not_created(self):
        settings = self.write_settings(
            "[Ligação]\nMotor=sqlite\nEmpresa=nao-existe.db\n"
            "[LigaçãoExterna]\nMotor=sqlite\nEmpresa=nao-existe.db\n")
        result = self.check(settings)
        self.assertEqual(result.returncode, 1)
        self.assertIn("nao-existe.db", result.stderr)
        self.assertIn("Erro: ", result.stderr)
        # The engine's own words on a line of their own, never inside the sentence.
        lines = result.stderr.splitlines()
        self.assertIn("Detalhes: unable to open database file", lines)
        self.assertFalse(any("unable" in line for line in lines if line.startswith("Erro: ")))
        self.assertFalse(os.path.exists(os.path.join(self.dir, "nao-existe.db")))

    def test_unreachable_sql_server_fails_within_seconds(self):
        settings = self.write_settings(
            "[Ligação]\nServidor=127.0.0.1,1\nEmpresa=ERP\nUsername=u\nPassword=p\n"
            "[LigaçãoExterna]\nServidor=127.0.0.1,1\nEmpresa=ERP\nUsername=u\nPassword=p\n")
        started = time.monotonic()
        result = self.check(settings)
        self.assertLess(time.monotonic() - started, 20)
        self.assertEqual(result.returncode, 1)
        self.assertIn("Não foi possível iniciar o Talvers.", result.stderr)

    def test_bad_settings_never_crash(self):
        cases = {
            "unknown engine": "[Ligação]\nMotor=oracle\nEmpresa=x\n",
            "incomplete": "[Ligação]\nMotor=sqlserver\nServidor=s\n",
            "windows-1252 junk": b"[Liga\xe7\xe3o]\nMotor=sqlite\n\x81\x8d\xff\xfe=\x00\x9d\n",
            "no sections": "just text\n=\n[\n",
        }
        for name, body in cases.items():
            with self.subTest(name):
                result = self.check(self.write_settings(body))
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertTrue(result.stderr.strip())
                self.assertNotIn("Traceback", result.stderr)
        result = self.check(self.dir)  # a folder, not a file
        self.assertEqual(result.returncode, 1)
        missing = self.check(self.write_settings("[Ligação]\nMotor=sqlserver\nServidor=s\n"))
        self.assertIn("Username", missing.stderr)


class PendingReport(WorkdirTest):
    def test_workbook_layout_and_texts(self):
        book = self.report("pendentes", "default")
        ws = self.assertLayout(book, "Enc. Pendentes", "Encomendas Pendentes em " + TITLE_DATE,
                               PENDING_HEADERS, ["Valor", "Quant.", "Stock Disp.", "Stock Real"])
        widths = {"A": 20, "B": 30, "E": 80, "L": 100, "Q": 100}
        for letter, width in widths.items():
            self.assertAlmostEqual(ws.column_dimensions[letter].width, width + 0.71, places=1)
        for row in ws.iter_rows(min_row=4, values_only=True):
            self.assertRegex(row[2], r"^ \d{4}-\d{2}-\d{2}$")
            self.assertRegex(row[3], r"^ \d+$")
            self.assertLessEqual(len(row[0]), 20)
            self.assertNotIn("\n", row[7] or "")

    def test_no_data_exit_2(self):
        result = run("talvers-report", "pendentes", "--settings", Sample.settings("default"),
                     "--date", "2100-01-01", "--output", os.path.join(self.dir, "x.xlsx"))
        self.assertEqual(result.returncode, 2)
        self.assertIn("Não existe informação para as condições solicitadas!", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.dir, "x.xlsx")))

    def test_existing_target_replaced_and_failed_write_keeps_nothing(self):
        target = os.path.join(self.dir, "pendentes-default.xlsx")
        with open(target, "w") as f:
            f.write("old")
        self.report("pendentes", "default")
        self.assertTrue(openpyxl.load_workbook(target).sheetnames)
        missing = os.path.join(self.dir, "no-such-folder", "x.xlsx")
        result = run("talvers-report", "pendentes", "--settings", Sample.settings("default"),
                     "--output", missing)
        self.assertEqual(result.returncode, 1)
        self.assertIn("Situação Anómala", result.stderr)
        self.assertFalse(os.path.exists(os.path.dirname(missing)))

    def test_read_only_folder_keeps_the_old_file(self):
        folder = os.path.join(self.dir, "ro")
        os.mkdir(folder)
        target = os.path.join(folder, "p.xlsx")
        with open(target, "w") as f:
            f.write("old")
        os.chmod(folder, 0o555)
        immutable = False
        try:
            if os.geteuid() == 0:
                # root ignores the permission bits; the immutable attribute binds root too.
                immutable = subprocess.run(["chattr", "+i", folder],
                                           capture_output=True).returncode == 0
                if not immutable:
                    self.skipTest("root without chattr: a read-only folder cannot be made")
            result = run("talvers-report", "pendentes", "--settings", Sample.settings("default"),
                         "--output", target)
            self.assertEqual(result.returncode, 1)
            self.assertIn("Situação Anómala", result.stderr)
            with open(target) as f:
                self.assertEqual(f.read(), "old")
            self.assertEqual(os.listdir(folder), ["p.xlsx"])
        finally:
            if immutable:
                subprocess.run(["chattr", "-i", folder])
            os.chmod(folder, 0o755)


class PrintedSize(WorkdirTest):
    def test_every_report_of_the_samples_prints_at_half_size_or_more(self):
        for variant in ("default", "alternate"):
            for command in ("pendentes", "fornecedor", "aprovisionamento", "series"):
                with self.subTest(variant=variant, command=command):
                    ws = self.report(command, variant).worksheets[0]
                    self.assertGreaterEqual(printed_scale(self.last_path, ws.title), 50)
                    self.assertEqual(ws.print_title_rows, "$3:$3")
                    self.assertEqual(ws.oddFooter.center.text, "Página &P de &N")


class SupplierReport(WorkdirTest):
    def test_both_variants(self):
        book = self.report("fornecedor", "default")
        ws = self.assertLayout(book, "Enc. Pendentes_Fornecedor",
                               "Encomendas Cliente_Fornecedor em " + TITLE_DATE, BDC_HEADERS,
                               ["Quant"])
        dates = [row[0] for row in ws.iter_rows(min_row=4, values_only=True)]
        self.assertEqual(dates, sorted(dates))
        texts = [row[6] for row in ws.iter_rows(min_row=4, values_only=True)]
        self.assertIn("Em Stock", texts)
        self.assertTrue(any(t and "Enc.For" in t for t in texts))
        book = self.report("fornecedor", "alternate")
        ws = self.assertLayout(book, "Enc. Pendentes_Fornecedor",
                               "Enc. Pendentes_Fornecedor em " + TITLE_DATE, DIID_HEADERS,
                               ["Quant."])
        marks = {row[5] for row in ws.iter_rows(min_row=4, values_only=True)}
        self.assertEqual(marks, {"Sim", "Não"})


class ProvisioningReport(WorkdirTest):
    def test_both_variants(self):
        for variant in ("default", "alternate"):
            with self.subTest(variant):
                book = self.report("aprovisionamento", variant)
                ws = self.assertLayout(book, "Mapa Parovisionamento",
                                       "Mapa Aprovisionamento em " + TITLE_DATE,
                                       PROVISIONING_HEADERS,
                                       ["Vendas", "Existência", "Enc.Cli.", "Enc.Forn.", "Prazo"])
                rows = list(ws.iter_rows(min_row=4, values_only=True))
                database = os.path.join(os.path.dirname(Sample.settings(variant)), "erp.db")
                with sqlite3.connect(database) as erp:
                    short = dict(erp.execute("SELECT Codigo, Abrev FROM Artigos"))
                # Short names of the full 20 characters among them, each whole behind its blank.
                self.assertTrue(any(len(short[row[0][1:]] or "") == 20 for row in rows))
                for row in rows:
                    self.assertTrue(row[0].startswith(" "))
                    self.assertEqual(row[1], " " + (short[row[0][1:]] or ""))
                    self.assertNotIn("\n", row[9] or "")
                projected = [row[7] for row in rows]
                self.assertEqual(projected, sorted(projected))

    def test_pick_lists(self):
        result = run("talvers-report", "lista", "grupos", "--settings", Sample.settings("default"))
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = result.stdout.splitlines()
        self.assertTrue(lines)
        self.assertTrue(all(len(line.split("\t")) == 2 for line in lines))


class SerialCheck(WorkdirTest):
    def test_messages_and_findings(self):
        path = os.path.join(self.dir, "series.xlsx")
        result = run("talvers-report", "series", "--settings", Sample.settings("default"),
                     "--output", path)
        self.assertEqual(result.returncode, 0, result.stderr)
        blocks = result.stdout.split("\n\n")
        self.assertTrue(blocks[0].startswith("Artigo  "))
        self.assertIn("\nStock Artigo  ", blocks[0])
        self.last_path = path
        book = openpyxl.load_workbook(path)
        ws = book["Números de Série"]
        title = "Verificação de Números de Série em " + TITLE_DATE
        self.assertEqual(ws["A1"].value, title)
        self.assertPrintAndProperties(book, ws, title)
        situations = {c.value for c in ws["D"][3:]}
        self.assertTrue(situations <= {"Em stock", "Sem registo", "Não encontrado",
                                       "Saída sem entrada"})
        # Every column is at least as wide as its heading, so no heading is cut.
        for cell in ws[3]:
            width = ws.column_dimensions[cell.column_letter].width
            self.assertGreaterEqual(width, len(cell.value) + 1, cell.value)


class OutputTargets(WorkdirTest):
    """Targets that are not ours to replace, and replaces that keep what the file is."""

    def setUp(self):
        super().setUp()
        # A copy of the sample: a failing case here must not destroy the shared one.
        self.sample = os.path.join(self.dir, "sample")
        shutil.copytree(os.path.dirname(Sample.settings("default")), self.sample)
        self.settings = os.path.join(self.sample, "Talvers.qor")
        self.out = os.path.join(self.dir, "out")
        os.mkdir(self.out)

    def pendentes(self, target, limit=None):
        args = ("talvers-report", "pendentes", "--settings", self.settings, "--output", target)
        return run_limited(limit, *args) if limit else run(*args, timeout=60)

    def test_refused_targets_are_left_as_they_were(self):
        database = os.path.join(self.sample, "erp.db")
        external = os.path.join(self.sample, "externa.db")
        # Named .xlsx, so that only what they are refuses them.
        os.link(database, os.path.join(self.out, "hard.xlsx"))
        os.symlink(self.settings, os.path.join(self.out, "link.xlsx"))
        fifo = os.path.join(self.out, "fifo.xlsx")
        os.mkfifo(fifo)
        read_only = os.path.join(self.out, "ro.xlsx")
        with open(read_only, "w") as f:
            f.write("old")
        os.chmod(read_only, 0o444)
        in_use = "é um ficheiro que o programa está a usar"
        not_a_workbook = "O livro tem de ter a extensão .xlsx"
        cases = [(database, not_a_workbook), (external, not_a_workbook),
                 (self.settings, not_a_workbook),
                 (os.path.join(self.out, "hard.xlsx"), in_use),
                 (os.path.join(self.out, "link.xlsx"), in_use),
                 (fifo, "não é um ficheiro normal"), (read_only, "o ficheiro é só de leitura")]
        for target, reason in cases:
            with self.subTest(target=target):
                before = None if target == fifo else digest(target)
                result = self.pendentes(target)
                self.assertEqual(result.returncode, 1, result.stderr)
                if reason != not_a_workbook:
                    self.assertIn("Situação Anómala", result.stderr)
                self.assertIn(reason, result.stderr)
                if before:
                    self.assertEqual(digest(target), before)
        self.assertTrue(os.path.islink(os.path.join(self.out, "link.xlsx")))
        self.assertEqual(sorted(os.listdir(self.out)),
                         ["fifo.xlsx", "hard.xlsx", "link.xlsx", "ro.xlsx"])

    def test_mode_link_and_look_alike_temporaries(self):
        private = os.path.join(self.out, "private.xlsx")
        with open(private, "w") as f:
            f.write("old")
        os.chmod(private, 0o600)
        real = os.path.join(self.out, "real.xlsx")
        with open(real, "w") as f:
            f.write("old")
        link = os.path.join(self.dir, "link.xlsx")
        os.symlink(real, link)
        # Named like temporaries, but the user's: never touched.
        look_alikes = [".real.xlsx.tmp-0badcafe", ".real.xlsx.tmp-notmine",
                       ".talvers-0123456789abcdef"]
        for name in look_alikes:
            with open(os.path.join(self.out, name), "w") as f:
                f.write("x")
        for target in (private, link):
            result = self.pendentes(target)
            self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(os.stat(private).st_mode & 0o777, 0o600)
        self.assertTrue(os.path.islink(link))
        self.assertTrue(openpyxl.load_workbook(link).sheetnames)
        self.assertEqual(sorted(os.listdir(self.out)),
                         sorted(look_alikes + ["private.xlsx", "real.xlsx"]))

    def test_every_name_the_file_system_takes(self):
        longest = "n" * 250 + ".xlsx"
        result = self.pendentes(os.path.join(self.out, longest))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(openpyxl.load_workbook(os.path.join(self.out, longest)).sheetnames)
        result = self.pendentes(os.path.join(self.out, "n" + longest))
        self.assertEqual(result.returncode, 1)
        self.assertIn("o nome é demasiado comprido para o sistema de ficheiros", result.stderr)
        self.assertEqual(os.listdir(self.out), [longest])

    def test_file_size_limit_keeps_the_old_workbook(self):
        target = os.path.join(self.out, "p.xlsx")
        result = self.pendentes(target)
        self.assertEqual(result.returncode, 0, result.stderr)
        before = digest(target)
        with zipfile.ZipFile(target) as book:
            sheet = book.getinfo("xl/worksheets/sheet1.xml").file_size
        # The rows' own stream fits; the finished sheet, which is larger, does not.
        result = self.pendentes(target, limit=sheet - 1)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn("Situação Anómala", result.stderr)
        self.assertEqual(digest(target), before)
        self.assertTrue(openpyxl.load_workbook(target).sheetnames)
        self.assertEqual(os.listdir(self.out), ["p.xlsx"])


class Interruptions(WorkdirTest):
    """Runs killed or stopped at random points: the old workbook stays or the new one is whole,
    and the next run in the folder leaves nothing of ours behind, and every look-alike."""
    LOOK_ALIKES = [".talvers-0123456789abcdef", ".w.xlsx.tmp-11111111"]

    def setUp(self):
        super().setUp()
        sample = os.path.join(self.dir, "sample")
        result = run("talvers-sample", "--out", sample, "--lines", "2000", "--today",
                     TODAY.isoformat())
        self.assertEqual(result.returncode, 0, result.stderr)
        self.settings = os.path.join(sample, "Talvers.qor")
        self.out = os.path.join(self.dir, "out")
        os.mkdir(self.out)
        os.mkdir(os.path.join(self.out, self.LOOK_ALIKES[0]))
        with open(os.path.join(self.out, self.LOOK_ALIKES[0], "novo"), "w") as f:
            f.write("do utilizador")
        with open(os.path.join(self.out, self.LOOK_ALIKES[1]), "w") as f:
            f.write("do utilizador")

    def command(self, target):
        return [os.path.join(BIN, "talvers-report"), "pendentes", "--settings", self.settings,
                "--output", target]

    def in_write(self, process):
        """Waits until the run's private folder appears: the write has begun."""
        while process.poll() is None:
            if any(name.startswith(".talvers-") and name not in self.LOOK_ALIKES
                   for name in os.listdir(self.out)):
                return

    def test_killed_or_stopped_runs_never_damage_the_workbook(self):
        target = os.path.join(self.out, "mapa.xlsx")
        started = time.monotonic()
        result = subprocess.run(self.command(target), capture_output=True, text=True, timeout=60)
        duration = time.monotonic() - started
        self.assertEqual(result.returncode, 0, result.stderr)
        rows = openpyxl.load_workbook(target, read_only=True).active.max_row
        with open(target, "rb") as f:
            old = f.read()
        generator = random.Random(17)
        # At a random point, or as soon as the write has begun (None).
        for sig, at in [(signal.SIGKILL, 0.5), (signal.SIGTERM, 0.7), (signal.SIGINT, 1.1),
                        (signal.SIGKILL, None), (signal.SIGTERM, None), (signal.SIGINT, None)]:
            delay = generator.uniform(0.3, at) * duration if at else None
            with self.subTest(signal=sig.name, delay=delay):
                process = subprocess.Popen(self.command(target), stderr=subprocess.PIPE,
                                           text=True)
                self.in_write(process) if delay is None else time.sleep(delay)
                process.send_signal(sig)
                _, stderr = process.communicate(timeout=60)
                with open(target, "rb") as f:
                    replaced = f.read() != old
                if replaced:
                    book = openpyxl.load_workbook(target, read_only=True)
                    self.assertEqual(book.active.max_row, rows)
                if sig != signal.SIGKILL and process.returncode != 0:
                    self.assertEqual(process.returncode, 128 + sig, stderr)
                    self.assertIn("Interrompido (%s)." % sig.name, stderr)
                    if delay is None and not replaced:
                        self.assertIn("a gravação foi interrompida (%s)" % sig.name, stderr)
                # The next run in the folder, whatever it writes, removes what this one left.
                other = os.path.join(self.out, "outro.xlsx")
                result = subprocess.run(self.command(other), capture_output=True, text=True,
                                        timeout=60)
                self.assertEqual(result.returncode, 0, result.stderr)
                os.remove(other)
                self.assertEqual(sorted(os.listdir(self.out)),
                                 sorted(self.LOOK_ALIKES + ["mapa.xlsx"]))
        self.assertEqual(os.listdir(os.path.join(self.out, self.LOOK_ALIKES[0])), ["novo"])


class SharedFolder(WorkdirTest):
    """A folder everyone may write to, where another user swaps every new name for a link."""

    def test_links_swapped_in_for_new_names_never_redirect_a_write(self):
        shared = os.path.join(self.dir, "partilhada")
        os.mkdir(shared)
        os.chmod(shared, 0o777)
        holding = os.path.join(self.dir, "levados")
        os.mkdir(holding)
        victim = os.path.join(self.dir, "alheio.txt")
        with open(victim, "w") as f:
            f.write("de outro utilizador")
        before = os.stat(victim)
        existing = os.path.join(shared, "antigo.xlsx")
        with open(existing, "w") as f:
            f.write("old")
        swapped = []
        stop = threading.Event()

        def swap_every_new_name():
            seen = set(os.listdir(shared))
            while not stop.is_set():
                for name in os.listdir(shared):
                    if name in seen:
                        continue
                    seen.add(name)
                    path = os.path.join(shared, name)
                    try:
                        os.rename(path, os.path.join(holding, name))
                        os.symlink(victim, path)
                        swapped.append(name)
                    except OSError:
                        pass

        attacker = threading.Thread(target=swap_every_new_name)
        attacker.start()
        try:
            results = [run("talvers-report", "pendentes", "--settings",
                           Sample.settings("default"), "--output", os.path.join(shared, name),
                           timeout=60) for name in ("novo.xlsx", "antigo.xlsx")]
        finally:
            stop.set()
            attacker.join()
        for result in results:
            self.assertIn(result.returncode, (0, 1), result.stderr)
        self.assertTrue(any(name.startswith(".talvers-") for name in swapped), swapped)
        with open(victim) as f:
            self.assertEqual(f.read(), "de outro utilizador")
        after = os.stat(victim)
        self.assertEqual((after.st_ino, after.st_mtime_ns), (before.st_ino, before.st_mtime_ns))


class HostileData(WorkdirTest):
    """Texts and figures no ERP should hold, and settings files that are no files."""
    BAD_NAME = ("CASE Codigo % 4 WHEN 0 THEN CAST(X'C3' AS TEXT) "
                "WHEN 1 THEN CAST(X'41C328FF' AS TEXT) WHEN 2 THEN CAST(X'EDA080' AS TEXT) "
                "ELSE 'Ctl' || char(1) || char(31) END")

    def sample_copy(self, variant, *statements):
        folder = os.path.join(tempfile.mkdtemp(dir=self.dir), variant)
        shutil.copytree(os.path.dirname(Sample.settings(variant)), folder)
        for statement in statements:
            # The external database holds only some of the tables.
            for name in ("erp.db", "externa.db"):
                with sqlite3.connect(os.path.join(folder, name)) as db:
                    try:
                        db.execute(statement)
                    except sqlite3.OperationalError as error:
                        if name == "erp.db" or "no such table" not in str(error):
                            raise
        return os.path.join(folder, "Talvers.qor")

    def run_report(self, settings, command):
        path = os.path.join(self.dir, command + ".xlsx")
        return path, run("talvers-report", command, "--settings", settings, "--output", path)

    def test_invalid_text_gives_well_formed_workbooks(self):
        statements = [
            "UPDATE Clientes SET Nome = " + self.BAD_NAME + " || Nome",
            "UPDATE Fornec SET Nome = Nome || CAST(X'C3' AS TEXT)",
            "UPDATE Artigos SET Nome = CAST(X'EDA080' AS TEXT) || Nome || char(2)",
        ]
        for variant in ("default", "alternate"):
            settings = self.sample_copy(variant, *statements)
            for command in ("pendentes", "fornecedor", "aprovisionamento", "series"):
                with self.subTest(variant=variant, command=command):
                    path, result = self.run_report(settings, command)
                    self.assertEqual(result.returncode, 0, result.stderr)
                    with zipfile.ZipFile(path) as z:
                        for part in z.namelist():
                            if part.endswith(".xml"):
                                ElementTree.fromstring(z.read(part))  # raises when not XML
                    texts = [c for ws in openpyxl.load_workbook(path).worksheets
                             for row in ws.iter_rows(values_only=True) for c in row
                             if isinstance(c, str)]
                    self.assertFalse([t for t in texts if "\x01" in t or "\x02" in t])
                    if command in ("pendentes", "fornecedor"):
                        self.assertTrue(any("\ufffd" in t for t in texts))

    def test_quantity_that_is_no_number_or_out_of_range_is_reported(self):
        first = ("(SELECT min(rowid) FROM ArtArm WHERE Armazem IN ('001', '002') AND "
                 "Artigo IN (SELECT Codigo FROM Artigos WHERE ArtouDes = 0))")
        cases = [
            ("UPDATE ArtArm SET Existenc='muito' WHERE rowid=" + first,
             "não tem um valor numérico: 'muito'."),
            ("UPDATE ArtArm SET Existenc='1e30' WHERE rowid=" + first,
             "tem um valor fora do intervalo dos montantes: '1e+30'."),
        ]
        for statement, message in cases:
            with self.subTest(statement):
                settings = self.sample_copy("default", statement)
                path, result = self.run_report(settings, "aprovisionamento")
                self.assertEqual(result.returncode, 1, result.stdout)
                self.assertIn("O campo 'Existenc' do artigo '", result.stderr)
                self.assertIn(message, result.stderr)
                self.assertFalse(os.path.exists(path))

    def test_estimated_date_beyond_year_9999_is_reported(self):
        settings = self.sample_copy("alternate", "UPDATE Artigos SET DiasSkRs=9223372036854775807")
        path, result = self.run_report(settings, "fornecedor")
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("A data estimada do artigo '", result.stderr)
        self.assertIn("fica fora dos anos 1 a 9999.", result.stderr)
        self.assertFalse(os.path.exists(path))

    def test_settings_that_are_no_regular_file_fail_at_once(self):
        fifo = os.path.join(self.dir, "fifo.qor")
        os.mkfifo(fifo)
        for settings in (fifo, "/dev/zero"):
            with self.subTest(settings):
                result = run("talvers-report", "check", "--settings", settings, timeout=30)
                self.assertEqual(result.returncode, 1)
                self.assertIn("não é um ficheiro comum", result.stderr)

    def test_settings_with_one_windows_1252_line_are_read(self):
        settings = self.sample_copy("default")
        with open(settings, "rb") as f:
            body = f.read()
        with open(settings, "wb") as f:
            f.write(b"; c\xf3pia antiga\n" + body)
        result = run("talvers-report", "check", "--settings", settings)
        self.assertEqual(result.returncode, 0, result.stderr)


if __name__ == "__main__":
    try:
        unittest.main(verbosity=2)
    finally:
        Sample.cleanup()
