#include "app/options.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <vector>

using namespace bb;

namespace {

ParseResult parse(std::vector<const char*> args, Options& o, std::string& error) {
    args.insert(args.begin(), "brawlbox");
    return parse_command_line(static_cast<int>(args.size()), args.data(), o, error);
}

} // namespace

TEST(CommandLine, UnderscoreSwitchOnlyWhenLeading) {
    struct Case {
        std::vector<const char*> args;
        bool underscore;
    };
    const Case cases[] = {
        {{"_"}, true},           {{"_anything"}, true}, {{"_", "--headless"}, true},
        {{"--headless"}, false}, {{}, false},
    };
    for (const Case& c : cases) {
        Options o;
        std::string error;
        EXPECT_EQ(parse(c.args, o, error), ParseOk) << error;
        EXPECT_EQ(o.Underscore, c.underscore);
    }
    // "_" later on the line is no switch; here it is an unknown argument.
    Options o;
    std::string error;
    EXPECT_EQ(parse({"--headless", "_"}, o, error), ParseError);
    EXPECT_FALSE(o.Underscore);
}

TEST(CommandLine, UnderscoreForcesTwoLightsWithoutShadows) {
    int32_t lights = LightCount, shadows = ShadowsOn;
    Options o;
    o.Underscore = true;
    apply_options_to_settings(o);
    EXPECT_EQ(LightCount, 2);
    EXPECT_EQ(ShadowsOn, 0);
    LightCount = lights;
    ShadowsOn = shadows;
}

TEST(CommandLine, ValuesAndErrors) {
    Options o;
    std::string error;
    ASSERT_EQ(parse({"--headless", "--ticks", "1000"}, o, error), ParseOk);
    EXPECT_TRUE(o.Headless);
    EXPECT_EQ(o.Ticks, 1000);

    struct Bad {
        std::vector<const char*> args;
        const char* named;
    };
    const Bad bad[] = {
        {{"--bogus"}, "--bogus"},
        {{"--ticks"}, "--ticks"},
        {{"--ticks", "-5"}, "--ticks"},
        {{"--ticks", "12x"}, "--ticks"},
        {{"--ticks", "99999999999999999999"}, "--ticks"},
        {{"--render-music"}, "--render-music"},
        {{"--render-music", "--seconds", "2"}, "--render-music"},
        {{"--ticks", " 5"}, "--ticks"},
        {{"--ticks", "+5"}, "--ticks"},
        {{"--render-music", "m.wav", "--position", "+3"}, "--position"},
        {{"--render-music", "m.wav", "--position", "-1"}, "--position"},
        {{"--render-music", "m.wav", "--seconds", "0"}, "--seconds"},
        {{"--render-music", "m.wav", "--seconds", "inf"}, "--seconds"},
        {{"--render-music", "m.wav", "--seconds", "nan"}, "--seconds"},
        {{"--render-music", "m.wav", "--seconds", "3601"}, "--seconds"},
        {{"--render-music", "m.wav", "--seconds", "1e3"}, "--seconds"},
        {{"--seconds", "5"}, "--seconds"},
        {{"--position", "6"}, "--position"},
    };
    for (const Bad& b : bad) {
        Options bo;
        std::string e;
        EXPECT_EQ(parse(b.args, bo, e), ParseError);
        EXPECT_NE(e.find(b.named), std::string::npos) << e;
        EXPECT_EQ(e.find('\n'), std::string::npos);
    }
    Options ho;
    EXPECT_EQ(parse({"--help"}, ho, error), ParseHelp);

    Options ro;
    ASSERT_EQ(parse({"--render-music", "m.wav"}, ro, error), ParseOk) << error;
    EXPECT_EQ(ro.RenderMusicPath, "m.wav");
    EXPECT_EQ(ro.RenderPosition, 3);
    EXPECT_EQ(ro.RenderSeconds, 30.0);
    ASSERT_EQ(parse({"--seconds", "2.5", "--position", "9", "--render-music", "b.wav"}, ro, error),
              ParseOk)
        << error;
    EXPECT_EQ(ro.RenderPosition, 9);
    EXPECT_EQ(ro.RenderSeconds, 2.5);
}

