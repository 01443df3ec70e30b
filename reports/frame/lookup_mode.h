#pragma once
// How the reports fetch their lookups: one statement per chunk of keys (the default), or the
// reference texts one key at a time ("[Talvers] Consultas=linha"), for a server that refuses a
// set-based statement. Both give the same answers.
namespace talvers {

enum class LookupMode { SetBased, PerRow };

}  // namespace talvers
