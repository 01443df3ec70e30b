#include "shell/cli/man_page.h"

#include <gtest/gtest.h>

#include <sstream>

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {{"--date", "AAAA-MM-DD", "a data", "hoje"}};
constexpr CommandSyntax kCommand{"faz", "", "Faz.", kOptions};
constexpr ProgramNote kStatus[] = {{"0", "feito"}};
constexpr ProgramNote kExample[] = {{"prog faz --date=2024-01-01", "Faz.\n.linha"}};
constexpr std::string_view kSeeAlso[] = {"outro(1)"};

TEST(ManPage, EverySectionInOrderWithOptionsAsMinusSigns) {
    ProgramSyntax p;
    p.name = "prog";
    p.summary = "faz coisas";
    p.description = "Primeiro.\n\nSegundo \\ barra.";
    p.commands = {&kCommand};
    p.generalOptions = kGeneralOptions;
    p.exitStatus = kStatus;
    p.examples = kExample;
    p.seeAlso = kSeeAlso;
    std::ostringstream out;
    writeManPage(out, p, "1.2.3", "2025-01-02");
    const std::string page = out.str();
    EXPECT_EQ(page.rfind(".TH \"PROG\" 1 \"2025-01-02\" \"Talvers 1.2.3\"", 0), 0u) << page;
    size_t at = 0;
    for (const char* heading : {"NOME", "SINOPSE", "DESCRIÇÃO", "OPÇÕES", "ESTADO DE SAÍDA",
                                "FICHEIROS", "AMBIENTE", "EXEMPLOS", "VEJA TAMBÉM"}) {
        const size_t found = page.find(".SH \"" + std::string(heading) + "\"\n", at);
        ASSERT_NE(found, std::string::npos) << heading;
        at = found;
    }
    EXPECT_NE(page.find("prog \\- faz coisas\n"), std::string::npos);
    EXPECT_NE(page.find(".SS Comandos\n.TP\n\\fBfaz\\fR\nFaz.\n"), std::string::npos);
    EXPECT_NE(page.find("\\fB\\-\\-date\\fR \\fIAAAA\\-MM\\-DD\\fR\na data (omissão: hoje)"),
              std::string::npos);
    EXPECT_NE(page.find("Segundo \\e barra."), std::string::npos);
    // A line of text that starts with a dot would be read as a request.
    EXPECT_NE(page.find("Faz.\n\\&.linha\n"), std::string::npos);
    EXPECT_NE(page.find(".BR outro \"(1)\"\n"), std::string::npos);
}

}  // namespace
}  // namespace talvers
