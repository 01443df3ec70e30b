#include "shell/files/xml_check.h"

#include <array>
#include <cstring>

namespace talvers {
namespace {

// A piece of markup or text longer than this is not in any workbook part: the largest is a
// cell's text of 32767 characters, escaped.
constexpr size_t kMaxPending = 8 << 20;

struct NameChars {
    std::array<bool, 256> first{};
    std::array<bool, 256> rest{};
    constexpr NameChars() {
        for (int c = 0; c < 256; ++c) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
            first[c] = letter || c == '_' || c == ':';
            rest[c] = first[c] || (c >= '0' && c <= '9') || c == '-' || c == '.';
        }
    }
};
constexpr NameChars kNameChars;

bool nameStart(char c) {
    return kNameChars.first[static_cast<unsigned char>(c)];
}
bool nameChar(char c) {
    return kNameChars.rest[static_cast<unsigned char>(c)];
}
bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
const char* skipBlanks(const char* p, const char* end) {
    while (p < end && blank(*p)) ++p;
    return p;
}
// Names are short: comparing them in place beats a call to memcmp, and the sheets have
// millions of them.
bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

bool allBlank(std::string_view text) {
    for (char c : text) {
        if (!blank(c)) return false;
    }
    return true;
}

[[noreturn]] void malformed(const std::string& reason) {
    throw XmlProblem{false, reason};
}

// Where `needle` starts in [p, end), or null.
const char* find(const char* p, const char* end, std::string_view needle) {
    const std::string_view text(p, static_cast<size_t>(end - p));
    const size_t at = text.find(needle);
    return at == std::string_view::npos ? nullptr : p + at;
}

bool xmlChar(unsigned long cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
           (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

void appendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The character a "&#...;" reference names (`digits` without "&#" and ";").
unsigned long characterReference(std::string_view digits) {
    const bool hex = !digits.empty() && digits.front() == 'x';
    if (hex) digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 8) malformed("uma referência a um carácter inválida");
    unsigned long cp = 0;
    for (char c : digits) {
        int value = -1;
        if (c >= '0' && c <= '9') value = c - '0';
        if (hex && c >= 'a' && c <= 'f') value = c - 'a' + 10;
        if (hex && c >= 'A' && c <= 'F') value = c - 'A' + 10;
        if (value < 0) malformed("uma referência a um carácter inválida");
        cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(value);
    }
    if (!xmlChar(cp)) malformed("uma referência a um carácter que o XML não admite");
    return cp;
}

}  // namespace

void XmlCheck::feed(const char* data, std::size_t size) {
    if (pending_.empty()) {
        const size_t used = scan(data, data + size);
        pending_.assign(data + used, size - used);
    } else {
        pending_.append(data, size);
        const size_t used = scan(pending_.data(), pending_.data() + pending_.size());
        pending_.erase(0, used);
    }
    if (pending_.size() > kMaxPending) malformed("um elemento ou um texto demasiado grande");
}

void XmlCheck::finish() {
    // What is left is markup that never closed, or text with no markup after it.
    if (!pending_.empty()) {
        if (pending_.front() == '<' || !openStarts_.empty()) throw XmlProblem{true, {}};
        if (!allBlank(pending_)) malformed("texto fora do elemento raiz");
    }
    if (!rootSeen_ || !openStarts_.empty()) throw XmlProblem{true, {}};
}

size_t XmlCheck::scan(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end) {
        if (*p != '<') {
            const auto* lt = static_cast<const char*>(std::memchr(p, '<', end - p));
            if (lt == nullptr) break;
            characters(p, lt);
            p = lt;
            continue;
        }
        const char* next = markup(p, end);
        if (next == nullptr) break;
        started_ = true;
        p = next;
    }
    return static_cast<size_t>(p - begin);
}

const char* XmlCheck::markup(const char* p, const char* end) {
    if (end - p < 2) return nullptr;
    if (p[1] == '/') return endTag(p, end);
    if (p[1] == '?') {
        if (end - p < 3) return nullptr;
        if (!nameStart(p[2])) malformed("uma instrução sem nome");
        const char* close = find(p + 2, end, "?>");
        return close ? close + 2 : nullptr;
    }
    if (p[1] != '!') return startTag(p, end);

    constexpr std::string_view kComment = "<!--";
    constexpr std::string_view kData = "<![CDATA[";
    const std::string_view head(p, std::min<size_t>(end - p, kData.size()));
    if (head.starts_with(kComment)) {
        const char* close = find(p + kComment.size(), end, "-->");
        return close ? close + 3 : nullptr;
    }
    if (head.starts_with(kData)) {
        if (openStarts_.empty()) malformed("uma secção CDATA fora do elemento raiz");
        const char* start = p + kData.size();
        const char* close = find(start, end, "]]>");
        if (close == nullptr) return nullptr;
        if (events_) events_->text(std::string_view(start, static_cast<size_t>(close - start)));
        return close + 3;
    }
    // Too short yet to tell a comment or a CDATA section from anything else.
    if (kComment.starts_with(head) || kData.starts_with(head)) return nullptr;
    malformed("uma declaração que as partes de um livro não têm (<!...>)");
}

