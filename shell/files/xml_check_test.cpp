#include "shell/files/xml_check.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

// Every event as one line of text, to compare readings of one document.
struct Recorder : XmlEvents {
    std::string log;
    void startElement(std::string_view name, std::span<const XmlAttribute> attributes) override {
        log += "<" + std::string(name);
        for (const auto& a : attributes)
            log += " " + std::string(a.name) + "=" + std::string(a.value);
        log += ">";
    }
    void endElement(std::string_view name) override { log += "</" + std::string(name) + ">"; }
    void text(std::string_view text) override { log += "[" + std::string(text) + "]"; }
};

// "" for a well-formed document, "cut" for one that ended early, else the reason; the events
// of a reading in pieces of `piece` bytes go to `events`.
std::string verdict(const std::string& document, size_t piece, XmlEvents* events = nullptr) {
    XmlCheck check(events);
    try {
        for (size_t at = 0; at < document.size(); at += piece) {
            check.feed(document.data() + at, std::min(piece, document.size() - at));
        }
        check.finish();
        return "";
    } catch (const XmlProblem& problem) {
        return problem.cut ? "cut" : problem.reason;
    }
}

TEST(XmlCheck, WellFormedCutAndMalformedDocumentsAreToldApartInAnyPieces) {
    const std::string head = "<?xml version=\"1.0\"?>\r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {head + "<a x=\"1\" y='&lt;2&gt;'><b/>t&amp;u<!-- c --><![CDATA[<x>]]></a>\r\n", ""},
        {"<a/>", ""},
        {"\xEF\xBB\xBF<a/>", ""},
        {"<a/>\xEF\xBB\xBF", "texto fora do elemento raiz"},
        {"", "cut"},
        {"<a><b></b>", "cut"},
        {"<a x=\"1", "cut"},
        {"<a>text", "cut"},
        {"<a><!-- c -", "cut"},
        {"<a></b>", "</b> fecha <a>"},
        {"<a></a><b/>", "mais de um elemento raiz"},
        {"x<a/>", "texto fora do elemento raiz"},
        {"</a>", "uma etiqueta de fecho sem abertura"},
        {"<a x=1/>", "um valor de atributo sem aspas"},
        {"<a x=\"1\"y=\"2\"/>", "falta um espaço antes de um atributo"},
        {"<a x=\"1\" x=\"2\"/>", "um atributo repetido"},
        {"<a x=\"<\"/>", "'<' num valor de atributo"},
        {"<a>&nbsp;</a>", "uma referência desconhecida (&nbsp;)"},
        {"<a>&#1;</a>", "uma referência a um carácter que o XML não admite"},
        {"<a>&#xZZ;</a>", "uma referência a um carácter inválida"},
        {"<!DOCTYPE a><a/>", "uma declaração que as partes de um livro não têm (<!...>)"},
        {"<a/ >", "'/' fora do fim de uma etiqueta"},
    };
    for (const auto& [document, expected] : cases) {
        SCOPED_TRACE(document);
        Recorder whole;
        EXPECT_EQ(verdict(document, document.size() + 1, &whole), expected);
        for (size_t piece : {1, 2, 7}) {
            Recorder pieces;
            EXPECT_EQ(verdict(document, piece, &pieces), expected) << piece;
            if (expected.empty()) {
                EXPECT_EQ(pieces.log, whole.log) << piece;
            }
        }
    }
}

}  // namespace
}  // namespace talvers
