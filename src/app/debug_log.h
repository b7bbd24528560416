#pragma once

namespace bb {

// Appends "text number\n" to "debug.!" in the working directory; the first
// call of a run truncates the file. A file that cannot be opened is skipped.
void debug_log(const char* text, int number);

} // namespace bb
