#include "apps/desktop_program.h"

#include "apps/program_notes.h"
#include "shell/cli/command_options.h"

namespace talvers {
namespace {

constexpr CommandSyntax kSyntax{
    "",
    "[FICHEIRO]",
    "Abre o Talvers com o ficheiro de definições FICHEIRO (omissão: Talvers.qor).",
    {}};

constexpr ProgramNote kExitStatus[] = {
    {"0", "o programa terminou normalmente, ou a configuração inicial foi cancelada"},
    {"1", "não foi possível iniciar, ou utilização errada (a mensagem vai para o erro padrão)"},
};

constexpr ProgramNote kFiles[] = {kUserSettingsNote, kProgramSettingsNote};
constexpr ProgramNote kEnvironment[] = {
    kBaseVariableNote,
    kConfigHomeVariableNote,
    kTraceVariableNote,
    {"TALVERS_LOG",
     "Ficheiro onde se acrescentam os avisos do próprio Qt, uma linha cada (data, hora, tipo e "
     "texto); sem esta variável não são escritos em lado nenhum, nunca no terminal."},
    {"QT_QPA_PLATFORM",
     "A plataforma gráfica do Qt (por exemplo offscreen); as opções do Qt na linha de comandos "
     "não são aceites."}};

constexpr ProgramNote kExamples[] = {
    {"talvers",
     "Abre o programa com o ficheiro de definições do utilizador; na primeira vez, "
     "mostra a configuração e grava-a em ~/.config/kelmar/Talvers.qor."},
    {"talvers loja2.qor", "Usa o ficheiro loja2.qor da mesma pasta."},
    {"talvers -- -loja.qor", "Usa um ficheiro cujo nome começa por '-'."},
};

constexpr std::string_view kSeeAlso[] = {"talvers-report(1)", "talvers-sample(1)"};

}  // namespace

const ProgramSyntax& desktopProgram() {
    static const ProgramSyntax program = [] {
        ProgramSyntax p;
        p.name = "talvers";
        p.summary = "mapas de compras e vendas do ERP em livros .xlsx";
        p.description =
            "O programa de secretária do Talvers: lê o ficheiro de definições, abre as duas "
            "ligações e mostra a janela principal, de onde se pedem os mapas (encomendas "
            "pendentes, encomendas por fornecedor, aprovisionamento), escritos como livros "
            ".xlsx que depois se abrem.\n\n"
            "Quando o ficheiro de definições não existe ou lhe falta um valor, ou quando o "
            "início falha por uma razão que as definições podem corrigir (base de dados em "
            "falta, utilizador recusado, servidor inacessível), o programa mostra a "
            "configuração e tenta de novo; Cancelar termina.\n\n"
            "FICHEIRO nomeia um ficheiro na pasta das definições (ver FICHEIROS); um caminho "
            "absoluto é usado tal como está.";
        p.commands = {&kSyntax};
        p.generalOptions = kGeneralOptions;
        p.exitStatus = kExitStatus;
        p.files = kFiles;
        p.environment = kEnvironment;
        p.examples = kExamples;
        p.seeAlso = kSeeAlso;
        return p;
    }();
    return program;
}

std::string desktopSettingsName(const std::vector<std::string>& args) {
    const CommandOptions options(args, kSyntax.options);
    if (options.positional().size() > 1) {
        throw UsageError("Só pode indicar um ficheiro de definições");
    }
    return options.positional().empty() ? std::string() : options.positional().front();
}

}  // namespace talvers
