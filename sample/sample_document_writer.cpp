#include "sample/sample_document_writer.h"

namespace talvers {

Money sampleLineValue(Money quantity, Money price) {
    const std::int64_t product = quantity.ticks() * price.ticks();
    const std::int64_t half = Money::kScale / 2;
    return Money::fromTicks((product + (product >= 0 ? half : -half)) / Money::kScale);
}

SampleDocumentWriter::SampleDocumentWriter(SampleDatabase& db)
    : headers_(db.insert("INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, Terceiro,"
                         " Vendedor, Observ, nvias, AreaG, TpTerc, TpfStc, NatConta, SinalCt)"
                         " VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)")),
      lines_(db.insert("INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo,"
                       " Armazem, Quant, QtdOrig, Valor, [convert])"
                       " VALUES (?,?,?,?,?,?,?,?,?,?,?)")) {}

SampleDocumentKey SampleDocumentWriter::header(const SampleHeader& h) {
    SampleDocumentKey key{h.kind.type, h.date.year, h.series, 0};
    std::int64_t& last = lastNumbers_[{key.type, key.year, key.series}];
    key.number = h.number ? *h.number : ++last;
    headers_.row({key.type, key.year, key.series, key.number, h.date, nullable(h.party),
                  nullable(h.salesperson), nullable(h.notes), h.copies, std::int64_t{h.kind.area},
                  std::int64_t{h.kind.partyType}, std::int64_t{h.kind.stockEffect},
                  std::int64_t{h.kind.accountNature}, std::int64_t{h.kind.sign}});
    return key;
}

void SampleDocumentWriter::line(const SampleDocumentKey& key, std::int64_t lineNumber,
                                const SampleLine& l) {
    lines_.row({key.type, key.year, key.series, key.number, lineNumber, l.article, l.warehouse,
                l.quantity, l.quantity, l.value, l.convert});
}

}  // namespace talvers
