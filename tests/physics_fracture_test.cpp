#include "app/debug_log.h"
#include "audio/sound_effects.h"
#include "math/random_stream.h"
#include "physics/fracture.h"
#include "physics/world_step.h"
#include "physics_fixture.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace bb;

namespace {

struct FractureTest : PhysicsWorldTest {
    void SetUp() override {
        PhysicsWorldTest::SetUp();
        BrokenItemId = 0;
        random_seed(1434, 6431);
    }
    std::vector<Body*> pieces_after(int first) {
        std::vector<Body*> out;
        for (int i = first; i < BodyCount; i++) out.push_back(&Bodies[i]);
        return out;
    }
};

Body* wall_block() {
    Body* block = make_box(8, -4, 0.5f, 0, 3, 0, 5, 0.0625f);
    make_static(*block);
    block->BreakThreshold = 40;
    block->Density = 3;
    block->SoundId = 2;
    block->SoundGain = 0.6f;
    return block;
}

} // namespace

TEST_F(FractureTest, ThrownCubeBreaksAWallBlock) {
    Body* ground = make_box(60, -1, 60, 0, -2, 0, 1, 1);
    make_static(*ground);
    Body* block = wall_block();
    block->ItemId = 3;
    Body* cube = make_box(1.2f, -1.2f, 1.2f, 0, 4, -10, 2, 0.125f);
    scale_mass(*cube, 3);
    cube->Velocity = {0, 0, 2};
    HasStepped = 1;
    int first_piece = BodyCount;
    for (int tick = 0; tick < 20 && !block->Removed; tick++) {
        TickCount++;
        world_step();
    }
    ASSERT_TRUE(block->Removed);
    EXPECT_EQ(BrokenItemId, 3);
    std::vector<Body*> pieces = pieces_after(first_piece);
    ASSERT_GE(pieces.size(), 1u);
    ASSERT_LE(pieces.size(), 5u);
    float volume = 0;
    for (Body* p : pieces) {
        EXPECT_EQ(p->Fixed, 0);
        EXPECT_EQ(p->TextureIndex, 5);
        EXPECT_EQ(p->SoundId, 2);
        EXPECT_FLOAT_EQ(p->Mass, 3 * p->Volume);
        EXPECT_FLOAT_EQ(p->BreakThreshold, 120.0f);
        EXPECT_EQ(p->JointLinks, nullptr);
        volume += p->Volume;
    }
    EXPECT_NEAR(volume, block->Volume, block->Volume * 1e-4f);
}

TEST_F(FractureTest, PiecesFillTheBodyAndStartAtTheirPlaces) {
    Body* box = make_box(2, -1, 1.5f, 10, 20, 30, 4, 0.5f);
    mat3_post_rotate_y(box->Orientation, 0.4f);
    box->Velocity = {0.1f, 0.2f, 0.3f};
    box->AngularVelocity = {0.01f, 0, 0};
    box->ItemId = 5;
    BrokenItemId = 3;
    HasStepped = 0;
    int64_t sounds = SoundTriggerCount;
    int first = BodyCount;
    break_body(*box, box->Position);
    HasStepped = 1;
    EXPECT_TRUE(box->Removed);
    EXPECT_EQ(BrokenItemId, 3); // the first broken item is kept
    ASSERT_EQ(SoundTriggerCount - sounds, 1);
    const SoundTrigger& t = RecentSoundTriggers[(SoundTriggerCount - 1) % RecentSoundTriggerCount];
    EXPECT_EQ(t.Effect, 1);
    EXPECT_FLOAT_EQ(t.Volume, 0.25f);
    EXPECT_FLOAT_EQ(t.Frequency, std::pow(box->Volume / 140.0f, -0.25f));

    std::vector<Body*> pieces = pieces_after(first);
    ASSERT_EQ(pieces.size(), 5u);
    float volume = 0;
    for (Body* p : pieces) {
        volume += p->Volume;
        Vec3 c = p->TextureOffset; // the piece's centroid in the box's frame
        Vec3 expected = body_to_world(*box, vec3_scale(c, 1.01f));
        EXPECT_NEAR(p->Position.x, expected.x, 1e-4f);
        EXPECT_NEAR(p->Position.y, expected.y, 1e-4f);
        EXPECT_NEAR(p->Position.z, expected.z, 1e-4f);
        EXPECT_NEAR(p->Centroid.x, 0, 1e-4f);
        EXPECT_EQ(p->Velocity.z, 0.3f);
        EXPECT_EQ(p->AngularVelocity.x, 0.01f);
        EXPECT_EQ(p->Orientation.m[0], box->Orientation.m[0]);
        EXPECT_FLOAT_EQ(p->Mass, p->Volume);
        EXPECT_EQ(p->BreakThreshold, 100000.0f); // broken before any step
        int cut = 0;
        for (BodyFace* f = p->Faces; f != p->FacesEnd; f++) cut += f->Tag == -1;
        EXPECT_GE(cut, 1);
    }
    EXPECT_NEAR(volume, box->Volume, box->Volume * 1e-4f);
    // A removed body does not break again.
    int count = BodyCount;
    break_body(*box, box->Position);
    EXPECT_EQ(BodyCount, count);
}

