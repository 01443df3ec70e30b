#include "sample/sample_names.h"

namespace talvers {

const std::vector<SampleGroupName>& sampleGroups() {
    static const std::vector<SampleGroupName> groups = {
        {"LUB",
         "Lubrificantes",
         {{"MOT", "Óleos de Motor"}, {"TRA", "Óleos de Transmissão"}, {"GER", "Diversos"}},
         {{"MOT", "Óleo de Motor 5W-30", {"1L", "4L", "5L"}},
          {"MOT", "Óleo de Motor 10W-40", {"1L", "5L"}},
          {"MOT", "Óleo de Motor 0W-20", {"1L", "4L"}},
          {"TRA", "Óleo de Caixa 75W-90", {"1L", "2L"}},
          {"GER", "Líquido de Refrigeração G12", {"1L", "5L"}},
          {"GER", "Massa Lubrificante de Lítio", {"400g", "1kg"}}}},
        {"PNE",
         "Pneus",
         {{"VER", "Pneus de Verão"}, {"INV", "Pneus de Inverno"}, {"GER", "Diversos"}},
         {{"VER", "Pneu 205/55 R16 91V", {"Verão", "Estrada"}},
          {"VER", "Pneu 195/65 R15 91H", {"Verão", "Económico"}},
          {"VER", "Pneu 225/45 R17 94W", {"Desportivo", "Verão"}},
          {"INV", "Pneu 205/55 R16 91H", {"Inverno", "Neve"}},
          {"INV", "Pneu 185/65 R15 88T", {"Inverno"}},
          {"GER", "Câmara de Ar 3.50-8", {"Reforçada", "Normal"}}}},
        {"FIL",
         "Filtros",
         {{"OLE", "Filtros de Óleo"},
          {"ARF", "Filtros de Ar"},
          {"HAB", "Filtros de Habitáculo"},
          {"COM", "Filtros de Combustível"}},
         {{"OLE", "Filtro de Óleo", {"Ref. FO-110", "Ref. FO-245", "Ref. FO-318"}},
          {"ARF", "Filtro de Ar", {"Ref. FA-502", "Ref. FA-611"}},
          {"HAB", "Filtro de Habitáculo Carvão Ativo", {"Ref. FH-20", "Ref. FH-31"}},
          {"COM", "Filtro de Combustível Gasóleo", {"Ref. FC-77", "Ref. FC-81"}}}},
        {"TRV",
         "Travões",
         {{"PAS", "Pastilhas"}, {"DIS", "Discos"}, {"GER", "Diversos"}},
         {{"PAS", "Pastilhas de Travão Dianteiras", {"Jogo 4", "Cerâmica"}},
          {"PAS", "Pastilhas de Travão Traseiras", {"Jogo 4"}},
          {"DIS", "Discos de Travão Ventilados", {"280mm", "300mm", "320mm"}},
          {"GER", "Óleo de Travões DOT 4", {"500ml", "1L"}}}},
        {"ILU",
         "Iluminação",
         {{"LAM", "Lâmpadas"}, {"FAR", "Faróis e Farolins"}},
         {{"LAM", "Lâmpada H7 12V 55W", {"Caixa 10", "Blister 2"}},
          {"LAM", "Lâmpada H4 12V 60/55W", {"Caixa 10", "Blister 2"}},
          {"LAM", "Lâmpada W5W Mínimos", {"Caixa 10"}},
          {"FAR", "Farolim Traseiro Esquerdo", {"LED", "Halogéneo"}}}},
        {"BAT",
         "Baterias",
         {{"AUT", "Baterias Auto"}, {"MOT", "Baterias Moto"}},
         {{"AUT", "Bateria 12V 60Ah 540A", {"Start-Stop", "Normal"}},
          {"AUT", "Bateria 12V 74Ah 680A", {"Normal"}},
          {"AUT", "Bateria 12V 95Ah 800A", {"Pesados"}},
          {"MOT", "Bateria Moto 12V 7Ah", {"Gel"}}}},
        {"ACE",
         "Acessórios",
         {{"LIM", "Limpeza"}, {"SEG", "Segurança"}, {"GER", "Diversos"}},
         {{"LIM", "Escovas Limpa-Vidros", {"450mm", "600mm", "650mm"}},
          {"LIM", "Champô Auto com Cera", {"1L", "5L"}},
          {"SEG", "Triângulo de Sinalização", {"Homologado"}},
          {"SEG", "Colete Refletor Amarelo", {"Adulto"}},
          {"GER", "Tapetes de Borracha Universais", {"Jogo 4"}}}},
    };
    return groups;
}

const std::vector<const char*>& sampleBrands() {
    static const std::vector<const char*> brands = {"Lusitana", "Tejo",  "Atlântico",
                                                    "Estrela",  "Minho", "Algarve"};
    return brands;
}

const std::vector<const char*>& sampleSalespeople() {
    static const std::vector<const char*> names = {
        "Ana Sofia Martins",
        "João Pedro Gonçalves",
        "Maria da Conceição Albuquerque Magalhães",  // longer than the 30 characters shown
        "Rui Conceição",
        "Inês Brandão",
        "Tomás Simões",
        "Beatriz Lourenço",
        "Nuno Patrício"};
    return names;
}

const std::vector<const char*>& sampleSupplierNames() {
    static const std::vector<const char*> names = {
        "Auto Peças\nGuimarães, Lda.",
        "Companhia Portuguesa de Importação e Distribuição de Acessórios e Peças para "
        "Automóveis, S.A.",
        "Lubrificantes Ibéricos, S.A.",
        "Pneus do Norte, Lda.",
        "Distribuição\nAçoriana\nde Baterias, Lda.",
        "Filtros & Companhia, Lda.",
        "Travões Seguros do Centro, Lda.",
        "Iluminação Automóvel Évora, Lda.",
        "Baterias Tejo, S.A.",
        "Acessórios São Mamede, Lda.",
        "Importadora Atlântica de Pneus, S.A.",
        "Óleos e Massas Leiria, Lda.",
        "Peças Conceição & Filhos, Lda.",
        "Comércio de Filtros Braga, Lda.",
        "Armazéns Gonçalves, S.A.",
        "Sociedade Técnica de Travões, Lda.",
        "Lâmpadas e Faróis Setúbal, Lda.",
        "Eletro Baterias Viseu, Lda.",
        "Produtos de Limpeza Automóvel Óbidos, Lda.",
        "Pneumáticos Açores, Lda.",
        "Distribuidora Ibérica de Lubrificantes, S.A.",
        "Peças Magalhães, Lda.",
        "Componentes Automóvel Famalicão, S.A.",
        "Filtração Industrial Aveiro, Lda.",
        "Segurança Rodoviária Santarém, Lda.",
        "Auto Elétrica Simões, Lda.",
        "Recauchutagem Lourenço, Lda.",
        "Químicos Automóvel Coimbra, Lda.",
        "Importações Brandão & Araújo, Lda.",
        "Fornecedora Madeirense de Peças, Lda.",
    };
    return names;
}

const std::vector<const char*>& sampleWarehouseNames() {
    static const std::vector<const char*> names = {"Armazém Central", "Armazém do Porto",
                                                   "Armazém de Faro", "Armazém dos Açores"};
    return names;
}

const std::vector<const char*>& sampleOrderNotes() {
    static const std::vector<const char*> notes = {
        "Entregar de manhã",
        "Cliente levanta no armazém",
        "Urgente – viatura imobilizada",
        "Faturar no fim do mês",
        "Enviar pela transportadora habitual",
        "Confirmar preço com o vendedor",
        "Entrega em São Miguel, Açores",
    };
    return notes;
}

const std::vector<const char*>& sampleSeparationMarks() {
    static const std::vector<const char*> marks = {"Sim", "Separado", "Parcial", "Aguarda stock",
                                                   "Separado – Armazém 002"};
    return marks;
}

const std::vector<const char*>& sampleTowns() {
    static const std::vector<const char*> towns = {
        "São João da Madeira", "Açores",  "Braga",     "Évora",  "Setúbal",   "Coimbra",  "Viseu",
        "Ponta Delgada",       "Funchal", "Guimarães", "Óbidos", "Famalicão", "Santarém", "Leiria",
        "Vila Real",           "Amarante"};
    return towns;
}

const std::vector<const char*>& sampleLisbonTowns() {
    static const std::vector<const char*> towns = {"Lisboa", "Amadora", "Oeiras", "Sintra",
                                                   "Almada", "Cascais", "Loures", "Odivelas"};
    return towns;
}

std::string sampleCustomerName(SampleRandom& random, const std::vector<const char*>& towns) {
    static const std::vector<const char*> trades = {
        "Auto Reparadora", "Oficina", "Garagem", "Pneus", "Mecânica", "Stand", "Centro Auto"};
    static const std::vector<const char*> forms = {", Lda.", ", S.A.", ", Unipessoal Lda.", ""};
    static const std::vector<const char*> firstNames = {"João",    "José",   "António", "Maria",
                                                        "Ana",     "Luís",   "Inês",    "Conceição",
                                                        "Joaquim", "Fátima", "Sérgio",  "Gonçalo"};
    static const std::vector<const char*> surnames = {
        "Gonçalves", "Simões",   "Magalhães", "Brandão",   "Araújo",
        "Conceição", "Lourenço", "Patrício",  "Guimarães", "Mendonça"};
    if (random.percent(30)) {
        const std::size_t first = random.below(surnames.size());
        const std::size_t second =
            (first + 1 + random.below(surnames.size() - 1)) % surnames.size();
        return std::string(random.pick(firstNames)) + " " + surnames[first] + " " +
               surnames[second];
    }
    return std::string(random.pick(trades)) + " " + random.pick(towns) + random.pick(forms);
}

std::string sampleSupplierNote(SampleRandom& random, const std::string& expectedDate) {
    static const std::vector<const char*> notes = {
        "Aguarda confirmação do fornecedor", "Contentor via Leixões", "Entrega parcial prevista",
        "Material em trânsito", "Fornecedor sem stock – reagendado"};
    if (random.percent(50)) return "Previsão de chegada " + expectedDate;
    return random.pick(notes);
}

}  // namespace talvers
