// The peer parser of the comparison benchmark, behind an interface that needs none of
// its headers; built only when the peer is installed.
#pragma once

#include <memory>
#include <string>

namespace kx::bench {

class MuparserxPeer {
public:
    MuparserxPeer();
    ~MuparserxPeer();
    MuparserxPeer(const MuparserxPeer&) = delete;
    MuparserxPeer& operator=(const MuparserxPeer&) = delete;

    // Makes name a complex variable that a line may read or assign, unless the peer
    // already gives the name a meaning of its own.
    void defineVariable(const std::string& name);

    // Parses and evaluates the expression afresh, as a host must for a typed line, and
    // writes the real and imaginary parts as text at out (room for 64 bytes). False when
    // the peer rejects the expression.
    bool calculate(const std::string& expression, char* out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace kx::bench
