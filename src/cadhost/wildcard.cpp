#include "cadhost/wildcard.h"

#include <string>
#include <vector>

namespace cadhost {

namespace {

char16_t fold(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + 32);
    if (c >= u'Ａ' && c <= u'Ｚ')
        return char16_t(c + 32);
    return c;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Letters for '@': ASCII letters, and non-ASCII characters outside the
// punctuation, symbol and digit blocks, so kana and kanji are letters as
// the CAD treats them.
bool isAlpha(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    if (c < 0xC0 || c == 0xD7 || c == 0xF7)
        return false;
    if (c >= 0x2000 && c <= 0x2BFF)  // punctuation, symbols, arrows, box drawing
        return false;
    if (c >= 0x3000 && c <= 0x303F)  // CJK punctuation, ideographic space
        return false;
    if (c == 0x30FB)  // katakana middle dot
        return false;
    if (c >= 0xFF00 && c <= 0xFF20)  // full-width punctuation and digits
        return false;
    if ((c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65))
        return false;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return true;
}

struct Token {
    enum Kind { Literal, Any, One, Digit, Alpha, Other, Set } kind = Literal;
    char16_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;  // folded bounds
};

bool matchOne(const Token &t, char16_t c)
{
    switch (t.kind) {
    case Token::Literal: return fold(c) == t.ch;
    case Token::One: return true;
    case Token::Digit: return isDigit(c);
    case Token::Alpha: return isAlpha(c);
    case Token::Other: return !isDigit(c) && !isAlpha(c);
    case Token::Set: {
        char16_t f = fold(c);
        bool in = false;
        for (auto [lo, hi] : t.ranges)
            if ((f >= lo && f <= hi) || (c >= lo && c <= hi))
                in = true;
        return in != t.negated;
    }
    case Token::Any: break;
    }
    return false;
}

// Parses one alternative (without its leading '~').
std::vector<Token> tokenize(std::u16string_view p)
{
    std::vector<Token> out;
    for (size_t i = 0; i < p.size(); ++i) {
        char16_t c = p[i];
        Token t;
        switch (c) {
        case u'`':
            if (i + 1 < p.size())
                c = p[++i];
            t.ch = fold(c);
            break;
        case u'*': t.kind = Token::Any; break;
        case u'?': t.kind = Token::One; break;
        case u'#': t.kind = Token::Digit; break;
        case u'@': t.kind = Token::Alpha; break;
        case u'.': t.kind = Token::Other; break;
        case u'[': {
            size_t j = i + 1;
            Token set;
            set.kind = Token::Set;
            if (j < p.size() && p[j] == u'~') {
                set.negated = true;
                ++j;
            }
            std::vector<char16_t> chars;
            std::vector<bool> escaped;
            bool closed = false;
            for (bool first = true; j < p.size(); ++j, first = false) {
                if (p[j] == u']' && !first) {
                    closed = true;
                    break;
                }
                if (p[j] == u'`' && j + 1 < p.size()) {
                    chars.push_back(p[++j]);
                    escaped.push_back(true);
                } else {
                    chars.push_back(p[j]);
                    escaped.push_back(false);
                }
            }
            if (!closed) {
                t.ch = u'[';  // no closing bracket: a plain character
                break;
            }
            for (size_t k = 0; k < chars.size(); ++k) {
                if (k + 2 < chars.size() && chars[k + 1] == u'-' && !escaped[k + 1]) {
                    char16_t lo = chars[k], hi = chars[k + 2];
                    set.ranges.push_back({fold(lo), fold(hi)});
                    set.ranges.push_back({lo, hi});
                    k += 2;
                } else {
                    set.ranges.push_back({fold(chars[k]), fold(chars[k])});
                }
            }
            t = std::move(set);
            i = j;
            break;
        }
        default: t.ch = fold(c); break;
        }
        out.push_back(std::move(t));
    }
    return out;
}

bool matchTokens(const std::vector<Token> &tokens, std::u16string_view s)
{
    // Greedy with one backtrack point per '*': linear in practice.
    size_t ti = 0, si = 0;
    size_t starT = std::u16string_view::npos, starS = 0;
    while (si < s.size()) {
        if (ti < tokens.size() && tokens[ti].kind == Token::Any) {
            starT = ti++;
            starS = si;
        } else if (ti < tokens.size() && matchOne(tokens[ti], s[si])) {
            ++ti;
            ++si;
        } else if (starT != std::u16string_view::npos) {
            ti = starT + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (ti < tokens.size() && tokens[ti].kind == Token::Any)
        ++ti;
    return ti == tokens.size();
}

// Splits at commas that are neither escaped nor inside brackets.
std::vector<std::u16string_view> alternatives(std::u16string_view p)
{
    std::vector<std::u16string_view> out;
    size_t start = 0;
    bool inSet = false;
    for (size_t i = 0; i < p.size(); ++i) {
        char16_t c = p[i];
        if (c == u'`') {
            ++i;
        } else if (c == u'[' && !inSet) {
            // Only a bracket that closes opens a set.
            size_t j = i + 1;
            if (j < p.size() && p[j] == u'~')
                ++j;
            if (j < p.size())
                ++j;  // a ']' right after '[' is a member
            for (; j < p.size() && p[j] != u']'; ++j)
                if (p[j] == u'`')
                    ++j;
            if (j < p.size())
                inSet = true;
        } else if (c == u']' && inSet) {
            inSet = false;
        } else if (c == u',' && !inSet) {
            out.push_back(p.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(p.substr(start));
    return out;
}

}  // namespace

bool wildcardMatch(std::u16string_view pattern, std::u16string_view text)
{
    for (std::u16string_view alt : alternatives(pattern)) {
        bool negate = !alt.empty() && alt[0] == u'~';
        if (negate)
            alt.remove_prefix(1);
        if (matchTokens(tokenize(alt), text) != negate)
            return true;
    }
    return false;
}

}  // namespace cadhost