TEST(CommandLine, DumpTexturesTakesADirectory) {
    Options o;
    std::string error;
    ASSERT_EQ(parse({"--dump-textures", "out/"}, o, error), ParseOk) << error;
    EXPECT_EQ(o.DumpTexturesDir, "out/");
    for (auto args : {std::vector<const char*>{"--dump-textures"},
                      std::vector<const char*>{"--dump-textures", ""}}) {
        Options bo;
        EXPECT_EQ(parse(args, bo, error), ParseError);
        EXPECT_NE(error.find("--dump-textures"), std::string::npos) << error;
    }
}

TEST(CommandLine, RenderingOptions) {
    Options o;
    std::string error;
    ASSERT_EQ(parse({"--lights", "12", "--no-shadows", "--fullscreen", "--stats", "--screenshot",
                     "400:bout.png", "--screenshot", "0:a:b.png"},
                    o, error),
              ParseOk)
        << error;
    EXPECT_EQ(o.Lights, 12);
    EXPECT_TRUE(o.NoShadows);
    EXPECT_TRUE(o.Fullscreen);
    EXPECT_TRUE(o.Stats);
    ASSERT_EQ(o.Screenshots.size(), 2u);
    EXPECT_EQ(o.Screenshots[0].Tick, 400);
    EXPECT_EQ(o.Screenshots[0].File, "bout.png");
    EXPECT_EQ(o.Screenshots[1].Tick, 0);
    EXPECT_EQ(o.Screenshots[1].File, "a:b.png");

    struct Bad {
        std::vector<const char*> args;
        const char* named;
    };
    const Bad bad[] = {
        {{"--lights"}, "--lights"},
        {{"--lights", "3"}, "--lights"},
        {{"--lights", "0"}, "--lights"},
        {{"--lights", "4x"}, "--lights"},
        {{"--screenshot"}, "--screenshot"},
        {{"--screenshot", "400"}, "--screenshot"},
        {{"--screenshot", "400:"}, "--screenshot"},
        {{"--screenshot", ":a.png"}, "--screenshot"},
        {{"--screenshot", "-1:a.png"}, "--screenshot"},
        {{"--headless", "--screenshot", "5:a.png"}, "--screenshot"},
    };
    for (const Bad& b : bad) {
        Options bo;
        std::string e;
        EXPECT_EQ(parse(b.args, bo, e), ParseError) << b.args.size();
        EXPECT_NE(e.find(b.named), std::string::npos) << e;
    }
}

TEST(CommandLine, LightsAndShadowsOverrideTheSettingsAfterTheUnderscore) {
    int32_t lights = LightCount, shadows = ShadowsOn, windowed = Windowed, w = DisplayWidth,
            h = DisplayHeight;
    Options o;
    o.Underscore = true;
    o.Lights = 12;
    apply_options_to_settings(o);
    EXPECT_EQ(LightCount, 12);
    EXPECT_EQ(ShadowsOn, 0);

    Options f;
    f.NoShadows = true;
    f.Fullscreen = true;
    LightCount = 4;
    ShadowsOn = 1;
    apply_options_to_settings(f);
    EXPECT_EQ(LightCount, 4);
    EXPECT_EQ(ShadowsOn, 0);
    EXPECT_EQ(Windowed, 0);
    EXPECT_EQ(DisplayWidth * DisplayHeight, 0); // the desktop's mode, once the window is open
    LightCount = lights;
    ShadowsOn = shadows;
    Windowed = windowed;
    DisplayWidth = w;
    DisplayHeight = h;
}

TEST(CommandLine, NoSoundAndHeadlessTurnTheSoundOff) {
    const int32_t sound = SoundOn;
    for (auto args :
         {std::vector<const char*>{"--no-sound"}, std::vector<const char*>{"--headless"}}) {
        Options o;
        std::string error;
        ASSERT_EQ(parse(args, o, error), ParseOk) << error;
        SoundOn = 1;
        apply_options_to_settings(o);
        EXPECT_EQ(SoundOn, 0) << args[0];
    }
    Options o;
    SoundOn = 1;
    apply_options_to_settings(o);
    EXPECT_EQ(SoundOn, 1);
    SoundOn = sound;
}