const char* XmlCheck::startTag(const char* p, const char* end) {
    const char* q = p + 1;
    if (!nameStart(*q)) malformed("um nome de elemento inválido");
    while (q < end && nameChar(*q)) ++q;
    if (q == end) return nullptr;
    const std::string_view name(p + 1, static_cast<size_t>(q - p - 1));
    attributes_.clear();
    bool decode = false;
    for (;;) {
        const char* afterName = q;
        q = skipBlanks(q, end);
        if (q == end) return nullptr;
        if (*q == '>' || *q == '/') {
            const bool empty = *q == '/';
            if (empty && q + 1 == end) return nullptr;
            if (empty && q[1] != '>') malformed("'/' fora do fim de uma etiqueta");
            if (openStarts_.empty() && rootSeen_) malformed("mais de um elemento raiz");
            rootSeen_ = true;
            if (decode) {
                attributeTexts_.resize(attributes_.size());
                for (size_t i = 0; i < attributes_.size(); ++i) {
                    attributes_[i].value = decoded(attributes_[i].value, attributeTexts_[i]);
                }
            }
            if (events_) events_->startElement(name, attributes_);
            if (empty) {
                if (events_) events_->endElement(name);
            } else {
                openStarts_.push_back(openNames_.size());
                openNames_.append(name);
            }
            return q + (empty ? 2 : 1);
        }
        if (q == afterName) malformed("falta um espaço antes de um atributo");
        const char* attributeName = q;
        if (!nameStart(*q)) malformed("um nome de atributo inválido");
        while (q < end && nameChar(*q)) ++q;
        const std::string_view attribute(attributeName, static_cast<size_t>(q - attributeName));
        q = skipBlanks(q, end);
        if (q == end) return nullptr;
        if (*q != '=') malformed("falta '=' depois de um atributo");
        q = skipBlanks(q + 1, end);
        if (q == end) return nullptr;
        const char quote = *q;
        if (quote != '"' && quote != '\'') malformed("um valor de atributo sem aspas");
        const char* value = q + 1;
        const auto* close = static_cast<const char*>(std::memchr(value, quote, end - value));
        if (close == nullptr) return nullptr;
        const std::string_view raw(value, static_cast<size_t>(close - value));
        for (const char c : raw) {
            if (c == '<') malformed("'<' num valor de atributo");
            decode = decode || c == '&';
        }
        for (const XmlAttribute& before : attributes_) {
            if (same(before.name, attribute)) malformed("um atributo repetido");
        }
        attributes_.push_back({attribute, raw});
        q = close + 1;
    }
}

const char* XmlCheck::endTag(const char* p, const char* end) {
    const char* q = p + 2;
    if (q == end) return nullptr;
    if (!nameStart(*q)) malformed("um nome de elemento inválido");
    while (q < end && nameChar(*q)) ++q;
    const std::string_view name(p + 2, static_cast<size_t>(q - p - 2));
    q = skipBlanks(q, end);
    if (q == end) return nullptr;
    if (*q != '>') malformed("uma etiqueta de fecho mal terminada");
    if (openStarts_.empty()) malformed("uma etiqueta de fecho sem abertura");
    const size_t start = openStarts_.back();
    if (!same(std::string_view(openNames_).substr(start), name)) {
        malformed("</" + std::string(name) + "> fecha <" + openNames_.substr(start) + ">");
    }
    openStarts_.pop_back();
    openNames_.resize(start);
    if (events_) events_->endElement(name);
    return q + 1;
}

void XmlCheck::characters(const char* p, const char* end) {
    std::string_view raw(p, static_cast<size_t>(end - p));
    // A byte-order mark may open the document.
    if (!started_ && raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
    started_ = true;
    if (openStarts_.empty()) {
        if (!allBlank(raw)) malformed("texto fora do elemento raiz");
        return;
    }
    const std::string_view text = decoded(raw, text_);
    if (events_) events_->text(text);
}

std::string_view XmlCheck::decoded(std::string_view raw, std::string& into) {
    size_t amp = raw.find('&');
    if (amp == std::string_view::npos) return raw;
    into.assign(raw.substr(0, amp));
    while (amp != std::string_view::npos) {
        const size_t semicolon = raw.find(';', amp);
        if (semicolon == std::string_view::npos) malformed("uma referência sem ';'");
        const std::string_view name = raw.substr(amp + 1, semicolon - amp - 1);
        if (name == "amp") {
            into += '&';
        } else if (name == "lt") {
            into += '<';
        } else if (name == "gt") {
            into += '>';
        } else if (name == "quot") {
            into += '"';
        } else if (name == "apos") {
            into += '\'';
        } else if (name.starts_with('#')) {
            appendUtf8(into, characterReference(name.substr(1)));
        } else {
            malformed("uma referência desconhecida (&" + std::string(name) + ";)");
        }
        amp = raw.find('&', semicolon + 1);
        into.append(raw.substr(semicolon + 1, amp == std::string_view::npos ? std::string_view::npos
                                                                            : amp - semicolon - 1));
    }
    return into;
}

}  // namespace talvers
