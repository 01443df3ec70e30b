// talvers-report lista armazens|grupos|familias [--group CODE]: the provisioning pick lists,
// one "code<TAB>description" per line.
#include <iostream>

#include "apps/command_session.h"
#include "apps/report_command.h"
#include "reports/provisioning/pick_lists.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {
    kSettingsOption, {"--group", "CODIGO", "com familias: só as famílias deste grupo", "todas"}};

int runLista(const CommandOptions& options) {
    options.requirePositional(1, "uma lista: armazens, grupos ou familias");
    const std::string& name = options.positional()[0];
    PickList list;
    if (name == "armazens")
        list = PickList::Warehouses;
    else if (name == "grupos")
        list = PickList::Groups;
    else if (name == "familias")
        list = PickList::Families;
    else
        throw UsageError("Lista desconhecida: '" + name + "' (armazens, grupos ou familias).");
    if (list != PickList::Families && options.value("--group")) {
        throw UsageError("A opção --group só se aplica à lista familias.");
    }
    Session session = openCommandSession(options);
    const Table rows = loadPickList(*session.bd, list, options.value("--group").value_or(""));
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        std::cout << rows.at(r, 0).toText() << '\t' << rows.at(r, 1).toText() << '\n';
    }
    return 0;
}

}  // namespace

const ReportCommand kListaCommand{
    {"lista", "armazens|grupos|familias",
     "Mostra uma lista de escolha, um \"código<TAB>descrição\" por linha.", kOptions},
    runLista};

}  // namespace talvers
