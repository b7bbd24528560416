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
        {{"--render-music", "m.wav", "--position", "256"}, "--position"},
        {{"--render-music", "m.wav", "--position", "-1"}, "--position"},
        {{"--render-music", "m.wav", "--seconds", "0"}, "--seconds"},
        {{"--render-music", "m.wav", "--seconds", "inf"}, "--seconds"},
        {{"--render-music", "m.wav", "--seconds", "nan"}, "--seconds"},
        {{"--render-music", "m.wav", "--seconds", "3601"}, "--seconds"},
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
