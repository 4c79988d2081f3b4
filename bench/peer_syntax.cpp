#include "peer_syntax.h"

#include <algorithm>
#include <array>

namespace kx::bench {
namespace {

constexpr std::array<std::string_view, 29> functionNames = {
    "sin",  "cos",  "tan",   "sec",   "csc",   "cot",   "sinh",  "cosh",  "tanh",  "sech",
    "csch", "coth", "asin",  "acos",  "atan",  "asec",  "acsc",  "acot",  "asinh", "acosh",
    "atanh", "asech", "acsch", "acoth", "sqrt", "exp",  "ln",    "log",   "abs"};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return c >= 'a' && c <= 'z'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isOpening(char c) { return c == '(' || c == '[' || c == '{'; }
bool isClosing(char c) { return c == ')' || c == ']' || c == '}'; }

// A recursive rewriter over the lowered line; `failed` is set at the first construct that
// has no spelling in the peer's syntax.
class Translator {
public:
    explicit Translator(std::string_view text) : text_(text) {}

    std::optional<std::string> run() {
        sequence(false);
        if (failed_ || at_ != text_.size()) return std::nullopt;
        return out_;
    }

private:
    char peek() {
        while (at_ < text_.size() && isSpace(text_[at_])) {
            ++at_;
            spacePending_ = true;
        }
        return at_ < text_.size() ? text_[at_] : '\0';
    }

    void emit(std::string_view piece) {
        if (spacePending_ && !out_.empty()) out_ += ' ';  // keeps "2 3" two tokens
        spacePending_ = false;
        out_ += piece;
    }

    std::string_view nameAt() {
        std::size_t end = at_;
        while (end < text_.size() && isLetter(text_[end])) ++end;
        return text_.substr(at_, end - at_);
    }

    bool atFunction() {
        if (!isLetter(peek())) return false;
        const std::string_view name = nameAt();
        return std::find(functionNames.begin(), functionNames.end(), name) != functionNames.end();
    }

    // Items up to a closing bracket (inside brackets) or the end of the line.
    void sequence(bool insideBrackets) {
        while (!failed_) {
            const char c = peek();
            if (c == '\0') return;
            if (isClosing(c)) {
                if (!insideBrackets) failed_ = true;
                return;
            }
            if (atFunction()) {
                function();
            } else if (isOpening(c)) {
                bracketed();
            } else if (isLetter(c)) {
                const std::string_view name = nameAt();
                emit(name);
                at_ += name.size();
            } else if (isDigit(c) || c == '.') {
                number();
            } else {
                emit(std::string_view(&text_[at_], 1));
                ++at_;
            }
        }
    }

    void function() {
        const std::string_view name = nameAt();
        at_ += name.size();
        emit(name == "log" ? "log10" : name);
        emit("(");
        unary();
        emit(")");
    }

    // The operand of a prefix function or sign: signs and functions, a primary, and a
    // right-associative chain of "^".
    void unary() {
        const char c = peek();
        if (c == '+' || c == '-') {
            emit(std::string_view(&text_[at_], 1));
            ++at_;
            unary();
            return;
        }
        if (atFunction()) {
            function();
            return;
        }
        primary();
        while (!failed_ && peek() == '^') {
            emit("^");
            ++at_;
            unary();
        }
    }

    void primary() {
        const char c = peek();
        if (isOpening(c)) {
            bracketed();
        } else if (isDigit(c) || c == '.') {
            number();
        } else if (isLetter(c)) {
            const std::string_view name = nameAt();
            emit(name);
            at_ += name.size();
        } else {
            failed_ = true;
        }
    }

    void bracketed() {
        ++at_;
        emit("(");
        sequence(true);
        if (failed_) return;
        if (isClosing(peek())) ++at_;  // an unclosed bracket is closed at the end
        emit(")");
    }

    void number() {
        std::size_t end = at_;
        while (end < text_.size() && (isDigit(text_[end]) || text_[end] == '.')) ++end;
        std::string literal(text_.substr(at_, end - at_));
        if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'd')) {
            std::size_t exponent = end + 1;
            if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-')) ++exponent;
            if (exponent < text_.size() && isDigit(text_[exponent])) {
                while (exponent < text_.size() && isDigit(text_[exponent])) ++exponent;
                literal += 'e';
                literal += text_.substr(end + 1, exponent - end - 1);
                end = exponent;
            }
        }
        emit(literal);
        at_ = end;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string out_;
    bool spacePending_ = false;
    bool failed_ = false;
};

std::string lowered(std::string_view line) {
    std::string text(line);
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<PeerLine> translateForPeer(std::string_view line) {
    const std::string text = lowered(line);
    const std::string_view view = text;
    const std::size_t equals = view.find('=');
    if (view.starts_with("set ") && equals != std::string_view::npos) {
        const std::string_view name = trimmed(view.substr(4, equals - 4));
        if (name.empty() || !std::all_of(name.begin(), name.end(), isLetter)) return std::nullopt;
        auto expression = Translator(view.substr(equals + 1)).run();
        if (!expression) return std::nullopt;
        return PeerLine{std::string(name) + "=" + *expression, std::string(name)};
    }
    auto expression = Translator(view).run();
    if (!expression) return std::nullopt;
    return PeerLine{std::move(*expression), {}};
}

}  // namespace kx::bench
