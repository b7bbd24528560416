// Volumetric collision: the exact overlap of each pair of convex bodies gives
// one contact normal, contacts at the overlap's cut vertices, a separating
// impulse proportional to its volume, and the referee's touch stamps.
#pragma once

#include "physics/body.h"

namespace bb {

struct Contact {
    Vec3 Point;   // world
    Vec3 Normal;  // unit, from body A into body B
    Vec3 Impulse; // accumulated this tick; -Impulse goes to A, +Impulse to B
    Body* BodyA;
    Body* BodyB;
    Mat3 InverseK;         // solver state
    int32_t PassesLeft;    // solver passes still to run on it
    uint8_t WarmStarted;   // Impulse started from last tick's value
    Vec3 OffsetA, OffsetB; // solver state: Point less each body's Position
};

struct PenetrationImpulse {
    Vec3 Point;   // world centroid of the overlap
    Vec3 Impulse; // applied to A; its negative to B
    Body* BodyA;
    Body* BodyB;
};

constexpr int MaxCachedImpulses = 16;

struct ContactCacheEntry {
    Body* Other;                      // the pair's body B
    int32_t Count;                    // 0 to 16
    Vec3 Impulses[MaxCachedImpulses]; // last tick's final impulses, in contact order
    ContactCacheEntry* Next;          // next entry of the same body A
};

constexpr int MaxContacts = 2048;
constexpr int MaxPenetrations = 2048;
constexpr int MaxContactCacheEntries = 8192;
extern Contact Contacts[MaxContacts];
extern int32_t ContactCount;
extern PenetrationImpulse Penetrations[MaxPenetrations];
extern int32_t PenetrationCount;
extern ContactCacheEntry ContactCachePool[MaxContactCacheEntries];
// Contacts and penetration impulses that did not fit this tick, for diagnosis.
extern int32_t DroppedContacts;

constexpr int MaxHeapPlanes = 512;

// Planes of one pair test, most negative key first.
struct PlaneHeap {
    struct Entry {
        float Key;
        Vec3 PlaneNormal;
    } Entries[MaxHeapPlanes];
    int32_t Count;
};

// Returns false, changing nothing, when the heap is full.
bool heap_push(PlaneHeap& heap, float key, Vec3 normal);
// The normal of the smallest key; read Entries[0].Key first.
Vec3 heap_pop(PlaneHeap& heap);

extern const float PenetrationStiffness;

// Tests every pair whose bounding spheres overlap, except pairs of two static
// or resting bodies; the later body of the array is A.
void detect_collisions();
void collide_pair(Body& a, Body& b);

} // namespace bb
