#include "muparserx_peer.h"

#include <charconv>
#include <deque>

#include <mpParser.h>

namespace kx::bench {

struct MuparserxPeer::State {
    mup::ParserX parser{mup::pckALL_COMPLEX};
    std::deque<mup::Value> variables;  // a deque never moves its elements
};

MuparserxPeer::MuparserxPeer() : state_(std::make_unique<State>()) {}
MuparserxPeer::~MuparserxPeer() = default;

void MuparserxPeer::defineVariable(const std::string& name) {
    if (state_->parser.IsVarDefined(name)) return;
    mup::Value& value = state_->variables.emplace_back(mup::cmplx_type(0.0, 0.0));
    try {
        state_->parser.DefineVar(name, mup::Variable(&value));
    } catch (const mup::ParserError&) {
        // The name is taken by one of the peer's own symbols (a unit suffix such as "n");
        // lines that use it then fail or read that symbol, like any name it lacks.
    }
}

bool MuparserxPeer::calculate(const std::string& expression, char* out) {
    try {
        state_->parser.SetExpr(expression);
        const mup::Value& value = state_->parser.Eval();
        const double re = value.GetFloat();
        const double im = value.GetImag();
        char* end = std::to_chars(out, out + 24, re, std::chars_format::general, 15).ptr;
        *end++ = ' ';
        end = std::to_chars(end, end + 24, im, std::chars_format::general, 15).ptr;
        *end = '\0';
        return true;
    } catch (const mup::ParserError&) {
        return false;
    }
}

}  // namespace kx::bench