// Modes that write a file and exit take none of a game run's options, and an
// option that needs another is refused without it; the message names both.
TEST(CommandLine, CombinationsThatWouldBeDroppedAreRefused) {
    struct Case {
        std::vector<const char*> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--render-music", "x.wav", "--dump-textures", "d"},
         "--render-music cannot be used with --dump-textures"},
        {{"--dump-textures", "d", "--render-music", "x.wav"},
         "--render-music cannot be used with --dump-textures"},
        {{"--render-music", "x.wav", "--input", "i.txt"},
         "--render-music cannot be used with --input"},
        {{"--trace", "t.jsonl", "--render-music", "x.wav"},
         "--render-music cannot be used with --trace"},
        {{"--render-music", "x.wav", "--ticks", "5"}, "--render-music cannot be used with --ticks"},
        {{"_", "--render-music", "x.wav"}, "--render-music cannot be used with _"},
        {{"--dump-textures", "d", "--headless"}, "--dump-textures cannot be used with --headless"},
        {{"--dump-textures", "d", "--lights", "2"}, "--dump-textures cannot be used with --lights"},
        {{"--dump-sounds", "d", "--dump-textures", "t"},
         "--dump-textures cannot be used with --dump-sounds"},
        {{"--dump-sounds", "d", "--no-sound"}, "--dump-sounds cannot be used with --no-sound"},
        {{"--render-music", "x.wav", "--skip-settings"},
         "--render-music cannot be used with --skip-settings"},
        {{"--two-players"}, "--two-players only goes with --scene bout"},
        {{"--two-players", "--scene", "demo"}, "--two-players only goes with --scene bout"},
        {{"--seconds", "5"}, "--seconds only goes with --render-music"},
        {{"--headless", "--fullscreen"}, "--fullscreen cannot be used with --headless"},
        {{"--ticks", "5", "--ticks", "6"}, "--ticks given twice"},
        {{"--scene", "bout", "--scene", "demo"}, "--scene given twice"},
    };
    for (const Case& c : cases) {
        Options o;
        std::string error;
        EXPECT_EQ(parse(c.args, o, error), ParseError) << c.message;
        EXPECT_EQ(error, c.message);
    }
    Options o;
    std::string error;
    EXPECT_EQ(parse({"--scene", "bout", "--two-players", "--screenshot", "1:a.png", "--screenshot",
                     "2:b.png", "--headless", "--headless"},
                    o, error),
              ParseError);
    EXPECT_EQ(error, "--screenshot cannot be used with --headless");
    Options b;
    EXPECT_EQ(parse({"--two-players", "--scene", "bout", "--stats", "--stats"}, b, error), ParseOk)
        << error;
    EXPECT_TRUE(b.TwoPlayers);
}

TEST(CommandLine, BadTokensAreQuotedShortAndEscaped) {
    std::string huge(5 << 20, 'k');
    const std::string shown = "'" + std::string(60, 'k') + "'...";
    struct Case {
        std::vector<const char*> args;
        std::string message;
    };
    const Case cases[] = {
        {{huge.c_str()}, "unknown option " + shown + " (see --help)"},
        {{"--ticks", huge.c_str()}, "--ticks needs a whole number of ticks, got " + shown},
        {{"--scene", "\x1b]0;pwned\x07"},
         "--scene needs one of menu, hidden, bout, practice, demo, got '\\x1b]0;pwned\\x07'"},
        {{"--lights"}, "--lights needs 1, 2, 4 or 12, got nothing"},
    };
    for (const Case& c : cases) {
        Options o;
        std::string error;
        EXPECT_EQ(parse(c.args, o, error), ParseError);
        EXPECT_EQ(error, c.message);
    }
}
