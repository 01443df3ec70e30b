#pragma once
// How the reports fetch their lookups. All three give the same answers.
//  - SetBased (the default): one statement per kind of lookup for all the keys of a run, the
//    keys sent as one JSON value. A server that refuses that form (OPENJSON needs database
//    compatibility level 130) is sent the chunked form instead, from then on.
//  - Chunked: one statement per chunk of keys, the keys in a VALUES table.
//  - PerRow: the reference texts one key at a time ("[Talvers] Consultas=linha"), for a
//    server that refuses both set-based forms.
namespace talvers {

enum class LookupMode { SetBased, Chunked, PerRow };

}  // namespace talvers