TEST_F(FractureTest, JointEndsGoToThePieceOfTheNearestSeed) {
    Body* arm = make_box(3, -0.5f, 0.5f, 0, 10, 0, 0, 1);
    Body* hand = make_box(0.5f, -0.5f, 0.5f, 3.5f, 10, 0, 0, 1);
    Joint& j = Joints[JointCount++];
    j = Joint{};
    j.BodyA = arm;
    j.BodyB = hand;
    j.AnchorA = {3, 0, 0};
    j.AnchorB = {-0.5f, 0, 0};
    rebuild_joint_links();
    const Vec3 seeds[3] = {{-2, 0, 0}, {0, 0, 0}, {2.5f, 0, 0}};
    int first = BodyCount;
    split_body(*arm, seeds, 3);
    ASSERT_EQ(BodyCount, first + 3);
    Body* nearest = &Bodies[first + 2];
    EXPECT_EQ(j.BodyA, nearest);
    Vec3 c = nearest->TextureOffset;
    EXPECT_NEAR(j.AnchorA.x, 3 - c.x, 1e-5f);
    EXPECT_EQ(j.BodyB, hand);
    EXPECT_EQ(nearest->JointLinks, nullptr);
}

// The empty piece's line goes to the state folder, and only when asked for;
// never into the working directory.
TEST_F(FractureTest, EmptyPieceIsLoggedAndSkipped) {
    std::string state = ::testing::TempDir() + "fracture_state_" + std::to_string(getpid());
    std::string log_path = state + "/brawlbox/debug.log";
    const char* home = std::getenv("HOME");
    const std::string saved_home = home ? home : "";
    // A relative XDG_STATE_HOME is to be ignored.
    setenv("HOME", "/home/player", 1);
    setenv("XDG_STATE_HOME", "state", 1);
    EXPECT_EQ(debug_log_path(), "/home/player/.local/state/brawlbox/debug.log");
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    ASSERT_EQ(debug_log_path(), log_path);
    std::remove("debug.!");
    auto break_with_empty_piece = [&] {
        Body* box = make_box(1, -1, 1, 0, 0, 0, 0, 1);
        // The second seed lies far outside: its cell misses the box.
        const Vec3 seeds[2] = {{0, 0, 0}, {50, 0, 0}};
        int first = BodyCount;
        split_body(*box, seeds, 2);
        EXPECT_EQ(BodyCount, first + 1);
        EXPECT_TRUE(box->Removed);
    };
    auto file_text = [](const std::string& path) {
        std::ifstream f(path);
        std::stringstream text;
        text << f.rdbuf();
        return f ? text.str() : std::string("(none)");
    };

    unsetenv("BRAWLBOX_DEBUG_LOG");
    break_with_empty_piece();
    EXPECT_EQ(file_text(log_path), "(none)");

    setenv("BRAWLBOX_DEBUG_LOG", "1", 1);
    break_with_empty_piece();
    unsetenv("BRAWLBOX_DEBUG_LOG");
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(file_text(log_path), "halott 0\n");
    EXPECT_EQ(file_text("debug.!"), "(none)");
    std::filesystem::remove_all(state);
    if (home)
        setenv("HOME", saved_home.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST_F(FractureTest, LimitsOfABreak) {
    // A sliver the scatter cube hardly meets: the draws give up, no piece.
    Body* sliver = make_box(1, -1e-7f, 1, 0, 0, 0, 0, 1);
    int count = BodyCount;
    break_body(*sliver, sliver->Position);
    EXPECT_TRUE(sliver->Removed);
    EXPECT_LE(BodyCount - count, 5);

    // A nearly full world makes the pieces that fit.
    BodyCount = 0;
    while (BodyCount < MaxBodies - 2) make_box(1, -1, 1, 0, 0, 0, 0, 1);
    Body* box = make_box(1, -1, 1, 0, 0, 0, 0, 1);
    break_body(*box, box->Position);
    EXPECT_EQ(BodyCount, MaxBodies);
    EXPECT_TRUE(box->Removed);
}

TEST_F(FractureTest, ThousandsOfBreaksReuseStorage) {
    BodyFaceRef* piece_refs = nullptr;
    for (int round = 0; round < 3000; round++) {
        BodyCount = 0;
        Body* box = make_box(1, -1, 1, 0, 0, 0, 0, 1);
        break_body(*box, box->Position);
        ASSERT_GT(BodyCount, 1);
        if (round == 0) piece_refs = Bodies[1].FaceRefs;
        ASSERT_EQ(Bodies[1].FaceRefs, piece_refs);
    }
}
