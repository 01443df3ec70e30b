#include "apps/sample_program.h"

#include "apps/program_notes.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--out", "PASTA", "a pasta onde escrever erp.db, externa.db e Talvers.qor", "", true},
    {"--seed", "N", "a semente dos dados gerados (a mesma semente dá os mesmos dados)", "1"},
    {"--lines", "N", "o número de linhas de encomendas de cliente, de 100 a 10000000", "2000"},
    {"--today", "AAAA-MM-DD", "a data de referência dos documentos", "hoje"},
    {"--variant", "default|alternate", "a variante da empresa", "default"},
};

constexpr CommandSyntax kSyntax{
    "", "", "Escreve a base de dados de exemplo e o ficheiro de definições que a usa.", kOptions};

constexpr ProgramNote kExitStatus[] = {
    {"0", "a amostra foi escrita"},
    {"1", "falha ou utilização errada; a mensagem vai para o erro padrão"},
};

constexpr ProgramNote kFiles[] = {
    {"PASTA/erp.db", "a base de dados principal (SQLite) com as tabelas do ERP"},
    {"PASTA/externa.db", "a base de dados externa, a da empresa de onde vêm as encomendas"},
    {"PASTA/Talvers.qor", "o ficheiro de definições com Motor=sqlite que aponta para as duas"},
};

constexpr ProgramNote kEnvironment[] = {
    {"TALVERS_BASE",
     "O talvers-sample não lê variáveis de ambiente; escrita em $TALVERS_BASE/kelmar, a "
     "amostra é a que o talvers e o talvers-report usam quando TALVERS_BASE aponta para ali."},
};

constexpr ProgramNote kExamples[] = {
    {"talvers-sample --out /tmp/amostra --lines 500",
     "Escreve uma amostra pequena em /tmp/amostra."},
    {"talvers-sample --out \"$HOME/demo/kelmar\" --variant=alternate && "
     "TALVERS_BASE=\"$HOME/demo\" talvers",
     "Escreve a amostra da empresa variante e abre-a no programa de secretária."},
};

constexpr std::string_view kSeeAlso[] = {"talvers(1)", "talvers-report(1)"};

}  // namespace

const ProgramSyntax& sampleProgram() {
    static const ProgramSyntax program = [] {
        ProgramSyntax p;
        p.name = "talvers-sample";
        p.summary = "escreve a base de dados de exemplo do Talvers";
        p.description =
            "Gera um ERP de exemplo (a base de dados principal e a externa, em SQLite) e o "
            "ficheiro de definições que as usa, para demonstrações, ensaios e medições. A mesma "
            "semente, data e número de linhas dão sempre os mesmos dados.";
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

}  // namespace talvers
