#pragma once
// What the manual pages and the help of the programs that read the settings file share: where
// that file is looked for, in that order, and the environment that changes it.
#include "shell/cli/program_syntax.h"

namespace talvers {

inline constexpr ProgramNote kUserSettingsNote{
    "$XDG_CONFIG_HOME/kelmar/Talvers.qor",
    "O ficheiro de definições do utilizador (sem XDG_CONFIG_HOME, ~/.config/kelmar/Talvers.qor; "
    "com TALVERS_BASE, $TALVERS_BASE/kelmar/Talvers.qor). É o primeiro a ser procurado e é onde "
    "o talvers grava a configuração; a pasta kelmar é criada nessa altura, só para o "
    "utilizador (modo 0700)."};
inline constexpr ProgramNote kProgramSettingsNote{
    "<pasta do programa>/Talvers.qor",
    "Lido apenas quando o ficheiro do utilizador não existe e este já lá está; nunca é "
    "escrito: a configuração gravada vai para a pasta do utilizador."};

inline constexpr ProgramNote kBaseVariableNote{
    "TALVERS_BASE",
    "Uma pasta absoluta: as definições passam a ser procuradas e gravadas em "
    "$TALVERS_BASE/kelmar, em vez de na pasta do utilizador."};
inline constexpr ProgramNote kConfigHomeVariableNote{
    "XDG_CONFIG_HOME", "A pasta de configuração do utilizador (absoluta); sem ela, ~/.config."};
inline constexpr ProgramNote kTraceVariableNote{
    "TALVERS_SQL_TRACE",
    "Um ficheiro onde acrescentar uma linha por instrução SQL enviada: hora, ligação (main ou "
    "external), número de linhas (ou erro e o seu número), milissegundos e o texto."};

}  // namespace talvers
