#include "audio/memory_file.h"

#include <cstring>

namespace bb {

FileCallbacks FileCallbackSet = {};
MemoryFile TheMemoryFile = {};

static const uint8_t* SourceBytes = nullptr;
static uint32_t SourceSize = 0;

void register_file_callbacks(FileOpen open, FileClose close, FileRead read, FileSeek seek,
                             FileTell tell) {
    if (!open || !close || !read || !seek || !tell) {
        FileCallbackSet = {};
        return;
    }
    FileCallbackSet = {open, close, read, seek, tell};
}

bool file_callbacks_registered() {
    const FileCallbacks& c = FileCallbackSet;
    return c.Open && c.Close && c.Read && c.Seek && c.Tell;
}

void memory_file_use(const uint8_t* bytes, uint32_t size) {
    SourceBytes = bytes;
    SourceSize = bytes ? size : 0;
}

FileHandle memory_file_open(const char*) {
    if (!SourceBytes) return nullptr;
    TheMemoryFile.Base = SourceBytes;
    TheMemoryFile.Size = SourceSize;
    TheMemoryFile.Position = 0;
    return &TheMemoryFile;
}

void memory_file_close(FileHandle) {}

uint32_t memory_file_read(void* destination, uint32_t count, FileHandle file) {
    MemoryFile& f = *static_cast<MemoryFile*>(file);
    uint32_t left = f.Size - f.Position;
    if (count > left) count = left;
    if (count) std::memcpy(destination, f.Base + f.Position, count);
    f.Position += count;
    return count;
}

void memory_file_seek(FileHandle file, int32_t offset, int32_t mode) {
    MemoryFile& f = *static_cast<MemoryFile*>(file);
    int64_t base = mode == 0 ? 0 : mode == 1 ? f.Position : f.Size;
    int64_t p = base + offset;
    // Before the start counts as the start; past the end as the end.
    if (p < 0) p = 0;
    if (p > f.Size) p = f.Size;
    f.Position = static_cast<uint32_t>(p);
}

uint32_t memory_file_tell(FileHandle file) {
    return static_cast<MemoryFile*>(file)->Position;
}

void register_memory_file_callbacks() {
    register_file_callbacks(memory_file_open, memory_file_close, memory_file_read, memory_file_seek,
                            memory_file_tell);
}

} // namespace bb
