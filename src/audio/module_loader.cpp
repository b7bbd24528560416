#include "audio/module_loader.h"

#include "audio/memory_file.h"
#include "audio/mixer.h"

#include <cstdlib>
#include <cstring>

namespace bb {

Sample EmptySample = {nullptr, 0, 0, 0, 0, 0, 128, 16, LoopNone, 0};

namespace {

constexpr int MaxStoredPatterns = 256;
constexpr int MaxRows = 256;
constexpr int MaxInstruments = 128;
constexpr int MaxSamplesPerInstrument = 16;
// Keeps mixer positions (32.32) well inside signed 64-bit arithmetic.
constexpr uint32_t MaxSampleLength = uint32_t(1) << 28;
// A packed pattern's size is a 16-bit field.
uint8_t PackedBuffer[65536];

// The open file and whether every read so far got all it asked for.
struct Stream {
    FileHandle File;
    uint32_t Size;
    bool Short; // a read came up short: the module is truncated
};

void read_bytes(Stream& s, void* destination, uint32_t count) {
    uint32_t got = FileCallbackSet.Read(destination, count, s.File);
    if (got < count) {
        std::memset(static_cast<uint8_t*>(destination) + got, 0, count - got);
        s.Short = true;
    }
}

uint8_t read_u8(Stream& s) {
    uint8_t b = 0;
    read_bytes(s, &b, 1);
    return b;
}

uint16_t read_u16(Stream& s) {
    uint8_t b[2];
    read_bytes(s, b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t read_u32(Stream& s) {
    uint8_t b[4];
    read_bytes(s, b, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

uint32_t tell(Stream& s) {
    return FileCallbackSet.Tell(s.File);
}

// Moves to an absolute position; one past the end counts as a short read.
void seek_to(Stream& s, uint64_t position) {
    if (position > s.Size) {
        s.Short = true;
        position = s.Size;
    }
    FileCallbackSet.Seek(s.File, static_cast<int32_t>(position), 0);
}

void skip(Stream& s, uint32_t count) {
    seek_to(s, uint64_t(tell(s)) + count);
}

void free_module_storage(Module* m) {
    if (m->Patterns) {
        for (int p = 0; p < m->PatternSlotCount; p++) std::free(m->Patterns[p].Cells);
        std::free(m->Patterns);
    }
    if (m->Instruments) {
        for (int i = 0; i < m->InstrumentCount; i++) {
            for (Sample* s : m->Instruments[i].Samples) {
                if (!s || s == &EmptySample) continue;
                std::free(s->Data);
                std::free(s);
            }
        }
        std::free(m->Instruments);
    }
    std::free(m);
}

bool parse_header(Stream& s, Module& m, int& stored_patterns) {
    static const char Id[] = "Extended Module: ";
    char id[17];
    seek_to(s, 0);
    read_bytes(s, id, 17);
    if (std::memcmp(id, Id, 17) != 0) return false;
    m.InitialGlobalVolume = 64;

    seek_to(s, 60);
    uint32_t header_size = read_u32(s);
    m.SongLength = read_u16(s);
    m.RestartPosition = read_u16(s);
    m.ChannelCount = read_u16(s);
    stored_patterns = read_u16(s);
    m.InstrumentCount = read_u16(s);
    m.Flags = read_u16(s);
    m.DefaultSpeed = read_u16(s);
    m.DefaultBpm = read_u16(s);
    read_bytes(s, m.OrderTable, 256);
    if (s.Short) return false;

    if (m.ChannelCount < 1 || m.ChannelCount > MaxChannels) return false;
    if (m.SongLength < 1 || m.SongLength > 256) return false;
    if (stored_patterns > MaxStoredPatterns || m.InstrumentCount > MaxInstruments) return false;
    // Speed 0 would stall the song and BPM 0 divide by zero.
    if (m.DefaultSpeed < 1 || m.DefaultBpm < 1) return false;
    if (m.RestartPosition >= m.SongLength) m.RestartPosition = 0;

    seek_to(s, 60 + uint64_t(header_size));
    int largest = 0;
    for (int i = 0; i < m.SongLength; i++)
        if (m.OrderTable[i] > largest) largest = m.OrderTable[i];
    m.UsedPatternCount = largest + 1;
    m.PatternSlotCount =
        stored_patterns > m.UsedPatternCount ? stored_patterns : m.UsedPatternCount;
    m.Patterns = static_cast<Pattern*>(std::calloc(m.PatternSlotCount, sizeof(Pattern)));
    return m.Patterns && !s.Short;
}

// Packed cells: a byte with bit 7 set says which of the five fields follow;
// otherwise it is the note and all four others follow. Bytes missing from the
// packed data read as 0, so cells beyond it stay empty.
void unpack_cells(const uint8_t* packed, uint32_t size, PatternCell* cells, int count) {
    uint32_t at = 0;
    auto next = [&]() -> uint8_t { return at < size ? packed[at++] : 0; };
    for (int i = 0; i < count; i++) {
        PatternCell& c = cells[i];
        uint8_t b = next();
        if (b & 0x80) {
            if (b & 1) c.Note = next();
            if (b & 2) c.Instrument = next();
            if (b & 4) c.Volume = next();
            if (b & 8) c.Effect = next();
            if (b & 16) c.Parameter = next();
        } else {
            c.Note = b;
            c.Instrument = next();
            c.Volume = next();
            c.Effect = next();
            c.Parameter = next();
        }
        // 97 is key off; anything above names no note.
        if (c.Note == 97)
            c.Note = 255;
        else if (c.Note > 97)
            c.Note = 0;
        if (c.Instrument > 128) c.Instrument = 0;
    }
}

bool parse_patterns(Stream& s, Module& m, int stored_patterns) {
    const int channels = m.ChannelCount;
    for (int p = 0; p < stored_patterns; p++) {
        read_u32(s); // header length: 9 is assumed
        read_u8(s);  // packing type
        int rows = read_u16(s);
        uint32_t packed_size = read_u16(s);
        if (s.Short || rows < 1 || rows > MaxRows) return false;
        Pattern& pattern = m.Patterns[p];
        pattern.RowCount = rows;
        pattern.Cells =
            static_cast<PatternCell*>(std::calloc(rows * channels, sizeof(PatternCell)));
        if (!pattern.Cells) return false;
        if (packed_size == 0) continue;
        read_bytes(s, PackedBuffer, packed_size);
        if (s.Short) return false;
        unpack_cells(PackedBuffer, packed_size, pattern.Cells, rows * channels);
    }
    for (int p = stored_patterns; p < m.PatternSlotCount; p++) {
        Pattern& pattern = m.Patterns[p];
        pattern.RowCount = 64;
        pattern.Cells = static_cast<PatternCell*>(std::calloc(64 * channels, sizeof(PatternCell)));
        if (!pattern.Cells) return false;
    }
    return true;
}

// An envelope in use must have 2-12 points with rising ticks, values up to 64
// and sustain and loop points among them.
bool envelope_valid(const uint16_t points[][2], int count, int type, int sustain, int loop_start,
                    int loop_end) {
    if (!(type & EnvelopeOn)) return true;
    if (count > EnvelopeMaxPoints) return false;
    for (int i = 0; i < count; i++) {
        if (points[i][1] > 64) return false;
        if (i > 0 && points[i][0] <= points[i - 1][0]) return false;
    }
    if ((type & EnvelopeSustain) && sustain >= count) return false;
    if ((type & EnvelopeLoop) && (loop_start >= count || loop_end >= count)) return false;
    return true;
}

void read_envelope(Stream& s, uint16_t points[][2]) {
    for (int i = 0; i < EnvelopeMaxPoints; i++) {
        points[i][0] = read_u16(s);
        points[i][1] = read_u16(s);
    }
}

// Reads, widens and delta-decodes one sample's data and writes its guard value.
void read_sample_data(Stream& s, Sample& smp, bool sixteen_bit, SampleReader reader, int instrument,
                      int index) {
    uint32_t bytes = sixteen_bit ? smp.Length * 2 : smp.Length;
    uint8_t* raw = reinterpret_cast<uint8_t*>(smp.Data);
    if (reader) {
        reader(raw, bytes, sixteen_bit ? 16 : 8, instrument, index);
        skip(s, bytes);
    } else {
        read_bytes(s, raw, bytes);
    }
    int16_t* d = smp.Data;
    if (sixteen_bit) {
        for (uint32_t i = 0; i < smp.Length; i++)
            d[i] = static_cast<int16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
    } else {
        // Backwards, so no byte is overwritten before it is widened.
        for (uint32_t i = smp.Length; i-- > 0;) d[i] = static_cast<int16_t>(raw[i] << 8);
    }
    if (!reader) {
        uint16_t sum = 0;
        for (uint32_t i = 0; i < smp.Length; i++) {
            sum = static_cast<uint16_t>(sum + static_cast<uint16_t>(d[i]));
            d[i] = static_cast<int16_t>(sum);
        }
    }
    uint32_t end = smp.LoopStart + smp.LoopLength;
    if (smp.LoopMode == LoopForward)
        d[end] = d[smp.LoopStart];
    else if (smp.LoopMode == LoopPingPong)
        d[end] = d[end - 1];
}

bool parse_instrument(Stream& s, Module& m, int number, SampleReader reader) {
    Instrument& ins = m.Instruments[number];
    for (Sample*& slot : ins.Samples) slot = &EmptySample;

    uint64_t start = tell(s);
    uint64_t next = start + read_u32(s);
    skip(s, 23); // name and type
    int count = read_u16(s);
    if (s.Short || count > MaxSamplesPerInstrument) return false;
    if (count == 0) {
        seek_to(s, next);
        return !s.Short;
    }

    read_u32(s); // sample header size: 40 is assumed
    read_bytes(s, ins.Keymap, 96);
    read_envelope(s, ins.VolumePoints);
    read_envelope(s, ins.PanningPoints);
    ins.VolumePointCount = read_u8(s);
    ins.PanningPointCount = read_u8(s);
    ins.VolumeSustain = read_u8(s);
    ins.VolumeLoopStart = read_u8(s);
    ins.VolumeLoopEnd = read_u8(s);
    ins.PanningSustain = read_u8(s);
    ins.PanningLoopStart = read_u8(s);
    ins.PanningLoopEnd = read_u8(s);
    ins.VolumeType = read_u8(s);
    ins.PanningType = read_u8(s);
    ins.VibratoType = read_u8(s);
    ins.VibratoSweep = read_u8(s);
    ins.VibratoDepth = read_u8(s);
    ins.VibratoRate = read_u8(s);
    ins.Fadeout = 2 * read_u16(s);
    if (ins.VolumePointCount < 2) ins.VolumeType = 0;
    if (ins.PanningPointCount < 2) ins.PanningType = 0;
    if (!envelope_valid(ins.VolumePoints, ins.VolumePointCount, ins.VolumeType, ins.VolumeSustain,
                        ins.VolumeLoopStart, ins.VolumeLoopEnd) ||
        !envelope_valid(ins.PanningPoints, ins.PanningPointCount, ins.PanningType,
                        ins.PanningSustain, ins.PanningLoopStart, ins.PanningLoopEnd))
        return false;
    seek_to(s, next);

    bool sixteen_bit[MaxSamplesPerInstrument] = {};
    uint64_t data_bytes = 0;
    for (int i = 0; i < count; i++) {
        Sample* smp = static_cast<Sample*>(std::calloc(1, sizeof(Sample)));
        if (!smp) return false;
        ins.Samples[i] = smp;
        uint32_t length = read_u32(s);
        uint32_t loop_start = read_u32(s);
        uint32_t loop_length = read_u32(s);
        uint8_t volume = read_u8(s);
        smp->Volume = volume > 64 ? 64 : volume;
        smp->Finetune = static_cast<int8_t>(read_u8(s));
        uint8_t type = read_u8(s);
        smp->Panning = read_u8(s);
        smp->RelativeNote = static_cast<int8_t>(read_u8(s));
        skip(s, 23); // reserved byte and name
        if (s.Short) return false;

        smp->LoopMode = LoopNone;
        if (type & 1) smp->LoopMode = LoopForward;
        if (type & 2) smp->LoopMode = LoopPingPong;
        sixteen_bit[i] = (type & 16) != 0;
        if (smp->LoopMode == LoopNone) {
            loop_start = 0;
            loop_length = length;
        }
        if (sixteen_bit[i]) {
            length /= 2;
            loop_start /= 2;
            loop_length /= 2;
        }
        if (length > MaxSampleLength) return false;
        // A loop that starts past the end plays as no loop; one that runs
        // past the end is cut at it.
        if (loop_length == 0 || loop_start >= length) {
            loop_start = 0;
            loop_length = length;
            smp->LoopMode = LoopNone;
        } else if (loop_length > length - loop_start) {
            loop_length = length - loop_start;
        }
        smp->Length = length;
        smp->LoopStart = loop_start;
        smp->LoopLength = loop_length;
        smp->Bits = 16;
        data_bytes += sixteen_bit[i] ? uint64_t(length) * 2 : length;
    }
    ins.SampleCount = count;

    // No allocation beyond what the file's own bytes can fill.
    if (data_bytes > s.Size - tell(s)) return false;
    for (int i = 0; i < count; i++) {
        Sample& smp = *ins.Samples[i];
        if (smp.Length == 0) continue;
        smp.Data = static_cast<int16_t*>(std::calloc(1, size_t(smp.Length) * 2 + 16));
        if (!smp.Data) return false;
        read_sample_data(s, smp, sixteen_bit[i], reader, number, i);
    }
    return !s.Short;
}

bool parse(Stream& s, Module& m, SampleReader reader) {
    int stored_patterns = 0;
    if (!parse_header(s, m, stored_patterns)) return false;
    if (!parse_patterns(s, m, stored_patterns)) return false;
    if (m.InstrumentCount > 0) {
        m.Instruments =
            static_cast<Instrument*>(std::calloc(m.InstrumentCount, sizeof(Instrument)));
        if (!m.Instruments) return false;
    }
    for (int i = 0; i < m.InstrumentCount; i++)
        if (!parse_instrument(s, m, i, reader)) return false;
    return true;
}

} // namespace

Module* load_module(const char* name, SampleReader sample_reader) {
    if (!file_callbacks_registered()) return nullptr;
    Module* m = static_cast<Module*>(std::calloc(1, sizeof(Module)));
    if (!m) return nullptr;
    Stream s = {FileCallbackSet.Open(name), 0, false};
    if (!s.File) {
        std::free(m);
        return nullptr;
    }
    FileCallbackSet.Seek(s.File, 0, 2);
    s.Size = FileCallbackSet.Tell(s.File);
    bool ok = parse(s, *m, sample_reader);
    FileCallbackSet.Close(s.File);
    if (!ok) {
        free_module_storage(m);
        return nullptr;
    }
    return m;
}

Module* load_module_from_memory(const uint8_t* bytes, uint32_t size) {
    memory_file_use(bytes, size);
    register_memory_file_callbacks();
    return load_module("f.xm", nullptr);
}

bool free_module(Module* module) {
    if (!module) return false;
    mixer_forget_module(*module);
    free_module_storage(module);
    return true;
}

} // namespace bb
