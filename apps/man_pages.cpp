// talvers-man-pages FOLDER DATE: writes talvers.1, talvers-report.1 and talvers-sample.1 into
// FOLDER from the programs' own declarations, dated DATE. Run by the build, not installed.
#include <fstream>
#include <iostream>

#include "apps/desktop_program.h"
#include "apps/report_program.h"
#include "apps/sample_program.h"
#include "shell/cli/man_page.h"
#include "shell/startup.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "talvers-man-pages: utilização: talvers-man-pages PASTA DATA\n";
        return 1;
    }
    const std::filesystem::path folder = argv[1];
    for (const talvers::ProgramSyntax* program :
         {&talvers::desktopProgram(), &talvers::reportProgram(), &talvers::sampleProgram()}) {
        const std::filesystem::path file = folder / (std::string(program->name) + ".1");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        talvers::writeManPage(out, *program, talvers::programVersionText(), argv[2]);
        out.close();
        if (!out) {
            std::cerr << "talvers-man-pages: não foi possível escrever " << file.string() << '\n';
            return 1;
        }
    }
    return 0;
}
