#include "app/options.h"
#include "app/settings.h"
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace bb;

namespace {

// Keeps the settings globals of the other tests as they were.
struct SettingsFixture : ::testing::Test {
    int32_t Saved[6];
    void SetUp() override {
        int32_t* g[] = {&DisplayWidth, &DisplayHeight, &Windowed,
                        &LightCount,   &ShadowsOn,     &SoundOn};
        for (int i = 0; i < 6; i++) Saved[i] = *g[i];
    }
    void TearDown() override {
        int32_t* g[] = {&DisplayWidth, &DisplayHeight, &Windowed,
                        &LightCount,   &ShadowsOn,     &SoundOn};
        for (int i = 0; i < 6; i++) *g[i] = Saved[i];
    }
};

DisplayModeList two_modes() {
    DisplayModeList list{};
    add_enumerated_mode(list, 800, 600, 32, 60);
    add_enumerated_mode(list, 1024, 768, 24, 75);
    return list;
}

std::string temporary_directory() {
    char name[] = "/tmp/brawlbox_settings_XXXXXX";
    EXPECT_NE(mkdtemp(name), nullptr);
    return name;
}

std::vector<std::string> files_in(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

} // namespace

TEST(DisplayModes, KeepsThirtyTwoBitModesAndTheFirstOfEachSize) {
    DisplayModeList list{};
    add_enumerated_mode(list, 640, 480, 16, 60); // 16-bit: not offered
    add_enumerated_mode(list, 800, 600, 32, 60);
    add_enumerated_mode(list, 800, 600, 32, 75);  // same size in a row: one line
    add_enumerated_mode(list, 1024, 768, 24, 60); // 24-bit colour is 32-bit pixels
    add_enumerated_mode(list, 800, 600, 32, 85);  // not in a row with the first: kept
    ASSERT_EQ(list.Count, 3);
    char label[40];
    format_display_mode(list.Modes[0], label, sizeof label);
    EXPECT_STREQ(label, "800x600 32bpp");
    EXPECT_EQ(list.Modes[0].RefreshRate, 60);
    format_display_mode(list.Modes[1], label, sizeof label);
    EXPECT_STREQ(label, "1024x768 32bpp");
    EXPECT_EQ(list.Modes[2].RefreshRate, 85);
}

TEST(DisplayModes, FullListDropsFurtherModes) {
    static DisplayModeList list{};
    for (int i = 0; i < MaxDisplayModes; i++)
        ASSERT_TRUE(add_enumerated_mode(list, 100 + i, 100, 32, 60));
    EXPECT_FALSE(add_enumerated_mode(list, 5000, 4000, 32, 60));
    EXPECT_EQ(list.Count, MaxDisplayModes);
    EXPECT_EQ(list.Modes[MaxDisplayModes - 1].Width, 100 + MaxDisplayModes - 1);
}

TEST(SettingsWindow, InitialLines) {
    DisplayModeList none{}, modes = two_modes();
    SettingsRecord windowed = {0, 0, 0, 0, 3, 0}, gone = {1600, 1200, 32, 60, 1, 1},
                   first = {800, 600, 32, 60, 0, 1}, bad = {800, 600, 32, 60, 9, 7};
    struct Case {
        const char* what;
        const DisplayModeList* modes;
        const SettingsRecord* saved;
        int mode, detail, sound;
    };
    const Case cases[] = {
        {"no modes: only the window line", &none, nullptr, 0, 2, 1},
        {"nothing saved: the last line, 4 lights, sound on", &modes, nullptr, 2, 2, 1},
        {"a saved window", &modes, &windowed, 0, 3, 0},
        {"a saved mode no longer offered: the last line", &modes, &gone, 2, 1, 1},
        {"a saved mode", &modes, &first, 1, 0, 1},
        {"saved lines out of range: the defaults'", &modes, &bad, 1, 2, 1},
    };
    for (const Case& c : cases) {
        SettingsChoices s = initial_settings_choices(*c.modes, c.saved);
        EXPECT_EQ(s.ModeLine, c.mode) << c.what;
        EXPECT_EQ(s.DetailLine, c.detail) << c.what;
        EXPECT_EQ(s.SoundLine, c.sound) << c.what;
    }
}

TEST_F(SettingsFixture, ApplyingTheChoices) {
    DisplayModeList modes = two_modes();
    struct Case {
        const char* what;
        SettingsChoices choices;
        int32_t width, height, windowed, lights, shadows, sound;
    };
    const Case cases[] = {
        {"windowed", {0, 2, 1}, 0, 0, 1, 4, 1, 1},
        {"a mode", {2, 2, 1}, 1024, 768, 0, 4, 1, 1},
        {"No Shadow: one light without shadows", {1, 0, 1}, 800, 600, 0, 1, 0, 1},
        {"2  Lights: two with shadows", {0, 1, 1}, 0, 0, 1, 2, 1, 1},
        {"12 Lights, SOUND OFF", {0, 3, 0}, 0, 0, 1, 12, 1, 0},
    };
    for (const Case& c : cases) {
        SettingsRecord r = record_from_choices(modes, c.choices);
        apply_settings_record(r);
        EXPECT_EQ(DisplayWidth, c.width) << c.what;
        EXPECT_EQ(DisplayHeight, c.height) << c.what;
        EXPECT_EQ(Windowed, c.windowed) << c.what;
        EXPECT_EQ(LightCount, c.lights) << c.what;
        EXPECT_EQ(ShadowsOn, c.shadows) << c.what;
        EXPECT_EQ(SoundOn, c.sound) << c.what;
        EXPECT_EQ(r.DetailIndex, c.choices.DetailLine) << c.what;
        EXPECT_EQ(r.SoundIndex, c.choices.SoundLine) << c.what;
    }
    SettingsRecord windowed = record_from_choices(modes, {0, 2, 1});
    EXPECT_EQ(windowed.BitsPerPixel, 0);
    EXPECT_EQ(windowed.RefreshRate, 0);
}

TEST_F(SettingsFixture, OptionsOverrideTheChoices) {
    apply_settings_record({0, 0, 0, 0, 3, 1});
    Options o;
    o.Underscore = true;
    apply_options_to_settings(o);
    EXPECT_EQ(LightCount, 2);
    EXPECT_EQ(ShadowsOn, 0);

    apply_settings_record({800, 600, 32, 60, 0, 1});
    Options lights;
    lights.Lights = 12;
    apply_options_to_settings(lights);
    EXPECT_EQ(LightCount, 12);
    EXPECT_EQ(ShadowsOn, 0); // "No Shadow" keeps its shadows off
    EXPECT_EQ(DisplayWidth, 800);
}

TEST(SettingsWindow, ShownOnlyForAGameStartedForPlay) {
    struct Case {
        std::vector<const char*> args;
        bool shown;
    };
    const Case cases[] = {
        {{}, true},
        {{"_", "--lights", "12", "--fullscreen"}, true},
        {{"--scene", "bout"}, true},
        {{"--headless"}, false},
        {{"--skip-settings"}, false},
        {{"--input", "x.txt"}, false},
        {{"--ticks", "10"}, false},
        {{"--screenshot", "5:a.png"}, false},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"brawlbox"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options o;
        std::string error;
        ASSERT_EQ(parse_command_line(static_cast<int>(argv.size()), argv.data(), o, error), ParseOk)
            << error;
        EXPECT_EQ(shows_settings_window(o), c.shown) << (c.args.empty() ? "" : c.args[0]);
    }
}

TEST(SettingsFile, PathFollowsTheBaseDirectoryRules) {
    EXPECT_EQ(settings_file_path("/x/cfg", "/home/p"), "/x/cfg/brawlbox/settings.ini");
    EXPECT_EQ(settings_file_path("", "/home/p"), "/home/p/.config/brawlbox/settings.ini");
    EXPECT_EQ(settings_file_path("relative", "/home/p"), "/home/p/.config/brawlbox/settings.ini");
    EXPECT_EQ(settings_file_path(nullptr, nullptr), "");
    EXPECT_EQ(settings_file_path(nullptr, ""), "");
}

TEST(SettingsFile, RoundTripThroughANewDirectory) {
    std::string dir = temporary_directory();
    std::string path = dir + "/cfg/brawlbox/settings.ini";
    SettingsRecord in = {1280, 1024, 32, 75, 3, 0}, out{};
    std::string error, message;
    ASSERT_TRUE(write_settings_file(path, in, error)) << error;
    ASSERT_EQ(read_settings_file(path, out, message), SettingsLoaded) << message;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&in), sizeof in),
              std::string(reinterpret_cast<char*>(&out), sizeof out));

    // Written again over the old file, with no temporary file left behind.
    SettingsRecord windowed = {0, 0, 0, 0, 0, 1};
    ASSERT_TRUE(write_settings_file(path, windowed, error)) << error;
    ASSERT_EQ(read_settings_file(path, out, message), SettingsLoaded) << message;
    EXPECT_EQ(out.Width, 0);
    EXPECT_EQ(out.DetailIndex, 0);
    EXPECT_EQ(files_in(dir + "/cfg/brawlbox"), std::vector<std::string>{"settings.ini"});
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(SettingsFile, MalformedTextIsRefusedWithItsLine) {
    const std::string good = "[settings]\nwidth = 800\nheight = 600\nbits_per_pixel = 32\n"
                             "refresh_rate = 60\ndetail = 1\nsound = 0\n";
    SettingsRecord r{};
    std::string problem;
    ASSERT_TRUE(parse_settings_text("# comment\n\n" + good, r, problem)) << problem;
    EXPECT_EQ(r.Width, 800);
    EXPECT_EQ(r.DetailIndex, 1);
    ASSERT_TRUE(parse_settings_text("  [settings]\r\n sound=1\r\nwidth =0\nheight= 0\n"
                                    "bits_per_pixel = 0\nrefresh_rate = 0\ndetail = 3",
                                    r, problem))
        << problem;
    EXPECT_EQ(r.SoundIndex, 1);
    EXPECT_EQ(r.DetailIndex, 3);

    struct Case {
        std::string text;
        const char* problem;
    };
    const Case cases[] = {
        {"", "no width"},
        {"width = 800\n", "line 1: a value before the [settings] section"},
        {"[other]\n", "line 1: unknown section [other]"},
        {good + "colour = 3\n", "line 8: unknown key 'colour'"},
        {good + "sound = 1\n", "line 8: sound given twice"},
        {"[settings]\ndetail\n", "line 2: no 'key = value'"},
        {"[settings]\ndetail = 4\n", "line 2: detail needs a whole number from 0 to 3"},
        {"[settings]\ndetail = -1\n", "line 2: detail needs a whole number from 0 to 3"},
        {"[settings]\nwidth = 8x0\n", "line 2: width needs a whole number from 0 to 65535"},
        {"[settings]\nwidth = 99999999999\n", "line 2: width needs a whole number from 0 to 65535"},
        {"[settings]\nwidth =\n", "line 2: width needs a whole number from 0 to 65535"},
        {"[settings]\nwidth = 800\nheight = 600\nbits_per_pixel = 32\nrefresh_rate = 60\n"
         "detail = 1\n",
         "no sound"},
        {"[settings]\nwidth = 800\nheight = 0\nbits_per_pixel = 32\nrefresh_rate = 60\n"
         "detail = 1\nsound = 1\n",
         "width and height are both 0 (a window) or both a mode's"},
    };
    for (const Case& c : cases) {
        SettingsRecord untouched = {1, 2, 3, 4, 5, 6};
        std::string p;
        EXPECT_FALSE(parse_settings_text(c.text, untouched, p)) << c.text;
        EXPECT_EQ(p, c.problem) << c.text;
        EXPECT_EQ(untouched.Width, 1) << c.text;
    }
}

