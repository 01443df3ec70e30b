#!/usr/bin/env python3
"""Runs every command of talvers-report on generated samples of both company variants, with the
lookups fetched per row and set-based (one JSON key table per lookup), and the reports again
with the lookups fetched in chunks (VALUES key tables, chunked_lookups_trace), tracing every
statement sent (TALVERS_SQL_TRACE), and checks all the traced T-SQL texts against an
independent grammar (check_tsql.js)."""
import os
import subprocess
import sys
import tempfile

BIN = os.environ["TALVERS_BIN"]
HERE = os.path.dirname(os.path.abspath(__file__))


def run(args, env=None, ok=(0, 2)):
    result = subprocess.run(args, env=env, capture_output=True, text=True)
    if result.returncode not in ok:
        sys.exit(f"{' '.join(args)} -> {result.returncode}\n{result.stderr}")


def main():
    if not os.path.isdir(os.path.join(HERE, "node_modules", "node-sql-parser")):
        sys.exit("node-sql-parser is not installed: run scripts/setup.sh")
    with tempfile.TemporaryDirectory() as tmp:
        trace = os.path.join(tmp, "trace.tsv")
        env = dict(os.environ, TALVERS_SQL_TRACE=trace)
        for variant in ("default", "alternate"):
            sample = os.path.join(tmp, variant)
            run([f"{BIN}/talvers-sample", "--out", sample, "--lines", "300", "--variant", variant])
            settings = os.path.join(sample, "Talvers.qor")
            per_row = os.path.join(sample, "linha.qor")
            with open(settings, encoding="utf-8") as f, open(per_row, "w", encoding="utf-8") as g:
                g.write(f.read() + "Consultas=linha\n")
            for qor in (settings, per_row):
                out = os.path.join(tmp, "out.xlsx")
                report = [f"{BIN}/talvers-report"]
                run(report + ["check", "--settings", qor], env)
                run(report + ["pendentes", "--settings", qor, "--output", out], env)
                run(report + ["fornecedor", "--settings", qor, "--output", out], env)
                # The filters apply to the alternate variant only; the default one refuses them.
                if variant == "alternate":
                    run(report + ["aprovisionamento", "--settings", qor, "--output", out,
                                  "--group", "TRV", "--family", "PAS"], env)
                run(report + ["aprovisionamento", "--settings", qor, "--output", out], env)
                run(report + ["series", "--settings", qor, "--output", out], env)
                for pick in ("armazens", "grupos", "familias"):
                    run(report + ["lista", pick, "--settings", qor], env)
                run(report + ["lista", "familias", "--settings", qor, "--group", "TRV"], env)
            chunked = [os.environ["TALVERS_CHUNKED_TRACE"], sample, trace]
            run(chunked + (["variante"] if variant == "alternate" else []), ok=(0,))
        check = subprocess.run(["node", os.path.join(HERE, "check_tsql.js"), trace])
        sys.exit(check.returncode)


if __name__ == "__main__":
    main()
