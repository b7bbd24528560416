// The file callbacks the loader reads through, and the memory file that
// serves the embedded song from the program's own bytes.
#pragma once

#include <cstdint>

namespace bb {

using FileHandle = void*;
using FileOpen = FileHandle (*)(const char* name); // null = failure
using FileClose = void (*)(FileHandle file);
using FileRead = uint32_t (*)(void* destination, uint32_t count, FileHandle file);
using FileSeek = void (*)(FileHandle file, int32_t offset, int32_t mode); // 0 set, 1 current, 2 end
using FileTell = uint32_t (*)(FileHandle file);

struct FileCallbacks {
    FileOpen Open;
    FileClose Close;
    FileRead Read;
    FileSeek Seek;
    FileTell Tell;
};

// The callbacks in use; all five null until registered.
extern FileCallbacks FileCallbackSet;

// Installs the five together; if any is null, all five are cleared.
void register_file_callbacks(FileOpen open, FileClose close, FileRead read, FileSeek seek,
                             FileTell tell);
bool file_callbacks_registered();

struct MemoryFile {
    uint32_t Size;       // bytes served
    uint32_t Position;   // 0 .. Size
    const uint8_t* Base; // the bytes
};

extern MemoryFile TheMemoryFile;

// The bytes the memory file serves from its next open. The size is the real
// size of the block, so a read never runs past it.
void memory_file_use(const uint8_t* bytes, uint32_t size);

// The memory versions of the five callbacks. Open ignores the name and fails
// when no bytes were given.
FileHandle memory_file_open(const char* name);
void memory_file_close(FileHandle file);
uint32_t memory_file_read(void* destination, uint32_t count, FileHandle file);
void memory_file_seek(FileHandle file, int32_t offset, int32_t mode);
uint32_t memory_file_tell(FileHandle file);

// register_file_callbacks with the five above.
void register_memory_file_callbacks();

} // namespace bb
