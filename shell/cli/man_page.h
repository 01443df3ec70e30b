#pragma once
// The manual page of a program, in roff (man macros), made from its ProgramSyntax: NOME,
// SINOPSE, DESCRIÇÃO (with the commands), OPÇÕES (each command's, then the general ones),
// ESTADO DE SAÍDA, FICHEIROS, AMBIENTE, EXEMPLOS and VEJA TAMBÉM. The text is UTF-8; every
// '-' is written as a minus, so that options copied from the page work.
#include <ostream>
#include <string_view>

#include "shell/cli/program_syntax.h"

namespace talvers {

// `date` as it heads the page ("2025-06-01"), `version` the program's version text.
void writeManPage(std::ostream& out, const ProgramSyntax& program, std::string_view version,
                  std::string_view date);

// `text` for roff: backslashes and minus signs escaped, a leading '.' or '\'' neutralised.
std::string roffText(std::string_view text);

}  // namespace talvers
