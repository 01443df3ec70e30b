#include "apps/report_program.h"

#include "apps/program_notes.h"

namespace talvers {
namespace {

const ReportCommand* const kCommands[] = {
    &kCheckCommand, &kPendentesCommand, &kFornecedorCommand,     &kAprovisionamentoCommand,
    &kListaCommand, &kSeriesCommand,    &kEncodePasswordCommand,
};

constexpr ProgramNote kExitStatus[] = {
    {"0", "feito: o livro foi escrito, ou o comando mostrou o que lhe foi pedido"},
    {"1", "falha ou utilização errada; a mensagem vai para o erro padrão"},
    {"2", "não existe informação para as condições solicitadas"},
};

constexpr ProgramNote kFiles[] = {kUserSettingsNote, kProgramSettingsNote};
constexpr ProgramNote kEnvironment[] = {kBaseVariableNote, kConfigHomeVariableNote,
                                        kTraceVariableNote};

constexpr ProgramNote kExamples[] = {
    {"talvers-report check",
     "Abre as duas ligações com o ficheiro de definições do utilizador e mostra a empresa."},
    {"talvers-report pendentes --date=2024-01-01 --output pendentes.xlsx",
     "Escreve as encomendas pendentes desde 1 de janeiro de 2024."},
    {"talvers-report aprovisionamento --from 2024-01-01 --to 2024-06-30 --output aprov.xlsx",
     "Escreve o mapa de aprovisionamento das vendas do primeiro semestre."},
    {"TALVERS_SQL_TRACE=/tmp/sql.txt talvers-report check --settings /srv/loja2.qor",
     "Verifica outro ficheiro de definições, guardando as instruções SQL enviadas."},
    {"talvers-report encode-password -- '-segredo'",
     "Codifica uma palavra-passe que começa por '-' (depois de \"--\" nada é opção)."},
};

constexpr std::string_view kSeeAlso[] = {"talvers(1)", "talvers-sample(1)"};

}  // namespace

std::span<const ReportCommand* const> reportCommands() {
    return kCommands;
}

const ProgramSyntax& reportProgram() {
    static const ProgramSyntax program = [] {
        ProgramSyntax p;
        p.name = kReportProgramName;
        p.arguments = "COMANDO [OPÇÕES]";
        p.summary = "gera os mapas do Talvers em livros .xlsx a partir da linha de comandos";
        p.description =
            "Os relatórios do Talvers a partir da linha de comandos: cada comando abre as duas "
            "ligações do ficheiro de definições, como o programa de secretária, e escreve o seu "
            "livro .xlsx ou mostra o que encontrou.\n\n"
            "As opções escrevem-se \"--opção VALOR\" ou \"--opção=VALOR\"; depois de \"--\" "
            "nenhum argumento é opção. As datas vão de 1753-01-01 a 9999-12-31, as que o SQL "
            "Server guarda.";
        for (const ReportCommand* command : kCommands) p.commands.push_back(&command->syntax);
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

}  // namespace talvers
