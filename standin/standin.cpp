#include "standin/standin.h"

#include "standin/config_source.h"

Standin::Standin() : config(loadConfig()), log(config.log), dongles(config) {
    const std::string source = config.source.empty() ? "built-in" : utf8(config.source);
    log.line("loaded: configuration " + source + ", " + std::to_string(config.dongles.size()) + " dongles, " +
             std::to_string(config.signals.size()) + " signals");
    for (const auto& error : config.errors) log.line("CONFIG " + error);
}

Standin& standin() {
    static Standin library;
    return library;
}
