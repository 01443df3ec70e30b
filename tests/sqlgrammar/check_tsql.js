// Parses every statement of a Talvers SQL trace (TALVERS_SQL_TRACE) with an independent T-SQL
// grammar (node-sql-parser, dialect transactsql). Prints each statement kind (the text with
// its literals and key lists blanked) with how many statements of it were sent, and exits 1
// when any statement does not parse, unless its kind is listed in ACCEPTED_REJECTIONS with the
// reason the grammar is wrong about it.
//   node check_tsql.js TRACE_FILE...
'use strict';
const fs = require('fs');
const { Parser } = require('node-sql-parser');

// Valid T-SQL that this grammar does not know, by a fragment of the kind's text.
const ACCEPTED_REJECTIONS = [
  // CREATE FUNCTION with a body of DECLARE/SELECT @var/RETURN is valid T-SQL (SQL Server 2000
  // and later); the grammar has no CREATE FUNCTION for transactsql.
  { fragment: 'Create FUNCTION [dbo].[qor_LinhaParaString', reason: 'CREATE FUNCTION' },
];

function kindOf(sql) {
  return sql
    .replace(/\(values .*?\) as k\(/gi, '(values ...) as k(')
    .replace(/N?'(?:[^']|'')*'/g, "'?'")
    .replace(/\b\d+(\.\d+)?\b/g, '0')
    .replace(/\s+/g, ' ')
    .trim();
}

function statementsOf(file) {
  const out = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    if (!line) continue;
    const fields = line.split('\t');
    if (fields.length < 5) throw new Error('not a trace line: ' + line);
    out.push({ connection: fields[1], sql: fields.slice(4).join('\t').replace(/\\n/g, '\n') });
  }
  return out;
}

const parser = new Parser();
const kinds = new Map();
for (const file of process.argv.slice(2)) {
  for (const s of statementsOf(file)) {
    const kind = s.connection + ': ' + kindOf(s.sql);
    if (!kinds.has(kind)) kinds.set(kind, { count: 0, example: s.sql, error: null });
    const k = kinds.get(kind);
    k.count += 1;
    if (k.count > 1) continue;
    try {
      parser.astify(s.sql, { database: 'transactsql' });
    } catch (e) {
      k.error = e.message.split('\n')[0];
    }
  }
}

let failed = 0;
for (const [kind, k] of kinds) {
  const accepted = k.error && ACCEPTED_REJECTIONS.find((a) => k.example.includes(a.fragment));
  const state = !k.error ? 'ok' : accepted ? 'aceite (' + accepted.reason + ')' : 'ERRO';
  console.log(`${String(k.count).padStart(6)}  ${state.padEnd(10)} ${kind.slice(0, 160)}`);
  if (k.error && !accepted) {
    failed += 1;
    console.log('        ' + k.error + '\n        ' + k.example.slice(0, 400));
  }
}
console.log(`${kinds.size} kinds, ${failed} rejected`);
if (kinds.size === 0) {
  console.log('no statement in the trace');
  process.exit(1);
}
process.exit(failed ? 1 : 0);
