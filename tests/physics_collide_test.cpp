#include "physics/world.h"
#include "physics_fixture.h"

#include <cmath>

using namespace bb;

using CollideTest = PhysicsWorldTest;

namespace {

// A static slab whose top is at y = top, then a unit-density box of half size
// h whose bottom sinks depth into it.
Body* slab_and_box(float top, float h, float depth, float x = 0) {
    Body* slab = make_box(60, -1, 60, 0, top - 1, 0, 0, 1);
    make_static(*slab);
    return make_box(h, -h, h, x, top + h - depth, 0, 0, 1);
}

} // namespace

TEST_F(CollideTest, BoxRestingOnSlab) {
    Body* box = slab_and_box(1, 1, 0.1f);
    detect_collisions();
    ASSERT_EQ(ContactCount, 4);
    for (int i = 0; i < 4; i++) {
        const Contact& c = Contacts[i];
        EXPECT_EQ(c.BodyA, box);
        EXPECT_EQ(c.BodyB, &Bodies[0]);
        EXPECT_NEAR(c.Normal.x, 0, 1e-6f);
        EXPECT_FLOAT_EQ(c.Normal.y, -1);
        EXPECT_NEAR(c.Normal.z, 0, 1e-6f);
        // Where the box's side edges cross the slab's top.
        EXPECT_NEAR(c.Point.y, 1.0f, 1e-5f);
        EXPECT_NEAR(std::fabs(c.Point.x), 1.0f, 1e-5f);
        EXPECT_NEAR(std::fabs(c.Point.z), 1.0f, 1e-5f);
        EXPECT_EQ(c.PassesLeft, 3);
        EXPECT_EQ(c.WarmStarted, 0);
    }
    ASSERT_EQ(PenetrationCount, 1);
    const PenetrationImpulse& p = Penetrations[0];
    EXPECT_NEAR(p.Point.x, 0, 1e-5f);
    EXPECT_NEAR(p.Point.y, 0.95f, 1e-5f);
    EXPECT_NEAR(p.Point.z, 0, 1e-5f);
    // Overlap volume 6 * 0.4; the slab adds no inverse mass.
    EXPECT_GT(p.Impulse.y, 0);
    EXPECT_NEAR(p.Impulse.y, 2.4f / box->InverseMass * PenetrationStiffness, 1e-6f);
    EXPECT_FLOAT_EQ(PenetrationStiffness, 0.00049f);
    EXPECT_EQ(box->LastContactTick, 77);
    EXPECT_EQ(box->LastGroundTick, 77);
    EXPECT_EQ(box->LastOutsideTick, 0);
    EXPECT_EQ(Bodies[0].LastGroundTick, 77);
}

