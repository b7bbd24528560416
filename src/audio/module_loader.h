// Reads an Extended Module through the registered file callbacks into a
// Module. The bytes are untrusted: a module that is malformed, truncated or
// asks for more than its bytes hold fails the load, with everything freed.
#pragma once

#include "audio/module.h"

#include <cstdint>

namespace bb {

// Receives a sample's raw bytes in place of the loader reading them.
using SampleReader = void (*)(void* buffer, uint32_t byte_count, int bits, int instrument,
                              int sample);

// Opens name through the file callbacks, parses and closes. Null when the
// callbacks are not registered, the open fails or the module is bad.
Module* load_module(const char* name, SampleReader sample_reader);

// Registers the memory-file callbacks over bytes and loads from them.
Module* load_module_from_memory(const uint8_t* bytes, uint32_t size);

// Detaches the module from the mixer (no voice keeps one of its samples), then
// releases it and everything it owns. Null gives false.
bool free_module(Module* module);

} // namespace bb
