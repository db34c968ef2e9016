#include "batch_host.h"

#include <cstdio>

namespace kestrel {

Answer BatchHost::message(const std::string& text, Buttons buttons) {
    // One line per message on a terminal.
    std::string line;
    for (char c : text)
        if (c != '\r') line += c == '\n' ? ' ' : c;
    std::fprintf(stderr, "kestrel-batch: %s\n", line.c_str());
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

} // namespace kestrel