TEST(SettingsFile, MissingUnreadableOrBadFilesGiveTheDefaults) {
    std::string dir = temporary_directory();
    auto write = [&](const char* name, const std::string& bytes) {
        FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    write("binary.ini", std::string("[settings]\0\1\2", 13));
    write("long.ini", "[settings]\n" + std::string(5000, '#'));
    write("bad.ini", "[settings]\ndetail = 12\n");
    mkdir((dir + "/directory.ini").c_str(), 0755);
    struct Case {
        std::string path;
        SettingsFileResult result;
        const char* says;
    };
    const Case cases[] = {
        {dir + "/none.ini", SettingsMissing, "no saved settings in"},
        {"", SettingsMissing, "neither XDG_CONFIG_HOME nor HOME"},
        {dir + "/directory.ini", SettingsUnusable, "it cannot be read"},
        {dir + "/binary.ini", SettingsUnusable, "it is not text"},
        {dir + "/long.ini", SettingsUnusable, "it is too long"},
        {dir + "/bad.ini", SettingsUnusable, "line 2: detail needs"},
    };
    for (const Case& c : cases) {
        SettingsRecord r = {1, 2, 3, 4, 5, 6};
        std::string message;
        EXPECT_EQ(read_settings_file(c.path, r, message), c.result) << c.path;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        EXPECT_EQ(r.Width, 1) << c.path;
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(SettingsFile, WriteFailureLeavesTheOldFile) {
    std::string dir = temporary_directory();
    std::string path = dir + "/settings.ini", error;
    ASSERT_TRUE(write_settings_file(path, {800, 600, 32, 60, 1, 1}, error)) << error;
    EXPECT_FALSE(
        write_settings_file(dir + "/settings.ini/x/settings.ini", DefaultSettingsRecord, error));
    EXPECT_NE(error.find("settings.ini"), std::string::npos) << error;
    EXPECT_FALSE(write_settings_file("", DefaultSettingsRecord, error));
    if (getuid() != 0) {
        // A directory that cannot be written: the old file stays whole.
        chmod(dir.c_str(), 0555);
        EXPECT_FALSE(write_settings_file(path, DefaultSettingsRecord, error));
        chmod(dir.c_str(), 0755);
    }
    SettingsRecord r{};
    std::string message;
    ASSERT_EQ(read_settings_file(path, r, message), SettingsLoaded) << message;
    EXPECT_EQ(r.Width, 800);
    EXPECT_EQ(files_in(dir), std::vector<std::string>{"settings.ini"});
    std::system(("rm -rf '" + dir + "'").c_str());
}
