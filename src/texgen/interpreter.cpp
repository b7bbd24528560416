#include "texgen/interpreter.h"

#include "texgen/colour_ops.h"
#include "texgen/combine_ops.h"
#include "texgen/distortions.h"
#include "texgen/filters.h"
#include "texgen/generators.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

namespace bb {

int texture_command_size(uint8_t opcode) {
    return TextureCommandSize + (opcode == OpBitmap ? BitmapDataSize : 0);
}

struct OpcodeName {
    uint8_t Opcode;
    const char* Name;
};

static const OpcodeName OpcodeNames[] = {
    {OpFractalNoise, "FractalNoise"},
    {OpSinePlasma, "SinePlasma"},
    {OpCells, "Cells"},
    {OpRadialSpot, "RadialSpot"},
    {OpSmoothNoise, "SmoothNoise"},
    {OpClearLayer, "ClearLayer"},
    {OpSineWarp, "SineWarp"},
    {OpScroll, "Scroll"},
    {OpSwirl, "Swirl"},
    {OpShiftDifference, "ShiftDifference"},
    {OpBlur, "Blur"},
    {OpDisplace, "Displace"},
    {OpDirectionalBlur, "DirectionalBlur"},
    {OpSwapChannels, "SwapChannels"},
    {OpChannelToGrey, "ChannelToGrey"},
    {OpCopyChannel, "CopyChannel"},
    {OpCrossFade, "CrossFade"},
    {OpMultiply, "Multiply"},
    {OpAdd, "Add"},
    {OpLighten, "Lighten"},
    {OpContrast, "Contrast"},
    {OpInvertBlue, "InvertBlue"},
    {OpModulateByLayer, "ModulateByLayer"},
    {OpBrightness, "Brightness"},
    {OpCosineBands, "CosineBands"},
    {OpChannelRange, "ChannelRange"},
    {OpHueSaturation, "HueSaturation"},
    {OpGradientMap, "GradientMap"},
    {OpMaskBlend, "MaskBlend"},
    {OpHorizontalEdge, "HorizontalEdge"},
    {OpBitmap, "Bitmap"},
};

const char* texture_opcode_name(uint8_t opcode) {
    for (const OpcodeName& entry : OpcodeNames)
        if (entry.Opcode == opcode) return entry.Name;
    return nullptr;
}

// Parameter indices (into p0..p6) that name a layer and a channel; -1 ends.
struct ParameterRoles {
    int8_t Layers[3];   // layer parameters, 0..3
    int8_t Channels[4]; // channel parameters, 0..2
};

static ParameterRoles parameter_roles(const uint8_t* command) {
    const uint8_t* p = command + 2;
    switch (command[0]) {
    case OpFractalNoise:
    case OpCells:
    case OpSmoothNoise:
    case OpChannelToGrey:
    case OpCosineBands:
    case OpChannelRange:
    case OpGradientMap:
        return {{-1}, {0, -1}};
    case OpSinePlasma:
        return {{-1}, {6, -1}};
    // Only mode 1 uses the channel.
    case OpRadialSpot:
        return p[0] == 1 ? ParameterRoles{{-1}, {1, -1}} : ParameterRoles{{-1}, {-1}};
    case OpDisplace:
        return {{0, 3, -1}, {1, 4, -1}};
    case OpDirectionalBlur:
        return {{0, -1}, {1, -1}};
    case OpSwapChannels:
        return {{1, -1}, {0, 2, -1}};
    case OpCopyChannel:
        return {{1, -1}, {0, 2, -1}};
    case OpCrossFade:
    case OpMultiply:
    case OpAdd:
    case OpLighten:
        return {{0, -1}, {-1}};
    case OpModulateByLayer:
        return {{0, -1}, {1, -1}};
    case OpMaskBlend:
        return {{0, 1, -1}, {2, -1}};
    default:
        return {{-1}, {-1}};
    }
}

bool texture_command_valid(const uint8_t* command) {
    if (command[1] >= TextureLayerCount) return false;
    ParameterRoles roles = parameter_roles(command);
    const uint8_t* p = command + 2;
    for (int i = 0; i < 3 && roles.Layers[i] >= 0; i++)
        if (p[roles.Layers[i]] >= TextureLayerCount) return false;
    for (int i = 0; i < 4 && roles.Channels[i] >= 0; i++)
        if (p[roles.Channels[i]] > 2) return false;
    return true;
}

void execute_command(const uint8_t* command) {
    if (!texture_command_valid(command)) return;
    int t = command[1];
    const uint8_t* p = command + 2;
    switch (command[0]) {
    case OpFractalNoise:
        fractal_noise(t, p);
        break;
    case OpSinePlasma:
        sine_plasma(t, p);
        break;
    case OpCells:
        cells(t, p);
        break;
    case OpRadialSpot:
        radial_spot(t, p);
        break;
    case OpSmoothNoise:
        smooth_noise(t, p);
        break;
    case OpClearLayer:
        clear_layer(t);
        break;
    case OpSineWarp:
        sine_warp(t, p);
        break;
    case OpScroll:
        scroll(t, p);
        break;
    case OpSwirl:
        swirl(t, p);
        break;
    case OpShiftDifference:
        shift_difference(t, p);
        break;
    case OpBlur:
        blur(t, p);
        break;
    case OpDisplace:
        displace(t, p);
        break;
    case OpDirectionalBlur:
        directional_blur(t, p);
        break;
    case OpSwapChannels:
        swap_channels(t, p);
        break;
    case OpChannelToGrey:
        channel_to_grey(t, p);
        break;
    case OpCopyChannel:
        copy_channel(t, p);
        break;
    case OpCrossFade:
        cross_fade(t, p);
        break;
    case OpMultiply:
        multiply(t, p);
        break;
    case OpAdd:
        add(t, p);
        break;
    case OpLighten:
        lighten(t, p);
        break;
    case OpContrast:
        contrast(t, p);
        break;
    case OpInvertBlue:
        invert_blue(t);
        break;
    case OpModulateByLayer:
        modulate_by_layer(t, p);
        break;
    case OpBrightness:
        brightness(t, p);
        break;
    case OpCosineBands:
        cosine_bands(t, p);
        break;
    case OpChannelRange:
        channel_range(t, p);
        break;
    case OpHueSaturation:
        hue_saturation(t, p);
        break;
    case OpGradientMap:
        gradient_map(t, p);
        break;
    case OpMaskBlend:
        mask_blend(t, p);
        break;
    case OpHorizontalEdge:
        horizontal_edge(t);
        break;
    case OpBitmap:
        bitmap(t, p, command + TextureCommandSize);
        break;
    default:
        break;
    }
}

static void count_command_done() {
    TextureGeneratorState& g = TextureGenerator;
    g.DoneCommands++;
    // Outside generate_textures there is no total to report against.
    if (g.ProgressCallback && g.TotalCommands > 0)
        g.ProgressCallback(static_cast<float>(g.DoneCommands) /
                           static_cast<float>(g.TotalCommands));
}

static bool has_header(const TextureProgram& program) {
    return program.Bytes && program.Size >= TextureHeaderSize && program.Bytes[0] == 'Q' &&
           program.Bytes[1] == 'T' && program.Bytes[2] == 'X';
}

void run_program(const TextureProgram* program, TextureImage* image) {
    if (!program || !image) return;
    texture_generator_init();
    TextureGeneratorState& g = TextureGenerator;
    for (TextureImage& layer : g.Layer) std::memset(layer.Pixels, 0, sizeof layer.Pixels);
    std::memset(g.ScratchA.Pixels, 0, sizeof g.ScratchA.Pixels);
    std::memset(g.ScratchB.Pixels, 0, sizeof g.ScratchB.Pixels);
    if (!has_header(*program)) return;

    const uint8_t* bytes = program->Bytes;
    uint32_t size = program->Size;
    uint32_t at = TextureHeaderSize;
    int count = bytes[3];
    for (int n = 0; n < count; n++) {
        // A command that runs past the end is not read, and neither is
        // anything after it; each is still counted, like any skipped command.
        bool fits = size - at >= TextureCommandSize &&
                    size - at >= uint32_t(texture_command_size(bytes[at]));
        if (fits) {
            execute_command(bytes + at);
            at += texture_command_size(bytes[at]);
        } else {
            at = size;
        }
        count_command_done();
    }
    std::memcpy(image->Pixels, g.Layer[0].Pixels, sizeof image->Pixels);
}

std::vector<TextureImage> generate_textures(const TextureProgram* const* programs,
                                            ProgressFunction progress) {
    texture_generator_init();
    TextureGeneratorState& g = TextureGenerator;
    size_t n = 0;
    if (programs)
        while (programs[n]) n++;
    g.ProgressCallback = progress;
    g.TotalCommands = 0;
    g.DoneCommands = 0;
    for (size_t i = 0; i < n; i++)
        if (programs[i]->Bytes && programs[i]->Size >= TextureHeaderSize)
            g.TotalCommands += programs[i]->Bytes[3];

    std::vector<TextureImage> images(n); // zeroed: an image left untouched is black
    for (size_t i = 0; i < n; i++) run_program(programs[i], &images[i]);

    g.TotalCommands = 0;
    g.DoneCommands = 0;
    g.ProgressCallback = nullptr;
    return images;
}

// Byte offsets of the commands run_program performs: none without the header,
// and none from the first command that would run past the end.
static std::vector<uint32_t> command_offsets(const TextureProgram& program) {
    std::vector<uint32_t> offsets;
    if (!has_header(program)) return offsets;
    uint32_t at = TextureHeaderSize;
    for (int n = 0; n < program.Bytes[3]; n++) {
        uint32_t left = program.Size - at;
        if (left < TextureCommandSize || left < uint32_t(texture_command_size(program.Bytes[at])))
            break;
        offsets.push_back(at);
        at += texture_command_size(program.Bytes[at]);
    }
    return offsets;
}

namespace {

// Programs that begin with the same commands: the shared ones run once, then
// each member goes on from a copy of the generator's state at that point.
struct ProgramFamily {
    std::vector<size_t> Members; // entries of the list, each a distinct program
    size_t Shared;               // commands all members begin with
    size_t Cost;                 // commands run for the whole family
};

} // namespace

std::vector<TextureImage> generate_textures_parallel(const TextureProgram* const* programs,
                                                     int threads) {
    size_t n = 0;
    if (programs)
        while (programs[n]) n++;
    std::vector<TextureImage> images(n); // zeroed: an image left untouched is black
    std::vector<std::vector<uint32_t>> offsets(n);
    for (size_t i = 0; i < n; i++) offsets[i] = command_offsets(*programs[i]);
    auto same_command = [&](size_t a, size_t b, size_t k) {
        const uint8_t* x = programs[a]->Bytes + offsets[a][k];
        const uint8_t* y = programs[b]->Bytes + offsets[b][k];
        return x[0] == y[0] && std::memcmp(x, y, texture_command_size(x[0])) == 0;
    };
    auto shared_commands = [&](size_t a, size_t b) {
        size_t k = 0;
        while (k < offsets[a].size() && k < offsets[b].size() && same_command(a, b, k)) k++;
        return k;
    };

    // The first entry of each program runs it; later ones get copies.
    std::vector<ProgramFamily> families;
    std::vector<bool> placed(n, false);
    for (size_t i = 0; i < n; i++) {
        if (placed[i]) continue;
        ProgramFamily family{{i}, offsets[i].size(), offsets[i].size()};
        placed[i] = true;
        for (size_t j = i + 1; j < n; j++) {
            if (placed[j] || programs[j] == programs[i]) continue;
            size_t k = shared_commands(i, j);
            if (k == 0) continue;
            family.Members.push_back(j);
            family.Shared = std::min(family.Shared, k);
            placed[j] = true;
        }
        for (size_t j = i + 1; j < n; j++) placed[j] = placed[j] || programs[j] == programs[i];
        family.Cost = family.Shared;
        for (size_t m : family.Members) family.Cost += offsets[m].size() - family.Shared;
        families.push_back(family);
    }
    // The longest first, so that no thread is left with a long one at the end.
    std::stable_sort(
        families.begin(), families.end(),
        [](const ProgramFamily& a, const ProgramFamily& b) { return a.Cost > b.Cost; });

    auto run_family = [&](const ProgramFamily& family) {
        texture_generator_init();
        TextureGeneratorState& g = TextureGenerator;
        for (TextureImage& layer : g.Layer) std::memset(layer.Pixels, 0, sizeof layer.Pixels);
        std::memset(g.ScratchA.Pixels, 0, sizeof g.ScratchA.Pixels);
        std::memset(g.ScratchB.Pixels, 0, sizeof g.ScratchB.Pixels);
        size_t first = family.Members[0];
        for (size_t k = 0; k < family.Shared; k++)
            execute_command(programs[first]->Bytes + offsets[first][k]);
        std::unique_ptr<TextureGeneratorState> fork;
        if (family.Members.size() > 1) fork = std::make_unique<TextureGeneratorState>(g);
        for (size_t m = 0; m < family.Members.size(); m++) {
            size_t member = family.Members[m];
            if (m > 0) g = *fork;
            for (size_t k = family.Shared; k < offsets[member].size(); k++)
                execute_command(programs[member]->Bytes + offsets[member][k]);
            std::memcpy(images[member].Pixels, g.Layer[0].Pixels, sizeof(TextureImage));
        }
    };

    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t k = next++; k < families.size(); k = next++) run_family(families[k]);
    };
    std::vector<std::thread> helpers;
    int wanted = std::min(threads, static_cast<int>(families.size())) - 1;
    for (int t = 0; t < wanted; t++) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();

    for (size_t i = 0; i < n; i++)
        for (size_t j = 0; j < i; j++)
            if (programs[j] == programs[i]) {
                images[i] = images[j];
                break;
            }
    return images;
}

} // namespace bb