TEST_F(CollideTest, WhichPairsAreTested) {
    struct Case {
        const char* what;
        bool a_static, a_asleep, b_static, b_asleep;
        bool tested;
    };
    const Case cases[] = {
        {"two static", true, false, true, false, false},
        {"two resting", false, true, false, true, false},
        {"static and resting", true, false, false, true, false},
        {"moving and resting", false, false, false, true, true},
        {"moving and static", false, false, true, false, true},
        {"two moving", false, false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        Body* a = make_box(1, -1, 1, 0, 0, 0, 0, 1);
        Body* b = make_box(1, -1, 1, 0.5f, 0.5f, 0, 0, 1);
        if (c.a_static) make_static(*a);
        if (c.b_static) make_static(*b);
        a->Asleep = c.a_asleep;
        b->Asleep = c.b_asleep;
        a->RestTicks = b->RestTicks = 20;
        detect_collisions();
        EXPECT_EQ(ContactCount > 0, c.tested);
        if (c.tested) {
            EXPECT_EQ(a->Asleep, 0);
            EXPECT_EQ(b->Asleep, 0);
            EXPECT_EQ(a->RestTicks, c.b_static ? 20 : 0);
            EXPECT_EQ(b->RestTicks, c.a_static ? 20 : 0);
        }
    }
}

TEST_F(CollideTest, JointTiedAndDistantBodiesMakeNothing) {
    Body* a = make_box(1, -1, 1, 0, 0, 0, 0, 1);
    Body* b = make_box(1, -1, 1, 0.5f, 0, 0, 0, 1);
    JointLink link = {nullptr, nullptr, a};
    b->JointLinks = &link;
    detect_collisions();
    EXPECT_EQ(ContactCount, 0);
    b->JointLinks = nullptr;
    b->Position = {2 * std::sqrt(3.0f), 0, 0}; // spheres just touch: not tested
    detect_collisions();
    EXPECT_EQ(ContactCount, 0);
}

TEST_F(CollideTest, TinyOverlapGivesContactsButNoStamps) {
    Body* box = slab_and_box(1, 1e-4f, 1e-4f);
    detect_collisions();
    EXPECT_GT(ContactCount, 0);
    EXPECT_EQ(PenetrationCount, 0);
    EXPECT_EQ(box->LastGroundTick, 0);
    EXPECT_EQ(box->LastContactTick, 0);
}

TEST_F(CollideTest, WarmStartHandsOutLastTicksImpulsesInOrder) {
    Body* box = slab_and_box(1, 1, 0.1f);
    ContactCacheEntry& other = ContactCachePool[0];
    ContactCacheEntry& mine = ContactCachePool[1];
    other = {box, 3, {}, &mine}; // an entry for another pair comes first
    mine = {&Bodies[0], 2, {}, nullptr};
    mine.Impulses[0] = {0.1f, 0.2f, 0.3f};
    mine.Impulses[1] = {0.4f, 0.5f, 0.6f};
    box->ContactCache = &other;
    detect_collisions();
    ASSERT_EQ(ContactCount, 4);
    EXPECT_EQ(Contacts[0].WarmStarted, 1);
    EXPECT_EQ(Contacts[0].Impulse.y, 0.2f);
    EXPECT_EQ(Contacts[1].WarmStarted, 1);
    EXPECT_EQ(Contacts[1].Impulse.z, 0.6f);
    EXPECT_EQ(Contacts[2].WarmStarted, 0);
    EXPECT_EQ(Contacts[2].Impulse.y, 0.0f);
}

TEST_F(CollideTest, OutsideStampBeyondTheRing) {
    // Touching the ring's top (y = 5) near the centre, and 40 units out.
    Body* near_box = slab_and_box(5, 1, 0.1f, 10);
    Body* far_box = make_box(1, -1, 1, 40, 5.9f, 0, 0, 1);
    // A jointed figure's body is stamped by the ring, not the other way round.
    JointLink link = {nullptr, nullptr, near_box};
    far_box->JointLinks = &link;
    detect_collisions();
    EXPECT_EQ(near_box->LastGroundTick, 77);
    EXPECT_EQ(near_box->LastOutsideTick, 0);
    EXPECT_EQ(far_box->LastGroundTick, 77);
    EXPECT_EQ(far_box->LastOutsideTick, 77);
    EXPECT_EQ(Bodies[0].LastGroundTick, 77);
    // The ring is stamped only by the loose box, whose overlap lies inside.
    EXPECT_EQ(Bodies[0].LastOutsideTick, 0);
}

TEST_F(CollideTest, FullContactArraysDropTheRest) {
    slab_and_box(1, 1, 0.1f);
    ContactCount = MaxContacts - 2;
    PenetrationCount = MaxPenetrations;
    detect_collisions();
    EXPECT_EQ(ContactCount, MaxContacts);
    EXPECT_EQ(PenetrationCount, MaxPenetrations);
    EXPECT_EQ(DroppedContacts, 3);
}

TEST_F(CollideTest, PlaneHeapOrderAndLimit) {
    static PlaneHeap heap;
    heap.Count = 0;
    for (int i = 0; i < MaxHeapPlanes; i++)
        ASSERT_TRUE(heap_push(heap, static_cast<float>((i * 37) % 101) - 50, {float(i), 0, 0}));
    EXPECT_FALSE(heap_push(heap, -1000, {0, 0, 0}));
    EXPECT_EQ(heap.Count, MaxHeapPlanes);
    float last = -1e9f;
    while (heap.Count > 0) {
        float key = heap.Entries[0].Key;
        EXPECT_GE(key, last);
        last = key;
        heap_pop(heap);
    }
}
